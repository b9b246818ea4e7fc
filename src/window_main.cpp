#include "ui/app_main.h"

int main(int argc, char **argv) { return lumbrix::lumbrix_main(argc, argv); }
