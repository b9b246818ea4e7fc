#include "engine/run/memory_gate.h"

#include "engine/image/image_limits.h"
#include "engine/png/memory_budget.h"
#include "engine/png/png_loader.h"
#include "platform/system_memory.h"

namespace lumbrix {

void MemoryGate::acquire(qint64 bytes) {
  std::unique_lock lock(mutex_);
  room_.wait(lock, [&] { return held_ == 0 || held_ + bytes <= budget_; });
  held_ += bytes;
}

void MemoryGate::release(qint64 bytes) {
  {
    const std::lock_guard lock(mutex_);
    held_ -= bytes;
  }
  room_.notify_all();
}

qint64 conversion_memory(const QString &path, bool sixteen_bit_output) {
  // The header's first bytes are enough: the loader checks the whole file before it decodes, and
  // refuses what this may overstate.
  PngSize size;
  if (!read_png_size(path, size) || size.width > max_image_side || size.height > max_image_side)
    return 0;
  return conversion_budget(size.width, size.height, size.bit_depth > 8, sixteen_bit_output,
                           size.file_bytes);
}

qint64 batch_memory_budget() {
  // Some of what the system has free is others' to take while the run lasts.
  constexpr double system_share = 0.75;
  return memory_headroom(system_share);
}

} // namespace lumbrix
