// Building the index of an NTFS volume from its change journal.
#pragma once

#include <string_view>

#include "index/volume_index.h"

namespace quillmor {

// Opens "\\.\" + drive, makes sure a readable change journal exists, reads
// every file record of the master file table and starts the journal monitor.
// Returns false, with `available` 0 and the records untouched, when the volume
// cannot be opened or its journal cannot be queried, created or recreated.
// Runs on a background thread; takes recordsLock exclusively throughout.
bool IndexNtfsVolume(VolumeIndex& volume, std::u16string_view drive);

// Journal parameters used when the program creates a journal.
inline constexpr uint64_t kJournalMaximumSize = 0x10000000;     // 256 MiB
inline constexpr uint64_t kJournalAllocationDelta = 0x1000000;  // 16 MiB
// Size of one enumeration or journal-read block.
inline constexpr size_t kUsnBlockBytes = 0x10000;

}  // namespace quillmor
