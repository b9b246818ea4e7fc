#pragma once

#include "engine/image/image.h"
#include "engine/png/png_metadata.h"

#include <QString>

#include <cstdint>

namespace lumbrix {

// What the PNG says about itself before its pixels: enough to refuse it cheaply and to mend
// what FreeImage gets wrong.
struct PngHeader {
  int width = 0;
  int height = 0;
  int bit_depth = 0;
  int color_type = 0;   // PNG_COLOR_TYPE_*
  int channels = 0;     // samples per pixel as stored
  int palette_size = 0; // PLTE entries
  bool has_grey_key = false;
  int grey_key = 0;           // the tRNS grey sample, at the file's bit depth
  int gamma = 0;              // file gamma x 100000; 0 without gAMA (or sRGB)
  qint64 image_data_size = 0; // bytes of all IDAT chunks
  PngMetadata metadata;
};

// Reads the chunks before the image data and checks the file against what its header claims:
// every chunk up to IEND lies within the file, the picture fits a PSD and the image data is not
// smaller than any compression could make it. False for anything that fails, with the reason
// given when asked for; the header is left empty when it could not be read.
bool read_png_header(const QString &path, PngHeader &header, QString *reason = nullptr);

// What a PNG's header says of its size, read from its first bytes alone, unchecked.
struct PngSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int bit_depth = 0;
  qint64 file_bytes = 0; // the whole file's size
};
bool read_png_size(const QString &path, PngSize &size);

// Told of a picture's rows as they are decoded, on the loading thread.
class LoadObserver {
public:
  virtual ~LoadObserver() = default;
  // The bitmap that will be returned, before any of its rows is decoded.
  virtual void started(FIBITMAP *picture) = 0;
  // Rows [0, rows) counted from the top of the picture hold their final samples; permille says
  // how far the decoding is (an interlaced picture's rows are final only in its last pass, but
  // its passes still advance permille). Returning false abandons the load.
  virtual bool progressed(int rows, int permille) = 0;
  // After the last row, or a failure, when started was called: the bitmap is about to be
  // returned, or freed, and nothing may be reading it once this returns.
  virtual void ended() {}
};

// Loads a PNG as FreeImage does, with its faults put right: grey images with a transparent
// level keep it at every bit depth, samples stay as stored whatever the file's gamma, palette
// indices past the palette are black. Empty for what read_png_header refuses, for pictures whose
// conversion would take more memory than there is (checked before decoding), and for damaged
// image data; reason, when given, then says why in words that follow the file's name ("not a
// PNG file"). metadata, when given, receives the file's resolution and colour profile.
// sixteen_bit_output: the picture is to be worked on in 16-bit samples, which the memory check
// counts. observer, when given, follows the rows as they decode into the bitmap returned; it is
// told of at most about a thousand steps and always of the last, (height, 1000). The rows of a
// picture whose later data turns out damaged may have been reported before it is refused: the
// bitmap is freed then. A load the observer abandons returns empty with reason left empty.
Image load_png(const QString &path, QString *reason = nullptr, PngMetadata *metadata = nullptr,
               bool sixteen_bit_output = false, LoadObserver *observer = nullptr);

} // namespace lumbrix
