#pragma once

namespace lumbrix::test {

// Initialises DevIL once per test process, as the program does at start-up.
void init_devil();

} // namespace lumbrix::test
