#include "engine/psd/channel_rows.h"

#include <FreeImage.h>

#include <cstring>

namespace lumbrix {
namespace {

static_assert(FI_RGBA_BLUE == 0 && FI_RGBA_GREEN == 1 && FI_RGBA_RED == 2 && FI_RGBA_ALPHA == 3,
              "FreeImage pixels are expected in blue, green, red, alpha order");

// Sixteen lanes at a time: the compiler turns these into the machine's vector instructions,
// and every loop finishes its last few pixels one by one.
constexpr int lanes = 16;
using Bytes = std::uint8_t __attribute__((vector_size(lanes)));
using Words = std::uint16_t __attribute__((vector_size(2 * lanes)));

Bytes load(const std::uint8_t *from) {
  Bytes bytes;
  std::memcpy(&bytes, from, sizeof bytes);
  return bytes;
}

void store(std::uint8_t *to, Bytes bytes) { std::memcpy(to, &bytes, sizeof bytes); }

Bytes interleave_low(Bytes a, Bytes b) {
  return __builtin_shufflevector(a, b, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23);
}
Bytes interleave_high(Bytes a, Bytes b) {
  return __builtin_shufflevector(a, b, 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15,
                                 31);
}
Bytes low_halves(Bytes a, Bytes b) {
  return __builtin_shufflevector(a, b, 0, 1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23);
}
Bytes high_halves(Bytes a, Bytes b) {
  return __builtin_shufflevector(a, b, 8, 9, 10, 11, 12, 13, 14, 15, 24, 25, 26, 27, 28, 29, 30,
                                 31);
}

// Sixteen blue-green-red-alpha pixels into sixteen bytes of each channel: interleaving the
// bytes of pixel groups three times sorts them by channel in halves of eight.
void split_sixteen(const std::uint8_t *pixels, std::uint8_t *const (&rows)[4], int x) {
  Bytes v[4] = {load(pixels), load(pixels + 16), load(pixels + 32), load(pixels + 48)};
  for (int round = 0; round < 3; ++round) {
    const Bytes next[4] = {interleave_low(v[0], v[1]), interleave_high(v[0], v[1]),
                           interleave_low(v[2], v[3]), interleave_high(v[2], v[3])};
    for (int i = 0; i < 4; ++i)
      v[i] = next[i];
  }
  store(rows[2] + x, low_halves(v[0], v[2]));  // blue
  store(rows[1] + x, high_halves(v[0], v[2])); // green
  store(rows[0] + x, low_halves(v[1], v[3]));  // red
  store(rows[3] + x, high_halves(v[1], v[3])); // alpha
}

// One channel of sixteen four-byte pixels: each pixel read as a word, shifted and narrowed.
template <int offset> void take_sixteen(const std::uint8_t *pixels, std::uint8_t *row) {
  using Pixels = std::uint32_t __attribute__((vector_size(4 * lanes)));
  Pixels words;
  std::memcpy(&words, pixels, sizeof words);
  store(row, __builtin_convertvector((words >> (8 * offset)) & 0xFF, Bytes));
}

template <int offset>
void take_four_byte(const std::uint8_t *pixels, int width, std::uint8_t *row) {
  int x = 0;
  for (; x + lanes <= width; x += lanes)
    take_sixteen<offset>(pixels + 4 * x, row + x);
  for (; x < width; ++x)
    row[x] = pixels[4 * x + offset];
}

void split_pixel(const std::uint8_t *pixel, std::uint8_t *const (&rows)[4], int x) {
  rows[0][x] = pixel[FI_RGBA_RED];
  rows[1][x] = pixel[FI_RGBA_GREEN];
  rows[2][x] = pixel[FI_RGBA_BLUE];
}

// (t + (t >> 8) + 1) >> 8 is t / 255 for every t up to 255 * 255 + 127, all within 16 bits.
// Taken by reference: sixteen words are wider than the vectors the base instruction set passes
// in registers.
template <typename T> void over_white(const T &colour, const T &alpha, T &out) {
  const T t = colour * alpha + 127;
  out = 255 - alpha + ((t + (t >> 8) + 1) >> 8);
}

} // namespace

void split_channels(const std::uint8_t *pixels, int bytes_per_pixel, int width,
                    std::uint8_t *const (&rows)[4]) {
  if (bytes_per_pixel == 3) {
    for (int x = 0; x < width; ++x)
      split_pixel(pixels + 3 * x, rows, x);
    std::memset(rows[3], 0xFF, static_cast<std::size_t>(width));
    return;
  }
  int x = 0;
  for (; x + lanes <= width; x += lanes)
    split_sixteen(pixels + 4 * x, rows, x);
  for (; x < width; ++x) {
    split_pixel(pixels + 4 * x, rows, x);
    rows[3][x] = pixels[4 * x + FI_RGBA_ALPHA];
  }
}

void take_channel(const std::uint8_t *pixels, int bytes_per_pixel, int width, int channel,
                  std::uint8_t *row) {
  static constexpr int offsets[4] = {FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE, FI_RGBA_ALPHA};
  if (bytes_per_pixel == 3) {
    if (channel == 3)
      std::memset(row, 0xFF, static_cast<std::size_t>(width));
    for (int x = 0; channel != 3 && x < width; ++x)
      row[x] = pixels[3 * x + offsets[channel]];
    return;
  }
  switch (offsets[channel]) {
  case 0:
    return take_four_byte<0>(pixels, width, row);
  case 1:
    return take_four_byte<1>(pixels, width, row);
  case 2:
    return take_four_byte<2>(pixels, width, row);
  default:
    return take_four_byte<3>(pixels, width, row);
  }
}

void colour_on_white(const std::uint8_t *colour, const std::uint8_t *alpha, int width,
                     std::uint8_t *out) {
  int x = 0;
  for (; x + lanes <= width; x += lanes) {
    const Words colours = __builtin_convertvector(load(colour + x), Words);
    const Words alphas = __builtin_convertvector(load(alpha + x), Words);
    Words mixed;
    over_white(colours, alphas, mixed);
    store(out + x, __builtin_convertvector(mixed, Bytes));
  }
  for (; x < width; ++x) {
    unsigned mixed;
    over_white<unsigned>(colour[x], alpha[x], mixed);
    out[x] = static_cast<std::uint8_t>(mixed);
  }
}

void split_deep_channels(const std::uint16_t *pixels, int width, std::uint8_t *const (&rows)[4]) {
  for (int x = 0; x < width; ++x, pixels += 4)
    for (int c = 0; c < 4; ++c) {
      rows[c][2 * x] = static_cast<std::uint8_t>(pixels[c] >> 8);
      rows[c][2 * x + 1] = static_cast<std::uint8_t>(pixels[c]);
    }
}

void take_deep_channel(const std::uint16_t *pixels, int width, int channel, std::uint8_t *row) {
  for (int x = 0; x < width; ++x) {
    const std::uint16_t sample = pixels[4 * x + channel];
    row[2 * x] = static_cast<std::uint8_t>(sample >> 8);
    row[2 * x + 1] = static_cast<std::uint8_t>(sample);
  }
}

// c * a / 65535 + 65535 - a, rounded to the nearest level, on samples stored high byte first.
void deep_colour_on_white(const std::uint8_t *colour, const std::uint8_t *alpha, int width,
                          std::uint8_t *out) {
  constexpr std::uint64_t full = 65535;
  for (int x = 0; x < 2 * width; x += 2) {
    const std::uint64_t c = (colour[x] << 8) | colour[x + 1];
    const std::uint64_t a = (alpha[x] << 8) | alpha[x + 1];
    const auto mixed = static_cast<unsigned>(full - a + (c * a + full / 2) / full);
    out[x] = static_cast<std::uint8_t>(mixed >> 8);
    out[x + 1] = static_cast<std::uint8_t>(mixed);
  }
}

bool all_opaque(const std::uint8_t *alpha, int width) {
  Bytes all = ~Bytes{};
  int x = 0;
  for (; x + lanes <= width; x += lanes)
    all &= load(alpha + x);
  std::uint64_t half[2];
  std::memcpy(half, &all, sizeof half);
  bool opaque = (half[0] & half[1]) == ~std::uint64_t{0};
  for (; x < width; ++x)
    opaque = opaque && alpha[x] == 0xFF;
  return opaque;
}

} // namespace lumbrix
