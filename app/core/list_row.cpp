#include "app/core/list_row.h"

#include <mutex>
#include <shared_mutex>

#include "app/core/cell_text.h"
#include "settings/window_settings.h"

namespace quillmor {

ListRow ReadListRow(const MatchItem& item, bool withPath) {
  ListRow row;
  VolumeIndex* volume = item.volume;
  if (volume == nullptr) return row;
  std::shared_lock lock(volume->recordsLock);
  if (item.recordIndex >= volume->records.size()) return row;
  const FileRecord& record = volume->records[item.recordIndex];
  row.valid = true;
  if (record.name != nullptr) {
    row.name.assign(record.name, record.nameLength);
    row.lowerName.assign(record.lowerName(), record.nameLength);
  }
  row.isDirectory = record.isDirectory != 0;
  row.fileRef = record.fileRef;
  if (withPath) row.path = volume->BuildPath(item.recordIndex);
  return row;
}

std::optional<AttrEntry> CachedAttributes(const MatchItem& item, const ListRow& row) {
  if (!row.valid || item.volume == nullptr) return std::nullopt;
  AttrEntry entry;
  if (item.volume->LookupAttributes(row.fileRef, entry) == 0) return std::nullopt;
  return entry;
}

std::u16string ListCellText(int32_t column, int64_t rowIndex, const ListRow& row, const std::optional<AttrEntry>& attrs,
                            Clock& clock) {
  switch (column) {
    case kColumnRowNumber:
      return RowNumberText(rowIndex);
    case kColumnName:
      return row.name;
    case kColumnSize:
      return SizeCellText(row.isDirectory, attrs ? std::optional<uint64_t>(attrs->size) : std::nullopt);
    case kColumnModified:
      return DateCellText(attrs ? std::optional<uint64_t>(attrs->lastWriteTime) : std::nullopt, clock);
    case kColumnCreated:
      return DateCellText(attrs ? std::optional<uint64_t>(attrs->creationTime) : std::nullopt, clock);
    case kColumnPath:
      return row.path;
    default:
      return {};
  }
}

}  // namespace quillmor
