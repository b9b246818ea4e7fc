#pragma once

#include <QByteArray>

namespace lumbrix {

// A small ICC version 2 display profile for sRGB: D50 white, the sRGB primaries adapted to D50
// (Bradford), and the sRGB tone curve as a table. Readers that take an untagged 16-bit picture for
// linear light show it as sRGB with this profile embedded. The same bytes on every call.
const QByteArray &srgb_profile();

} // namespace lumbrix
