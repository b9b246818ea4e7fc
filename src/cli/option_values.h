#pragma once

#include <QString>
#include <QStringList>

namespace lumbrix {

// The upper-cased option name of a parameter: "--WIDTH" for "--width=640", "-I" for "-i",
// empty for a parameter that does not begin with "-".
QString option_name(const QString &parameter);

// The value part of a parameter: after the first "=" of a "--" option, else the whole
// parameter (trimmed, case kept).
QString option_value(const QString &parameter);

// Leading integer: blanks and tabs skipped, optional sign, then decimal digits, "$" and hex
// digits, or "%" and binary digits; no digits give 0. A value beyond the 32-bit range gives the
// end of the range it passed.
int parse_number(const QString &text);

// A float written with a point and an optional exponent ("5e-1"), or "+Infinity", "-Infinity",
// "NaN" (any case); the leading number of the text, 0 when there is none. Past the float range
// it is an infinity, below it 0, so the range checks refuse it.
float parse_float(const QString &text);

// Removes every double quote at either end of the text.
QString strip_quotes(const QString &text);

} // namespace lumbrix
