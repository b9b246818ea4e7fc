#include "engine/stages/watermark/watermark_image_decoder.h"

#include "engine/image/image.h"
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

// Besides the critical chunks only transparency matters; the rest (gamma, text, profiles,
// palettes of suggestions) is skipped unread, however long a length it declares.
constexpr png_byte used_chunks[] = "tRNS";
constexpr png_alloc_size_t max_png_chunk = 1 << 20;

[[noreturn]] void png_fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void png_quiet(png_structp, png_const_charp) {}

// 8-bit RGBA rows whatever the file holds, the samples as stored: a gAMA chunk changes nothing,
// as in the picture itself.
bool start_png(png_structp png, png_infop info, std::FILE *file) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_init_io(png, file);
  png_set_user_limits(png, max_image_side, max_image_side);
  png_set_chunk_malloc_max(png, max_png_chunk);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, used_chunks, 1);
  png_read_info(png, info);
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

QImage decode_png(std::FILE *file) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, png_fail, png_quiet);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  QImage pixels;
  std::vector<png_bytep> rows;
  if (info && start_png(png, info, file) &&
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

QImage decode_jpeg(std::FILE *file) {
  const auto read = std::make_unique<JpegRead>();
  read->info.err = jpeg_std_error(&read->errors);
  read->errors.error_exit = jpeg_fail;
  read->errors.emit_message = jpeg_message;
  read->info.client_data = read.get();
  QImage pixels;
  if (start_jpeg(*read, file) && size_acceptable(read->info.output_width, read->info.output_height))
    pixels = QImage(static_cast<int>(read->info.output_width),
                    static_cast<int>(read->info.output_height), QImage::Format_RGB888);
  const bool complete =
      !pixels.isNull() && read_jpeg_rows(*read, pixels.bits(), pixels.bytesPerLine());
  jpeg_destroy_decompress(&read->info);
  return finished(std::move(pixels), complete);
}

bool alpha_unused(const Image &bitmap) {
  for (int y = 0; y < image_height(bitmap); ++y) {
    const BYTE *row = FreeImage_GetScanLine(bitmap.get(), y);
    for (int x = 0; x < image_width(bitmap); ++x)
      if (row[4 * x + FI_RGBA_ALPHA] != 0)
        return false;
  }
  return true;
}

// A 32-bit bitmap's pixels, top row first. A fourth byte that is zero throughout is one the
// writer left unused, not a picture that is wholly transparent: it is drawn opaque.
QImage argb_picture(const Image &bitmap) {
  const int width = image_width(bitmap);
  const int height = image_height(bitmap);
  QImage picture(width, height, QImage::Format_ARGB32);
  const bool opaque = alpha_unused(bitmap);
  for (int y = 0; y < picture.height(); ++y) {
    const BYTE *from = FreeImage_GetScanLine(bitmap.get(), height - 1 - y);
    auto *to = reinterpret_cast<QRgb *>(picture.scanLine(y));
    for (int x = 0; x < width; ++x, from += 4)
      to[x] = qRgba(from[FI_RGBA_RED], from[FI_RGBA_GREEN], from[FI_RGBA_BLUE],
                    opaque ? 255 : from[FI_RGBA_ALPHA]);
  }
  return picture;
}

// A BMP through FreeImage: its header first, so that a tiny file declaring a huge picture costs
// nothing, then its pixels.
QImage decode_bmp(FIMEMORY *memory) {
  FreeImage_SeekMemory(memory, 0, SEEK_SET);
  const Image header(FreeImage_LoadFromMemory(FIF_BMP, memory, FIF_LOAD_NOPIXELS));
  if (!header || !size_acceptable(image_width(header), image_height(header)))
    return {};
  FreeImage_SeekMemory(memory, 0, SEEK_SET);
  const Image loaded(FreeImage_LoadFromMemory(FIF_BMP, memory, 0));
  if (!loaded || !size_acceptable(image_width(loaded), image_height(loaded)))
    return {};
  const Image bitmap(FreeImage_ConvertTo32Bits(loaded.get()));
  return bitmap ? argb_picture(bitmap) : QImage();
}

using Memory = std::unique_ptr<FIMEMORY, decltype(&FreeImage_CloseMemory)>;

// The bytes as a stream for libpng and libjpeg.
QImage decode_with(QImage (*decode)(std::FILE *), QByteArray &bytes) {
  const ReadFile stream(fmemopen(bytes.data(), static_cast<std::size_t>(bytes.size()), "rb"));
  return stream ? decode(stream.get()) : QImage();
}

// The whole file, read once through one descriptor: what is told apart is what is decoded, even
// when the file changes meanwhile. A file larger than an uncompressed picture at the layer limit
// gives nothing.
constexpr qint64 max_file_bytes = max_layer_pixels * 4 + (qint64{1} << 20);

QByteArray whole_file(const QString &path) {
  const ReadFile file = open_regular_file(path);
  const qint64 size = file ? open_file_size(file.get()) : -1;
  if (size <= 0 || size > max_file_bytes)
    return {};
  QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
  return read_at(file.get(), 0, bytes.data(), static_cast<std::size_t>(size)) ? bytes
                                                                              : QByteArray();
}

} // namespace

QImage decode_watermark_image(const QString &path) {
  QByteArray bytes = whole_file(path);
  if (bytes.isEmpty())
    return {};
  const Memory memory(FreeImage_OpenMemory(reinterpret_cast<BYTE *>(bytes.data()),
                                           static_cast<DWORD>(bytes.size())),
                      &FreeImage_CloseMemory);
  if (!memory)
    return {};
  switch (FreeImage_GetFileTypeFromMemory(memory.get(), 0)) {
  case FIF_PNG:
    return decode_with(decode_png, bytes);
  case FIF_JPEG:
    return decode_with(decode_jpeg, bytes);
  case FIF_BMP:
    return decode_bmp(memory.get());
  default:
    return {};
  }
}

bool watermark_image_decodes(const QString &path) { return !decode_watermark_image(path).isNull(); }

} // namespace lumbrix
