#include "ui/window_job.h"

namespace lumbrix {

WindowJob &window_job() {
  static WindowJob job;
  return job;
}

void reset_window_job() { window_job() = WindowJob{}; }

} // namespace lumbrix
