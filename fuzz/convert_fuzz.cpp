// The whole conversion of one PNG to a PSD. Pictures are kept small (the header is checked
// first) so that each run is quick; the first input byte switches stages on.
#include "engine/png/png_loader.h"
#include "engine/run/pipeline.h"
#include "engine/settings/settings.h"
#include "fuzz_support.h"
#include "platform/files.h"
#include "platform/gui_app.h"

#include <QFile>

namespace {

constexpr int max_fuzz_side = 512;

void choose_stages(lumbrix::Settings &s, std::uint8_t bits) {
  s.do_image_rotation = bits & 1;
  s.image_rotation = 33;
  s.do_image_resize = (bits >> 1) & 1;
  s.image_width = 37;
  s.image_height = 21;
  s.do_image_flip_horizontal = (bits >> 2) & 1;
  s.do_image_color_correction = (bits >> 3) & 1;
  s.image_gamma = 1.7f;
  s.do_image_greyscale = (bits >> 4) & 1;
  s.do_image_threshold = (bits >> 5) & 1;
  s.image_threshold = 100;
  s.do_frame = static_cast<lumbrix::FrameKind>((bits >> 6) & 1);
  s.solid_left = s.solid_top = 3;
  s.solid_right = s.solid_bottom = 5;
  s.solid_opacity = 200;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  lumbrix::fuzz::start_console_front();
  lumbrix::ensure_gui_application();
  lumbrix::ignore_file_size_signal();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 2 || size > 1 << 20)
    return -1;
  const QString input = lumbrix::fuzz::write_input(data + 1, size - 1, QStringLiteral("in.png"));
  lumbrix::PngHeader header;
  if (lumbrix::read_png_header(input, header) &&
      (header.width > max_fuzz_side || header.height > max_fuzz_side))
    return -1;
  lumbrix::ConversionRequest request;
  request.settings = lumbrix::default_settings(lumbrix::SettingsUse::Console);
  choose_stages(request.settings, data[0]);
  request.output_folder = lumbrix::fuzz::scratch_dir();
  request.output_extension = QStringLiteral("psd");
  const lumbrix::FileResult result =
      lumbrix::convert_file(request, {input, QString()}, request.counters);
  if (result.status == lumbrix::FileStatus::Converted)
    QFile::remove(result.output_path);
  return 0;
}
