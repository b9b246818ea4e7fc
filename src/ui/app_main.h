#pragma once

namespace lumbrix {

// The entry procedure: console front first, then the window front.
int lumbrix_main(int argc, char **argv);

} // namespace lumbrix
