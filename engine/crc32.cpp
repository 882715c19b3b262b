#include "engine/crc32.h"

#include <array>
#include <cstddef>

namespace quillmor {
namespace {

// Eight tables, so that eight input bytes are folded in per step
// ("slicing by 8"): table[k][b] is the CRC of byte b followed by k zero bytes.
using Crc32Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Crc32Tables MakeTables() {
  Crc32Tables t{};
  for (uint32_t b = 0; b < 256; ++b) {
    uint32_t c = b;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    t[0][b] = c;
  }
  for (size_t k = 1; k < 8; ++k) {
    for (uint32_t b = 0; b < 256; ++b) t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFF];
  }
  return t;
}

constexpr Crc32Tables kTables = MakeTables();

}  // namespace

uint32_t Crc32(std::span<const uint8_t> data, uint32_t crc) {
  uint32_t c = ~crc;
  const uint8_t* p = data.data();
  size_t n = data.size();
  for (; n >= 8; n -= 8, p += 8) {
    // Little-endian words, assembled byte by byte so the code is endian-neutral.
    const uint32_t lo = c ^ (uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
    c = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^ kTables[4][lo >> 24] ^
        kTables[3][p[4]] ^ kTables[2][p[5]] ^ kTables[1][p[6]] ^ kTables[0][p[7]];
  }
  for (; n > 0; --n, ++p) c = (c >> 8) ^ kTables[0][(c ^ *p) & 0xFF];
  return ~c;
}

}  // namespace quillmor
