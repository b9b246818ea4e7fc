#include "prefs/image_tables.h"

#include "prefs/window_settings.h"

#include <array>
#include <iterator>

namespace lumbrix {
namespace {

constexpr NamedImage button_images[] = {{"Convert", 2}, {"InFiles", 3}, {"InFolder", 4}};

// 23 and 24 belong to images this build does not have.
constexpr NamedImage menu_images[] = {{"New", 5},
                                      {"Add", 6},
                                      {"InFiles", 7},
                                      {"InFolder", 8},
                                      {"OutFolder", 9},
                                      {"OutFormat", 10},
                                      {"FavFolder", 11},
                                      {"ImportFiles", 12},
                                      {"ExportFiles", 13},
                                      {"Exit", 14},
                                      {"Copy", 15},
                                      {"Delete", 16},
                                      {"SelectAll", 17},
                                      {"Convert", 18},
                                      {"Error", 19},
                                      {"Preferences", 20},
                                      {"CustomConverter", 21},
                                      {"Help", 22},
                                      {"Email", 25},
                                      {"Web", 26},
                                      {"Updates", 27},
                                      {"About", 28}};

// The tool bar shows the menu images, numbered after them.
constexpr int toolbar_offset = 24;
constexpr auto toolbar_images = [] {
  std::array<NamedImage, std::size(menu_images)> table{};
  for (std::size_t i = 0; i < table.size(); ++i)
    table[i] = {menu_images[i].name, menu_images[i].number + toolbar_offset};
  return table;
}();

constexpr int image_count = toolbar_images.back().number + 1;

std::array<QImage, image_count> &store() {
  static std::array<QImage, image_count> images;
  return images;
}

bool valid_number(int number) { return number > 0 && number < image_count; }

} // namespace

std::span<const NamedImage> image_names(ImageTable table) {
  switch (table) {
  case ImageTable::Buttons:
    return button_images;
  case ImageTable::Menus:
    return menu_images;
  case ImageTable::Toolbar:
    break;
  }
  return toolbar_images;
}

int image_number(ImageTable table, const QString &name) {
  for (const NamedImage &entry : image_names(table)) {
    if (name == QLatin1String(entry.name))
      return entry.number;
  }
  return 0;
}

QImage image(int number) { return valid_number(number) ? store()[number] : QImage(); }

QImage table_image(ImageTable table, const QString &name) {
  return image(image_number(table, name));
}

void set_image(int number, const QImage &picture) {
  if (valid_number(number))
    store()[number] = picture;
}

int icon_size(int ui_size) {
  constexpr int sizes[] = {16, 24, 32, 48, 64};
  return ui_size >= 0 && ui_size < int(std::size(sizes)) ? sizes[ui_size] : 16;
}

int table_image_size(ImageTable table) {
  return table == ImageTable::Toolbar ? icon_size(settings().ui_size) : 16;
}

QString theme_section(ImageTable table) {
  return table == ImageTable::Buttons ? QStringLiteral("Buttons") : QStringLiteral("Icons");
}

} // namespace lumbrix
