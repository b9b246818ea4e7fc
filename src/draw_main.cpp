#include "cli/console_main.h"

int main(int argc, char **argv) {
  return lumbrix::console_main(argc, argv, lumbrix::ConsoleProgram::drawing);
}
