// The CRC-32 of ZIP archives (and of zlib, gzip and PNG): the reflected
// polynomial 0xEDB88320, initial value and final XOR 0xFFFFFFFF.
#pragma once

#include <cstdint>
#include <span>

namespace quillmor {

// The CRC-32 of `data` following the bytes whose CRC-32 is `crc` (0 for none),
// so that a long input can be checked piece by piece.
uint32_t Crc32(std::span<const uint8_t> data, uint32_t crc = 0);

}  // namespace quillmor
