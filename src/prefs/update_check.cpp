#include "prefs/update_check.h"

#include "build_constants.h"
#include "engine/settings/product.h"
#include "platform/web_get.h"
#include "prefs/message_boxes.h"
#include "prefs/window_settings.h"
#include "text/lang.h"

namespace lumbrix {
namespace {

constexpr int never = 5;
constexpr int seconds_per_day = 24 * 60 * 60;

// The leading digits of the answer; 0 when it does not start with one, so nothing that is not a
// version number can pass for "no update".
int answer_version(const QString &answer) {
  int number = 0;
  for (const QChar c : answer) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
      break;
    number = number * 10 + (c.unicode() - u'0');
  }
  return number;
}

} // namespace

QString update_address() {
  return QStringLiteral("http://%1:%2/files/Lumbrix.dat")
      .arg(QString::fromUtf8(build::update_host))
      .arg(build::update_port);
}

QString product_page_address() {
  return QString::fromUtf8(build::vendor_site) + QLatin1String("/Lumbrix/");
}

void check_for_updates() { check_for_updates(update_address()); }

void check_for_updates(const QString &address) {
  const int newest = answer_version(web_get(address, window_title()));
  if (newest == 0) {
    show_error(lang_msg("Internet connection problems"));
  } else if (newest > product_version) {
    if (ask_yes_no(lang_msg("New Update"), lang_msg("New Update Text"), MessageIcon::Question))
      open_or_report(product_page_address());
  } else {
    show_info(lang_msg("No Update"), lang_msg("No Update Text"));
  }
}

int update_interval_days(int update_range) {
  switch (update_range) {
  case 0:
    return 1;
  case 1:
    return 7;
  case 2:
    return 30;
  case 3:
    return 90;
  case 4:
    return 180;
  case never:
    return 0;
  default:
    return 30;
  }
}

void auto_update_check() { auto_update_check(local_now_seconds(), update_address()); }

void auto_update_check(int now, const QString &address) {
  Settings &s = settings();
  if (s.update_range == never)
    return;
  // Both moments are wall-clock seconds read as UTC, so every calendar day is exactly one day of
  // seconds, whatever daylight saving does.
  const qint64 due =
      qint64{s.update_date} + qint64{update_interval_days(s.update_range)} * seconds_per_day;
  if (now <= due)
    return;
  if (ask_yes_no(lang_msg("Check for Updates"), lang_msg("Ask check for updates"),
                 MessageIcon::Question))
    check_for_updates(address);
  s.update_date = now;
}

} // namespace lumbrix
