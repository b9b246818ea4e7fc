#pragma once

#include <QString>

namespace lumbrix {

// The version file on the build's update server, and the product page on its web site.
QString update_address();
QString product_page_address();

// The manual check (Help/Check For a New Version): asks the update server for the newest version
// number and tells the user whether it is newer than this one, offering the product page if so.
void check_for_updates();
// The same, asking address for the version file.
void check_for_updates(const QString &address);

// Days between automatic checks for an Update Range choice; 0 for "Never".
int update_interval_days(int update_range);

// Called once after the main window is set up at start: when the chosen interval has passed
// since Update Date, asks whether to check, and restarts the interval whatever the answer.
void auto_update_check();
// The same at now (local seconds since 1970, as Update Date counts), asking address.
void auto_update_check(int now, const QString &address);

} // namespace lumbrix
