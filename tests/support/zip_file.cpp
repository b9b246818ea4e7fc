#include "support/zip_file.h"

#include <QFile>
#include <archive.h>
#include <archive_entry.h>

namespace lumbrix::test {

bool write_zip(const QString &path, const ZipEntries &entries) {
  archive *zip = archive_write_new();
  bool ok = archive_write_set_format_zip(zip) == ARCHIVE_OK &&
            archive_write_open_filename(zip, QFile::encodeName(path).constData()) == ARCHIVE_OK;
  for (const auto &[name, data] : entries) {
    if (!ok)
      break;
    archive_entry *entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.toUtf8().constData());
    archive_entry_set_size(entry, data.size());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    ok = archive_write_header(zip, entry) == ARCHIVE_OK &&
         archive_write_data(zip, data.constData(), size_t(data.size())) == data.size();
    archive_entry_free(entry);
  }
  ok = archive_write_close(zip) == ARCHIVE_OK && ok;
  archive_write_free(zip);
  return ok;
}

} // namespace lumbrix::test
