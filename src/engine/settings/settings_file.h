#pragma once

#include "engine/settings/settings.h"

#include <QString>

namespace lumbrix {

class IniFile;
struct SettingKey;

// config.ini: UTF-8 with a byte-order mark, CR LF lines, sections and keys in the order of the
// key table, each section closed by a "; " line.

// Reads the file at path over settings, which hold the defaults: keys missing from a file take
// their fallbacks, unknown sections and keys are ignored, older files are migrated to the current
// version. False, with settings untouched, when the file cannot be opened.
bool read_settings_file(const QString &path, Settings &settings);

// Replaces the file at path with the settings as a whole: the text goes to a temporary file
// beside it, is synced and then renamed over it (the folder synced after), so neither a failure
// nor a power cut leaves a half-written file. Returns false when it could not be written, with
// the system's reason in *reason if given.
bool write_settings_file(const QString &path, const Settings &settings, QString *reason = nullptr);

// Renames a settings file that could not be read to path + ".unreadable" (or ".unreadable-2"
// and on, never replacing one), so that writing the settings later does not destroy it. The
// new name, or an empty text when it could not be moved.
QString set_aside_settings_file(const QString &path);

// The settings file of this user: settings_dir(maker, short name) + "config.ini", with the maker
// folder being the first word of the product title.
QString settings_file_location();

// A preset holds the conversion settings of config.ini, in its format: the sections Input to
// Watermark and the naming keys of Advanced. A profile may hold them beside its CLI section.
bool is_preset_key(const SettingKey &k);
// Replaces the file at path, as write_settings_file does, with the preset keys of the settings.
bool write_preset_file(const QString &path, const Settings &settings, QString *reason = nullptr);
// Reads the preset keys that file holds over settings; keys it lacks keep their values.
void read_preset_keys(const IniFile &file, Settings &settings);
// The user's presets: data_dir(maker, short name) + "presets/", not created here; empty
// without a data folder.
QString presets_folder();

// The leading decimal integer of a value ("12px" -> 12, "x" -> 0), clamped to the int range.
int leading_int(QStringView value);

// The leading decimal number of a value, or one of "+Infinity", "-Infinity", "NaN"; 0 without one.
double leading_number(QStringView value);

// leading_number as a float: a value past the float range is an infinity of its sign, one too
// small for it is 0.
float leading_float(QStringView value);

} // namespace lumbrix
