#include "engine/stages/stages.h"

namespace lumbrix {
namespace {

int hex_digit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9')
    return u - u'0';
  if (u >= u'a' && u <= u'f')
    return u - u'a' + 10;
  if (u >= u'A' && u <= u'F')
    return u - u'A' + 10;
  return -1;
}

// A pair that is not two hexadecimal digits reads as 0, so a mistyped colour still gives a
// predictable result.
std::uint8_t hex_byte(const QString &text, int at) {
  const int high = hex_digit(text[at]);
  const int low = hex_digit(text[at + 1]);
  return high < 0 || low < 0 ? 0 : static_cast<std::uint8_t>(high * 16 + low);
}

} // namespace

Rgb parse_hex_color(const QString &text) {
  if (text.size() != 6)
    return {};
  return {hex_byte(text, 0), hex_byte(text, 2), hex_byte(text, 4)};
}

} // namespace lumbrix
