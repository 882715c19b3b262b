// The list's tooltip: the full text of the cell under the pointer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "index/attr_entry.h"
#include "platform/clock.h"

namespace quillmor {

struct TooltipText {
  std::u16string text;  // empty: hide the tooltip
  // The cell needs attributes the cache does not have yet: ask for the
  // hydration (when scrolling is not active).
  bool attributesMissing = false;
};

// Over the name or the path the item's full path; over the size the size
// text (files only); over modified and created the date text. Sizes and
// dates only from cached attributes (`attrs` null or not known: nothing
// yet). Other columns show nothing.
TooltipText TooltipForCell(int32_t column, bool isDirectory, std::u16string_view fullPath, const AttrEntry* attrs,
                           Clock& clock);

}  // namespace quillmor
