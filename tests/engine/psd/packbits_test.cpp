#include "engine/psd/packbits.h"
#include "support/psd_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace lumbrix {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes noise(std::size_t size, unsigned seed) {
  std::mt19937 engine{seed};
  Bytes bytes(size);
  for (auto &byte : bytes)
    byte = static_cast<std::uint8_t>(engine());
  return bytes;
}

// Pairs of equal bytes never make a run worth repeating: the worst case.
Bytes pairs(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<std::uint8_t>(i / 2);
  return bytes;
}

// A run of length bytes between literals.
Bytes run_of(std::size_t length) {
  Bytes bytes = noise(5, 7);
  bytes.insert(bytes.end(), length, 0xAB);
  const Bytes tail = noise(4, 8);
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  return bytes;
}

struct Case {
  std::string name;
  Bytes row;
  std::size_t expected_size = 0; // 0: only at most the bound
};

TEST(PackBits, RowsUnpackToThemselvesWithinTheBound) {
  std::vector<Case> cases = {
      {"width 1", {42}, 2},
      {"all alike", Bytes(30000, 9), 2 * ((30000 + 127) / 128)},
      {"all different", noise(30000, 1)},
      {"worst case", pairs(30000), pack_bits_bound(30000)},
      {"run at the end", {1, 2, 3, 3, 3}, 5},
  };
  for (const std::size_t width : {3, 7, 127, 129, 255, 257, 4001})
    cases.push_back({"odd width " + std::to_string(width), noise(width, 2)});
  for (const std::size_t length : {2, 3, 127, 128, 129, 130, 256, 257, 385})
    cases.push_back({"run of " + std::to_string(length), run_of(length)});
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Bytes packed(pack_bits_bound(c.row.size()));
    packed.resize(pack_bits(c.row.data(), c.row.size(), packed.data()));
    Bytes unpacked;
    ASSERT_TRUE(test::unpack_bits(packed.data(), packed.size(), unpacked));
    EXPECT_EQ(unpacked, c.row);
    EXPECT_LE(packed.size(), pack_bits_bound(c.row.size()));
    if (c.expected_size != 0) {
      EXPECT_EQ(packed.size(), c.expected_size);
    }
  }
}

} // namespace
} // namespace lumbrix
