#pragma once

#include "prefs/image_tables.h"

#include <QMap>
#include <QString>

#include <initializer_list>

namespace lumbrix {

// Interface themes are zip archives <program folder>/gfx/<theme name>.zip. Each holds
// "theme.cfg" (CR LF lines; [Theme] Name=..., [Buttons] and [Icons] image name = file) and the
// PNG images it names. A file reference containing ".png" names an entry as is; any other value is
// a stem completed to stem_<size>.png with the size of the table being loaded.

// The folder scanned for themes, with a trailing separator.
QString theme_folder();

// Scans folder (with a trailing separator) instead of the program's gfx/; empty goes back.
void set_theme_folder(const QString &folder);

// Theme name to display name, as found by the last scan_themes; empty when there is no theme.
const QMap<QString, QString> &theme_table();

// Rebuilds the theme table from the *.zip files of the theme folder.
void scan_themes();

// The Name of the theme's [Theme] section, or an empty text when the archive is missing, empty
// or unreadable. Only the first 255 bytes of theme.cfg are looked at.
QString theme_display_name(const QString &theme);

// Replaces the images of the given tables by those the theme of UI Theme supplies. When that
// archive is gone, another installed theme is used and UI Theme takes its name. Images the theme
// does not supply, and every image when the archive cannot be read, stay as they were. Returns
// the number of images replaced.
int load_theme_images(std::initializer_list<ImageTable> tables);

// The value of key in section of a configuration text: the key must start a CR LF line of that
// section (a longer name starting with key matches too; the first line wins); the value runs
// from the first "=" to the next "=" or the end of the line, trimmed. Empty when absent.
QString ini_text_value(const QString &text, const QString &section, const QString &key);

} // namespace lumbrix
