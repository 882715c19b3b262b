// Smooth rounded rectangles without a graphics library: how much of each
// pixel of a corner the shape covers, and colours blended by that coverage.
#pragma once

#include <cstdint>
#include <vector>

namespace quillmor {

// The coverage (0 outside to 255 inside) of the top-left corner of a rounded
// rectangle with corner radius `radius`: radius x radius values, row by row,
// (0, 0) being the rectangle's top-left pixel. The other corners are its
// mirror images. Empty for a radius below 1.
std::vector<uint8_t> RoundedCornerCoverage(int32_t radius);

// `over` laid on `under` with `alpha` (0: `under`, 255: `over`); colours are
// 0x00BBGGRR.
uint32_t BlendColour(uint32_t over, uint32_t under, uint8_t alpha);

}  // namespace quillmor
