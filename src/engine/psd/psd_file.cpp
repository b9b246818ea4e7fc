#include "engine/psd/psd_file.h"

#include "platform/positioned_io.h"

#include <cerrno>
#include <unistd.h>

namespace lumbrix {

void PsdFile::fail(PsdWriteStatus status, int error) {
  const std::lock_guard lock(mutex_);
  if (!ok())
    return;
  error_ = error;
  status_ = status;
}

bool PsdFile::write(const void *data, std::size_t size, std::int64_t offset) {
  if (!ok())
    return false;
  if (const int error = write_at(descriptor_, data, size, offset))
    fail(PsdWriteStatus::failed, error);
  written_ += static_cast<std::int64_t>(size);
  return ok();
}

bool PsdFile::report() {
  if (!progress_)
    return ok();
  const std::lock_guard lock(mutex_);
  if (ok() && !progress_(written_, total_))
    status_ = PsdWriteStatus::stopped;
  return ok();
}

bool PsdFile::finish(std::int64_t size) {
  if (ok() && ::ftruncate(descriptor_, size) != 0)
    fail(PsdWriteStatus::failed, errno);
  return ok();
}

PsdWriteResult PsdFile::result() const {
  const std::lock_guard lock(mutex_);
  return {status_, error_};
}

} // namespace lumbrix
