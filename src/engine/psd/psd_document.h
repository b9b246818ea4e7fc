#pragma once

#include "engine/image/image.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace lumbrix {

enum class PsdLayout {
  // One layer holding the picture with its transparency, and the composite on white, so that
  // readers show transparency as transparency.
  layered,
  // The composite alone, straight colours, raw, no resources: the file of earlier versions, byte
  // for byte.
  merged_only
};

// How the layered file stores its channels; the merged-only file is always raw.
enum class PsdCompression { raw, rle };

class PsdPackAhead;
class PsdRawAhead;

// One picture as a PSD document.
struct PsdDocument {
  // A standard bitmap; 24 and 32 bits are written as they are, other depths widened to 32 bits
  // as FreeImage converts them. A FIT_RGBA16 picture is written at 16 bits per channel.
  Image picture{};
  QString layer_name{};
  double horizontal_dpi = 72;
  double vertical_dpi = 72;
  QByteArray icc_profile{}; // empty: none (a 16-bit layered file then carries an sRGB one)
  PsdLayout layout = PsdLayout::layered;
  PsdCompression compression = PsdCompression::rle;
  // Bands of the picture's planes packed while it was decoded, taken when they are of this
  // picture, layout and compression.
  std::shared_ptr<PsdPackAhead> packed_ahead{};
  // The merged-only file's first bands, written into the descriptor while the picture was
  // decoded; taken when they are of this picture and file.
  std::shared_ptr<PsdRawAhead> raw_ahead{};
};

enum class PsdWriteStatus {
  written,
  refused, // not a picture a PSD holds: nothing was written
  failed,  // a write failed; error holds its errno
  stopped  // the progress hook asked to stop
};

struct PsdWriteResult {
  PsdWriteStatus status = PsdWriteStatus::written;
  int error = 0;
};

// Told how many bytes of the file are written, out of its whole size (0 until the file is laid
// out), after each band of rows; returning false abandons the file. Called on whichever thread
// did the band, never on two at once.
using PsdWriteProgress = std::function<bool(std::int64_t written, std::int64_t total)>;

// Writes the document from offset 0 of descriptor, an open regular file the caller owns (and
// closes, syncs and names). Lengths are filled in after the data they precede, so the file is
// complete only when the result says written; anything beyond the document is cut off. The
// planes are packed on every core.
PsdWriteResult write_psd_document(PsdDocument document, int descriptor,
                                  const PsdWriteProgress &progress = {});

} // namespace lumbrix
