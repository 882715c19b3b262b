// One result row as the list shows it: what its record says (name, folded
// name, directory flag, full path) and the texts of its cells.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/match_item.h"
#include "index/attr_entry.h"
#include "platform/clock.h"

namespace quillmor {

struct ListRow {
  bool valid = false;  // the volume exists and holds the record
  std::u16string name;
  std::u16string lowerName;  // A-Z folded, as names are matched
  std::u16string path;       // empty unless asked for
  bool isDirectory = false;
  uint64_t fileRef = 0;
};

// Reads `item`'s record under its volume's shared records lock; the full path
// only when `withPath`. A null volume or an index past the records gives an
// invalid row. A deleted record still reads (the list shows it until the
// results are refreshed).
ListRow ReadListRow(const MatchItem& item, bool withPath = true);

// The row's attributes when the attribute cache knows them; never reads the
// disk.
std::optional<AttrEntry> CachedAttributes(const MatchItem& item, const ListRow& row);

// The text of cell `column` of row `rowIndex`: the row number, the name, the
// size ("..." until known, empty for a directory), the modified and created
// times ("..." until known) and the full path.
std::u16string ListCellText(int32_t column, int64_t rowIndex, const ListRow& row, const std::optional<AttrEntry>& attrs,
                            Clock& clock);

}  // namespace quillmor
