#pragma once

#include <QString>

namespace lumbrix {

// Converter > Convert: makes a conversion request of the input field, the two drop-downs and the
// settings, checks it (a warning names the first problem and nothing is converted), then
// converts in the progress window.
void start_conversion();

} // namespace lumbrix
