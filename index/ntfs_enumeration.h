// Building the index of an NTFS volume from its change journal.
#pragma once

#include <cstdint>
#include <string_view>

#include "index/volume_index.h"

namespace quillmor {

// Opens "\\.\" + drive, makes sure a readable change journal exists, reads
// every file record of the master file table and starts the journal monitor.
// Returns false, with `available` 0 and the records untouched, when the volume
// cannot be opened or its journal cannot be queried, created or recreated;
// `failure`, when given, then receives the error of the call that failed.
// Runs on a background thread; takes recordsLock exclusively throughout.
bool IndexNtfsVolume(VolumeIndex& volume, std::u16string_view drive, uint32_t* failure = nullptr);

// Whether a build failure means the volume has no usable change journal at
// all (ERROR_INVALID_FUNCTION or ERROR_NOT_SUPPORTED from the journal
// controls, as on volumes without journal support and under Wine), rather
// than a journal that is broken or a volume that cannot be opened.
bool JournalUnsupported(uint32_t failure);

// Journal parameters used when the program creates a journal.
inline constexpr uint64_t kJournalMaximumSize = 0x10000000;     // 256 MiB
inline constexpr uint64_t kJournalAllocationDelta = 0x1000000;  // 16 MiB
// Size of one enumeration or journal-read block.
inline constexpr size_t kUsnBlockBytes = 0x10000;

}  // namespace quillmor
