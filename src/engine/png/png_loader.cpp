#include "engine/png/png_loader.h"

#include "engine/image/image_limits.h"
#include "engine/png/memory_budget.h"
#include "platform/files.h"

#include <png.h>

#include <cctype>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

namespace lumbrix {
namespace {

const QString damaged = QStringLiteral("damaged PNG file");

// Broken files are expected here; they are refused, not reported.
void on_png_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_png_warning(png_structp, png_const_charp) {}

void take_header(png_structp png, png_infop info, PngHeader &header) {
  header.width = static_cast<int>(png_get_image_width(png, info));
  header.height = static_cast<int>(png_get_image_height(png, info));
  header.bit_depth = png_get_bit_depth(png, info);
  header.color_type = png_get_color_type(png, info);
  header.channels = png_get_channels(png, info);
  png_colorp palette = nullptr;
  if (png_get_PLTE(png, info, &palette, &header.palette_size) == 0)
    header.palette_size = 0;
  png_bytep alphas = nullptr;
  int alpha_count = 0;
  png_color_16p key = nullptr;
  header.has_grey_key = header.color_type == PNG_COLOR_TYPE_GRAY &&
                        png_get_tRNS(png, info, &alphas, &alpha_count, &key) != 0 && key;
  if (header.has_grey_key)
    header.grey_key = key->gray;
  png_fixed_point gamma = 0;
  header.gamma = png_get_gAMA_fixed(png, info, &gamma) != 0 ? static_cast<int>(gamma) : 0;
  take_png_metadata(png, info, header.metadata);
}

// Nothing with a destructor lives in this frame: libpng leaves it by longjmp.
bool read_info(std::FILE *file, PngHeader &header) {
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_png_error, on_png_warning);
  if (!png)
    return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return false;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  take_header(png, info, header);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

QString chunk_name(const unsigned char *type) {
  QString name;
  for (int i = 0; i < 4; ++i)
    name += std::isalpha(type[i]) ? QLatin1Char(static_cast<char>(type[i])) : QLatin1Char('?');
  return name;
}

// libpng allocates and clears whatever length a chunk declares, before the image data and after
// it, two gigabytes for a few bytes of damaged file; so every chunk up to IEND must lie within
// the file. Adds up the image data on the way. The chunk heads are read straight from the
// descriptor: a large picture has tens of thousands of chunks, and each seek would refill the
// stream's buffer.
QString check_chunks(std::FILE *file, PngHeader &header) {
  static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const qint64 size = open_file_size(file);
  if (size < 0)
    return QStringLiteral("cannot be read: ") + error_text(errno);
  if (size == 0)
    return QStringLiteral("empty file");
  unsigned char head[8];
  if (!read_at(file, 0, head, 8) || std::memcmp(head, signature, 8) != 0)
    return QStringLiteral("not a PNG file");
  qint64 at = 8;
  while (read_at(file, at, head, 8)) {
    const std::uint32_t length = png_get_uint_32(head);
    if (length > 0x7FFFFFFFu || at + 12 + qint64{length} > size)
      return damaged + QStringLiteral(": its %1 chunk at byte %2 claims %3 bytes, more than "
                                      "the file holds")
                           .arg(chunk_name(head + 4))
                           .arg(at)
                           .arg(length);
    if (std::memcmp(head + 4, "IDAT", 4) == 0)
      header.image_data_size += length;
    if (std::memcmp(head + 4, "IEND", 4) == 0)
      break;
    at += 12 + qint64{length};
  }
  return std::fseek(file, 0, SEEK_SET) == 0
             ? QString()
             : QStringLiteral("cannot be read: ") + error_text(errno);
}

// Deflate codes at best 258 repeated bytes in two bits, so compressed data is never smaller
// than a 1032nd of what it unpacks to; rows hold at least the picture's bits.
qint64 least_image_data(const PngHeader &header) {
  const double bits = double(header.width) * header.height * header.channels * header.bit_depth;
  return static_cast<qint64>(bits / 8 / 1032);
}

QString picture_refusal(const PngHeader &header) {
  const QString too_large = size_limit_reason(header.width, header.height);
  if (!too_large.isEmpty())
    return too_large;
  const qint64 least = least_image_data(header);
  if (header.image_data_size < least)
    return damaged + QStringLiteral(": %1 bytes of image data cannot hold a %2 x %3 picture, "
                                    "which takes at least %4")
                         .arg(header.image_data_size)
                         .arg(header.width)
                         .arg(header.height)
                         .arg(least);
  return QString();
}

bool is_palettized(const PngHeader &header) {
  return header.color_type == PNG_COLOR_TYPE_PALETTE ||
         (header.color_type == PNG_COLOR_TYPE_GRAY && header.bit_depth <= 8);
}

// FreeImage fills the palette past the file's entries with a grey ramp; out-of-range indices
// are black, as libpng decodes them.
void blacken_unused_entries(FIBITMAP *image, int used) {
  RGBQUAD *palette = FreeImage_GetPalette(image);
  for (unsigned i = static_cast<unsigned>(used); i < FreeImage_GetColorsUsed(image); ++i)
    palette[i] = RGBQUAD{0, 0, 0, 0};
}

// FreeImage does not scale the key of 1, 2 and 4-bit grey to the levels it loads, so it marks
// the wrong level or none. The palette still holds the file's own levels here.
void mark_grey_key(FIBITMAP *image, const PngHeader &header) {
  const int top = (1 << header.bit_depth) - 1;
  const int key = (header.grey_key & top) * 255 / top;
  const RGBQUAD *palette = FreeImage_GetPalette(image);
  const unsigned count = FreeImage_GetColorsUsed(image);
  BYTE alphas[256];
  for (unsigned i = 0; i < count; ++i)
    alphas[i] = palette[i].rgbRed == key ? 0 : 255;
  FreeImage_SetTransparencyTable(image, alphas, static_cast<int>(count));
}

void mend_palette(FIBITMAP *image, const PngHeader &header) {
  if (header.color_type == PNG_COLOR_TYPE_PALETTE)
    blacken_unused_entries(image, header.palette_size);
  if (header.has_grey_key)
    mark_grey_key(image, header);
}

// The file's structure, its header and what the header claims, before a byte of pixels. The
// header stays filled when only its claims are refused.
QString check_header(std::FILE *file, PngHeader &header) {
  QString refusal = check_chunks(file, header);
  if (refusal.isEmpty() && !read_info(file, header))
    refusal = damaged;
  if (!refusal.isEmpty()) {
    header = PngHeader{};
    return refusal;
  }
  return picture_refusal(header);
}

// Opens path and checks it; the file stays open for the pixels.
QString open_checked(const QString &path, ReadFile &file, PngHeader &header) {
  header = PngHeader{};
  errno = 0;
  file = open_regular_file(path);
  if (!file)
    return errno ? QStringLiteral("cannot be read: ") + error_text(errno)
                 : QStringLiteral("not a regular file");
  return check_header(file.get(), header);
}

unsigned read_proc(void *buffer, unsigned size, unsigned count, fi_handle handle) {
  return static_cast<unsigned>(std::fread(buffer, size, count, static_cast<std::FILE *>(handle)));
}
unsigned write_proc(void *, unsigned, unsigned, fi_handle) { return 0; }
int seek_proc(fi_handle handle, long offset, int origin) {
  return std::fseek(static_cast<std::FILE *>(handle), offset, origin);
}
long tell_proc(fi_handle handle) { return std::ftell(static_cast<std::FILE *>(handle)); }

FreeImageIO file_io() { return FreeImageIO{read_proc, write_proc, seek_proc, tell_proc}; }

Image decode(std::FILE *file, const PngHeader &header) {
  if (std::fseek(file, 0, SEEK_SET) != 0)
    return Image();
  // The samples as the file stores them, whatever its gAMA says.
  FreeImageIO io = file_io();
  Image image(
      FreeImage_LoadFromHandle(FIF_PNG, &io, static_cast<fi_handle>(file), PNG_IGNOREGAMMA));
  if (image && is_palettized(header) && FreeImage_GetPalette(image.get()))
    mend_palette(image.get(), header);
  return image;
}

} // namespace

bool read_png_size(const QString &path, PngSize &size) {
  static const unsigned char start[16] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                          0,    0,   0,   13,  'I',  'H',  'D',  'R'};
  unsigned char head[25];
  const ReadFile file = open_regular_file(path);
  if (!file || !read_at(file.get(), 0, head, sizeof head) || std::memcmp(head, start, 16) != 0)
    return false;
  size = {png_get_uint_32(head + 16), png_get_uint_32(head + 20), head[24]};
  return true;
}

bool read_png_header(const QString &path, PngHeader &header, QString *reason) {
  ReadFile file;
  const QString refusal = open_checked(path, file, header);
  if (reason)
    *reason = refusal;
  return refusal.isEmpty();
}

Image load_png(const QString &path, QString *reason, PngMetadata *metadata) {
  // The header and the pixels come from one open file, so a file replaced after the header
  // was checked cannot slip past the checks.
  ReadFile file;
  PngHeader header;
  QString refusal = open_checked(path, file, header);
  if (refusal.isEmpty())
    refusal = memory_refusal(header.width, header.height, header.bit_depth == 16);
  Image image = refusal.isEmpty() ? decode(file.get(), header) : Image();
  if (refusal.isEmpty() && !image)
    refusal = damaged;
  if (reason)
    *reason = refusal;
  if (image && metadata)
    *metadata = std::move(header.metadata);
  return image;
}

} // namespace lumbrix
