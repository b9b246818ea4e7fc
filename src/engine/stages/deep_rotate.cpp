#include "engine/stages/deep_rotate.h"

#include "engine/image/deep_picture.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <new>
#include <numbers>
#include <vector>

namespace lumbrix {
namespace {

// The pole of the cubic B-spline's inverse filter, and how many of its powers matter before they
// fall below the precision of a double.
const double pole = std::sqrt(3.0) - 2.0;
const long horizon = static_cast<long>(std::ceil(std::log(DBL_EPSILON) / std::log(-pole)));

// One channel of the picture, top row first, as samples and then as spline coefficients.
struct Plane {
  long width = 0;
  long height = 0;
  std::vector<float> values;
  float *at(long x, long y) { return values.data() + y * width + x; }
};

// The first causal coefficient of each lane, for a signal mirrored at its ends.
void causal_start(float *line, long length, std::ptrdiff_t stride, long lanes) {
  std::vector<double> sum(line, line + lanes);
  if (horizon < length) {
    double power = pole;
    for (long n = 1; n < horizon; ++n, power *= pole)
      for (long k = 0; k < lanes; ++k)
        sum[k] += power * line[n * stride + k];
  } else {
    double power = pole;
    double mirrored = std::pow(pole, static_cast<double>(length - 1));
    for (long k = 0; k < lanes; ++k)
      sum[k] += mirrored * line[(length - 1) * stride + k];
    mirrored *= mirrored / pole;
    for (long n = 1; n <= length - 2; ++n, power *= pole, mirrored /= pole)
      for (long k = 0; k < lanes; ++k)
        sum[k] += (power + mirrored) * line[n * stride + k];
    for (double &value : sum)
      value /= 1.0 - power * power;
  }
  std::copy(sum.begin(), sum.end(), line);
}

// Turns length samples spaced stride apart into the coefficients of the cubic B-spline that
// passes through them; each sample is a group of lanes adjacent values filtered independently,
// so that a column of a picture runs along whole rows.
void to_coefficients(float *line, long length, std::ptrdiff_t stride, long lanes) {
  if (length == 1)
    return;
  const double gain = (1.0 - pole) * (1.0 - 1.0 / pole);
  for (long n = 0; n < length; ++n)
    for (long k = 0; k < lanes; ++k)
      line[n * stride + k] = static_cast<float>(line[n * stride + k] * gain);
  causal_start(line, length, stride, lanes);
  for (long n = 1; n < length; ++n)
    for (long k = 0; k < lanes; ++k)
      line[n * stride + k] += static_cast<float>(pole * line[(n - 1) * stride + k]);
  float *last = line + (length - 1) * stride;
  for (long k = 0; k < lanes; ++k)
    last[k] = static_cast<float>(pole / (pole * pole - 1.0) * (pole * last[k - stride] + last[k]));
  for (long n = length - 2; n >= 0; --n)
    for (long k = 0; k < lanes; ++k)
      line[n * stride + k] =
          static_cast<float>(pole * (line[(n + 1) * stride + k] - line[n * stride + k]));
}

void plane_to_coefficients(Plane &plane) {
  for (long y = 0; y < plane.height; ++y)
    to_coefficients(plane.at(0, y), plane.width, 1, 1);
  to_coefficients(plane.at(0, 0), plane.height, plane.width, plane.width);
}

// An index past either end reflected back inside, the edge sample not repeated.
long mirrored(long index, long length) {
  if (length == 1)
    return 0;
  const long period = 2 * length - 2;
  index = index < 0 ? -index % period : index % period;
  return index < length ? index : period - index;
}

// The four cubic B-spline weights at fraction w past the second of four samples.
std::array<double, 4> weights(double w) {
  std::array<double, 4> weight{};
  weight[3] = w * w * w / 6.0;
  weight[0] = 1.0 / 6.0 + 0.5 * w * (w - 1.0) - weight[3];
  weight[2] = w + weight[0] - 2.0 * weight[3];
  weight[1] = 1.0 - weight[0] - weight[2] - weight[3];
  return weight;
}

struct Taps {
  std::array<long, 4> index{};
  std::array<double, 4> weight{};
};

Taps taps(double position, long length) {
  const auto first = static_cast<long>(std::floor(position)) - 1;
  Taps t{{}, weights(position - static_cast<double>(first + 1))};
  const bool inside = first >= 0 && first + 3 < length;
  for (long k = 0; k < 4; ++k)
    t.index[k] = inside ? first + k : mirrored(first + k, length);
  return t;
}

double interpolated(Plane &plane, double x, double y) {
  const Taps across = taps(x, plane.width);
  const Taps down = taps(y, plane.height);
  double value = 0;
  for (int j = 0; j < 4; ++j) {
    const float *row = plane.at(0, down.index[j]);
    double sum = 0;
    for (int i = 0; i < 4; ++i)
      sum += across.weight[i] * row[across.index[i]];
    value += down.weight[j] * sum;
  }
  return value;
}

using Channel = WORD FIRGBA16::*;
constexpr Channel channels[] = {&FIRGBA16::red, &FIRGBA16::green, &FIRGBA16::blue,
                                &FIRGBA16::alpha};

void read_channel(const Image &image, Channel channel, Plane &plane) {
  for (long y = 0; y < plane.height; ++y) {
    const FIRGBA16 *from = deep_row(image.get(), static_cast<int>(plane.height - 1 - y));
    float *to = plane.at(0, y);
    for (long x = 0; x < plane.width; ++x)
      to[x] = from[x].*channel;
  }
}

// Where each pixel of the turned picture comes from: a turn about the centre.
struct Turn {
  double cosine = 0;
  double sine = 0;
  double x_shift = 0;
  double y_shift = 0;
};

Turn turn_about_centre(int angle, long width, long height) {
  const double radians = angle * std::numbers::pi / 180.0;
  Turn t{std::cos(radians), std::sin(radians), 0, 0};
  const double x_centre = static_cast<double>(width) / 2.0;
  const double y_centre = static_cast<double>(height) / 2.0;
  t.x_shift = x_centre - (t.cosine * x_centre - t.sine * y_centre);
  t.y_shift = y_centre - (t.sine * x_centre + t.cosine * y_centre);
  return t;
}

void write_channel(Plane &plane, const Turn &turn, Channel channel, const Image &out) {
  for (long y = 0; y < plane.height; ++y) {
    FIRGBA16 *to = deep_row(out.get(), static_cast<int>(plane.height - 1 - y));
    const double x_start = -turn.sine * static_cast<double>(y) + turn.x_shift;
    const double y_start = turn.cosine * static_cast<double>(y) + turn.y_shift;
    for (long x = 0; x < plane.width; ++x) {
      const double value = interpolated(plane, x_start + turn.cosine * static_cast<double>(x),
                                        y_start + turn.sine * static_cast<double>(x));
      to[x].*channel = static_cast<WORD>(std::clamp(static_cast<int>(value + 0.5), 0, 65535));
    }
  }
}

} // namespace

Image rotate_deep_in_place(const Image &image, int angle) {
  const int width = image_width(image);
  const int height = image_height(image);
  Image out(FreeImage_AllocateT(FIT_RGBA16, width, height));
  if (!out)
    return out;
  try {
    // One channel at a time, so the spare memory is one plane of floats.
    Plane plane{width, height, std::vector<float>(static_cast<std::size_t>(width) * height)};
    const Turn turn = turn_about_centre(angle, width, height);
    for (const Channel channel : channels) {
      read_channel(image, channel, plane);
      plane_to_coefficients(plane);
      write_channel(plane, turn, channel, out);
    }
  } catch (const std::bad_alloc &) {
    return {};
  }
  FreeImage_CloneMetadata(out.get(), image.get());
  return out;
}

} // namespace lumbrix
