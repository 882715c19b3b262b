// An NTFS volume in memory that answers the change-journal controls the way
// Windows does: FSCTL_ENUM_USN_DATA walks the master file table in reference
// order, FSCTL_READ_USN_JOURNAL returns the journal's USN_RECORD_V2 records,
// byte for byte, and every failure is the Win32 error code Windows gives.
// Tests change the volume (create, rename, move, delete) and the journal
// records each change as NTFS would; they can also inject faults.
//
// File references carry the sequence number in their top 16 bits and the MFT
// record number in the low 48. The root directory is MFT record 5 with
// sequence 5, and is its own parent.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/volume_device.h"

namespace quillmor {

class SimulatedNtfsVolume {
 public:
  static constexpr uint64_t kRootRef = 0x0005000000000005ull;

  // A volume holding only its root directory, with an active journal.
  SimulatedNtfsVolume();
  ~SimulatedNtfsVolume();
  SimulatedNtfsVolume(const SimulatedNtfsVolume&) = delete;
  SimulatedNtfsVolume& operator=(const SimulatedNtfsVolume&) = delete;

  // --- The volume as found: files that existed before the journal saw them
  // (their USN is 0). Fast, for building large volumes. ---
  uint64_t AddExistingFile(uint64_t parentRef, std::u16string_view name, bool directory = false);
  void ReserveFiles(size_t count);

  // --- Changes, each recorded in the journal as NTFS records it. ---
  // FILE_CREATE, then FILE_CREATE | CLOSE.
  uint64_t CreateFile(uint64_t parentRef, std::u16string_view name, bool directory = false);
  // RENAME_OLD_NAME (old name and parent), RENAME_NEW_NAME, RENAME_NEW_NAME |
  // CLOSE. A move is a rename to another parent. False for an unknown file.
  bool RenameFile(uint64_t ref, uint64_t newParentRef, std::u16string_view newName);
  // FILE_DELETE | CLOSE; the MFT record is freed and may be reused with the
  // next sequence number. False for an unknown file.
  bool DeleteFile(uint64_t ref);
  // FILE_CREATE, then FILE_CREATE | FILE_DELETE | CLOSE: a temporary file
  // deleted before its handle was closed.
  uint64_t CreateAndDeleteBeforeClose(uint64_t parentRef, std::u16string_view name);
  // DATA_EXTEND, then DATA_EXTEND | CLOSE: a write, which the monitor's
  // reason mask does not ask for.
  bool WriteFile(uint64_t ref);
  // Appends a raw journal record, for records no real change produces.
  void AppendJournalRecord(uint64_t ref, uint64_t parentRef, std::u16string_view name, uint32_t reason,
                           uint32_t attributes);

  // --- The journal, as an administrator would manage it. ---
  struct JournalState {
    bool active = false;
    uint64_t id = 0;
    int64_t firstUsn = 0;
    int64_t nextUsn = 0;
    uint64_t maximumSize = 0;
    uint64_t allocationDelta = 0;
  };
  JournalState Journal() const;
  void DeleteJournal();
  // A journal with a new identifier, continuing the USN numbering.
  void CreateJournal(uint64_t maximumSize = 0x2000000, uint64_t allocationDelta = 0x800000);
  // The journal wraps: records below `usn` are gone (FirstUsn moves up).
  void DiscardJournalBefore(int64_t usn);

  // --- Faults. ---
  // Opening with GENERIC_WRITE fails with error 5.
  void RefuseReadWriteOpen(bool refuse);
  // Every journal control fails with error 50, as on a volume without journal
  // support or under Wine.
  void SetJournalUnsupported(bool unsupported);
  // The query fails with `error` this many times, then answers again.
  void FailQueries(int count, uint32_t error);
  // What the n-th FSCTL_ENUM_USN_DATA call (0-based, counted since the last
  // ResetCallCounts) does instead of its normal answer.
  enum class EnumFault {
    kError,             // fails with `error`
    kEightByteBlock,    // returns only the next start reference, unchanged
    kZeroLengthRecord,  // a record with RecordLength 0 after the first one
    kOverlongRecord,    // the second record's RecordLength runs past the block
    kNameOutsideRecord  // the second record's name lies past its end
  };
  void InjectEnumFault(int callNumber, EnumFault fault, uint32_t error = 0);
  // Runs `hook` (on the calling thread, without the volume's lock) just before
  // the n-th enumeration call is answered: a change made there happens between
  // the journal query and the enumeration.
  void RunBeforeEnumCall(int callNumber, std::function<void()> hook);
  void ResetCallCounts();
  int EnumCallCount() const;
  int ReadCallCount() const;
  // Journal reads block until cancelled (then fail with 995) or released.
  void HoldReads(bool hold);
  // Journal reads fail with `error` until cleared with 0.
  void FailReads(uint32_t error);
  // CloseHandle fails with `error` (the handle is gone either way).
  void FailClose(uint32_t error);
  // The device goes away: open handles answer 1167, opening fails with 2.
  void Disconnect();
  void Reconnect();

  // Opens the device with the given access, as CreateFileW would.
  std::unique_ptr<VolumeDevice> Open(uint32_t access, uint32_t& error);

  // How many files are in use (the root included).
  size_t FileCount() const;
  // Whether the device is connected (Disconnect, Reconnect).
  bool Connected() const;
  // What GetDriveTypeW says of the volume's root while it is connected: fixed
  // unless set otherwise (a mapped network share says remote).
  void SetDriveType(uint32_t type);
  uint32_t DriveType() const;

  // --- The volume as the file API sees it, for walks and attribute probes.
  // `path` is below the root, without the drive: "" or "" is the root,
  // "\docs.txt" a file; components compare without ASCII case. ---
  // The attributes of the file or directory at `path`, or false.
  bool Attributes(std::u16string_view path, uint32_t& attributes) const;
  // The entries of the directory at `path` in record order, or false when it
  // is not a directory.
  bool ListDirectory(std::u16string_view path, std::vector<std::u16string>& names,
                     std::vector<uint32_t>& attributes) const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

// Serves "\\.\X:" for the volumes mounted under a letter.
class SimulatedVolumeDevices : public VolumeDevices {
 public:
  void Mount(char16_t letter, SimulatedNtfsVolume& volume);
  void Unmount(char16_t letter);
  std::unique_ptr<VolumeDevice> Open(std::u16string_view devicePath, uint32_t access, uint32_t& error) override;

 private:
  std::mutex mutex_;
  SimulatedNtfsVolume* volumes_[26] = {};  // Guarded by mutex_.
};

}  // namespace quillmor
