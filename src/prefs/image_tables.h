#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include <span>

namespace lumbrix {

// The window front's images: buttons, menu icons and tool bar icons. Each table maps a fixed set
// of image names to fixed image numbers; the images themselves live in one store by number, so
// "Convert" of the buttons (2), of the menus (18) and of the tool bar (42) are three images.
enum class ImageTable { Buttons, Menus, Toolbar };

inline constexpr ImageTable all_image_tables[] = {ImageTable::Buttons, ImageTable::Menus,
                                                  ImageTable::Toolbar};

struct NamedImage {
  const char *name;
  int number;
};

// A table's image names and numbers, in the order a theme is read.
std::span<const NamedImage> image_names(ImageTable table);

// The number of name (matched exactly) in table, or 0 when the table has no such name.
int image_number(ImageTable table, const QString &name);

// The image held under a number; a null image when nothing was stored there.
QImage image(int number);
QImage table_image(ImageTable table, const QString &name);
// Stores an image and, for screens with more device pixels than pixels, the same picture drawn
// larger; a null large image means there is only the one.
void set_image(int number, const QImage &image, const QImage &large = QImage());
QImage large_image(int number);

// A table's image as an icon holding both sizes, so that each screen draws the sharper one at
// its device pixel ratio. Needs a QGuiApplication.
QIcon table_icon(ImageTable table, const QString &name);

// The size of the large images: the largest tool bar icon size.
inline constexpr int large_image_size = 64;

// Pixels of a tool bar icon for a UI Size value: 0..4 give 16, 24, 32, 48, 64; others 16.
int icon_size(int ui_size);
inline constexpr int largest_ui_size = 4;

// The size a table's images are made for: 16 for buttons and menus, the UI Size icon size for
// the tool bar.
int table_image_size(ImageTable table);

// The theme.cfg section naming a table's images: "Buttons" or "Icons".
QString theme_section(ImageTable table);

} // namespace lumbrix
