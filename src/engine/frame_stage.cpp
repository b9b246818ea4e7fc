#include "engine/stages.h"

// Pass-through until the frame is built.
namespace lumbrix {

Image frame_stage(Image image, int, int) { return image; }
Rgba parse_rgba_color(const QString &, int alpha) { return {0, 0, 0, static_cast<std::uint8_t>(alpha)}; }

} // namespace lumbrix
