#pragma once

#include <QString>

namespace lumbrix {

// Full path of the running executable, as the system tells it (/proc/self/exe); empty when it
// cannot tell. Never guessed from the current folder or the command line.
QString program_path();

// The program a link such as /proc/self/exe points at; empty when it cannot be read.
QString program_behind(const QString &link);

// The folder of the running executable, with a trailing "/"; empty when it is unknown.
QString program_folder();

// The folder of program, with a trailing "/"; empty for an empty program.
QString folder_of_program(const QString &program);

} // namespace lumbrix
