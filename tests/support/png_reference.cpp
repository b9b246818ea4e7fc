#include "support/png_reference.h"

#include <QFile>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

namespace lumbrix::test {
namespace {

struct FileCloser {
  void operator()(std::FILE *file) const { std::fclose(file); }
};

// Damaged files are part of the corpus; their complaints are not test output.
void on_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_warning(png_structp, png_const_charp) {}

void set_transforms(png_structp png, png_infop info, Gamma gamma, PngPixels &out) {
  out.width = static_cast<int>(png_get_image_width(png, info));
  out.height = static_cast<int>(png_get_image_height(png, info));
  out.bit_depth = png_get_bit_depth(png, info);
  out.color_type = png_get_color_type(png, info);
  double file_gamma = 0;
  out.has_gamma = png_get_gAMA(png, info, &file_gamma) != 0;
  png_set_expand(png);
  if (out.sample_bytes == 2)
    png_set_expand_16(png);
  else
    png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, out.sample_bytes == 2 ? 0xFFFF : 0xFF, PNG_FILLER_AFTER);
  if (gamma == Gamma::display_2_2 && out.has_gamma)
    png_set_gamma(png, 2.2, file_gamma);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// Kept free of C++ objects with destructors between setjmp and longjmp.
// The row table lives in the caller so that a longjmp leaves nothing to free here.
bool decode(std::FILE *file, PngPixels &out, Gamma gamma, std::vector<png_bytep> &rows) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_error, on_warning);
  if (!png)
    return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return false;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  set_transforms(png, info, gamma, out);
  const size_t row_bytes = static_cast<size_t>(out.width) * 4 * out.sample_bytes;
  if (png_get_rowbytes(png, info) != row_bytes)
    png_error(png, "unexpected row size");
  out.rgba.assign(row_bytes * static_cast<size_t>(out.height), 0);
  rows.resize(static_cast<size_t>(out.height));
  for (int y = 0; y < out.height; ++y)
    rows[static_cast<size_t>(y)] = out.rgba.data() + static_cast<size_t>(y) * row_bytes;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

bool encode_grey(std::FILE *file, int width, int height, std::vector<png_byte> &row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png)
    return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  row.resize(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      row[static_cast<size_t>(x)] = static_cast<png_byte>((x + y) & 0xFF);
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

} // namespace

bool write_grey_png(const QString &path, int width, int height) {
  std::unique_ptr<std::FILE, FileCloser> file(
      std::fopen(QFile::encodeName(path).constData(), "wb"));
  std::vector<png_byte> row;
  return file && encode_grey(file.get(), width, height, row);
}

bool decode_png_reference(const QString &path, PngPixels &out, Gamma gamma, int sample_bytes) {
  out = PngPixels{};
  out.sample_bytes = static_cast<size_t>(sample_bytes);
  std::unique_ptr<std::FILE, FileCloser> file(
      std::fopen(QFile::encodeName(path).constData(), "rb"));
  if (!file)
    return false;
  std::vector<png_bytep> rows;
  if (decode(file.get(), out, gamma, rows))
    return true;
  out = PngPixels{};
  return false;
}

} // namespace lumbrix::test
