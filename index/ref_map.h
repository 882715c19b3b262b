// The map from file reference to record index of one volume.
//
// Every key but the walk root belongs to a record whose fileRef is that key,
// so a slot needs only the record index and a tag of the key's hash; the key
// itself is read back from the record when the tags agree. Eight bytes a slot
// instead of sixteen matter when a volume holds millions of records. Keys that
// map to kNoRecord (the walk root) live in a short list beside the table.
#pragma once

#include <cstdint>
#include <vector>

#include "index/file_record.h"
#include "index/stable_vector.h"
#include "platform/page_memory.h"

namespace quillmor {

using RecordSequence = StableVector<FileRecord>;

// Not thread-safe: guarded by the owner's recordsLock.
class RefMap {
 public:
  explicit RefMap(const RecordSequence& records) : records_(&records) {}
  RefMap(const RefMap&) = delete;
  RefMap& operator=(const RefMap&) = delete;

  // The record index of `ref`, or kNoRecord for a marker key. False when the
  // reference is not mapped.
  bool Find(uint64_t ref, uint64_t& index) const;

  // Maps `ref` to `index`, replacing an earlier mapping. The record at `index`
  // must hold fileRef == ref before the map is used again (it may be appended
  // right after this call). Indices must be below 2^32 - 1.
  void Assign(uint64_t ref, uint64_t index);

  // Maps `ref` to kNoRecord.
  void AssignNoRecord(uint64_t ref);

  // Maps the fileRef of every record, in index order (a later duplicate wins),
  // sizing the table once for all of them.
  void AssignAll();

  void Clear();

  size_t size() const { return count_ + noRecordKeys_.size(); }
  size_t ReservedBytes() const { return slots_.size() * sizeof(Slot); }

 private:
  struct Slot {
    uint32_t indexPlusOne;  // 0: empty
    uint32_t tag;
  };

  size_t Probe(uint64_t ref, uint64_t hash, bool& found) const;
  void Rehash(size_t capacity);
  void InsertNew(uint64_t hash, uint32_t indexPlusOne, size_t at);
  void EraseNoRecord(uint64_t ref);

  const RecordSequence* records_;
  PageArray<Slot> slots_;  // all-zero bytes are empty slots
  size_t count_ = 0;
  std::vector<uint64_t> noRecordKeys_;
};

}  // namespace quillmor
