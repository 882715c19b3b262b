// Thumbnails as the icon views draw them: a picture of any shape scaled into
// a square of the icon's size, centred, with transparent margins, so that a
// wide photo and a tall one stand on the same cell.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "app/core/rect.h"

namespace quillmor {

// The place of a `width` x `height` picture scaled to fit a `box` x `box`
// square, centred, keeping its proportions; each side at least 1 px. Empty
// for an empty picture or box.
Rect FitInside(int32_t width, int32_t height, int32_t box);

// Scales 32-bit pixels (0xAARRGGBB, straight alpha, rows top down) into a
// `box` x `box` square as FitInside places them; the margins are transparent.
// Shrinking averages the source pixels under each target pixel (weighted by
// their alpha, so transparent pixels lend no colour); growing repeats the
// nearest one. A picture whose alpha is 0 everywhere has no alpha channel and
// counts as opaque. Empty when the input does not hold width x height pixels
// or the box is empty.
std::vector<uint32_t> ScaleToSquare(std::span<const uint32_t> pixels, int32_t width, int32_t height, int32_t box);

}  // namespace quillmor
