#include "engine/png/png_loader.h"

#include "engine/image/image_limits.h"
#include "engine/png/memory_budget.h"
#include "engine/png/png_bytes.h"
#include "platform/files.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

namespace lumbrix {
namespace {

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

// libpng's limits on what a chunk may make it allocate beside the file's own bytes (decompressed
// text and profiles) and on how many text and unknown chunks it keeps: its usual ones, set here
// so that no build of the library lifts them.
constexpr png_alloc_size_t chunk_malloc_max = 8000000;
constexpr png_uint_32 chunk_cache_max = 1000;

// A place in the bytes the checks read: libpng reads the header through one, FreeImage the
// pixels through another.
struct MemoryCursor {
  const QByteArray *bytes;
  qint64 at;
};

// Copies up to size bytes from the cursor on; how many there were.
std::size_t take(MemoryCursor &cursor, void *buffer, std::size_t size) {
  const qint64 left = std::max<qint64>(0, cursor.bytes->size() - cursor.at);
  const auto count = static_cast<std::size_t>(std::min<qint64>(left, static_cast<qint64>(size)));
  std::memcpy(buffer, cursor.bytes->constData() + cursor.at, count);
  cursor.at += static_cast<qint64>(count);
  return count;
}

// Reading past the bytes is an error like any other.
void read_memory(png_structp png, png_bytep data, std::size_t length) {
  if (take(*static_cast<MemoryCursor *>(png_get_io_ptr(png)), data, length) != length)
    png_error(png, "read past the end");
}

// Nothing with a destructor lives in this frame: libpng leaves it by longjmp.
bool read_info(const QByteArray &bytes, PngHeader &header) {
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_png_error, on_png_warning);
  if (!png)
    return false;
  png_infop info = png_create_info_struct(png);
  MemoryCursor cursor{&bytes, 0};
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return false;
  }
  png_set_chunk_malloc_max(png, chunk_malloc_max);
  png_set_chunk_cache_max(png, chunk_cache_max);
  png_set_read_fn(png, &cursor, read_memory);
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

unsigned read_proc(void *buffer, unsigned size, unsigned count, fi_handle handle) {
  if (size == 0)
    return 0;
  auto &cursor = *static_cast<MemoryCursor *>(handle);
  const qint64 left = std::max<qint64>(0, cursor.bytes->size() - cursor.at);
  const qint64 items = std::min<qint64>(count, left / size);
  return static_cast<unsigned>(take(cursor, buffer, static_cast<std::size_t>(items) * size) / size);
}
unsigned write_proc(void *, unsigned, unsigned, fi_handle) { return 0; }
int seek_proc(fi_handle handle, long offset, int origin) {
  auto *cursor = static_cast<MemoryCursor *>(handle);
  const qint64 from = origin == SEEK_SET   ? 0
                      : origin == SEEK_CUR ? cursor->at
                                           : cursor->bytes->size();
  if (from + offset < 0)
    return -1;
  cursor->at = from + offset;
  return 0;
}
long tell_proc(fi_handle handle) {
  return static_cast<long>(static_cast<MemoryCursor *>(handle)->at);
}

FreeImageIO memory_io() { return FreeImageIO{read_proc, write_proc, seek_proc, tell_proc}; }

Image decode(const QByteArray &bytes, const PngHeader &header) {
  FreeImageIO io = memory_io();
  MemoryCursor cursor{&bytes, 0};
  // The samples as the file stores them, whatever its gAMA says.
  Image image(
      FreeImage_LoadFromHandle(FIF_PNG, &io, static_cast<fi_handle>(&cursor), PNG_IGNOREGAMMA));
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
  if (refusal.isEmpty() && observer && !observer->progressed(0, 0)) {
    if (reason)
      reason->clear();
    return Image();
  }
  Image image = refusal.isEmpty() ? decode(png.bytes, header) : Image();
  if (image && observer)
    observer->progressed(header.height, 1000);
  if (refusal.isEmpty() && !image)
    refusal = damaged_png();
  if (reason)
    *reason = refusal;
  if (image && metadata)
    *metadata = std::move(header.metadata);
  return image;
}

} // namespace lumbrix
