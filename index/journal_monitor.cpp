#include "index/journal_monitor.h"

#include <mutex>

#include "index/ntfs_enumeration.h"
#include "index/usn_block.h"
#include "platform/shutdown.h"
#include "platform/thread_io.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

// Drops the cached attributes of a changed file so that they are read again.
void ForgetAttributes(VolumeIndex& volume, uint64_t fileRef) {
  std::unique_lock lock(volume.attrsLock);
  if (volume.attrs.erase(fileRef) != 0) ++g_attrCounters.cacheGeneration;
}

enum class ReadOutcome { kContinue, kRetryLater, kQuietEnd, kLost };

ReadOutcome Classify(uint32_t error) {
  switch (error) {
    case win32::kErrorOperationAborted:     // cancelled by StopMonitor
    case win32::kErrorJournalNotActive:     // journal deleted or disabled
    case win32::kErrorJournalEntryDeleted:  // journal wrapped past nextUsn
      return ReadOutcome::kQuietEnd;
    case win32::kErrorDeviceNotConnected:
    case win32::kErrorAccessDenied:
    case win32::kErrorInvalidHandle:
      return ReadOutcome::kLost;
    default:
      return ReadOutcome::kRetryLater;
  }
}

}  // namespace

void ApplyJournalRecord(VolumeIndex& volume, const usn::RecordView& r) {
  const uint64_t ref = r.fileReferenceNumber;

  if (r.reason & win32::kUsnReasonFileDelete) {
    uint64_t index = 0;
    if (volume.refToIndex.Find(ref, index) && index != kNoRecord) {
      FileRecord& record = volume.records[index];
      if (!record.deleted) {
        record.deleted = 1;
        ++volume.deletedCount;
      }
    }
    ForgetAttributes(volume, ref);
  }

  if (r.reason & (win32::kUsnReasonFileCreate | win32::kUsnReasonRenameNewName)) {
    const size_t units = r.fileNameBytes / 2;
    uint64_t index = 0;
    if (volume.refToIndex.Find(ref, index) && index != kNoRecord) {
      // A known file that moved or was renamed, or is reported again.
      FileRecord& record = volume.records[index];
      record.SetName(volume.namePool.AddUtf16Le(r.fileName, units));
      record.parentRef = r.parentFileReferenceNumber;
      if (record.deleted) {
        record.deleted = 0;
        --volume.deletedCount;
      }
    } else {
      FileRecord record;
      record.fileRef = ref;
      record.parentRef = r.parentFileReferenceNumber;
      record.SetName(volume.namePool.AddUtf16Le(r.fileName, units));
      record.isDirectory = (r.fileAttributes & win32::kFileAttributeDirectory) ? 1 : 0;
      volume.refToIndex.Assign(ref, volume.records.size());
      volume.records.push_back(record);
    }
    ForgetAttributes(volume, ref);
  }
}

void StartMonitor(VolumeIndex& volume) {
  std::lock_guard deviceGuard(volume.deviceMutex);
  if (volume.monitorRunning.exchange(1) != 0) return;
  if (volume.monitorThread.joinable()) volume.monitorThread.join();  // an earlier monitor that ended by itself
  try {
    volume.monitorThread = Thread([&volume, handle = volume.volumeHandle] { RunMonitor(volume, handle); });
  } catch (...) {
    volume.monitorRunning = 0;
    throw;
  }
}

void RunMonitor(VolumeIndex& volume, std::shared_ptr<VolumeDevice> device) {
  Env& env = volume.env();
  auto buffer = std::make_unique<std::byte[]>(kUsnBlockBytes);
  usn::ReadJournalData request;
  request.reasonMask = kMonitorReasonMask;
  std::byte input[usn::ReadJournalData::kSize];

  bool lost = false;
  while (volume.monitorRunning.load() && !ShuttingDown()) {
    request.startUsn = volume.nextUsn.load();
    request.usnJournalId = volume.journalId.load();
    usn::Encode(request, input);
    uint32_t returned = 0;
    const uint32_t error =
        device ? device->IoControl(win32::kFsctlReadUsnJournal, input, {buffer.get(), kUsnBlockBytes}, returned)
               : win32::kErrorInvalidHandle;

    if (error == win32::kErrorSuccess) {
      if (returned > kUsnBlockHeader) {
        const std::span<const std::byte> block(buffer.get(), returned);
        std::unique_lock lock(volume.recordsLock);
        ForEachUsnRecord(
            block, [&](const usn::RecordView& r) { ApplyJournalRecord(volume, r); }, [] { return ShuttingDown(); });
        volume.nextUsn = static_cast<int64_t>(usn::Load64(buffer.get()));
      }
      // With BytesToWaitFor 0 the read returns at once when nothing is
      // pending: this pause makes it a poll about three times a second.
      env.clock->Sleep(300);
      continue;
    }

    const ReadOutcome outcome = Classify(error);
    if (outcome == ReadOutcome::kQuietEnd) break;
    if (outcome == ReadOutcome::kLost) {
      lost = true;
      break;
    }
    // Anything else may pass: try again in a second.
    const uint64_t until = env.clock->SteadyNanoseconds() + 1'000'000'000;
    while (env.clock->SteadyNanoseconds() < until && volume.monitorRunning.load() && !ShuttingDown()) {
      env.clock->Sleep(50);
    }
  }

  volume.monitorRunning = 0;
  if (lost) {
    volume.available = 0;
    if (!ShuttingDown()) PostIfWindow(*env.windows, volume.notifyWindow.load(), WMU_VOLUME_LOST, 0, 0);
  }
}

void VolumeIndex::StopMonitor() {
  std::lock_guard deviceGuard(deviceMutex);
  StopMonitorLocked();
}

void VolumeIndex::StopMonitorLocked() {
  monitorRunning = 0;
  if (!monitorThread.joinable()) return;
  // The monitor may be blocked in a journal read: cancel it both ways, as the
  // thread's synchronous I/O and as I/O on the handle, so it ends with 995.
  CancelThreadSynchronousIo(monitorThread);
  if (volumeHandle) volumeHandle->CancelIo();
  monitorThread.join();
}

}  // namespace quillmor
