#pragma once

#include <QString>

namespace lumbrix {

// Console output of the command-line front. Each line ends with CR LF. On a terminal the line
// is written as UTF-8; redirected, as the UTF-16LE code units of the line, or as UTF-8 when the
// environment variable LUMBRIX_OUTPUT_ENCODING is UTF-8.
void console_open(const QString &title); // sets the terminal's title (only on a terminal)
void console_close();                    // flushes
void console_line(const QString &line);

// A status line on standard error, drawn over itself in place, in the terminal's encoding
// (UTF-8). A console line to a terminal clears it first; the next status draws it again.
bool console_status_on_terminal(); // standard error is a terminal, and the console not captured
int console_status_columns();      // the width of the terminal on standard error; 0 when unknown
void console_status(const QString &text);
void console_status_clear(); // only when a status is shown

// Waits for one character from the terminal; returns at once without one.
void console_wait_key();

// Tests capture the console instead of the process's standard output.
void console_capture(QString *sink);

} // namespace lumbrix
