#pragma once

#include <QString>

namespace lumbrix {

// Full path of the running executable; "./lumbrix" when the system cannot tell.
QString program_path();

} // namespace lumbrix
