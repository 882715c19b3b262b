// Whether the user is scrolling right now: the loading of sizes, dates and
// thumbnails waits until scrolling has settled.
#pragma once

#include <cstdint>

namespace quillmor {

// Scrolling counts as active while the thumb is dragged or less than 60 ms
// have passed since the last scroll tick (a tick from the future counts as
// just now).
constexpr bool IsScrollingActive(bool thumbDragging, uint64_t nowMs, uint64_t lastScrollTickMs) {
  if (thumbDragging) return true;
  return nowMs < lastScrollTickMs || nowMs - lastScrollTickMs < 60;
}

}  // namespace quillmor
