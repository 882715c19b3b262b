// One file or directory of a volume.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "index/cjk_unit.h"

namespace quillmor {

struct FileRecord {
  // NTFS: FileReferenceNumber, sequence number included. Walked volumes: a
  // made-up number from the walk.
  uint64_t fileRef = 0;
  // The containing directory's reference (the walk root, 1, for top-level
  // entries of a walked volume).
  uint64_t parentRef = 0;
  // The last path component, inside the volume's NamePool; its lower-case copy
  // follows at name + nameLength + 1.
  const char16_t* name = nullptr;
  uint16_t nameLength = 0;
  // 0 when the name is known to hold no unit in U+4E00..U+9FFF, so the
  // initials rule need not look at it. SetName keeps it exact; a record whose
  // name is set otherwise keeps the 1 that only costs the rule a look.
  uint8_t nameMayHoldCjk = 1;
  uint32_t isDirectory = 0;
  // A tombstone: deleted files keep their record and index until a rebuild.
  uint32_t deleted = 0;

  // The 'A' to 'Z' folded copy the matchers read.
  const char16_t* lowerName() const { return name + nameLength + 1; }

  // Points the record at a name pool entry (NamePool::Add's answer).
  void SetName(std::u16string_view pooled) {
    name = pooled.data();
    nameLength = static_cast<uint16_t>(pooled.size());
    nameMayHoldCjk = ContainsCjkUnit(pooled.data(), pooled.size()) ? 1 : 0;
  }
};

// The made-up parent of a walked volume's top-level entries.
inline constexpr uint64_t kWalkRootRef = 1;
// The first made-up reference a walk hands out.
inline constexpr uint64_t kFirstSyntheticRef = 0x100000;
// refToIndex value meaning "known, but no record" (the walk root).
inline constexpr uint64_t kNoRecord = ~uint64_t{0};

}  // namespace quillmor
