#include "engine/png/png_memory_read.h"

#include <algorithm>
#include <cstring>

namespace lumbrix {
namespace {

void on_png_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_png_warning(png_structp, png_const_charp) {}

// libpng's limits on what a chunk may make it allocate beside the file's own bytes (decompressed
// text and profiles) and on how many text and unknown chunks it keeps: its usual ones, set here
// so that no build of the library lifts them.
constexpr png_alloc_size_t chunk_malloc_max = 8000000;
constexpr png_uint_32 chunk_cache_max = 1000;

void read_memory(png_structp png, png_bytep data, std::size_t length) {
  auto &cursor = *static_cast<MemoryCursor *>(png_get_io_ptr(png));
  const qint64 left = std::max<qint64>(0, cursor.bytes->size() - cursor.at);
  if (left < static_cast<qint64>(length))
    png_error(png, "read past the end");
  std::memcpy(data, cursor.bytes->constData() + cursor.at, length);
  cursor.at += static_cast<qint64>(length);
}

} // namespace

png_structp create_memory_reader(MemoryCursor &cursor) {
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_png_error, on_png_warning);
  if (!png)
    return nullptr;
  png_set_chunk_malloc_max(png, chunk_malloc_max);
  png_set_chunk_cache_max(png, chunk_cache_max);
  png_set_read_fn(png, &cursor, read_memory);
  return png;
}

} // namespace lumbrix
