#include "platform/sibling_program.h"

#include "build_constants.h"
#include "platform/files.h"
#include "platform/program_path.h"

#include <QFileInfo>

#include <unistd.h>

namespace lumbrix {

QString sibling_program(const QString &name) { return sibling_program_in(program_folder(), name); }

QString sibling_program_in(const QString &folder, const QString &name) {
  // An unknown folder is never the current one.
  if (folder.isEmpty())
    return QString();
  for (const QString &candidate :
       {folder + name,
        folder + QString::fromUtf8(build::libexec_from_program) + QLatin1Char('/') + name}) {
    const QFileInfo info(candidate);
    if (info.isFile() && info.isExecutable())
      return info.absoluteFilePath();
  }
  return QString();
}

void replace_process(const QString &path, char **argv) {
  const QByteArray program = native_path(path);
  argv[0] = const_cast<char *>(program.constData());
  ::execv(program.constData(), argv);
}

} // namespace lumbrix
