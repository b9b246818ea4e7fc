#include "engine/png/png_loader.h"

#include "engine/image/image_limits.h"
#include "engine/png/memory_budget.h"
#include "engine/png/png_bytes.h"
#include "engine/png/png_memory_read.h"
#include "engine/png/png_rows.h"
#include "platform/files.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <utility>

namespace lumbrix {
namespace {

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
bool read_info(const QByteArray &bytes, PngHeader &header) {
  MemoryCursor cursor{&bytes, 0};
  png_structp png = create_memory_reader(cursor);
  if (!png)
    return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return false;
  }
  png_read_info(png, info);
  take_header(png, info, header);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
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
    return damaged_png() + QStringLiteral(": %1 bytes of image data cannot hold a %2 x %3 picture, "
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
QString check_header(std::FILE *file, PngBytes &png, PngHeader &header) {
  QString refusal = read_png_bytes(file, png);
  if (refusal.isEmpty() && !read_info(png.bytes, header))
    refusal = damaged_png();
  if (!refusal.isEmpty()) {
    header = PngHeader{};
    return refusal;
  }
  header.image_data_size = png.image_data_size;
  return picture_refusal(header);
}

// Opens path, reads its bytes and checks them; the descriptor is closed again before the pixels
// are decoded from the same bytes.
QString read_checked(const QString &path, PngBytes &png, PngHeader &header) {
  header = PngHeader{};
  errno = 0;
  const ReadFile file = open_regular_file(path);
  if (!file)
    return errno ? QStringLiteral("cannot be read: ") + error_text(errno)
                 : QStringLiteral("not a regular file");
  return check_header(file.get(), png, header);
}

// The rows straight into FreeImage's bitmap, then what FreeImage gets wrong put right.
Image decode(const QByteArray &bytes, const PngHeader &header, LoadObserver *observer,
             bool &abandoned) {
  Image image = decode_png_rows(bytes, observer, &abandoned);
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
  size = {png_get_uint_32(head + 16), png_get_uint_32(head + 20), head[24],
          open_file_size(file.get())};
  return true;
}

bool read_png_header(const QString &path, PngHeader &header, QString *reason) {
  PngBytes png;
  const QString refusal = read_checked(path, png, header);
  if (reason)
    *reason = refusal;
  return refusal.isEmpty();
}

Image load_png(const QString &path, QString *reason, PngMetadata *metadata, bool sixteen_bit_output,
               LoadObserver *observer) {
  // The header and the pixels come from the same bytes, read once, so a file changed after
  // its header was checked cannot slip past the checks.
  PngBytes png;
  PngHeader header;
  QString refusal = read_checked(path, png, header);
  // The file's bytes are held already: they count in what the picture takes, and no longer in
  // what the process can still take.
  const qint64 held = png.bytes.capacity();
  if (refusal.isEmpty())
    refusal = memory_refusal(header.width, header.height, header.bit_depth == 16,
                             sixteen_bit_output, held, memory_headroom() + held);
  bool abandoned = false;
  Image image = refusal.isEmpty() ? decode(png.bytes, header, observer, abandoned) : Image();
  if (refusal.isEmpty() && !image && !abandoned)
    refusal = damaged_png();
  if (reason)
    *reason = refusal;
  if (image && metadata)
    *metadata = std::move(header.metadata);
  return image;
}

} // namespace lumbrix
