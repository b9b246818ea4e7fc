#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrix {

// Writes all of data at offset of the file, so that writers on several threads, or a length
// filled in after what follows it, need no shared file position. Interrupted and partial writes
// are resumed. Returns 0 when every byte arrived, else the errno of the failure (ENOSPC, EFBIG,
// EIO, ...).
int write_at(int descriptor, const void *data, std::size_t size, std::int64_t offset);

// Hands the file's written bytes to the disk now, without waiting for them, so that a sync
// later has less to wait for.
void start_writeback(int descriptor);

} // namespace lumbrix
