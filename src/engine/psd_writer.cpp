#include "engine/psd_writer.h"

#include "engine/devil_output.h"
#include "engine/image_limits.h"
#include "platform/bands.h"

#include <IL/il.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumbrix {
namespace {

static_assert(FI_RGBA_BLUE == 0 && FI_RGBA_GREEN == 1 && FI_RGBA_RED == 2 && FI_RGBA_ALPHA == 3,
              "FreeImage pixels are expected in blue, green, red, alpha order");

// One DevIL image name, bound while it lives.
class DevilImage {
public:
  DevilImage() {
    ilGenImages(1, &name_);
    ilBindImage(name_);
  }
  ~DevilImage() { ilDeleteImages(1, &name_); }
  DevilImage(const DevilImage &) = delete;
  DevilImage &operator=(const DevilImage &) = delete;

private:
  ILuint name_ = 0;
};

// Below this a thread costs more than it saves.
constexpr long long banding_pixels = 1 << 20;

// Blue, green, red, alpha to red, green, blue, alpha; source and target may be the same row.
void swap_red_blue(const BYTE *source, BYTE *target, int width) {
  for (int x = 0; x < width; ++x) {
    std::uint32_t pixel;
    std::memcpy(&pixel, source + 4 * x, 4);
    pixel = (pixel & 0xFF00FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
    std::memcpy(target + 4 * x, &pixel, 4);
  }
}

void rgba_from_bgr(const BYTE *source, BYTE *target, int width) {
  for (int x = 0; x < width; ++x, source += 3, target += 4) {
    target[0] = source[FI_RGBA_RED];
    target[1] = source[FI_RGBA_GREEN];
    target[2] = source[FI_RGBA_BLUE];
    target[3] = 0xFF;
  }
}

// Rows from the top, red, green, blue, alpha: the layout DevIL's PSD saver writes as it is.
// Given bottom-up blue-green-red rows it would first convert and then flip a copy of each.
void copy_rgba_rows(FIBITMAP *image, BYTE *target, int width, int height) {
  const std::size_t pitch = static_cast<std::size_t>(width) * 4;
  const unsigned bpp = FreeImage_GetBPP(image);
  if (bpp != 24 && bpp != 32) {
    // Palettes, transparency tables and 16-bit layouts are FreeImage's to expand.
    FreeImage_ConvertToRawBits(target, image, static_cast<int>(pitch), 32, FI_RGBA_RED_MASK,
                               FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, TRUE);
    for (int y = 0; y < height; ++y)
      swap_red_blue(target + y * pitch, target + y * pitch, width);
    return;
  }
  // Most of this is first touching DevIL's fresh buffer, which goes faster on every core.
  const int threads = static_cast<long long>(width) * height >= banding_pixels ? core_count() : 1;
  for_each_run(height, threads, 64, [&](int first, int count) {
    for (int y = first; y < first + count; ++y) {
      const BYTE *source = FreeImage_GetScanLine(image, height - 1 - y);
      BYTE *row = target + y * pitch;
      if (bpp == 32)
        swap_red_blue(source, row, width);
      else
        rgba_from_bgr(source, row, width);
    }
  });
}

// Large pages cut the cost of first touching a fresh buffer, most of the time spent filling it.
// Only advice: the kernel may decline.
void ask_for_huge_pages(void *buffer, std::size_t size) {
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = (reinterpret_cast<std::uintptr_t>(buffer) + page - 1) / page * page;
  const auto end = reinterpret_cast<std::uintptr_t>(buffer) + size;
  if (end > begin)
    madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}

// Fills the bound DevIL image and lets the bitmap go, so the two copies overlap only briefly.
bool hand_to_devil(Image image, int width, int height) {
  if (ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1, 4, IL_RGBA,
                 IL_UNSIGNED_BYTE, nullptr) != IL_TRUE)
    return false;
  ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
  BYTE *data = ilGetData();
  if (!data)
    return false;
  ask_for_huge_pages(data, static_cast<std::size_t>(width) * height * 4);
  // FreeImage's raw export leaves the buffer untouched for 16-bit pixels; converted first, they
  // keep their colours.
  if (FreeImage_GetBPP(image.get()) == 16)
    image.reset(FreeImage_ConvertTo32Bits(image.get()));
  if (!image)
    return false;
  copy_rgba_rows(image.get(), data, width, height);
  return true;
}

// 0 when DevIL wrote the whole file, else the error number of the failure.
int save_bound_image(int descriptor, const WriteMonitor &monitor, qint64 size) {
  DevilFileOutput output(monitor, size);
  const bool saved = output.save_psd(descriptor);
  return output.failed() ? output.error() : saved ? 0 : EIO;
}

qint64 descriptor_size(int descriptor) {
  struct stat info {};
  return ::fstat(descriptor, &info) == 0 ? static_cast<qint64>(info.st_size) : -1;
}

void report(WriteStepObserver step_done, const char *step) {
  if (step_done)
    step_done(step);
}

bool failed_with(int *error, int number) {
  if (error)
    *error = number;
  return false;
}

} // namespace

qint64 psd_file_size(int width, int height) {
  return 40 + 4 * static_cast<qint64>(width) * static_cast<qint64>(height);
}

bool write_psd(Image image, int descriptor, const PsdWriteHooks &hooks, int *error) {
  // DevIL keeps its state in globals that must be set up once before any other call.
  static const bool devil_ready = (ilInit(), true);
  (void)devil_ready;
  // FreeImage exports nothing from anything but standard bitmaps.
  if (!image || FreeImage_GetImageType(image.get()) != FIT_BITMAP)
    return failed_with(error, EINVAL);
  const int width = image_width(image);
  const int height = image_height(image);
  if (width < 1 || height < 1 || width > max_image_side || height > max_image_side)
    return failed_with(error, EINVAL);
  // DevIL keeps its images in globals: one write at a time, whatever thread asks.
  static std::mutex devil;
  const std::lock_guard lock(devil);
  const DevilImage devil_image;
  if (!hand_to_devil(std::move(image), width, height))
    return failed_with(error, ENOMEM);
  report(hooks.step_done, "DevIL image");
  const int saved = save_bound_image(descriptor, hooks.monitor, psd_file_size(width, height));
  report(hooks.step_done, "DevIL save");
  if (saved != 0)
    return failed_with(error, saved);
  return descriptor_size(descriptor) == psd_file_size(width, height) || failed_with(error, EIO);
}

} // namespace lumbrix
