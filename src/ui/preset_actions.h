#pragma once

#include "engine/settings/settings.h"

#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace lumbrix {

// Asks for a name and writes the preset keys of s as that preset; a refused name, a replace
// the user declines and a failed write are reported. True when the preset was written.
bool save_preset_as(const Settings &s);

// Applies the named preset over s; false, reported, when it cannot be read.
bool apply_preset(const QString &name, Settings &s);

// Applies the named preset to the window's settings, stores them and refreshes the window.
void use_preset_in_window(const QString &name);

// Refills menu: "Save Preset...", which saves current(), then one entry per preset, which
// calls chosen with its name.
void fill_preset_menu(QMenu *menu, const std::function<Settings()> &current,
                      const std::function<void(const QString &)> &chosen);

// A "Presets" menu refilled each time it opens.
QMenu *new_preset_menu(QWidget *parent, const std::function<Settings()> &current,
                       const std::function<void(const QString &)> &chosen);

} // namespace lumbrix
