#include "support/psd_file.h"

#include "platform/files.h"

#include <fcntl.h>
#include <unistd.h>

namespace lumbrix::test {

bool write_psd_file(Image image, const QString &path, const PsdWriteHooks &hooks) {
  const int descriptor =
      ::open(native_path(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0)
    return false;
  const bool written = write_psd(std::move(image), descriptor, hooks);
  return ::close(descriptor) == 0 && written;
}

} // namespace lumbrix::test
