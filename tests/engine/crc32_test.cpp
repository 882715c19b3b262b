#include "engine/crc32.h"

#include <gtest/gtest.h>

#include <string_view>

#include "platform/sim/sample_data.h"

namespace quillmor {
namespace {

uint32_t CrcOf(std::string_view s, uint32_t crc = 0) {
  return Crc32({reinterpret_cast<const uint8_t*>(s.data()), s.size()}, crc);
}

TEST(Crc32Test, KnownValues) {
  EXPECT_EQ(CrcOf(""), 0u);
  EXPECT_EQ(CrcOf("123456789"), 0xCBF43926u);
  EXPECT_EQ(CrcOf("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
  EXPECT_EQ(CrcOf(std::string(32, '\0')), 0x190A55ADu);
}

TEST(Crc32Test, PiecesGiveTheCrcOfTheWhole) {
  const std::string data = testing::RandomBytes(1000);
  for (size_t cut : {0, 1, 7, 8, 9, 500, 999, 1000}) {
    EXPECT_EQ(CrcOf(data.substr(cut), CrcOf(data.substr(0, cut))), CrcOf(data)) << cut;
  }
}

}  // namespace
}  // namespace quillmor
