// The attribute cache on disk: the sizes and times of the files of NTFS
// volumes, loaded once at start-up and saved when missing, when dirty (the
// autosave), after attribute sorts and at exit. The format is in
// attr_cache_format.h.
//
// Only volumes built from their change journal are written: their file
// references stay the same from run to run while the journal does. Walked
// volumes (NTFS ones without a usable journal included) get made-up
// references at every walk, so their entries live only in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/search_engine.h"

namespace quillmor {

// The configuration directory + "\attrcache.v1.bin".
std::u16string AttrCacheFilePath(Env& env);

// Whether `volume` belongs in the file: available, "NTFS" (any case), built
// from its journal, with a drive.
bool IsPersistedVolume(const VolumeIndex& volume);

struct AttrCacheLoadResult {
  bool headerValid = false;
  uint64_t entries = 0;  // entries inserted
  uint64_t bytes = 0;    // bytes read, skipped sections included
};

// Loads the file into the volumes of `volumes` that IsPersistedVolume
// accepts, reading it a block at a time. Each section goes to the volume of
// its drive letter and journal id, else to the first of its drive letter (a
// recreated journal: only entries whose file still exists are kept); its
// entries replace that volume's map. Sections for no volume or of more than
// 1,000,000 entries are skipped. Loading stops at the first incomplete
// section header or entry; what was loaded before stays. A bad header
// changes nothing, and nothing after it is read.
AttrCacheLoadResult LoadAttrCacheFile(ReadableFile& file, std::span<const VolumePtr> volumes);

// Reads the cache file into the engine's volumes, then logs "cache_load" and
// marks the cache clean. A missing file or a bad header does nothing and logs
// nothing. Holds the file's mutex throughout, so a save waits for it.
void LoadAttrCache(SearchEngine& engine);

// Writes the known entries of the engine's persisted volumes to the cache
// file: to a temporary file beside it, which then replaces it in one step, so
// a failed or interrupted save leaves the previous file as it was. Logs
// "cache_save" and marks the cache clean as of the snapshot. False (nothing
// logged, the cache still dirty) when the file could not be written. Saves
// wait for each other: two never write at the same time.
bool SaveAttrCache(SearchEngine& engine);

// The start-up step: loads the file, and writes it at once when there is none
// yet.
void LoadAttrCacheAtStartup(SearchEngine& engine);

}  // namespace quillmor
