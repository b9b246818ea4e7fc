#include "support/devil_reference.h"

#include "platform/files.h"
#include "support/devil_setup.h"

#include <IL/il.h>

#include <cstddef>
#include <memory>

namespace lumbrix::test {

bool write_devil_reference_psd(FIBITMAP *image, const QString &path) {
  init_devil();
  const int width = static_cast<int>(FreeImage_GetWidth(image));
  const int height = static_cast<int>(FreeImage_GetHeight(image));
  const auto pixels = std::make_unique<BYTE[]>(static_cast<std::size_t>(width) * height * 4);
  FreeImage_ConvertToRawBits(pixels.get(), image, width * 4, 32, FI_RGBA_RED_MASK,
                             FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
  ILuint name = 0;
  ilGenImages(1, &name);
  ilBindImage(name);
  ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1, 4, IL_BGRA,
             IL_UNSIGNED_BYTE, pixels.get());
  ilEnable(IL_FILE_OVERWRITE);
  const bool saved = ilSave(IL_PSD, native_path(path).constData()) == IL_TRUE;
  ilDeleteImages(1, &name);
  return saved;
}

} // namespace lumbrix::test
