#pragma once

#include <QtGlobal>

#include <functional>

namespace lumbrix {

// Told how far a write is (done out of total, in any unit) as it goes; false stops the write.
using WriteMonitor = std::function<bool(qint64 done, qint64 total)>;

// While an instance lives, DevIL writes its files through a large buffer instead of one C
// library call per byte, and a failed write or close is noticed: DevIL itself reports success
// after a short write. DevIL's output functions are global, so one instance at a time.
class DevilFileOutput {
public:
  // expected_size: the size of the whole file, which the monitor is told the bytes written of.
  explicit DevilFileOutput(WriteMonitor monitor = {}, qint64 expected_size = 0);
  ~DevilFileOutput();
  DevilFileOutput(const DevilFileOutput &) = delete;
  DevilFileOutput &operator=(const DevilFileOutput &) = delete;

  // Saves the bound image as a PSD through descriptor, which stays open and the caller's; false
  // when DevIL fails, a byte is lost or the monitor stops the write.
  bool save_psd(int descriptor);

  // True when any file DevIL wrote since construction lost bytes or was stopped.
  bool failed() const { return error_ != 0; }
  // The error number of the first failure: ECANCELED when the monitor stopped the write.
  int error() const { return error_; }
  void note_failure(int error) {
    if (error_ == 0)
      error_ = error;
  }
  bool keep_writing(qint64 written) const {
    return !monitor_ || monitor_(written, expected_size_);
  }

private:
  WriteMonitor monitor_;
  qint64 expected_size_ = 0;
  int error_ = 0;
};

} // namespace lumbrix
