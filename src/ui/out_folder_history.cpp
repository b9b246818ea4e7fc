#include "ui/out_folder_history.h"

#include "prefs/window_settings.h"

#include <zlib.h>

namespace lumbrix {

quint32 folder_key(const QString &folder) {
  const QByteArray bytes = folder.toUpper().toUtf8();
  return static_cast<quint32>(crc32(crc32(0L, Z_NULL, 0),
                                    reinterpret_cast<const Bytef *>(bytes.constData()),
                                    static_cast<uInt>(bytes.size())));
}

QString recent_out_folder(int n) {
  const QString &history = settings().recent_out_folders;
  return history.section(QLatin1Char('\t'), n, n).trimmed();
}

bool remember_out_folder(const QString &folder) {
  if (folder.isEmpty())
    return false;
  const int limit = settings().out_folders_number;
  const quint32 key = folder_key(folder);
  QString history = folder;
  int added = 1;
  for (int i = 0; i < limit; ++i) {
    const QString item = recent_out_folder(i);
    if (!item.isEmpty() && added <= limit - 1 && folder_key(item) != key) {
      history += QLatin1Char('\t') + item;
      ++added;
    }
  }
  settings().recent_out_folders = history;
  return true;
}

bool remember_written_folder(const QString &folder, int files_written) {
  return files_written > 0 && remember_out_folder(folder);
}

} // namespace lumbrix
