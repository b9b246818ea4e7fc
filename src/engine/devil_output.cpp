#include "engine/devil_output.h"

#include <IL/il.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <unistd.h>

namespace lumbrix {
namespace {

// DevIL hands over one byte per call; a buffer that stays in the cache keeps each call cheap.
constexpr std::size_t buffer_size = 64 * 1024;

DevilFileOutput *active_output = nullptr;

class BufferedFile {
public:
  explicit BufferedFile(int descriptor) : descriptor_(descriptor) {}
  ~BufferedFile() {
    if (descriptor_ >= 0)
      ::close(descriptor_);
  }
  BufferedFile(const BufferedFile &) = delete;
  BufferedFile &operator=(const BufferedFile &) = delete;

  bool put(unsigned char byte) {
    if (used_ == buffer_size) [[unlikely]]
      return put_after_flush(byte);
    buffer_[used_++] = byte;
    return true;
  }

  bool write(const unsigned char *bytes, std::size_t count) {
    while (count > 0) {
      if (used_ == buffer_size && !flush())
        return false;
      const std::size_t part = std::min(count, buffer_size - used_);
      std::memcpy(buffer_.data() + used_, bytes, part);
      used_ += part;
      bytes += part;
      count -= part;
    }
    return true;
  }

  // Out of line, so the byte path saves no registers.
  [[gnu::noinline]] bool put_after_flush(unsigned char byte) {
    if (!flush())
      return false;
    buffer_[used_++] = byte;
    return true;
  }

  // Once a write has failed nothing more is written, so the file stays short and the failure
  // cannot be overwritten by a later success.
  bool flush() {
    std::size_t done = 0;
    while (!failed() && done < used_) {
      const ssize_t written = ::write(descriptor_, buffer_.data() + done, used_ - done);
      if (written > 0)
        done += static_cast<std::size_t>(written);
      else if (written < 0 && errno == EINTR)
        continue;
      else
        fail(written < 0 ? errno : ENOSPC);
    }
    flushed_ += static_cast<long>(used_);
    used_ = 0;
    if (!failed() && active_output && !active_output->keep_writing(flushed_))
      fail(ECANCELED);
    return !failed();
  }

  bool failed() const { return error_ != 0; }
  int error() const { return error_; }

  long tell() const { return flushed_ + static_cast<long>(used_); }

  bool seek(long offset, int whence) {
    if (!flush())
      return false;
    const off_t at = ::lseek(descriptor_, offset, whence);
    if (at < 0)
      return false;
    flushed_ = static_cast<long>(at);
    return true;
  }

  // Flushes and closes; false when any byte was lost.
  bool finish() {
    flush();
    if (::close(descriptor_) != 0)
      fail(errno);
    descriptor_ = -1;
    return !failed();
  }

private:
  int descriptor_;
  std::size_t used_ = 0;
  std::array<unsigned char, buffer_size> buffer_;
  long flushed_ = 0;
  int error_ = 0;

  void fail(int error) {
    if (error_ == 0)
      error_ = error;
  }
};

BufferedFile *file_of(ILHANDLE handle) { return static_cast<BufferedFile *>(handle); }

ILHANDLE ILAPIENTRY open_file(ILconst_string name) {
  const int descriptor = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    if (active_output)
      active_output->note_failure(errno);
    return nullptr;
  }
  auto *file = new (std::nothrow) BufferedFile(descriptor);
  if (!file)
    ::close(descriptor);
  return file;
}

void ILAPIENTRY close_file(ILHANDLE handle) {
  BufferedFile *file = file_of(handle);
  if (!file->finish() && active_output)
    active_output->note_failure(file->error());
  delete file;
}

ILint ILAPIENTRY put_byte(ILubyte byte, ILHANDLE handle) {
  return file_of(handle)->put(byte) ? byte : IL_EOF;
}

ILint ILAPIENTRY seek_file(ILHANDLE handle, ILint offset, ILint origin) {
  return file_of(handle)->seek(offset, origin) ? 0 : -1;
}

ILint ILAPIENTRY tell_file(ILHANDLE handle) { return static_cast<ILint>(file_of(handle)->tell()); }

ILint ILAPIENTRY write_bytes(const void *data, ILuint size, ILuint count, ILHANDLE handle) {
  const std::size_t bytes = static_cast<std::size_t>(size) * count;
  return file_of(handle)->write(static_cast<const unsigned char *>(data), bytes)
             ? static_cast<ILint>(count)
             : 0;
}

} // namespace

DevilFileOutput::DevilFileOutput(WriteMonitor monitor, qint64 expected_size)
    : monitor_(std::move(monitor)), expected_size_(expected_size) {
  active_output = this;
  ilSetWrite(open_file, close_file, put_byte, seek_file, tell_file, write_bytes);
}

bool DevilFileOutput::save_psd(int descriptor) {
  // A duplicate of its own, so that finishing the file leaves the caller's descriptor open.
  const int own = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  if (own < 0) {
    note_failure(errno);
    return false;
  }
  BufferedFile file(own);
  const bool saved = ilSaveF(IL_PSD, &file) != 0;
  if (!file.finish())
    note_failure(file.error());
  return saved && !failed();
}

DevilFileOutput::~DevilFileOutput() {
  ilResetWrite();
  active_output = nullptr;
}

} // namespace lumbrix
