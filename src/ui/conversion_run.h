#pragma once

#include <QString>

namespace lumbrix {

// Converter > Convert: reads the input field and the two drop-downs into the run state, checks
// what would make the run fail (a warning names the first problem and nothing is converted),
// then converts in the progress window.
void start_conversion();

} // namespace lumbrix
