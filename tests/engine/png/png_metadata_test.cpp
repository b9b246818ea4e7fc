#include "engine/png/png_loader.h"
#include "engine/png/png_metadata.h"
#include "platform/files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <random>

namespace lumbrix {
namespace {

void put_u32(QByteArray &bytes, int at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

// A monitor profile without tags, which libpng accepts for an RGB picture. The bytes after the
// header are random: libpng ignores chunks that compress to almost nothing.
QByteArray minimal_profile(int size) {
  std::mt19937 engine{3};
  QByteArray profile(size, '\0');
  for (int i = 132; i < size; ++i)
    profile[i] = static_cast<char>(engine());
  put_u32(profile, 0, static_cast<std::uint32_t>(size));
  put_u32(profile, 8, 0x02100000);
  profile.replace(12, 4, "mntr").replace(16, 4, "RGB ").replace(20, 4, "XYZ ");
  profile.replace(36, 4, "acsp");
  put_u32(profile, 68, 0xF6D6); // D50
  put_u32(profile, 72, 0x10000);
  put_u32(profile, 76, 0xD32D);
  return profile;
}

struct Chunks {
  png_uint_32 x_per_unit = 0; // no pHYs when 0
  png_uint_32 y_per_unit = 0;
  int unit = PNG_RESOLUTION_METER;
  QByteArray profile{};
};

bool write_png(const QString &path, const Chunks &chunks) {
  std::FILE *file = std::fopen(native_path(path).constData(), "wb");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, 2, 2, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (chunks.x_per_unit != 0)
    png_set_pHYs(png, info, chunks.x_per_unit, chunks.y_per_unit, chunks.unit);
  if (!chunks.profile.isEmpty())
    png_set_iCCP(png, info, "test", PNG_COMPRESSION_TYPE_BASE,
                 reinterpret_cast<png_const_bytep>(chunks.profile.constData()),
                 static_cast<png_uint_32>(chunks.profile.size()));
  png_write_info(png, info);
  png_byte row[6] = {1, 2, 3, 4, 5, 6};
  png_write_row(png, row);
  png_write_row(png, row);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

TEST(PngMetadata, ResolutionInMetresAndTheProfileAreRead) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("meta.png"));
  const QByteArray profile = minimal_profile(1000);
  struct Case {
    const char *name;
    Chunks chunks;
    double x_dpi;
    double y_dpi;
    QByteArray expected_profile;
  };
  const Case cases[] = {
      {"none", {}, 0, 0, {}},
      {"dots per metre", {11811, 3937}, 11811 * 0.0254, 3937 * 0.0254, {}},
      {"aspect ratio only", {2, 1, PNG_RESOLUTION_UNKNOWN}, 0, 0, {}},
      {"profile", {0, 0, 0, profile}, 0, 0, profile},
      {"profile too large to carry",
       {0, 0, 0, minimal_profile(max_icc_profile_bytes + 4)},
       0,
       0,
       {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(write_png(path, c.chunks));
    PngMetadata metadata;
    metadata.horizontal_dpi = -1;
    const Image image = load_png(path, nullptr, &metadata);
    ASSERT_TRUE(image);
    EXPECT_DOUBLE_EQ(metadata.horizontal_dpi, c.x_dpi);
    EXPECT_DOUBLE_EQ(metadata.vertical_dpi, c.y_dpi);
    EXPECT_EQ(metadata.icc_profile, c.expected_profile);
  }
}

} // namespace
} // namespace lumbrix
