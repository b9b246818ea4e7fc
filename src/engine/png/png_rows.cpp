#include "engine/png/png_rows.h"

#include "engine/png/png_loader.h"
#include "engine/png/png_memory_read.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

namespace lumbrix {
namespace {

// Tells the observer how far the rows are, each time the decoding advances by a thousandth and
// at the end. An interlaced picture's passes carry 1, 1, 2, 4, 8, 16 and 32 64ths of its pixels;
// its rows are final only in the last pass.
class RowReport {
public:
  RowReport(LoadObserver *observer, int height, int passes)
      : observer_(observer), height_(height), passes_(passes) {}

  // Rows [0, rows) of the pass are decoded; false when the observer asks to stop.
  bool advance(int pass, int rows) {
    if (!observer_)
      return true;
    const int permille = permille_after(pass, rows);
    if (permille <= reported_)
      return true;
    reported_ = permille;
    return observer_->progressed(pass == passes_ - 1 ? rows : 0, permille);
  }

private:
  int permille_after(int pass, int rows) const {
    static constexpr int adam7_start[7] = {0, 1, 2, 4, 8, 16, 32};
    static constexpr int adam7_share[7] = {1, 1, 2, 4, 8, 16, 32};
    if (passes_ == 1)
      return static_cast<int>(qint64{rows} * 1000 / height_);
    const qint64 done = qint64{adam7_start[pass]} * height_ + qint64{adam7_share[pass]} * rows;
    return static_cast<int>(done * 1000 / (qint64{64} * height_));
  }

  LoadObserver *observer_;
  int height_;
  int passes_;
  int reported_ = -1;
};

// Everything the decoding keeps outside the frame libpng may leave by longjmp.
struct RowDecoder {
  MemoryCursor cursor;
  LoadObserver *observer = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  FIBITMAP *bitmap = nullptr;
  bool abandoned = false;
};

FREE_IMAGE_TYPE sample_layout(png_structp png, png_infop info) {
  const int color = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  const bool keyed = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  // Grey and palette pictures below 8 bits stay packed, but 2-bit ones, and any with tRNS,
  // spread to a byte per pixel.
  const bool spread = depth == 2 || (keyed && depth < 8);
  switch (color) {
  case PNG_COLOR_TYPE_GRAY:
    if (spread)
      png_set_expand_gray_1_2_4_to_8(png);
    if (depth == 16 && keyed) {
      png_set_tRNS_to_alpha(png);
      png_set_gray_to_rgb(png);
      return FIT_RGBA16;
    }
    return depth == 16 ? FIT_UINT16 : FIT_BITMAP;
  case PNG_COLOR_TYPE_PALETTE:
    if (spread)
      png_set_packing(png);
    return FIT_BITMAP;
  case PNG_COLOR_TYPE_GRAY_ALPHA:
    png_set_gray_to_rgb(png);
    return depth == 16 ? FIT_RGBA16 : FIT_BITMAP;
  case PNG_COLOR_TYPE_RGB:
    if (keyed)
      png_set_tRNS_to_alpha(png);
    return depth == 8 ? FIT_BITMAP : keyed ? FIT_RGBA16 : FIT_RGB16;
  default:
    return depth == 8 ? FIT_BITMAP : FIT_RGBA16;
  }
}

// The samples as FreeImage lays them out: 16-bit ones in the machine's order, 8-bit colour in its
// colour order; gamma left as stored. How many passes the rows take.
int configure(png_structp png, png_infop info, FREE_IMAGE_TYPE &type) {
  const int color = png_get_color_type(png, info);
  type = sample_layout(png, info);
#ifndef FREEIMAGE_BIGENDIAN
  if (type != FIT_BITMAP)
    png_set_swap(png);
#endif
#if FREEIMAGE_COLORORDER == FREEIMAGE_COLORORDER_BGR
  if (type == FIT_BITMAP && (color == PNG_COLOR_TYPE_RGB || color == PNG_COLOR_TYPE_RGB_ALPHA))
    png_set_bgr(png);
#endif
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return passes;
}

void fill_palette(png_structp png, png_infop info, FIBITMAP *bitmap, int bpp) {
  RGBQUAD *palette = FreeImage_GetPalette(bitmap);
  if (png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE) {
    png_colorp entries = nullptr;
    int count = 0;
    png_get_PLTE(png, info, &entries, &count);
    for (unsigned i = 0; i < std::min<unsigned>(count, FreeImage_GetColorsUsed(bitmap)); ++i)
      palette[i] = RGBQUAD{entries[i].blue, entries[i].green, entries[i].red, 0};
  } else if (png_get_color_type(png, info) == PNG_COLOR_TYPE_GRAY && bpp <= 8) {
    const int levels = 1 << bpp;
    for (int i = 0; i < levels; ++i) {
      const auto grey = static_cast<BYTE>(i * 255 / (levels - 1));
      palette[i] = RGBQUAD{grey, grey, grey, 0};
    }
  }
}

FIBITMAP *allocate(png_structp png, png_infop info, FREE_IMAGE_TYPE type) {
  const int bpp = png_get_bit_depth(png, info) * png_get_channels(png, info);
  FIBITMAP *bitmap = FreeImage_AllocateT(type, static_cast<int>(png_get_image_width(png, info)),
                                         static_cast<int>(png_get_image_height(png, info)), bpp,
                                         FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
  if (bitmap)
    fill_palette(png, info, bitmap, bpp);
  return bitmap;
}

// A grey key below 256 marks that level in a table of all 256; a palette's tRNS is its table.
void take_transparency(png_structp png, png_infop info, FIBITMAP *bitmap) {
  png_bytep alphas = nullptr;
  int count = 0;
  png_color_16p key = nullptr;
  if (png_get_tRNS(png, info, &alphas, &count, &key) == 0)
    return;
  const int color = png_get_color_type(png, info);
  if (color == PNG_COLOR_TYPE_GRAY && key && key->gray < 256) {
    BYTE table[256];
    std::memset(table, 0xFF, sizeof table);
    table[key->gray] = 0;
    FreeImage_SetTransparencyTable(bitmap, table, 256);
  } else if (color == PNG_COLOR_TYPE_GRAY && key && alphas && FreeImage_GetBPP(bitmap) <= 8) {
    FreeImage_SetTransparencyTable(bitmap, alphas, count);
  } else if (color == PNG_COLOR_TYPE_PALETTE && alphas) {
    FreeImage_SetTransparencyTable(bitmap, alphas, count);
  }
}

// Each sample of bKGD keeps its low byte; 16-bit pictures keep none.
void take_background(png_structp png, png_infop info, FIBITMAP *bitmap) {
  png_color_16p background = nullptr;
  if (FreeImage_GetImageType(bitmap) != FIT_BITMAP || png_get_bKGD(png, info, &background) == 0)
    return;
  RGBQUAD colour{static_cast<BYTE>(background->blue), static_cast<BYTE>(background->green),
                 static_cast<BYTE>(background->red), 0};
  FreeImage_SetBackgroundColor(bitmap, &colour);
}

void take_resolution(png_structp png, png_infop info, FIBITMAP *bitmap) {
  png_uint_32 x = 0;
  png_uint_32 y = 0;
  int unit = PNG_RESOLUTION_UNKNOWN;
  if (png_get_pHYs(png, info, &x, &y, &unit) != 0 && unit == PNG_RESOLUTION_METER) {
    FreeImage_SetDotsPerMeterX(bitmap, x);
    FreeImage_SetDotsPerMeterY(bitmap, y);
  }
}

// The bitmap FreeImage allocates, with what it takes from the chunks before the image data.
FIBITMAP *prepare_bitmap(png_structp png, png_infop info, FREE_IMAGE_TYPE type) {
  FIBITMAP *bitmap = allocate(png, info, type);
  if (bitmap) {
    take_transparency(png, info, bitmap);
    take_background(png, info, bitmap);
    take_resolution(png, info, bitmap);
  }
  return bitmap;
}

// PNG row y is the bitmap's scanline height - 1 - y: FreeImage keeps its rows bottom-up.
bool read_rows(RowDecoder &decoder, int passes) {
  const int height = static_cast<int>(FreeImage_GetHeight(decoder.bitmap));
  RowReport report(decoder.observer, height, passes);
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < height; ++y) {
      png_read_row(decoder.png, FreeImage_GetScanLine(decoder.bitmap, height - 1 - y), nullptr);
      if (!report.advance(pass, y + 1))
        return false;
    }
  return true;
}

// Nothing with a destructor lives in this frame: libpng leaves it by longjmp.
bool decode(RowDecoder &decoder) {
  if (setjmp(png_jmpbuf(decoder.png)))
    return false;
  png_read_info(decoder.png, decoder.info);
  FREE_IMAGE_TYPE type = FIT_BITMAP;
  const int passes = configure(decoder.png, decoder.info, type);
  decoder.bitmap = prepare_bitmap(decoder.png, decoder.info, type);
  if (!decoder.bitmap)
    return false;
  if (decoder.observer)
    decoder.observer->started(decoder.bitmap);
  // What libpng counts as benign only warns from here on, as in FreeImage's loader. (FreeImage
  // asks whether a 32-bit picture is transparent by looking at its pixels, so it needs no flag.)
  png_set_benign_errors(decoder.png, 1);
  decoder.abandoned = !read_rows(decoder, passes);
  if (decoder.abandoned)
    return false;
  // Damage after the image data refuses the file too.
  png_read_end(decoder.png, decoder.info);
  return true;
}

} // namespace

Image decode_png_rows(const QByteArray &bytes, LoadObserver *observer, bool *abandoned) {
  RowDecoder decoder{MemoryCursor{&bytes, 0}, observer};
  decoder.png = create_memory_reader(decoder.cursor);
  decoder.info = decoder.png ? png_create_info_struct(decoder.png) : nullptr;
  const bool decoded = decoder.info && decode(decoder);
  png_destroy_read_struct(decoder.png ? &decoder.png : nullptr,
                          decoder.info ? &decoder.info : nullptr, nullptr);
  if (abandoned)
    *abandoned = decoder.abandoned;
  if (decoder.bitmap && observer)
    observer->ended();
  if (decoded)
    return Image(decoder.bitmap);
  if (decoder.bitmap)
    FreeImage_Unload(decoder.bitmap);
  return Image();
}

} // namespace lumbrix
