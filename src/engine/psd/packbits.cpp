#include "engine/psd/packbits.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace lumbrix {
namespace {

constexpr std::size_t max_block = 128;
constexpr std::size_t lanes = 16;
using Bytes = std::uint8_t __attribute__((vector_size(lanes)));

Bytes load(const std::uint8_t *from) {
  Bytes bytes;
  std::memcpy(&bytes, from, sizeof bytes);
  return bytes;
}

// Position of the first marked byte of sixteen, given as two words of 0x00 and 0xFF bytes.
std::size_t first_marked(const std::uint64_t (&half)[2]) {
  const bool low = half[0] != 0;
  const std::uint64_t word = low ? half[0] : half[1];
  const int zeros =
      std::endian::native == std::endian::little ? std::countr_zero(word) : std::countl_zero(word);
  return (low ? 0 : 8) + static_cast<std::size_t>(zeros) / 8;
}

// The first i >= from where in[i], in[i + 1] and in[i + 2] are equal; count when there is none.
// Rows of noise are the slow case, so sixteen positions are tested at once.
std::size_t find_triple(const std::uint8_t *in, std::size_t from, std::size_t count) {
  std::size_t i = from;
  for (; i + lanes + 2 <= count; i += lanes) {
    const Bytes a = load(in + i);
    const Bytes b = load(in + i + 1);
    const Bytes c = load(in + i + 2);
    const auto marks = (a == b) & (b == c);
    std::uint64_t half[2];
    static_assert(sizeof marks == sizeof half);
    std::memcpy(half, &marks, sizeof half);
    if ((half[0] | half[1]) != 0)
      return i + first_marked(half);
  }
  for (; i + 2 < count; ++i)
    if (in[i] == in[i + 1] && in[i + 1] == in[i + 2])
      return i;
  return count;
}

// With no output, only counts: the length of a row is needed before its bytes are.
template <bool write>
std::uint8_t *put_literals(const std::uint8_t *in, std::size_t count, std::uint8_t *out,
                           std::size_t &size) {
  while (count > 0) {
    const std::size_t block = std::min(count, max_block);
    if constexpr (write) {
      *out++ = static_cast<std::uint8_t>(block - 1);
      std::memcpy(out, in, block);
      out += block;
    }
    size += block + 1;
    in += block;
    count -= block;
  }
  return out;
}

template <bool write>
std::size_t pack(const std::uint8_t *in, std::size_t count, std::uint8_t *out) {
  std::size_t size = 0;
  std::size_t literal = 0;
  while (literal < count) {
    const std::size_t run = find_triple(in, literal, count);
    out = put_literals<write>(in + literal, run - literal, out, size);
    if (run == count)
      break;
    const std::size_t limit = std::min(count, run + max_block);
    std::size_t end = run + 3;
    while (end < limit && in[end] == in[run])
      ++end;
    if constexpr (write) {
      *out++ = static_cast<std::uint8_t>(257 - (end - run));
      *out++ = in[run];
    }
    size += 2;
    literal = end;
  }
  return size;
}

} // namespace

std::size_t pack_bits(const std::uint8_t *in, std::size_t count, std::uint8_t *out) {
  return pack<true>(in, count, out);
}

std::size_t packed_size(const std::uint8_t *in, std::size_t count) {
  return pack<false>(in, count, nullptr);
}

} // namespace lumbrix
