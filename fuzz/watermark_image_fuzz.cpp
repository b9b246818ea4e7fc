// Watermark image files, PNG and JPEG, through their own decoders.
#include "engine/stages/watermark/watermark_image_decoder.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size > 1 << 20)
    return -1;
  lumbrix::decode_watermark_image(lumbrix::fuzz::write_input(data, size, QStringLiteral("mark")));
  return 0;
}
