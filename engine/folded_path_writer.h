// The folded full paths of many records as sort keys: the path of a record's
// directory (its head), written once and shared by the records of that
// directory that come shortly after, then a backslash and the record's name
// (its tail). Walking a record's ancestors and copying their names happens
// once per directory instead of once per record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/text_key_sort.h"
#include "index/volume_index.h"

namespace quillmor {

class FoldedPathWriter {
 public:
  FoldedPathWriter();

  // Forgets every head written so far. Call whenever the volume's
  // recordsLock has been released, and before writing another volume's
  // paths: a head written earlier may no longer be the directory's path.
  void Reset();

  // Writes what `units` lacks of the path BuildPath gives `recordIndex`
  // (which must be in range), 'A' to 'Z' folded, and returns where it lies.
  // The caller holds volume.recordsLock.
  TextSortKeys::Key Append(const VolumeIndex& volume, uint32_t recordIndex, PageVector<char16_t>& units);

 private:
  // A directory whose path is a head in the buffer; a direct-mapped cache by
  // record index, large enough for the directories of one stretch of rows.
  struct Head {
    uint64_t index = 0;
    uint32_t stamp = 0;  // valid only while equal to stamp_
    uint32_t length = 0;
    size_t offset = 0;
    int chainLength = 0;  // records the path names
  };
  static constexpr size_t kHeadSlots = 4096;

  std::vector<Head> heads_;
  uint32_t stamp_ = 1;
  // The drive alone, the head of records without a parent; none yet when
  // driveStamp_ is not stamp_.
  Head drive_;
  VolumeIndex::PathChain chain_;
};

}  // namespace quillmor
