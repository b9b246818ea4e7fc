#include "engine/psd_writer.h"

#include "engine/image_limits.h"
#include "platform/files.h"

#include <IL/il.h>

#include <memory>
#include <new>

namespace lumbrix {
namespace {

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

// Bottom-up rows of blue, green, red, alpha: the layout DevIL takes as IL_BGRA.
std::unique_ptr<BYTE[]> raw_bgra(FIBITMAP *image, int width, int height) {
  const std::size_t pitch = static_cast<std::size_t>(width) * 4;
  std::unique_ptr<BYTE[]> pixels(new (std::nothrow) BYTE[pitch * static_cast<std::size_t>(height)]);
  if (pixels)
    FreeImage_ConvertToRawBits(pixels.get(), image, static_cast<int>(pitch), 32, FI_RGBA_RED_MASK,
                               FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
  return pixels;
}

// DevIL keeps its own copy, so the buffer is released before the save.
bool bind_pixels(FIBITMAP *image, int width, int height) {
  std::unique_ptr<BYTE[]> pixels = raw_bgra(image, width, height);
  return pixels && ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1, 4,
                              IL_BGRA, IL_UNSIGNED_BYTE, pixels.get()) == IL_TRUE;
}

} // namespace

qint64 psd_file_size(int width, int height) {
  return 40 + 4 * static_cast<qint64>(width) * static_cast<qint64>(height);
}

bool write_psd(FIBITMAP *image, const QString &path) {
  // FreeImage leaves the buffer untouched for anything but standard bitmaps.
  if (!image || FreeImage_GetImageType(image) != FIT_BITMAP)
    return false;
  const int width = static_cast<int>(FreeImage_GetWidth(image));
  const int height = static_cast<int>(FreeImage_GetHeight(image));
  if (width < 1 || height < 1 || width > max_image_side || height > max_image_side)
    return false;
  const DevilImage devil_image;
  if (!bind_pixels(image, width, height))
    return false;
  ilEnable(IL_FILE_OVERWRITE);
  if (ilSave(IL_PSD, native_path(path).constData()) != IL_TRUE)
    return false;
  return file_size(path) == psd_file_size(width, height);
}

} // namespace lumbrix
