#pragma once

#include <QString>
#include <QStringList>

namespace lumbrix {

// What this build is: its title, its version and the formats it converts. A sibling build of the
// family changes only these.
inline constexpr const char *product_title = "Vantrel PNG to PSD";
inline constexpr int product_version = 220;

const QStringList &input_formats();  // canonical input extensions: "png"
const QStringList &output_formats(); // output extensions: "psd"

// 220 -> "2.2", 221 -> "2.2.1", 205 -> "2.0.5".
QString format_version(int version);

// "Vantrel PNG to PSD 2.2": window title, instance name, console title, user agent.
QString window_title();

} // namespace lumbrix
