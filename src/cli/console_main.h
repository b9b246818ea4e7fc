#pragma once

namespace lumbrix {

// The program's entry: the console front, and for anything that shows a window (no console
// command, -T, -U) the window program in its place. Console work so never loads the window
// toolkit.
int console_main(int argc, char **argv);

} // namespace lumbrix
