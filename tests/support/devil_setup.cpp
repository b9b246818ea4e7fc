#include "support/devil_setup.h"

#include <IL/il.h>

#include <mutex>

namespace lumbrix::test {

void init_devil() {
  static std::once_flag once;
  std::call_once(once, [] { ilInit(); });
}

} // namespace lumbrix::test
