#pragma once

#include "engine/settings/settings.h"

#include <QString>

namespace lumbrix {

// The debug echo of the console run: "label: value" lines, printed only when on.
class ConsoleEcho {
public:
  explicit ConsoleEcho(bool on) : on_(on) {}

  bool on() const { return on_; }
  void text(const char *label, const QString &value) const;
  void number(const char *label, int value) const;
  void keyword(const char *label, int table, int value) const; // unknown value: nothing after ": "
  void gamma(const char *label, float value) const;            // two decimals

  // The per-format lines of an input or output format, from the settings key table.
  void input_format(const Settings &s, const QString &format) const;
  void output_format(const Settings &s, const QString &format) const;

private:
  bool on_;
};

} // namespace lumbrix
