#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrix {

// The most bytes pack_bits writes for count input bytes: one header byte per 128 literals.
constexpr std::size_t pack_bits_bound(std::size_t count) { return count + (count + 127) / 128; }

// Packs count bytes as one PackBits row into out, which holds at least pack_bits_bound(count)
// bytes, and returns the bytes written. Runs of three or more equal bytes are repeated, the rest
// copied; the no-op header 128 is never written.
std::size_t pack_bits(const std::uint8_t *in, std::size_t count, std::uint8_t *out);

// What pack_bits would return, without writing.
std::size_t packed_size(const std::uint8_t *in, std::size_t count);

} // namespace lumbrix
