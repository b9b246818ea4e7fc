#pragma once

namespace lumbrix {

// Which console program this is: lumbrix, without the drawing stages, or lumbrix-draw, which
// has them and takes the runs that ask for a frame or a watermark.
enum class ConsoleProgram { without_drawing, drawing };

// The programs' entry: the console front, and for anything that shows a window (no console
// command, -T, -U) the window program in its place. Console work so never loads the window
// toolkit, and a run without a frame or a watermark never loads the GUI library either.
int console_main(int argc, char **argv, ConsoleProgram program);

} // namespace lumbrix
