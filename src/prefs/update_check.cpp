#include "prefs/update_check.h"

namespace lumbrix {

void check_for_updates() {}

void auto_update_check() {}

} // namespace lumbrix
