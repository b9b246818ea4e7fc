#pragma once

#include <functional>

namespace lumbrix {

// The cores to spread picture work over: at least 1, at most 8.
int core_count();

// Calls work(first, count) for runs of at most run_lines consecutive lines that together cover
// lines 0 .. lines - 1, on up to `threads` threads, this one among them. A thread takes the next
// run as soon as it is done with one, so no more than `threads` runs are in hand at a time, and
// whatever a run allocates stays small. Returns when every run is done; threads that cannot be
// had leave their share to the others.
void for_each_run(int lines, int threads, int run_lines,
                  const std::function<void(int first, int count)> &work);

} // namespace lumbrix
