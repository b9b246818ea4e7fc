#pragma once

#include "engine/psd/psd_document.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace lumbrix {

// The descriptor a document goes to, the bytes written so far and the first thing that went
// wrong. Once a write has failed or the hook has asked to stop, nothing more is written. Any
// thread may write; the hook is called by one at a time.
class PsdFile {
public:
  PsdFile(int descriptor, const PsdWriteProgress &progress)
      : descriptor_(descriptor), progress_(progress) {}

  bool write(const void *data, std::size_t size, std::int64_t offset);
  // Copies size bytes of the file written at from to offset to, the two not overlapping.
  bool copy(std::int64_t from, std::int64_t size, std::int64_t to);
  // Tells the hook how many bytes are written; false once it has asked to stop.
  bool report();
  // About the size of the whole file, for the hook.
  void set_total(std::int64_t total) { total_ = total; }
  // Fails the file for want of memory.
  void out_of_memory();
  // Cuts off whatever lies beyond the document.
  bool finish(std::int64_t size);

  bool ok() const { return status_.load(std::memory_order_relaxed) == PsdWriteStatus::written; }
  PsdWriteResult result() const;

private:
  void fail(PsdWriteStatus status, int error);

  int descriptor_;
  const PsdWriteProgress &progress_;
  std::atomic<std::int64_t> written_ = 0;
  std::atomic<std::int64_t> total_ = 0;
  std::atomic<PsdWriteStatus> status_ = PsdWriteStatus::written;
  mutable std::mutex mutex_; // the error and the hook
  int error_ = 0;
};

} // namespace lumbrix
