#pragma once

#include "engine/image/image.h"
#include "engine/settings/settings.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace lumbrix {

// Pictures larger than this many pixels are scaled down before the stages run, so a preview of
// a camera picture costs what one of a few megapixels does.
inline constexpr qint64 preview_pixel_limit = 2'000'000;

// A picture read once for many previews: the PNG at path, scaled down to the pixel limit when
// larger. Reading it is the slow part; each render works on a copy.
class PreviewSource {
public:
  explicit PreviewSource(const QString &path);

  const QString &path() const { return path_; }

  // The picture as a conversion with s would make it: passed through every stage of a
  // conversion to the output format of s, then scaled to fill box as far as its proportions
  // allow, with its transparency. A null image when the file could not be read or a stage gives
  // nothing. Renders of one source may run on any thread, one at a time or several at once.
  QImage render(const Settings &s, QSize box) const;

private:
  QString path_;
  Image image_;
  int file_bpp_ = 0; // before any scaling, for the automatic output depth
};

// The picture the preview shows when no input is chosen: samples/sample.png beside the program,
// or in the installed data folder; empty when neither exists.
QString sample_picture_path();

} // namespace lumbrix
