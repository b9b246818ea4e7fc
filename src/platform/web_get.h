#pragma once

#include <QString>

namespace lumbrix {

// How long web_get waits, from the start of connecting to the end of the answer.
inline constexpr int web_get_wait_ms = 10000;
// The most of an answer that web_get reads: status line, headers and the start of the body.
inline constexpr int web_get_answer_limit = 2048;

// Fetches address ("[http://]host[:port][/path]", port 80 when none is given) with a plain
// HTTP/1.0 GET and returns the first three characters of the answer's body, trimmed. The status
// line and headers are not examined. Returns an empty text when the address cannot be read, the
// host cannot be reached, nothing arrives within wait_ms or the answer has no empty line after
// its headers. Host names are resolved by the system beforehand, which that wait does not bound.
QString web_get(const QString &address, const QString &user_agent, int wait_ms = web_get_wait_ms);

} // namespace lumbrix
