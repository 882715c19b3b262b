// Small drawing steps the window's controls and the owner-drawn list share.
// They draw with the DC's stock pen and brush recoloured (DC_PEN, DC_BRUSH),
// so they create no GDI object and cannot leak one; each restores what it
// selected and the pen and brush colours it set.
#pragma once

#include <cstdint>
#include <string>

#include "app/win32_app.h"

namespace quillmor {

void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
// A rectangle with rounded corners (`radius` pixels), filled and framed by
// 1 px. What lies outside the corners is left as it was.
void FillRoundedBox(HDC dc, const RECT& rect, int radius, COLORREF fill, COLORREF frame);

// A rectangle with corners of `radius` (at most half its height and width),
// their edge pixels blended with `under`, the colour already beneath them
// (smoother than FillRoundedBox, for the list's larger shapes).
void FillRounded(HDC dc, const RECT& rect, int32_t radius, COLORREF colour, COLORREF under);
// FillRounded filled with `fill` inside a 1 px frame of `frame`.
void FrameRounded(HDC dc, const RECT& rect, int32_t radius, COLORREF frame, COLORREF fill, COLORREF under);

// A downward chevron ("v") `size` pixels wide centred on (x, y).
void DrawChevron(HDC dc, int x, int y, int size, int thickness, COLORREF colour);
// A tick mark in `box`.
void DrawTick(HDC dc, const RECT& box, int thickness, COLORREF colour);
// One line of text in `rect`, clipped, vertically centred, with an ellipsis
// when it does not fit. `format` adds DT_LEFT, DT_CENTER or DT_RIGHT.
void DrawLine(HDC dc, const std::u16string& text, RECT rect, HFONT font, COLORREF colour, UINT format = DT_LEFT);

// Draws through an off-screen bitmap the size of `target`'s paint area and
// copies it in one step, so that a control never flickers while repainted.
class BufferedPaint {
 public:
  BufferedPaint(HDC target, const RECT& area);
  ~BufferedPaint();
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;
  // The DC to draw into (the target itself when no bitmap could be made).
  HDC dc() const { return dc_ != nullptr ? dc_ : target_; }

 private:
  HDC target_;
  RECT area_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace quillmor
