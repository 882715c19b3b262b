#include "app/core/tooltip_text.h"

#include "app/core/cell_text.h"
#include "settings/window_settings.h"

namespace quillmor {

TooltipText TooltipForCell(int32_t column, bool isDirectory, std::u16string_view fullPath, const AttrEntry* attrs,
                           Clock& clock) {
  TooltipText tip;
  const bool known = attrs != nullptr && attrs->known != 0;
  switch (column) {
    case kColumnName:
    case kColumnPath:
      tip.text = std::u16string(fullPath);
      break;
    case kColumnSize:
      if (isDirectory) break;
      if (known) {
        tip.text = SizeText(attrs->size);
      } else {
        tip.attributesMissing = true;
      }
      break;
    case kColumnModified:
    case kColumnCreated:
      if (known) {
        tip.text = DateText(column == kColumnModified ? attrs->lastWriteTime : attrs->creationTime, clock);
      } else {
        tip.attributesMissing = true;
      }
      break;
    default:
      break;
  }
  return tip;
}

}  // namespace quillmor
