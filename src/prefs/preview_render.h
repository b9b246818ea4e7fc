#pragma once

#include "engine/settings.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace lumbrix {

// Pictures larger than this many pixels are scaled down before the stages run, so a preview of
// a camera picture costs what one of a few megapixels does.
inline constexpr qint64 preview_pixel_limit = 2'000'000;

// The PNG at path as a conversion with s would make it: loaded, scaled down to the pixel limit
// when larger, passed through every stage of a conversion to the output format of s, then
// scaled to fill box as far as its proportions allow, with its transparency. A null image when the
// file cannot be read or a stage gives nothing. Safe to call on any thread.
QImage render_preview(const QString &path, const Settings &s, QSize box);

// The picture the preview shows when no input is chosen: samples/sample.png beside the program,
// or in the installed data folder; empty when neither exists.
QString sample_picture_path();

} // namespace lumbrix
