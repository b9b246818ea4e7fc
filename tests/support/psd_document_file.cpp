#include "support/psd_document_file.h"

#include "platform/files.h"

#include <fcntl.h>
#include <unistd.h>

namespace lumbrix::test {

PsdWriteResult write_psd_file(PsdDocument document, const QString &path,
                              const PsdWriteProgress &progress) {
  const int descriptor =
      ::open(native_path(path).constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (descriptor < 0)
    return {PsdWriteStatus::failed, errno};
  const PsdWriteResult result = write_psd_document(std::move(document), descriptor, progress);
  ::close(descriptor);
  return result;
}

} // namespace lumbrix::test
