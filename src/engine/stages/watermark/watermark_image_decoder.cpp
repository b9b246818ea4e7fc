#include "engine/stages/watermark/watermark_image_decoder.h"

#include "engine/image/image_limits.h"
#include "engine/stages/watermark/watermark_composite.h"
#include "platform/files.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

// Both libraries report a fatal error by a longjmp back to the setjmp of the function that made
// the failing call. Those functions (start_*, read_*_rows) hold nothing with a destructor and
// read no local after the jump, so the jump skips no cleanup; the callers own the file, the
// library state and the pixels.

namespace lumbrix {
namespace {

bool size_acceptable(qint64 width, qint64 height) {
  return width <= max_image_side && height <= max_image_side &&
         layer_size_acceptable(width, height);
}

QImage finished(QImage pixels, bool complete) {
  return complete ? pixels.convertToFormat(QImage::Format_ARGB32) : QImage();
}

// Besides the critical chunks only transparency and gamma matter; the rest (text, profiles,
// palettes of suggestions) is skipped unread, however long a length it declares.
constexpr png_byte used_chunks[] = "tRNS\0gAMA";
constexpr png_alloc_size_t max_png_chunk = 1 << 20;

[[noreturn]] void png_fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void png_quiet(png_structp, png_const_charp) {}

// 8-bit RGBA rows whatever the file holds; the file's gamma is corrected for a 2.2 display, as
// the picture itself is.
bool start_png(png_structp png, png_infop info, std::FILE *file) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_init_io(png, file);
  png_set_user_limits(png, max_image_side, max_image_side);
  png_set_chunk_malloc_max(png, max_png_chunk);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, used_chunks, 2);
  png_read_info(png, info);
  double file_gamma = 0;
  if (png_get_gAMA(png, info, &file_gamma))
    png_set_gamma(png, 2.2, file_gamma);
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_rowbytes(png, info) == 4 * static_cast<png_size_t>(png_get_image_width(png, info));
}

bool read_png_rows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

QImage decode_png(const QString &path) {
  const ReadFile file = open_regular_file(path);
  png_structp png =
      file ? png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, png_fail, png_quiet) : nullptr;
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  QImage pixels;
  std::vector<png_bytep> rows;
  if (info && start_png(png, info, file.get()) &&
      size_acceptable(png_get_image_width(png, info), png_get_image_height(png, info)))
    pixels = QImage(static_cast<int>(png_get_image_width(png, info)),
                    static_cast<int>(png_get_image_height(png, info)), QImage::Format_RGBA8888);
  for (int y = 0; y < pixels.height(); ++y)
    rows.push_back(pixels.scanLine(y));
  const bool complete = !pixels.isNull() && read_png_rows(png, rows.data());
  if (png)
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  return finished(std::move(pixels), complete);
}

struct JpegRead {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  std::jmp_buf failed;
  int warnings = 0;
};

JpegRead &read_of(j_common_ptr info) { return *static_cast<JpegRead *>(info->client_data); }

[[noreturn]] void jpeg_fail(j_common_ptr info) { std::longjmp(read_of(info).failed, 1); }

// Warnings mean damaged data (a truncated file is padded out and reported by one); nothing is
// printed.
void jpeg_message(j_common_ptr info, int level) {
  if (level < 0)
    ++read_of(info).warnings;
}

bool start_jpeg(JpegRead &read, std::FILE *file) {
  if (setjmp(read.failed))
    return false;
  jpeg_create_decompress(&read.info);
  read.info.client_data = &read;
  jpeg_stdio_src(&read.info, file);
  jpeg_read_header(&read.info, TRUE);
  read.info.out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(&read.info);
  return read.info.output_components == 3;
}

bool read_jpeg_rows(JpegRead &read, uchar *bits, qsizetype stride) {
  if (setjmp(read.failed))
    return false;
  jpeg_start_decompress(&read.info);
  while (read.info.output_scanline < read.info.output_height) {
    JSAMPROW row = bits + read.info.output_scanline * stride;
    jpeg_read_scanlines(&read.info, &row, 1);
  }
  jpeg_finish_decompress(&read.info);
  return read.warnings == 0;
}

QImage decode_jpeg(const QString &path) {
  const ReadFile file = open_regular_file(path);
  if (!file)
    return {};
  const auto read = std::make_unique<JpegRead>();
  read->info.err = jpeg_std_error(&read->errors);
  read->errors.error_exit = jpeg_fail;
  read->errors.emit_message = jpeg_message;
  read->info.client_data = read.get();
  QImage pixels;
  if (start_jpeg(*read, file.get()) &&
      size_acceptable(read->info.output_width, read->info.output_height))
    pixels = QImage(static_cast<int>(read->info.output_width),
                    static_cast<int>(read->info.output_height), QImage::Format_RGB888);
  const bool complete =
      !pixels.isNull() && read_jpeg_rows(*read, pixels.bits(), pixels.bytesPerLine());
  jpeg_destroy_decompress(&read->info);
  return finished(std::move(pixels), complete);
}

enum class Kind { unknown, png, jpeg };

Kind kind_of(const QString &path) {
  const ReadFile file = open_regular_file(path);
  char bytes[8] = {};
  if (!file || std::fread(bytes, 1, sizeof bytes, file.get()) != sizeof bytes)
    return Kind::unknown;
  const QByteArray head(bytes, sizeof bytes);
  if (head.startsWith("\x89PNG\r\n\x1a\n"))
    return Kind::png;
  if (head.startsWith("\xff\xd8\xff"))
    return Kind::jpeg;
  return Kind::unknown;
}

} // namespace

QImage decode_watermark_image(const QString &path) {
  switch (kind_of(path)) {
  case Kind::png:
    return decode_png(path);
  case Kind::jpeg:
    return decode_jpeg(path);
  default:
    return {};
  }
}

} // namespace lumbrix
