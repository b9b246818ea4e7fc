#include "platform/positioned_io.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lumbrix {

int write_at(int descriptor, const void *data, std::size_t size, std::int64_t offset) {
  const auto *bytes = static_cast<const unsigned char *>(data);
  while (size > 0) {
    const ssize_t written = ::pwrite(descriptor, bytes, size, offset);
    if (written < 0 && errno == EINTR)
      continue;
    if (written < 0)
      return errno;
    if (written == 0) // no progress and no error: it would loop for ever
      return EIO;
    bytes += written;
    size -= static_cast<std::size_t>(written);
    offset += written;
  }
  return 0;
}

void start_writeback(int descriptor) { ::sync_file_range(descriptor, 0, 0, SYNC_FILE_RANGE_WRITE); }

} // namespace lumbrix
