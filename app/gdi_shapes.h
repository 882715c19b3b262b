// Filled shapes for the owner-drawn list: plain and rounded rectangles with
// smooth corners, drawn with GDI alone.
#pragma once

#include <cstdint>

#include "app/win32_app.h"

namespace quillmor {

void FillSolid(HDC dc, const RECT& rect, COLORREF colour);

// A rectangle with corners of `radius` (at most half its height and width),
// their edge pixels blended with `under`, the colour already beneath them.
void FillRounded(HDC dc, const RECT& rect, int32_t radius, COLORREF colour, COLORREF under);

// A rounded rectangle filled with `fill` inside a 1 px frame of `frame`.
void FrameRounded(HDC dc, const RECT& rect, int32_t radius, COLORREF frame, COLORREF fill, COLORREF under);

}  // namespace quillmor
