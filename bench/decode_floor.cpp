// The floor a converter is measured against: decodes a PNG with libpng, row by row, and writes
// the decoded bytes to a file, nothing else.
// Usage: decode_floor input.png output.raw

#include <png.h>

#include <cstdio>
#include <vector>

int main(int argc, char **argv) {
  if (argc != 3)
    return 2;
  std::FILE *in = std::fopen(argv[1], "rb");
  std::FILE *out = std::fopen(argv[2], "wb");
  if (!in || !out)
    return 1;
  std::vector<char> out_buffer(1 << 20);
  std::setvbuf(out, out_buffer.data(), _IOFBF, out_buffer.size());
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)))
    return 1;
  png_init_io(png, in);
  png_read_info(png, info);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const std::size_t row_bytes = png_get_rowbytes(png, info);
  if (passes > 1) {
    std::vector<png_byte> image(row_bytes * height);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y)
      rows[y] = image.data() + y * row_bytes;
    png_read_image(png, rows.data());
    std::fwrite(image.data(), 1, image.size(), out);
  } else {
    std::vector<png_byte> row(row_bytes);
    for (png_uint_32 y = 0; y < height; ++y) {
      png_read_row(png, row.data(), nullptr);
      std::fwrite(row.data(), 1, row.size(), out);
    }
  }
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(in);
  return std::fclose(out) == 0 ? 0 : 1;
}
