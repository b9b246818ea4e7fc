#pragma once

#include <functional>

namespace lumbrix {

// The cores to spread picture work over: at least 1, at most 8.
int core_count();

// Splits lines 0 .. lines - 1 into at most `bands` runs of consecutive lines, as even as can be,
// and calls work(first, count) once per run: the first run on this thread, the others on
// threads of their own. Returns when every run is done. Runs for which no thread can be had are
// done here, one after the other.
void for_each_band(int lines, int bands, const std::function<void(int first, int count)> &work);

} // namespace lumbrix
