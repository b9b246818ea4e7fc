#pragma once

#include "engine/settings/settings.h"

#include <QString>
#include <QStringList>

namespace lumbrix {

// Applies a profile file to settings: first the preset keys it holds (the conversion sections of
// config.ini), then the option lines of its section CLI, in file order. False when the path is
// empty or the file cannot be opened or is refused by the settings-file reader; reason, when
// given, then says why (empty for an empty path).
bool load_profile(const QString &path, Settings &settings, QString *reason = nullptr);

// The file a --profile value names: the value itself when it holds a separator or names an
// existing file, otherwise the user's preset of that name.
QString profile_path(const QString &value);

// A preset name is typed by the user and becomes a file name: not empty or blank, no separator,
// not "." or "..", no leading dot and no control character.
bool valid_preset_name(const QString &name);
// The preset file of a valid name, in presets_folder(); empty for an invalid name.
QString preset_path(const QString &name);
// The names of the user's presets, sorted without regard to case.
QStringList preset_names();

} // namespace lumbrix
