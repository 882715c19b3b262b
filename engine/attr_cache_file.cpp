#include "engine/attr_cache_file.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "engine/attr_cache_format.h"
#include "engine/attr_cache_state.h"
#include "index/ascii_case.h"
#include "platform/utf.h"
#include "settings/config_directory.h"
#include "settings/perf_log.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

// A section with more entries is taken for damage and skipped.
constexpr uint32_t kMaxSectionEntries = 1'000'000;

std::u16string Decimal(uint64_t value) { return U16(std::to_string(value)); }

uint64_t ElapsedMilliseconds(Env& env, uint64_t start) { return (env.clock->SteadyNanoseconds() - start) / 1'000'000; }

// Raises savedGeneration to `generation` unless it is there already.
void MarkSavedUpTo(uint64_t generation) {
  uint64_t saved = g_attrCounters.savedGeneration.load();
  while (saved < generation && !g_attrCounters.savedGeneration.compare_exchange_weak(saved, generation)) {
  }
}

VolumeIndex* TargetOf(const AttrCacheSectionHeader& section, std::span<const VolumePtr> volumes) {
  for (const VolumePtr& v : volumes) {
    if (v->drive[0] == section.driveLetter && v->journalId.load() == section.journalId) return v.get();
  }
  for (const VolumePtr& v : volumes) {
    if (v->drive[0] == section.driveLetter) return v.get();
  }
  return nullptr;
}

// Replaces the map of `volume` with the section's entries whose file still
// exists; adds their number to `loaded`. The reader sits at the section's
// first entry. False when the file ends inside the section.
bool LoadSection(AttrCacheReader& reader, uint32_t entryCount, VolumeIndex& volume, uint64_t& loaded) {
  std::shared_lock records(volume.recordsLock);
  std::unique_lock attrs(volume.attrsLock);
  volume.attrs.clear();
  // The count is untrusted: reserve no more than the file can hold.
  volume.attrs.max_load_factor(1.0f);
  volume.attrs.reserve(static_cast<size_t>(std::min<uint64_t>(entryCount, reader.EntriesLeft())));
  for (uint32_t i = 0; i < entryCount; ++i) {
    uint64_t fileRef = 0;
    AttrEntry entry;
    if (!reader.ReadEntry(fileRef, entry)) return false;
    uint64_t index = 0;
    if (!volume.refToIndex.Find(fileRef, index)) continue;  // the file is gone
    volume.attrs.insert_or_assign(fileRef, entry);
    ++loaded;
  }
  return true;
}

}  // namespace

std::u16string AttrCacheFilePath(Env& env) { return ConfigFilePath(env, u"attrcache.v1.bin"); }

bool IsPersistedVolume(const VolumeIndex& volume) {
  return volume.available.load() != 0 && !volume.drive.empty() && EqualIgnoringAsciiCase(volume.fileSystem, u"NTFS") &&
         !IsWalkedVolume(volume);
}

AttrCacheLoadResult LoadAttrCacheFile(ReadableFile& file, std::span<const VolumePtr> volumes) {
  AttrCacheLoadResult result;
  AttrCacheReader reader(file);
  uint32_t sectionCount = 0;
  if (!reader.ReadHeader(sectionCount)) return result;
  result.headerValid = true;

  std::vector<VolumePtr> targets;
  for (const VolumePtr& v : volumes) {
    if (v && IsPersistedVolume(*v)) targets.push_back(v);
  }
  for (uint32_t s = 0; s < sectionCount; ++s) {
    AttrCacheSectionHeader section;
    if (!reader.ReadSectionHeader(section)) break;
    VolumeIndex* target = TargetOf(section, targets);
    if (section.entryCount > kMaxSectionEntries || target == nullptr) {
      reader.SkipEntries(section.entryCount);
      continue;
    }
    // The bytes after a cut entry are no section header: stop there.
    if (!LoadSection(reader, section.entryCount, *target, result.entries)) break;
  }
  result.bytes = reader.Position();
  return result;
}

void LoadAttrCache(SearchEngine& engine) {
  Env& env = engine.env();
  const uint64_t start = env.clock->SteadyNanoseconds();
  const std::u16string path = AttrCacheFilePath(env);
  // The file is read while it is loaded: a save meanwhile would replace it.
  std::lock_guard fileLock(g_attrCache.fileMutex);
  const std::unique_ptr<ReadableFile> file = env.files->OpenForRead(path);
  if (file == nullptr) return;
  const AttrCacheLoadResult result = LoadAttrCacheFile(*file, engine.SnapshotVolumes());
  if (!result.headerValid) return;

  const uint64_t ms = ElapsedMilliseconds(env, start);
  g_attrCounters.cacheLoadMilliseconds += ms;
  g_attrCounters.entriesLoaded += result.entries;
  g_attrCounters.bytesLoaded += result.bytes;
  MarkSavedUpTo(++g_attrCounters.cacheGeneration);
  LogMetric(env, u"cache_load ms=" + Decimal(ms) + u" path=" + path + u" entries=" + Decimal(result.entries) +
                     u" bytes=" + Decimal(result.bytes));
}

bool SaveAttrCache(SearchEngine& engine) {
  Env& env = engine.env();
  const uint64_t start = env.clock->SteadyNanoseconds();
  const std::u16string path = AttrCacheFilePath(env);

  // One save at a time, from the snapshot to the rename, so the file a later
  // save leaves behind never holds an older snapshot.
  std::lock_guard file(g_attrCache.fileMutex);

  // Read before the snapshot: changes made while the file is written stay
  // dirty and go into the next save.
  const uint64_t generation = g_attrCounters.cacheGeneration.load();
  std::vector<AttrCacheSection> sections;
  uint64_t entries = 0;
  for (const VolumePtr& v : engine.SnapshotVolumes()) {
    if (!IsPersistedVolume(*v)) continue;
    AttrCacheSection& section = sections.emplace_back();
    section.driveLetter = v->drive[0];
    section.journalId = v->journalId.load();
    std::shared_lock attrs(v->attrsLock);
    section.entries.reserve(v->attrs.size());
    for (const auto& [fileRef, entry] : v->attrs) {
      if (entry.known) section.entries.emplace_back(fileRef, entry);
    }
    entries += section.entries.size();
  }

  const std::string bytes = EncodeAttrCache(sections);
  if (!ReplaceFileContents(*env.files, path, bytes)) return false;

  const uint64_t ms = ElapsedMilliseconds(env, start);
  g_attrCounters.cacheSaveMilliseconds += ms;
  g_attrCounters.entriesSaved += entries;
  g_attrCounters.bytesSaved += bytes.size();
  MarkSavedUpTo(generation);
  LogMetric(env, u"cache_save ms=" + Decimal(ms) + u" path=" + path + u" entries=" + Decimal(entries) + u" bytes=" +
                     Decimal(bytes.size()));
  return true;
}

void LoadAttrCacheAtStartup(SearchEngine& engine) {
  LoadAttrCache(engine);
  if (engine.env().files->OpenForRead(AttrCacheFilePath(engine.env())) == nullptr) SaveAttrCache(engine);
}

}  // namespace quillmor
