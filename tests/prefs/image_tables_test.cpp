#include "prefs/image_tables.h"
#include "prefs/window_settings.h"

#include <gtest/gtest.h>

#include <set>

namespace lumbrix {
namespace {

TEST(ImageTables, FixedNumbers) {
  EXPECT_EQ(image_number(ImageTable::Buttons, "Convert"), 2);
  EXPECT_EQ(image_number(ImageTable::Buttons, "InFolder"), 4);
  EXPECT_EQ(image_number(ImageTable::Menus, "New"), 5);
  EXPECT_EQ(image_number(ImageTable::Menus, "Help"), 22);
  EXPECT_EQ(image_number(ImageTable::Menus, "Email"), 25);
  EXPECT_EQ(image_number(ImageTable::Menus, "About"), 28);
  EXPECT_EQ(image_number(ImageTable::Toolbar, "New"), 29);
  EXPECT_EQ(image_number(ImageTable::Toolbar, "About"), 52);
  EXPECT_EQ(image_number(ImageTable::Buttons, "New"), 0);
  EXPECT_EQ(image_number(ImageTable::Menus, "new"), 0);
}

TEST(ImageTables, ToolbarRepeatsTheMenuNamesAndEveryNumberIsUsedOnce) {
  ASSERT_EQ(image_names(ImageTable::Menus).size(), 22u);
  ASSERT_EQ(image_names(ImageTable::Toolbar).size(), 22u);
  std::set<int> numbers;
  for (ImageTable table : all_image_tables) {
    for (const NamedImage &named : image_names(table))
      EXPECT_TRUE(numbers.insert(named.number).second) << named.name;
  }
  for (const NamedImage &named : image_names(ImageTable::Menus))
    EXPECT_EQ(image_number(ImageTable::Toolbar, named.name), named.number + 24);
  EXPECT_EQ(numbers.count(23) + numbers.count(24), 0u);
}

TEST(ImageTables, ImagesAreStoredByNumber) {
  const QImage picture(5, 5, QImage::Format_ARGB32);
  set_image(image_number(ImageTable::Toolbar, "Web"), picture);
  EXPECT_EQ(table_image(ImageTable::Toolbar, "Web"), picture);
  EXPECT_TRUE(table_image(ImageTable::Menus, "Web").isNull() ||
              table_image(ImageTable::Menus, "Web") != picture);
  set_image(0, picture);
  set_image(99, picture);
  EXPECT_TRUE(image(99).isNull());
  EXPECT_TRUE(table_image(ImageTable::Buttons, "Nothing").isNull());
}

TEST(ImageTables, IconSizes) {
  const int expected[] = {16, 24, 32, 48, 64};
  for (int ui_size = 0; ui_size < 5; ++ui_size)
    EXPECT_EQ(icon_size(ui_size), expected[ui_size]);
  EXPECT_EQ(icon_size(5), 16);
  EXPECT_EQ(icon_size(-1), 16);

  settings().ui_size = 3;
  EXPECT_EQ(table_image_size(ImageTable::Toolbar), 48);
  EXPECT_EQ(table_image_size(ImageTable::Menus), 16);
  EXPECT_EQ(table_image_size(ImageTable::Buttons), 16);
  settings().ui_size = 2;
  EXPECT_EQ(theme_section(ImageTable::Buttons), "Buttons");
  EXPECT_EQ(theme_section(ImageTable::Toolbar), "Icons");
}

} // namespace
} // namespace lumbrix
