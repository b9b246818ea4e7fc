#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <mutex>

namespace lumbrix {

// Shares a budget of memory among the files converted side by side: a file waits until what the
// others hold leaves room for it, so large pictures take turns instead of over-committing. A
// file larger than the whole budget still runs, alone.
class MemoryGate {
public:
  explicit MemoryGate(qint64 budget) : budget_(budget) {}

  void acquire(qint64 bytes);
  void release(qint64 bytes);

private:
  std::mutex mutex_;
  std::condition_variable room_;
  qint64 budget_;
  qint64 held_ = 0;
};

// The memory one conversion of the PNG at path needs at its peak, from its header and its size,
// as the loader counts it; sixteen_bit_output when the stages work on 16-bit samples. 0 when the
// header is unreadable (such a file fails before allocating anything).
qint64 conversion_memory(const QString &path, bool sixteen_bit_output);

// A budget for pictures converted side by side: three quarters of the memory the system has
// available, and no more than the process's own limits and its control group's leave.
qint64 batch_memory_budget();

} // namespace lumbrix
