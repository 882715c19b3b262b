#include "index/volume_index.h"

#include <mutex>
#include <vector>

namespace quillmor {
namespace {

uint64_t NextBuildNumber() {
  static std::atomic<uint64_t> last{0};
  return last.fetch_add(1) + 1;
}

}  // namespace

VolumeIndex::VolumeIndex(Env& env) : buildNumber(NextBuildNumber()), env_(env) {}

VolumeIndex::~VolumeIndex() {
  bool open = false;
  {
    std::lock_guard deviceGuard(deviceMutex);
    open = volumeHandle != nullptr || monitorThread.joinable();
  }
  if (open) CloseVolume();
}

void VolumeIndex::ClearForBuild() {
  buildNumber = NextBuildNumber();
  records.clear();
  namePool.Reset();
  refToIndex.Clear();
  deletedCount = 0;
  std::unique_lock attrsGuard(attrsLock);
  attrs.clear();
}

int VolumeIndex::CollectPathChain(uint64_t recordIndex, PathChain& chain) const {
  if (recordIndex >= records.size()) return 0;
  int depth = 0;
  const FileRecord* record = &records[recordIndex];
  chain[depth++] = record;
  uint64_t cur = record->parentRef;
  for (int step = 0; step < kMaxPathAncestors; ++step) {
    uint64_t index = 0;
    if (!refToIndex.Find(cur, index) || index == kNoRecord) break;
    const FileRecord& parent = records[index];
    if (parent.fileRef == parent.parentRef) break;  // the NTFS root refers to itself
    chain[depth++] = &parent;
    cur = parent.parentRef;
  }
  return depth;
}

std::u16string VolumeIndex::BuildPath(uint64_t recordIndex) const {
  PathChain chain;
  int depth = CollectPathChain(recordIndex, chain);
  if (depth == 0) return drive;

  size_t total = drive.size();
  for (int i = 0; i < depth; ++i) total += 1 + chain[i]->nameLength;
  std::u16string path;
  path.reserve(total);
  path = drive;
  while (depth > 0) {
    const FileRecord* r = chain[--depth];
    path.push_back(u'\\');
    path.append(r->name, r->nameLength);
  }
  return path;
}

std::u16string VolumeIndex::GetFullPath(uint64_t recordIndex) const {
  std::shared_lock lock(recordsLock);
  return BuildPath(recordIndex);
}

void VolumeIndex::RenameRecord(uint64_t recordIndex, std::u16string_view newName) {
  std::unique_lock lock(recordsLock);
  if (recordIndex >= records.size()) return;
  FileRecord& record = records[recordIndex];
  if (record.deleted) return;
  record.SetName(AddName(newName));
}

uint8_t VolumeIndex::LookupAttributes(uint64_t fileRef, AttrEntry& out) const {
  const uint64_t before = env_.clock->SteadyNanoseconds();
  std::shared_lock lock(attrsLock);
  const uint64_t after = env_.clock->SteadyNanoseconds();
  g_attrCounters.lockWaitMicroseconds += (after - before) / 1000;

  const auto it = attrs.find(fileRef);
  if (it == attrs.end()) {
    ++g_attrCounters.misses;
    return 0;
  }
  out = it->second;
  if (it->second.known) {
    ++g_attrCounters.hits;
  } else {
    ++g_attrCounters.misses;
  }
  return it->second.known;
}

}  // namespace quillmor
