#pragma once

#include <QString>

namespace lumbrix {

// Full path of the running executable; "./lumbrix" when the system cannot tell.
QString program_path();

// The folder of the running executable, with a trailing "/".
QString program_folder();

} // namespace lumbrix
