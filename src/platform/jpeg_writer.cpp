#include "platform/jpeg_writer.h"

#include "platform/files.h"

#include <csetjmp>
// clang-format off
#include <cstdio> // jpeglib.h needs FILE and size_t declared before it
#include <jpeglib.h>
// clang-format on

namespace lumbrix {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void leave_on_error(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

// Kept free of C++ objects with destructors: libjpeg reports errors by jumping out.
bool compress(std::FILE *file, const QImage &rgb, int quality) {
  jpeg_compress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = leave_on_error;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(rgb.width());
  info.image_height = static_cast<JDIMENSION>(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto *row = const_cast<JSAMPLE *>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

} // namespace

bool write_jpeg(const QImage &image, const QString &path, int quality) {
  if (image.isNull())
    return false;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  std::FILE *file = std::fopen(native_path(path).constData(), "wb");
  if (!file)
    return false;
  const bool written = compress(file, rgb, quality);
  const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
  const bool closed = std::fclose(file) == 0;
  if (written && flushed && closed)
    return true;
  delete_file(path);
  return false;
}

} // namespace lumbrix
