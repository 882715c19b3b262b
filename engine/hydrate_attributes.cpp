#include "engine/hydrate_attributes.h"

#include <mutex>
#include <shared_mutex>
#include <string>

namespace quillmor {

void HydrateAttributes(VolumeIndex* volume, uint64_t recordIndex, AttrEntry& out) {
  if (volume == nullptr || volume->available.load() == 0) return;
  Env& env = volume->env();
  ++g_attrCounters.hydrateCalls;
  const uint64_t t0 = env.clock->SteadyNanoseconds();
  auto addElapsed = [&] { g_attrCounters.hydrateMicroseconds += (env.clock->SteadyNanoseconds() - t0) / 1000; };

  uint64_t fileRef = 0;
  {
    std::shared_lock lock(volume->recordsLock);
    if (recordIndex >= volume->records.size()) return;
    fileRef = volume->records[recordIndex].fileRef;
  }
  if (volume->LookupAttributes(fileRef, out) != 0) {
    addElapsed();
    return;
  }

  std::u16string path;
  {
    std::shared_lock lock(volume->recordsLock);
    path = volume->BuildPath(recordIndex);
  }
  if (path.empty()) return;

  ++g_attrCounters.diskReads;
  FileInfo info;
  AttrEntry read;
  if (env.files->GetFileInfo(path, info)) {
    read.size = info.size;
    read.lastWriteTime = info.lastWriteTime;
    read.creationTime = info.creationTime;
  }
  read.known = 1;
  out = read;

  const uint64_t t1 = env.clock->SteadyNanoseconds();
  {
    std::unique_lock lock(volume->attrsLock);
    g_attrCounters.lockWaitMicroseconds += (env.clock->SteadyNanoseconds() - t1) / 1000;
    const auto it = volume->attrs.find(fileRef);
    if (it != volume->attrs.end()) {
      it->second = read;
      ++g_attrCounters.cacheGeneration;
    } else if (volume->attrs.size() < kMaxAttrEntriesPerVolume) {
      volume->attrs.emplace(fileRef, read);
      ++g_attrCounters.cacheGeneration;
    }
  }
  addElapsed();
}

}  // namespace quillmor
