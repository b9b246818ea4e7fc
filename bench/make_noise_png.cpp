// Writes a PNG of random samples, the benchmark's input.
// Usage: make_noise_png width height rgba|rgb|palette bit-depth output.png

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

int color_type_of(const char *name) {
  if (std::strcmp(name, "rgba") == 0)
    return PNG_COLOR_TYPE_RGB_ALPHA;
  if (std::strcmp(name, "rgb") == 0)
    return PNG_COLOR_TYPE_RGB;
  if (std::strcmp(name, "palette") == 0)
    return PNG_COLOR_TYPE_PALETTE;
  return -1;
}

int channels_of(int color_type) {
  switch (color_type) {
  case PNG_COLOR_TYPE_RGB_ALPHA:
    return 4;
  case PNG_COLOR_TYPE_RGB:
    return 3;
  default:
    return 1;
  }
}

void set_random_palette(png_structp png, png_infop info, std::mt19937 &engine) {
  png_color palette[256];
  for (png_color &entry : palette)
    entry = png_color{static_cast<png_byte>(engine()), static_cast<png_byte>(engine()),
                      static_cast<png_byte>(engine())};
  png_set_PLTE(png, info, palette, 256);
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: make_noise_png width height rgba|rgb|palette depth out.png\n");
    return 2;
  }
  const auto width = static_cast<png_uint_32>(std::atoi(argv[1]));
  const auto height = static_cast<png_uint_32>(std::atoi(argv[2]));
  const int color_type = color_type_of(argv[3]);
  const int depth = std::atoi(argv[4]);
  std::FILE *file = std::fopen(argv[5], "wb");
  if (width == 0 || height == 0 || color_type < 0 || (depth != 8 && depth != 16) || !file)
    return 2;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)))
    return 1;
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, depth, color_type, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::mt19937 engine{20261208};
  if (color_type == PNG_COLOR_TYPE_PALETTE)
    set_random_palette(png, info, engine);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<std::size_t>(width) * channels_of(color_type) * depth / 8);
  for (png_uint_32 y = 0; y < height; ++y) {
    for (png_byte &sample : row)
      sample = static_cast<png_byte>(engine());
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 ? 0 : 1;
}
