// Walking the USN_RECORD_V2 records of one block returned by
// FSCTL_ENUM_USN_DATA or FSCTL_READ_USN_JOURNAL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/usn_layout.h"

namespace quillmor {

// The first 8 bytes of a block: the next start reference (enumeration) or the
// next USN (journal read). Records follow.
inline constexpr size_t kUsnBlockHeader = 8;

// Calls visit(const usn::RecordView&) for each record from byte 8, in order,
// until `stop()` returns true or a record is malformed (RecordLength 0, shorter
// than the header, past the end of the block, or a name outside its record):
// the bytes returned are untrusted, and nothing beyond `block` is ever read.
template <typename Visit, typename Stop>
void ForEachUsnRecord(std::span<const std::byte> block, Visit&& visit, Stop&& stop) {
  size_t offset = kUsnBlockHeader;
  usn::RecordView record;
  while (offset < block.size() && !stop()) {
    if (!usn::ReadRecordV2(block, offset, record)) return;
    visit(record);
    offset += record.recordLength;
  }
}

}  // namespace quillmor
