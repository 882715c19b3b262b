#include "index/ntfs_enumeration.h"

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "index/journal_monitor.h"
#include "index/usn_block.h"
#include "platform/shutdown.h"
#include "platform/thread.h"
#include "platform/usn_layout.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

using win32::kErrorSuccess;

// The probe's output: one record at most, then discarded.
constexpr size_t kProbeBytes = 520;
constexpr int64_t kWidestHighUsn = 0x7FFFFFFFFFFFFFFF;

uint32_t QueryJournal(VolumeDevice& device, usn::JournalData& out) {
  std::byte buffer[usn::JournalData::kSize] = {};
  uint32_t returned = 0;
  const uint32_t error = device.IoControl(win32::kFsctlQueryUsnJournal, {}, buffer, returned);
  if (error == kErrorSuccess) out = usn::DecodeJournalData(std::span<const std::byte, usn::JournalData::kSize>(buffer));
  return error;
}

void CreateJournal(VolumeDevice& device) {
  std::byte input[usn::CreateJournalData::kSize];
  usn::Encode(usn::CreateJournalData{kJournalMaximumSize, kJournalAllocationDelta}, input);
  uint32_t returned = 0;
  device.IoControl(win32::kFsctlCreateUsnJournal, input, {}, returned);
}

void DeleteJournal(VolumeDevice& device, uint64_t journalId) {
  std::byte input[usn::DeleteJournalData::kSize];
  usn::Encode(usn::DeleteJournalData{journalId, win32::kUsnDeleteFlagDelete}, input);
  uint32_t returned = 0;
  device.IoControl(win32::kFsctlDeleteUsnJournal, input, {}, returned);
}

uint32_t Enumerate(VolumeDevice& device, const usn::MftEnumData& range, std::span<std::byte> out, uint32_t& returned) {
  std::byte input[usn::MftEnumData::kSize];
  usn::Encode(range, input);
  returned = 0;
  return device.IoControl(win32::kFsctlEnumUsnData, input, out, returned);
}

// Appends the records of one enumeration block. Only the parser (or the
// single-threaded fallback) calls it while the builder holds recordsLock.
void ParseBlock(VolumeIndex& volume, std::span<const std::byte> block) {
  ForEachUsnRecord(
      block,
      [&](const usn::RecordView& r) {
        const size_t units = r.fileNameBytes / 2;
        FileRecord record;
        record.fileRef = r.fileReferenceNumber;
        record.parentRef = r.parentFileReferenceNumber;
        record.SetName(volume.namePool.AddUtf16Le(r.fileName, units));
        record.isDirectory = (r.fileAttributes & win32::kFileAttributeDirectory) ? 1 : 0;
        record.deleted = 0;
        volume.records.push_back(record);
      },
      [] { return ShuttingDown(); });
}

struct Block {
  std::unique_ptr<std::byte[]> bytes;
  uint32_t size = 0;
};

// The reader thread fills blocks; the parser turns them into records in the
// order they were read. Parsing is usually faster than the kernel calls that
// fill the queue; when it is not, the reader waits once a megabyte of blocks
// is queued rather than holding the whole table in memory. Parsed blocks go
// back to the reader, so that a build of millions of records reuses a few warm
// blocks instead of faulting in fresh memory.
class ParsePipeline {
 public:
  explicit ParsePipeline(VolumeIndex& volume) : volume_(volume), parser_([this] { Run(); }) {}
  // Also on the way out of an exception: the parser must be joined.
  ~ParsePipeline() { Finish(); }

  // A parsed block to fill again, or a new one.
  Block TakeEmptyBlock() {
    {
      std::lock_guard lock(mutex_);
      if (!spare_.empty()) {
        Block block = std::move(spare_.back());
        spare_.pop_back();
        return block;
      }
    }
    return Block{std::make_unique_for_overwrite<std::byte[]>(kUsnBlockBytes), 0};
  }

  void Push(Block block) {
    {
      std::unique_lock lock(mutex_);
      // The parser may have ended early (shutdown): never wait for it then.
      while (queue_.size() >= kMaxQueuedBlocks && !parserEnded_) drained_.wait(lock);
      queue_.push_back(std::move(block));
    }
    wake_.notify_one();
  }

  // Lets the parser drain the queue and end, and joins it.
  void Finish() {
    if (!parser_.joinable()) return;
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    wake_.notify_one();
    parser_.join();
  }

 private:
  void Run() {
    RunUntilDone();
    {
      std::lock_guard lock(mutex_);
      parserEnded_ = true;
    }
    drained_.notify_all();
  }

  void RunUntilDone() {
    for (;;) {
      if (ShuttingDown()) return;
      Block block;
      {
        std::unique_lock lock(mutex_);
        // The shutdown flag is not signalled through this condition variable,
        // so the wait polls it.
        while (queue_.empty() && !done_ && !ShuttingDown()) wake_.wait_for(lock, std::chrono::milliseconds(50));
        if (ShuttingDown() || queue_.empty()) return;
        block = std::move(queue_.front());
        queue_.pop_front();
      }
      drained_.notify_one();
      ParseBlock(volume_, std::span<const std::byte>(block.bytes.get(), block.size));
      std::lock_guard lock(mutex_);
      if (spare_.size() < kMaxSpareBlocks) spare_.push_back(std::move(block));
    }
  }

  static constexpr size_t kMaxQueuedBlocks = 16;
  static constexpr size_t kMaxSpareBlocks = kMaxQueuedBlocks + 2;

  VolumeIndex& volume_;
  std::mutex mutex_;
  std::condition_variable wake_;     // the parser waits for blocks
  std::condition_variable drained_;  // the reader waits for room
  std::deque<Block> queue_;          // Guarded by mutex_.
  std::vector<Block> spare_;         // Guarded by mutex_.
  bool done_ = false;                // Guarded by mutex_.
  bool parserEnded_ = false;         // Guarded by mutex_.
  Thread parser_;
};

// The enumeration proper: reads blocks on this thread while the parser
// converts them.
void EnumerateOverlapped(VolumeIndex& volume, VolumeDevice& device, usn::MftEnumData range) {
  ParsePipeline pipeline(volume);
  for (;;) {
    Block block = pipeline.TakeEmptyBlock();
    const uint32_t error = Enumerate(device, range, {block.bytes.get(), kUsnBlockBytes}, block.size);
    // Every failure ends the loop, the normal end of the table (38) included.
    if (error != kErrorSuccess || block.size < kUsnBlockHeader) break;
    range.startFileReferenceNumber = usn::Load64(block.bytes.get());
    if (block.size > kUsnBlockHeader) pipeline.Push(std::move(block));
    if (ShuttingDown()) break;
  }
  pipeline.Finish();
}

// The widest range, read and parsed on this thread alone: for volumes whose
// records all lie above the journal's NextUsn.
void EnumerateFallback(VolumeIndex& volume, VolumeDevice& device) {
  usn::MftEnumData range{0, 0, kWidestHighUsn};
  auto block = std::make_unique_for_overwrite<std::byte[]>(kUsnBlockBytes);
  for (;;) {
    uint32_t size = 0;
    const uint32_t error = Enumerate(device, range, {block.get(), kUsnBlockBytes}, size);
    if (error != kErrorSuccess || size < kUsnBlockHeader) break;
    range.startFileReferenceNumber = usn::Load64(block.get());
    ParseBlock(volume, std::span<const std::byte>(block.get(), size));
    if (ShuttingDown()) break;
  }
}

// Clears `busy` however the build ends.
struct BusyScope {
  explicit BusyScope(VolumeIndex& v) : volume(v) { volume.busy = 1; }
  ~BusyScope() { volume.busy = 0; }
  VolumeIndex& volume;
};

}  // namespace

bool JournalUnsupported(uint32_t failure) {
  return failure == win32::kErrorInvalidFunction || failure == win32::kErrorNotSupported;
}

bool IndexNtfsVolume(VolumeIndex& volume, std::u16string_view drive, uint32_t* failure) {
  BusyScope busy(volume);
  volume.available = 1;
  volume.builtByWalk = 0;

  const std::u16string devicePath = u"\\\\.\\" + std::u16string(drive);
  volume.CloseVolume();
  std::unique_lock recordsGuard(volume.recordsLock);
  // Searches read these under recordsLock; a rebuild in place keeps them.
  if (volume.drive != drive) volume.drive.assign(drive);
  if (volume.fileSystem != u"NTFS") volume.fileSystem = u"NTFS";

  const auto fail = [&](uint32_t error) {
    volume.available = 0;
    if (failure != nullptr) *failure = error;
    return false;
  };

  uint32_t openError = 0;
  std::shared_ptr<VolumeDevice> device =
      volume.env().volumes->Open(devicePath, win32::kGenericRead | win32::kGenericWrite, openError);
  if (!device) device = volume.env().volumes->Open(devicePath, win32::kGenericRead, openError);
  {
    std::lock_guard deviceGuard(volume.deviceMutex);
    volume.volumeHandle = device;
  }
  if (!device) return fail(openError);

  usn::JournalData journal;
  if (QueryJournal(*device, journal) != kErrorSuccess) {
    CreateJournal(*device);
    if (const uint32_t error = QueryJournal(*device, journal); error != kErrorSuccess) return fail(error);
  }
  volume.journalId = journal.usnJournalId;
  volume.nextUsn = journal.nextUsn;
  usn::MftEnumData range{0, 0, journal.nextUsn};

  std::byte probe[kProbeBytes];
  uint32_t probeBytes = 0;
  const uint32_t probeError = Enumerate(*device, range, probe, probeBytes);
  if (probeError != kErrorSuccess && probeError != win32::kErrorHandleEof && probeError != win32::kErrorMoreData) {
    // The journal exists but cannot be read: start it afresh.
    DeleteJournal(*device, journal.usnJournalId);
    CreateJournal(*device);
    if (const uint32_t error = QueryJournal(*device, journal); error != kErrorSuccess) return fail(error);
    volume.journalId = journal.usnJournalId;
    volume.nextUsn = journal.nextUsn;
    range.highUsn = journal.nextUsn;
  }

  volume.ClearForBuild();
  EnumerateOverlapped(volume, *device, range);

  if (volume.records.empty() && range.highUsn != kWidestHighUsn && !ShuttingDown()) {
    EnumerateFallback(volume, *device);
  }

  if (!ShuttingDown()) {
    volume.refToIndex.AssignAll();
    StartMonitor(volume);
  }

  volume.available = 1;
  return true;
}

void VolumeIndex::CloseVolume() {
  {
    std::lock_guard deviceGuard(deviceMutex);
    StopMonitorLocked();
    if (volumeHandle) {
      const uint32_t error = volumeHandle->Close();
      if (error != win32::kErrorSuccess) {
        std::string narrowDrive;
        for (char16_t c : drive) narrowDrive.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        char line[160];
        std::snprintf(line, sizeof line, "[Quillmor] CloseHandle failed, Error: %lu (0x%08X), Drive: %s\n",
                      static_cast<unsigned long>(error), static_cast<unsigned>(error), narrowDrive.c_str());
        env_.system->DebugOutput(std::string_view(line));
      }
      volumeHandle.reset();
    }
  }
  // Give the system a moment to let go of the volume before it is reopened or
  // ejected.
  env_.clock->Sleep(300);
}

}  // namespace quillmor
