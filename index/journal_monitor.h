// Following an NTFS volume's change journal after its full build.
#pragma once

#include <cstdint>
#include <memory>

#include "index/volume_index.h"
#include "platform/usn_layout.h"

namespace quillmor {

// The journal reasons the monitor reads.
inline constexpr uint32_t kMonitorReasonMask = 0x3300;  // create, delete, rename old and new name

// Starts the monitor thread unless one runs already (monitorRunning switches
// from 0 to 1). Called at the end of a successful NTFS build.
void StartMonitor(VolumeIndex& volume);

// The monitor thread's body: reads the journal from nextUsn about three times
// a second and applies each batch under recordsLock. Ends when monitorRunning
// is cleared, on shutdown, quietly when the journal is gone or wrapped, and
// with `available` 0 and WMU_VOLUME_LOST when the volume is lost.
void RunMonitor(VolumeIndex& volume, std::shared_ptr<VolumeDevice> device);

// Applies one journal record to the index. The caller holds recordsLock
// exclusively.
void ApplyJournalRecord(VolumeIndex& volume, const usn::RecordView& record);

}  // namespace quillmor
