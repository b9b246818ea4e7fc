#include "prefs/preference_rules.h"

#include "engine/stages/stages.h"
#include "text/lang.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace lumbrix {
namespace {

constexpr int min_gamma = 1;
constexpr int max_gamma = 999;

struct NamedColour {
  const char *key;
  QRgb rgb;
};

constexpr NamedColour named_colours[] = {
    {"Black", 0x000000},  {"Silver", 0xC0C0C0}, {"Gray", 0x808080},   {"White", 0xFFFFFF},
    {"Maroon", 0x800000}, {"Red", 0xFF0000},    {"Purple", 0x800080}, {"Fuchsia", 0xFF00FF},
    {"Green", 0x008000},  {"Lime", 0x00FF00},   {"Olive", 0x808000},  {"Yellow", 0xFFFF00},
    {"Navy", 0x000080},   {"Blue", 0x0000FF},   {"Teal", 0x008080},   {"Aqua", 0x00FFFF},
    {"Orange", 0xFF8000}, {"Brown", 0x804000},  {"Violet", 0x8000FF},
};

bool same_colour(const QColor &a, const QColor &b) { return a.rgb() == b.rgb(); }

} // namespace

int clamped_spin_value(const QString &text, int minimum, int maximum) {
  bool ok = false;
  const qlonglong value = text.trimmed().toLongLong(&ok);
  return static_cast<int>(std::clamp<qlonglong>(ok ? value : 0, minimum, maximum));
}

int gamma_hundredths(const QString &text) {
  bool ok = false;
  const double value = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(value))
    return min_gamma;
  return static_cast<int>(
      std::clamp(std::round(value * 100.0), double(min_gamma), double(max_gamma)));
}

QString gamma_text(int hundredths) { return QString::number(hundredths / 100.0, 'f', 2); }

int gamma_to_hundredths(float gamma) { return gamma_hundredths(QString::number(gamma, 'g', 9)); }

QColor colour_from_text(const QString &text) {
  const Rgb rgb = parse_hex_color(text);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

QString colour_text_form(const QColor &colour) {
  return QStringLiteral("%1%2%3")
      .arg(colour.red(), 2, 16, QLatin1Char('0'))
      .arg(colour.green(), 2, 16, QLatin1Char('0'))
      .arg(colour.blue(), 2, 16, QLatin1Char('0'))
      .toUpper();
}

QString colour_name(const QColor &colour) {
  for (const NamedColour &named : named_colours) {
    if (same_colour(colour, QColor(named.rgb)))
      return lang(QStringLiteral("Preferences"), QLatin1String(named.key));
  }
  return lang(QStringLiteral("Preferences"), QStringLiteral("Color")) + QLatin1String(" #") +
         colour_text_form(colour);
}

QStringList list_fields(const QString &list) {
  QStringList fields = list.split(QLatin1Char(','));
  for (QString &field : fields)
    field = field.trimmed();
  return fields;
}

QString fonts_with(const QString &fonts, const QString &font, const QString &name) {
  const QString base = fonts.isEmpty() ? font : fonts;
  QString plain = name;
  plain.remove(QLatin1Char(','));
  if (list_fields(base).contains(plain))
    return base;
  return base + QLatin1Char(',') + plain;
}

QString colours_with(const QString &colours, const QColor &colour) {
  for (const QString &field : list_fields(colours)) {
    if (same_colour(colour_from_text(field), colour))
      return colours;
  }
  return colours + QLatin1Char(',') + colour_text_form(colour);
}

QString cleaned_text(const QString &text) {
  QString result = text;
  result.remove(QLatin1Char('\t')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  return result.trimmed();
}

bool needs_colour_correction(const Settings &s) {
  return s.image_brightness != 0 || s.image_contrast != 0 || s.image_gamma != 1.0f ||
         s.image_invert != 0;
}

InterfaceChange interface_change(const Settings &before, const Settings &after) {
  if (after.ui_theme != before.ui_theme)
    return InterfaceChange::Theme;
  if (after.ui_size != before.ui_size)
    return InterfaceChange::IconSize;
  return InterfaceChange::None;
}

int font_style_index(bool bold, bool italic) { return (bold ? 1 : 0) + (italic ? 2 : 0); }

RawRows raw_rows(int load_as) {
  if (load_as == 1 || load_as == 2)
    return {true, false};
  if (load_as == 4 || load_as == 5)
    return {false, true};
  return {};
}

QList<ThemeEntry> theme_entries(const QMap<QString, QString> &themes) {
  QList<ThemeEntry> entries;
  for (auto it = themes.cbegin(); it != themes.cend(); ++it) {
    if (!it.value().isEmpty())
      entries.append({it.key(), it.value()});
  }
  std::stable_sort(entries.begin(), entries.end(), [](const ThemeEntry &a, const ThemeEntry &b) {
    return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
  });
  return entries;
}

QString watermark_image_filter() {
  const QString png = QStringLiteral("*.png");
  const QString bmp = QStringLiteral("*.bmp;*.rle;*.dib");
  const QString jpeg = QStringLiteral("*.jpg;*.jpeg;*.jpe;*.jif");
  const auto dialog = [](const char *key) {
    return lang(QStringLiteral("Dialog"), QLatin1String(key));
  };
  return QStringList{dialog("All Supported Files"),
                     png + QLatin1Char(';') + bmp + QLatin1Char(';') + jpeg,
                     QStringLiteral("Portable Network Graphics"),
                     png,
                     QStringLiteral("Windows or OS/2 Bitmap"),
                     bmp,
                     QStringLiteral("JPEG File"),
                     jpeg,
                     dialog("All Files") + QLatin1String(" (*.*)"),
                     QStringLiteral("*.*"),
                     QString()}
      .join(QLatin1Char('|'));
}

} // namespace lumbrix
