#include "engine/psd/psd_file.h"

#include "platform/positioned_io.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <vector>

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

namespace {

constexpr std::int64_t copy_chunk = 1 << 20;

// Within the kernel where the file system can; returns 0 or the errno of the failure.
int copy_range(int descriptor, std::int64_t from, std::int64_t size, std::int64_t to) {
  loff_t in = from;
  loff_t out = to;
  while (size > 0) {
    const ssize_t copied =
        ::copy_file_range(descriptor, &in, descriptor, &out, static_cast<std::size_t>(size), 0);
    if (copied < 0 && errno == EINTR)
      continue;
    if (copied <= 0)
      break;
    size -= copied;
  }
  std::vector<char> buffer(static_cast<std::size_t>(std::min(size, copy_chunk)));
  while (size > 0) {
    const auto chunk = static_cast<std::size_t>(std::min(size, copy_chunk));
    const ssize_t got = ::pread(descriptor, buffer.data(), chunk, in);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      return got < 0 ? errno : EIO;
    if (const int error = write_at(descriptor, buffer.data(), static_cast<std::size_t>(got), out))
      return error;
    in += got;
    out += got;
    size -= got;
  }
  return 0;
}

} // namespace

bool PsdFile::copy(std::int64_t from, std::int64_t size, std::int64_t to) {
  if (!ok())
    return false;
  if (const int error = copy_range(descriptor_, from, size, to))
    fail(PsdWriteStatus::failed, error);
  written_ += size;
  return ok();
}

bool PsdFile::report() {
  if (!progress_)
    return ok();
  const std::lock_guard lock(mutex_);
  if (ok() && !progress_(written_, std::max<std::int64_t>(total_, written_)))
    status_ = PsdWriteStatus::stopped;
  return ok();
}

void PsdFile::out_of_memory() { fail(PsdWriteStatus::failed, ENOMEM); }

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
