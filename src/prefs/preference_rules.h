#pragma once

#include "engine/settings/settings.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace lumbrix {

// The rules of the preferences dialog that need no widget: how typed numbers are read, how colours
// are written and named, how lists of fonts and colours grow, and what OK stores.

// The integer value of a spin box text ("abc", "" and "-" read as 0), clamped to the range.
int clamped_spin_value(const QString &text, int minimum, int maximum);

// Gamma is edited in hundredths: the text read as a real number, times 100, rounded and clamped
// to 1..999. A text that is not a number reads as 0 and so gives 1.
int gamma_hundredths(const QString &text);
// Hundredths as the gamma with two decimals: 100 -> "1.00".
QString gamma_text(int hundredths);
// The stored gamma in hundredths, clamped like a typed one.
int gamma_to_hundredths(float gamma);

// A colour text of exactly six characters read as RRGGBB; any other text is black.
QColor colour_from_text(const QString &text);
// RRGGBB in upper-case hexadecimal: "FF8000".
QString colour_text_form(const QColor &colour);
// The name of one of the 19 named colours, or "Color #RRGGBB".
QString colour_name(const QColor &colour);

// Every comma-separated field of a list setting, blanks trimmed; empty fields are kept, so an
// empty list has one empty field.
QStringList list_fields(const QString &list);
// Fonts after choosing name: the name loses its commas and is appended when no field equals it.
// An empty list starts from the current font.
QString fonts_with(const QString &fonts, const QString &font, const QString &name);
// A colour list after choosing colour: its text form is appended when no field has that colour.
QString colours_with(const QString &colours, const QColor &colour);

// A stored text as OK keeps it: tabs, carriage returns and line feeds removed, blanks trimmed.
QString cleaned_text(const QString &text);

// Colour correction runs when brightness, contrast, gamma or invert would change the picture.
bool needs_colour_correction(const Settings &s);

// What the main window must reload after OK or Defaults.
enum class InterfaceChange { None, Theme, IconSize };
// A new theme outweighs a new icon size, since it reloads every image anyway.
InterfaceChange interface_change(const Settings &before, const Settings &after);

// The "Font Style:" entry of a font: 0 regular, 1 bold, 2 italic, 3 bold italic.
int font_style_index(bool bold, bool italic);

// Which rows of the raw input panel a "Load As:" entry enables.
struct RawRows {
  bool size_rows = false; // Header Size, Image Width, Image Height
  bool tone_mapping = false;
};
RawRows raw_rows(int load_as);

// One entry of the theme list.
struct ThemeEntry {
  QString name;    // the archive name, as UI Theme holds it
  QString display; // the name shown
};
// The listed themes: those with a display name, ordered by archive name without regard to case.
QList<ThemeEntry> theme_entries(const QMap<QString, QString> &themes);

// The open-file filter of the watermark image chooser.
QString watermark_image_filter();

} // namespace lumbrix
