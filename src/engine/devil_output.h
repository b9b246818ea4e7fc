#pragma once

namespace lumbrix {

// While an instance lives, DevIL writes its files through a large buffer instead of one C
// library call per byte, and a failed write or close is noticed: DevIL itself reports success
// after a short write. DevIL's output functions are global, so one instance at a time.
class DevilFileOutput {
public:
  DevilFileOutput();
  ~DevilFileOutput();
  DevilFileOutput(const DevilFileOutput &) = delete;
  DevilFileOutput &operator=(const DevilFileOutput &) = delete;

  // Saves the bound image as a PSD through descriptor, which stays open and the caller's; false
  // when DevIL fails or a byte is lost.
  bool save_psd(int descriptor);

  // True when any file DevIL wrote since construction lost bytes.
  bool failed() const { return failed_; }
  void note_failure() { failed_ = true; }

private:
  bool failed_ = false;
};

} // namespace lumbrix
