#pragma once

#include <FreeImage.h>
#include <QString>

namespace lumbrix::test {

// The plain way to a flat PSD: bottom-up BGRA rows exported by FreeImage, handed to DevIL, saved
// with DevIL's own output functions. Initialises DevIL when needed.
bool write_devil_reference_psd(FIBITMAP *image, const QString &path);

} // namespace lumbrix::test
