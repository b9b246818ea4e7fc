#include "engine/stages/tone_map.h"

#include "platform/bands.h"

#include <cmath>
#include <vector>

namespace lumbrix {
namespace {

// The arithmetic below follows FreeImage's operator step for step and in the same precision
// (single where it works in floats, double where it works in doubles), so the results agree
// to the byte.

struct Rgbf {
  float red, green, blue;
};

// sRGB primaries with a D65 white point.
constexpr float x_r = 0.640F, y_r = 0.330F;
constexpr float x_g = 0.300F, y_g = 0.600F;
constexpr float x_b = 0.150F, y_b = 0.060F;
constexpr float x_w = 0.3127F, y_w = 0.3290F;
constexpr float cie_d = x_r * (y_g - y_b) + x_g * (y_b - y_r) + x_b * (y_r - y_g);
constexpr float c_rd = (1 / y_w) * (x_w * (y_g - y_b) - y_w * (x_g - x_b) + x_g * y_b - x_b * y_g);
constexpr float c_gd = (1 / y_w) * (x_w * (y_b - y_r) - y_w * (x_b - x_r) - x_r * y_b + x_b * y_r);
constexpr float c_bd = (1 / y_w) * (x_w * (y_r - y_g) - y_w * (x_r - x_g) + x_r * y_g - x_g * y_r);

constexpr float rgb_to_xyz[3][3] = {
    {x_r * c_rd / cie_d, x_g *c_gd / cie_d, x_b *c_bd / cie_d},
    {y_r * c_rd / cie_d, y_g *c_gd / cie_d, y_b *c_bd / cie_d},
    {(1 - x_r - y_r) * c_rd / cie_d, (1 - x_g - y_g) * c_gd / cie_d,
     (1 - x_b - y_b) * c_bd / cie_d},
};
constexpr float xyz_to_rgb[3][3] = {
    {(y_g - y_b - x_b * y_g + y_b * x_g) / c_rd, (x_b - x_g - x_b * y_g + x_g * y_b) / c_rd,
     (x_g * y_b - x_b * y_g) / c_rd},
    {(y_b - y_r - y_b * x_r + y_r * x_b) / c_gd, (x_r - x_b - x_r * y_b + x_b * y_r) / c_gd,
     (x_b * y_r - x_r * y_b) / c_gd},
    {(y_r - y_g - y_r * x_g + y_g * x_r) / c_bd, (x_g - x_r - x_g * y_r + x_r * y_g) / c_bd,
     (x_r * y_g - x_g * y_r) / c_bd},
};

constexpr float epsilon = 1e-06F;

// Each sum starts from 0 and adds the three products in turn, as FreeImage's loop does.
inline Rgbf times(const float (&m)[3][3], const Rgbf &v) {
  const auto row = [&v](const float(&r)[3]) {
    return 0.0F + r[0] * v.red + r[1] * v.green + r[2] * v.blue;
  };
  return {row(m[0]), row(m[1]), row(m[2])};
}

// Y, x, y in red, green, blue.
inline Rgbf to_yxy(const Rgbf &rgb) {
  const Rgbf xyz = times(rgb_to_xyz, rgb);
  const float w = xyz.red + xyz.green + xyz.blue;
  if (w > 0)
    return {xyz.green, xyz.red / w, xyz.green / w};
  return {0, 0, 0};
}

inline Rgbf to_rgb(const Rgbf &yxy) {
  const float y = yxy.red;
  Rgbf xyz{epsilon, y, epsilon};
  if (y > epsilon && yxy.green > epsilon && yxy.blue > epsilon) {
    xyz.red = (yxy.green * y) / yxy.blue;
    xyz.blue = (xyz.red / yxy.green) - xyz.red - y;
  }
  return times(xyz_to_rgb, xyz);
}

float scaled(WORD value) { return static_cast<float>(value) / 65535.0F; }
float clamped(float value) { return value < 0.0F ? 0.0F : (value > 1.0F ? 1.0F : value); }

Rgbf grey(float value) { return {value, value, value}; }

template <typename Pixel> Rgbf scaled_colour(const Pixel &p) {
  return {scaled(p.red), scaled(p.green), scaled(p.blue)};
}

// Each pixel of a scan line stored as Pixel, through convert.
template <typename Pixel, typename Convert>
void convert_row(const BYTE *bits, std::vector<Rgbf> &row, Convert convert) {
  const auto *pixels = reinterpret_cast<const Pixel *>(bits);
  for (std::size_t x = 0; x < row.size(); ++x)
    row[x] = convert(pixels[x]);
}

// Scan line y of the picture as FreeImage's conversion to floats reads it.
void read_row(FIBITMAP *image, unsigned y, std::vector<Rgbf> &row) {
  const BYTE *bits = FreeImage_GetScanLine(image, static_cast<int>(y));
  switch (FreeImage_GetImageType(image)) {
  case FIT_UINT16:
    convert_row<WORD>(bits, row, [](WORD v) { return grey(scaled(v)); });
    break;
  case FIT_RGB16:
    convert_row<FIRGB16>(bits, row, scaled_colour<FIRGB16>);
    break;
  case FIT_RGBA16:
    convert_row<FIRGBA16>(bits, row, scaled_colour<FIRGBA16>);
    break;
  case FIT_FLOAT:
    convert_row<float>(bits, row, [](float v) { return grey(clamped(v)); });
    break;
  case FIT_RGBF:
    convert_row<Rgbf>(bits, row, [](const Rgbf &p) { return p; });
    break;
  default: // FIT_RGBAF
    convert_row<FIRGBAF>(bits, row, [](const FIRGBAF &p) {
      return Rgbf{clamped(p.red), clamped(p.green), clamped(p.blue)};
    });
    break;
  }
}

bool is_supported(FREE_IMAGE_TYPE type) {
  return type == FIT_UINT16 || type == FIT_RGB16 || type == FIT_RGBA16 || type == FIT_FLOAT ||
         type == FIT_RGBF || type == FIT_RGBAF;
}

// The curve, from the largest luminance and the world adaptation luminance of the picture.
struct Curve {
  float average = 0;
  double largest = 0; // the largest luminance over the average
  double divider = 0;
  double bias = 0;

  Curve(float max_luminance, float world_luminance) : average(world_luminance) {
    constexpr float bias_parameter = 0.85F;
    constexpr float log_half = -0.693147F;
    largest = max_luminance / world_luminance;
    divider = std::log10(largest + 1);
    bias = std::log(bias_parameter) / log_half;
  }

  // log(x + 1) by Pade approximants below 2.
  static double pade_log(double x) {
    if (x < 1)
      return x * (6 + x) / (6 + 4 * x);
    if (x < 2)
      return x * (6 + 0.7662 * x) / (5.9897 + 3.7658 * x);
    return std::log(x + 1);
  }

  float map(float luminance) const {
    const double world = luminance / average; // exposure 1
    const double interpolation = std::log(2 + std::pow(world / largest, bias) * 8);
    return static_cast<float>((pade_log(world) / interpolation) / divider);
  }
};

// In one pass over the rows, in FreeImage's order: the sum of logarithms comes out the same
// only when it is added up in the same order.
Curve luminance_curve(FIBITMAP *image) {
  const unsigned width = FreeImage_GetWidth(image);
  const unsigned height = FreeImage_GetHeight(image);
  std::vector<Rgbf> row(width);
  float largest = 0;
  double sum = 0;
  for (unsigned y = 0; y < height; ++y) {
    read_row(image, y, row);
    for (const Rgbf &rgb : row) {
      const float y_of_yxy = to_yxy(rgb).red;
      // Written as FreeImage's MAX is, which keeps a NaN.
      const float luminance = 0.0F > y_of_yxy ? 0.0F : y_of_yxy;
      largest = largest < luminance ? luminance : largest;
      sum += std::log(2.3e-5F + luminance);
    }
  }
  const double average_log = sum / (static_cast<double>(width) * height);
  return Curve(largest, static_cast<float>(std::exp(average_log)));
}

// FreeImage converts with a plain cast: the low byte of the value truncated to 32 bits, and 0
// for a NaN (what a picture of all zeros gives) or anything below the 32-bit range.
BYTE to_byte(float value) {
  if (value > 1)
    value = 1;
  const float scaled_value = 255.0F * value + 0.5F;
  if (!(scaled_value > -2147483648.0F))
    return 0;
  return static_cast<BYTE>(static_cast<int>(scaled_value) & 0xFF);
}

// libpng's rounding of a 16-bit sample to 8 bits.
BYTE scale_16(WORD value) { return static_cast<BYTE>((value * 255u + 32895u) >> 16); }

void map_rows(FIBITMAP *image, FIBITMAP *result, const Curve &curve, int first, int count) {
  const unsigned width = FreeImage_GetWidth(image);
  const bool alpha = FreeImage_GetImageType(image) == FIT_RGBA16;
  const unsigned step = FreeImage_GetBPP(result) / 8;
  std::vector<Rgbf> row(width);
  for (int y = first; y < first + count; ++y) {
    read_row(image, static_cast<unsigned>(y), row);
    BYTE *target = FreeImage_GetScanLine(result, y);
    for (unsigned x = 0; x < width; ++x, target += step) {
      Rgbf yxy = to_yxy(row[x]);
      yxy.red = curve.map(yxy.red);
      const Rgbf rgb = to_rgb(yxy);
      target[FI_RGBA_RED] = to_byte(rgb.red);
      target[FI_RGBA_GREEN] = to_byte(rgb.green);
      target[FI_RGBA_BLUE] = to_byte(rgb.blue);
    }
    if (alpha) {
      const auto *source = reinterpret_cast<const FIRGBA16 *>(FreeImage_GetScanLine(image, y));
      BYTE *with_alpha = FreeImage_GetScanLine(result, y);
      for (unsigned x = 0; x < width; ++x)
        with_alpha[4 * x + FI_RGBA_ALPHA] = scale_16(source[x].alpha);
    }
  }
}

} // namespace

Image tone_map_stage(Image image) {
  if (!image || FreeImage_GetImageType(image.get()) == FIT_BITMAP)
    return image;
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(image.get());
  if (!is_supported(type) || !FreeImage_HasPixels(image.get()))
    return {};
  FIBITMAP *source = image.get();
  const int width = static_cast<int>(FreeImage_GetWidth(source));
  const int height = static_cast<int>(FreeImage_GetHeight(source));
  Image result(FreeImage_Allocate(width, height, type == FIT_RGBA16 ? 32 : 24, FI_RGBA_RED_MASK,
                                  FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
  if (!result)
    return {};
  FreeImage_CloneMetadata(result.get(), source);
  const Curve curve = luminance_curve(source);
  for_each_run(height, core_count(), 32,
               [&](int first, int count) { map_rows(source, result.get(), curve, first, count); });
  return result;
}

} // namespace lumbrix
