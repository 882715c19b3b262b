#include "platform/sim/simulated_ntfs_volume.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <optional>

#include "platform/usn_layout.h"
#include "platform/win32_constants.h"

namespace quillmor {

using namespace win32;

namespace {

constexpr uint64_t kRecordNumberMask = 0x0000FFFFFFFFFFFFull;
constexpr uint64_t kRootRecordNumber = 5;
// The first record number NTFS hands to user files; 0 to 15 hold the
// volume's own metadata files and 16 to 23 are reserved.
constexpr uint64_t kFirstUserRecordNumber = 24;

uint64_t MakeRef(uint64_t recordNumber, uint16_t sequence) {
  return (static_cast<uint64_t>(sequence) << 48) | recordNumber;
}

}  // namespace

struct SimulatedNtfsVolume::State {
  struct MftRecord {
    bool inUse = false;
    bool directory = false;
    uint16_t sequence = 0;
    uint64_t parentRef = 0;
    int64_t usn = 0;
    std::u16string name;
  };
  struct JournalEntry {
    usn::RecordFields fields;
    std::u16string name;
  };
  struct InjectedFault {
    EnumFault fault;
    uint32_t error;
  };

  mutable std::mutex mutex;
  std::condition_variable readReleased;

  // The master file table, indexed by record number.  Guarded by mutex.
  std::vector<MftRecord> mft;
  std::vector<uint64_t> freeRecords;  // reusable record numbers, lowest last
  size_t inUse = 0;

  JournalState journal;
  std::deque<JournalEntry> entries;  // entries[i].fields.usn ascending
  uint64_t journalCounter = 0;

  bool refuseReadWrite = false;
  bool unsupported = false;
  int failQueries = 0;
  uint32_t failQueryError = 0;
  std::map<int, InjectedFault> enumFaults;
  std::map<int, std::function<void()>> enumHooks;
  int enumCalls = 0;
  int readCalls = 0;
  bool holdReads = false;
  uint32_t readError = 0;
  uint32_t closeError = 0;
  bool connected = true;
  uint32_t driveType = kDriveFixed;
  uint64_t cancelEpoch = 0;  // bumped by CancelIo; a held read that sees it change ends with 995

  State() {
    mft.resize(kFirstUserRecordNumber);
    MftRecord& root = mft[kRootRecordNumber];
    root.inUse = true;
    root.directory = true;
    root.sequence = 5;
    root.parentRef = kRootRef;
    root.name = u".";
    inUse = 1;
    // A journal that has seen some use: its first USN is not 0, which a
    // reader would take as "from the oldest record".
    journal.nextUsn = 0x10000;
    StartJournal(0x2000000, 0x800000);
  }

  void StartJournal(uint64_t maximumSize, uint64_t allocationDelta) {
    ++journalCounter;
    journal.active = true;
    // Journal identifiers are FILETIME-like stamps; any increasing number does.
    journal.id = 0x01D9000000000000ull + journalCounter * 0x10000;
    journal.firstUsn = journal.nextUsn;
    journal.maximumSize = maximumSize;
    journal.allocationDelta = allocationDelta;
    entries.clear();
  }

  MftRecord* Find(uint64_t ref) {
    const uint64_t number = ref & kRecordNumberMask;
    if (number >= mft.size()) return nullptr;
    MftRecord& r = mft[number];
    if (!r.inUse || r.sequence != (ref >> 48)) return nullptr;
    return &r;
  }

  uint64_t Allocate(uint64_t parentRef, std::u16string_view name, bool directory) {
    uint64_t number;
    if (!freeRecords.empty()) {
      number = freeRecords.back();
      freeRecords.pop_back();
    } else {
      number = mft.size();
      mft.emplace_back();
    }
    MftRecord& r = mft[number];
    r.inUse = true;
    r.directory = directory;
    r.sequence = static_cast<uint16_t>(r.sequence == 0xFFFF ? 1 : r.sequence + 1);
    r.parentRef = parentRef;
    r.usn = 0;
    r.name.assign(name);
    ++inUse;
    return MakeRef(number, r.sequence);
  }

  void Record(uint64_t ref, uint64_t parentRef, std::u16string_view name, uint32_t reason, uint32_t attributes) {
    if (!journal.active) return;
    JournalEntry e;
    e.fields.fileReferenceNumber = ref;
    e.fields.parentFileReferenceNumber = parentRef;
    e.fields.usn = journal.nextUsn;
    e.fields.timeStamp = 0x01DB000000000000ll + journal.nextUsn;
    e.fields.reason = reason;
    e.fields.fileAttributes = attributes;
    e.name.assign(name);
    journal.nextUsn += static_cast<int64_t>(usn::RecordV2Length(name.size()));
    if (MftRecord* r = Find(ref)) r->usn = e.fields.usn;
    entries.push_back(std::move(e));
  }

  static uint32_t Attributes(const MftRecord& r) {
    return r.directory ? kFileAttributeDirectory : kFileAttributeArchive;
  }
};

SimulatedNtfsVolume::SimulatedNtfsVolume() : state_(std::make_shared<State>()) {}
SimulatedNtfsVolume::~SimulatedNtfsVolume() = default;

uint64_t SimulatedNtfsVolume::AddExistingFile(uint64_t parentRef, std::u16string_view name, bool directory) {
  std::lock_guard lock(state_->mutex);
  return state_->Allocate(parentRef, name, directory);
}

void SimulatedNtfsVolume::ReserveFiles(size_t count) {
  std::lock_guard lock(state_->mutex);
  state_->mft.reserve(kFirstUserRecordNumber + count);
}

uint64_t SimulatedNtfsVolume::CreateFile(uint64_t parentRef, std::u16string_view name, bool directory) {
  std::lock_guard lock(state_->mutex);
  const uint64_t ref = state_->Allocate(parentRef, name, directory);
  const uint32_t attributes = directory ? kFileAttributeDirectory : kFileAttributeArchive;
  state_->Record(ref, parentRef, name, kUsnReasonFileCreate, attributes);
  state_->Record(ref, parentRef, name, kUsnReasonFileCreate | kUsnReasonClose, attributes);
  return ref;
}

bool SimulatedNtfsVolume::RenameFile(uint64_t ref, uint64_t newParentRef, std::u16string_view newName) {
  std::lock_guard lock(state_->mutex);
  State::MftRecord* r = state_->Find(ref);
  if (r == nullptr) return false;
  const uint32_t attributes = State::Attributes(*r);
  const std::u16string oldName = r->name;
  state_->Record(ref, r->parentRef, oldName, kUsnReasonRenameOldName, attributes);
  r->parentRef = newParentRef;
  r->name.assign(newName);
  state_->Record(ref, newParentRef, newName, kUsnReasonRenameNewName, attributes);
  state_->Record(ref, newParentRef, newName, kUsnReasonRenameNewName | kUsnReasonClose, attributes);
  return true;
}

bool SimulatedNtfsVolume::DeleteFile(uint64_t ref) {
  std::lock_guard lock(state_->mutex);
  State::MftRecord* r = state_->Find(ref);
  if (r == nullptr || (ref & kRecordNumberMask) == kRootRecordNumber) return false;
  state_->Record(ref, r->parentRef, r->name, kUsnReasonFileDelete | kUsnReasonClose, State::Attributes(*r));
  r->inUse = false;
  r->name.clear();
  --state_->inUse;
  state_->freeRecords.push_back(ref & kRecordNumberMask);
  return true;
}

uint64_t SimulatedNtfsVolume::CreateAndDeleteBeforeClose(uint64_t parentRef, std::u16string_view name) {
  std::lock_guard lock(state_->mutex);
  const uint64_t ref = state_->Allocate(parentRef, name, false);
  state_->Record(ref, parentRef, name, kUsnReasonFileCreate, kFileAttributeArchive);
  state_->Record(ref, parentRef, name, kUsnReasonFileCreate | kUsnReasonFileDelete | kUsnReasonClose,
                 kFileAttributeArchive);
  State::MftRecord& r = state_->mft[ref & kRecordNumberMask];
  r.inUse = false;
  r.name.clear();
  --state_->inUse;
  state_->freeRecords.push_back(ref & kRecordNumberMask);
  return ref;
}

bool SimulatedNtfsVolume::WriteFile(uint64_t ref) {
  std::lock_guard lock(state_->mutex);
  State::MftRecord* r = state_->Find(ref);
  if (r == nullptr) return false;
  const std::u16string name = r->name;
  state_->Record(ref, r->parentRef, name, kUsnReasonDataExtend, State::Attributes(*r));
  state_->Record(ref, r->parentRef, name, kUsnReasonDataExtend | kUsnReasonClose, State::Attributes(*r));
  return true;
}

void SimulatedNtfsVolume::AppendJournalRecord(uint64_t ref, uint64_t parentRef, std::u16string_view name,
                                              uint32_t reason, uint32_t attributes) {
  std::lock_guard lock(state_->mutex);
  state_->Record(ref, parentRef, name, reason, attributes);
}

SimulatedNtfsVolume::JournalState SimulatedNtfsVolume::Journal() const {
  std::lock_guard lock(state_->mutex);
  return state_->journal;
}

void SimulatedNtfsVolume::DeleteJournal() {
  std::lock_guard lock(state_->mutex);
  state_->journal.active = false;
  state_->entries.clear();
}

void SimulatedNtfsVolume::CreateJournal(uint64_t maximumSize, uint64_t allocationDelta) {
  std::lock_guard lock(state_->mutex);
  state_->StartJournal(maximumSize, allocationDelta);
}

void SimulatedNtfsVolume::DiscardJournalBefore(int64_t usn) {
  std::lock_guard lock(state_->mutex);
  while (!state_->entries.empty() && state_->entries.front().fields.usn < usn) state_->entries.pop_front();
  state_->journal.firstUsn = std::min(usn, state_->journal.nextUsn);
}

void SimulatedNtfsVolume::RefuseReadWriteOpen(bool refuse) {
  std::lock_guard lock(state_->mutex);
  state_->refuseReadWrite = refuse;
}

void SimulatedNtfsVolume::SetJournalUnsupported(bool unsupported) {
  std::lock_guard lock(state_->mutex);
  state_->unsupported = unsupported;
}

void SimulatedNtfsVolume::FailQueries(int count, uint32_t error) {
  std::lock_guard lock(state_->mutex);
  state_->failQueries = count;
  state_->failQueryError = error;
}

void SimulatedNtfsVolume::InjectEnumFault(int callNumber, EnumFault fault, uint32_t error) {
  std::lock_guard lock(state_->mutex);
  state_->enumFaults[callNumber] = {fault, error};
}

void SimulatedNtfsVolume::RunBeforeEnumCall(int callNumber, std::function<void()> hook) {
  std::lock_guard lock(state_->mutex);
  state_->enumHooks[callNumber] = std::move(hook);
}

void SimulatedNtfsVolume::ResetCallCounts() {
  std::lock_guard lock(state_->mutex);
  state_->enumCalls = 0;
  state_->readCalls = 0;
}

int SimulatedNtfsVolume::EnumCallCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->enumCalls;
}

int SimulatedNtfsVolume::ReadCallCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->readCalls;
}

void SimulatedNtfsVolume::HoldReads(bool hold) {
  {
    std::lock_guard lock(state_->mutex);
    state_->holdReads = hold;
  }
  state_->readReleased.notify_all();
}

void SimulatedNtfsVolume::FailReads(uint32_t error) {
  std::lock_guard lock(state_->mutex);
  state_->readError = error;
}

void SimulatedNtfsVolume::FailClose(uint32_t error) {
  std::lock_guard lock(state_->mutex);
  state_->closeError = error;
}

void SimulatedNtfsVolume::Disconnect() {
  {
    std::lock_guard lock(state_->mutex);
    state_->connected = false;
  }
  state_->readReleased.notify_all();
}

void SimulatedNtfsVolume::Reconnect() {
  std::lock_guard lock(state_->mutex);
  state_->connected = true;
}

bool SimulatedNtfsVolume::Connected() const {
  std::lock_guard lock(state_->mutex);
  return state_->connected;
}

void SimulatedNtfsVolume::SetDriveType(uint32_t type) {
  std::lock_guard lock(state_->mutex);
  state_->driveType = type;
}

uint32_t SimulatedNtfsVolume::DriveType() const {
  std::lock_guard lock(state_->mutex);
  return state_->driveType;
}

namespace {

bool SameNameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

// The record number a path below the root names, or false. Called with the
// volume's mutex held.
static bool ResolvePath(const SimulatedNtfsVolume::State& state, std::u16string_view path, uint64_t& number);

bool SimulatedNtfsVolume::Attributes(std::u16string_view path, uint32_t& attributes) const {
  std::lock_guard lock(state_->mutex);
  uint64_t number = 0;
  if (!state_->connected || !ResolvePath(*state_, path, number)) return false;
  attributes = State::Attributes(state_->mft[number]);
  return true;
}

bool SimulatedNtfsVolume::ListDirectory(std::u16string_view path, std::vector<std::u16string>& names,
                                        std::vector<uint32_t>& attributes) const {
  std::lock_guard lock(state_->mutex);
  uint64_t number = 0;
  if (!state_->connected || !ResolvePath(*state_, path, number) || !state_->mft[number].directory) return false;
  const uint64_t ref = MakeRef(number, state_->mft[number].sequence);
  names.clear();
  attributes.clear();
  for (uint64_t n = 0; n < state_->mft.size(); ++n) {
    const State::MftRecord& r = state_->mft[n];
    if (!r.inUse || n == kRootRecordNumber || r.parentRef != ref) continue;
    names.push_back(r.name);
    attributes.push_back(State::Attributes(r));
  }
  return true;
}

static bool ResolvePath(const SimulatedNtfsVolume::State& state, std::u16string_view path, uint64_t& number) {
  number = kRootRecordNumber;
  size_t pos = 0;
  while (pos < path.size()) {
    if (path[pos] == u'\\' || path[pos] == u'/') {
      ++pos;
      continue;
    }
    const size_t end = std::min(path.find_first_of(u"\\/", pos), path.size());
    const std::u16string_view component = path.substr(pos, end - pos);
    const uint64_t parentRef = MakeRef(number, state.mft[number].sequence);
    bool found = false;
    for (uint64_t n = 0; n < state.mft.size() && !found; ++n) {
      const auto& r = state.mft[n];
      if (r.inUse && n != kRootRecordNumber && r.parentRef == parentRef &&
          SameNameIgnoringAsciiCase(r.name, component)) {
        number = n;
        found = true;
      }
    }
    if (!found) return false;
    pos = end;
  }
  return true;
}

size_t SimulatedNtfsVolume::FileCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->inUse;
}

namespace {

// One open handle on a simulated volume.
class SimulatedDevice : public VolumeDevice {
 public:
  explicit SimulatedDevice(std::shared_ptr<SimulatedNtfsVolume::State> state) : state_(std::move(state)) {}
  ~SimulatedDevice() override { Close(); }

  uint32_t IoControl(uint32_t code, std::span<const std::byte> input, std::span<std::byte> output,
                     uint32_t& bytesReturned) override {
    bytesReturned = 0;
    std::unique_lock lock(state_->mutex);
    if (closed_) return kErrorInvalidHandle;
    if (!state_->connected) return kErrorDeviceNotConnected;
    switch (code) {
      case kFsctlQueryUsnJournal:
        return Query(output, bytesReturned);
      case kFsctlCreateUsnJournal:
        return Create(input);
      case kFsctlDeleteUsnJournal:
        return Delete(input);
      case kFsctlEnumUsnData:
        return Enumerate(lock, input, output, bytesReturned);
      case kFsctlReadUsnJournal:
        return Read(lock, input, output, bytesReturned);
      default:
        return kErrorInvalidParameter;  // ERROR_INVALID_FUNCTION would do as well
    }
  }

  void CancelIo() override {
    {
      std::lock_guard lock(state_->mutex);
      ++state_->cancelEpoch;
    }
    state_->readReleased.notify_all();
  }

  uint32_t Close() override {
    std::lock_guard lock(state_->mutex);
    if (closed_) return kErrorInvalidHandle;
    closed_ = true;
    return state_->closeError;
  }

 private:
  using State = SimulatedNtfsVolume::State;

  uint32_t Query(std::span<std::byte> output, uint32_t& bytesReturned) {
    if (state_->unsupported) return kErrorNotSupported;
    if (state_->failQueries > 0) {
      --state_->failQueries;
      return state_->failQueryError;
    }
    if (!state_->journal.active) return kErrorJournalNotActive;
    if (output.size() < usn::JournalData::kSize) return kErrorInsufficientBuffer;
    const auto& j = state_->journal;
    usn::JournalData data;
    data.usnJournalId = j.id;
    data.firstUsn = j.firstUsn;
    data.nextUsn = j.nextUsn;
    data.lowestValidUsn = j.firstUsn;
    data.maxUsn = 0x7FFFFFFFFFFF0000ll;
    data.maximumSize = j.maximumSize;
    data.allocationDelta = j.allocationDelta;
    usn::Encode(data, output.first<usn::JournalData::kSize>());
    bytesReturned = usn::JournalData::kSize;
    return kErrorSuccess;
  }

  uint32_t Create(std::span<const std::byte> input) {
    if (state_->unsupported) return kErrorNotSupported;
    if (input.size() < usn::CreateJournalData::kSize) return kErrorInvalidParameter;
    const usn::CreateJournalData d = usn::DecodeCreateJournalData(input.first<usn::CreateJournalData::kSize>());
    if (state_->journal.active) {
      // Creating over an active journal only changes its sizes.
      state_->journal.maximumSize = d.maximumSize;
      state_->journal.allocationDelta = d.allocationDelta;
    } else {
      state_->StartJournal(d.maximumSize, d.allocationDelta);
    }
    return kErrorSuccess;
  }

  uint32_t Delete(std::span<const std::byte> input) {
    if (state_->unsupported) return kErrorNotSupported;
    if (input.size() < usn::DeleteJournalData::kSize) return kErrorInvalidParameter;
    if (!state_->journal.active) return kErrorJournalNotActive;
    const usn::DeleteJournalData d = usn::DecodeDeleteJournalData(input.first<usn::DeleteJournalData::kSize>());
    if (d.usnJournalId != state_->journal.id) return kErrorInvalidParameter;
    state_->journal.active = false;
    state_->entries.clear();
    return kErrorSuccess;
  }

  uint32_t Enumerate(std::unique_lock<std::mutex>& lock, std::span<const std::byte> input, std::span<std::byte> output,
                     uint32_t& bytesReturned) {
    const int call = state_->enumCalls++;
    if (auto hook = state_->enumHooks.find(call); hook != state_->enumHooks.end()) {
      auto fn = std::move(hook->second);
      state_->enumHooks.erase(hook);
      lock.unlock();
      fn();
      lock.lock();
      if (closed_) return kErrorInvalidHandle;
      if (!state_->connected) return kErrorDeviceNotConnected;
    }
    if (state_->unsupported) return kErrorNotSupported;
    if (input.size() < usn::MftEnumData::kSize) return kErrorInvalidParameter;
    if (output.size() < 8) return kErrorInsufficientBuffer;
    const usn::MftEnumData range = usn::DecodeMftEnumData(input.first<usn::MftEnumData::kSize>());

    std::optional<State::InjectedFault> fault;
    if (auto f = state_->enumFaults.find(call); f != state_->enumFaults.end()) fault = f->second;
    if (fault && fault->fault == SimulatedNtfsVolume::EnumFault::kError) return fault->error;
    if (fault && fault->fault == SimulatedNtfsVolume::EnumFault::kEightByteBlock) {
      usn::Store64(output.data(), range.startFileReferenceNumber);
      bytesReturned = 8;
      return kErrorSuccess;
    }

    // Records whose current USN lies in [LowUsn, HighUsn], from the start
    // reference's record number on.
    size_t offset = 8;
    uint64_t number = range.startFileReferenceNumber & kRecordNumberMask;
    int written = 0;
    uint64_t lastWritten = 0;
    for (; number < state_->mft.size(); ++number) {
      const State::MftRecord& r = state_->mft[number];
      if (!r.inUse || r.usn < range.lowUsn || r.usn > range.highUsn) continue;
      const size_t length = usn::RecordV2Length(r.name.size());
      if (offset + length > output.size()) {
        if (written == 0) return kErrorMoreData;  // not even one record fits
        break;
      }
      usn::RecordFields f;
      f.fileReferenceNumber = MakeRef(number, r.sequence);
      f.parentFileReferenceNumber = r.parentRef;
      f.usn = r.usn;
      f.fileAttributes = State::Attributes(r);
      usn::WriteRecordV2(f, r.name, output.data() + offset);
      if (fault && written == 1) Damage(fault->fault, output.data() + offset);
      offset += length;
      lastWritten = number;
      ++written;
    }
    if (written == 0) return kErrorHandleEof;
    usn::Store64(output.data(), lastWritten + 1);
    bytesReturned = static_cast<uint32_t>(offset);
    return kErrorSuccess;
  }

  // Spoils the record at `record` (the second of its block).
  static void Damage(SimulatedNtfsVolume::EnumFault fault, std::byte* record) {
    switch (fault) {
      case SimulatedNtfsVolume::EnumFault::kZeroLengthRecord:
        usn::Store32(record + usn::RecordV2::kRecordLength, 0);
        break;
      case SimulatedNtfsVolume::EnumFault::kOverlongRecord:
        usn::Store32(record + usn::RecordV2::kRecordLength, 0x20000);
        break;
      case SimulatedNtfsVolume::EnumFault::kNameOutsideRecord:
        usn::Store16(record + usn::RecordV2::kFileNameOffset, 0x7FF0);
        break;
      default:
        break;
    }
  }

  uint32_t Read(std::unique_lock<std::mutex>& lock, std::span<const std::byte> input, std::span<std::byte> output,
                uint32_t& bytesReturned) {
    ++state_->readCalls;
    if (state_->holdReads) {
      const uint64_t epoch = state_->cancelEpoch;
      state_->readReleased.wait(
          lock, [&] { return !state_->holdReads || state_->cancelEpoch != epoch || !state_->connected || closed_; });
      if (state_->cancelEpoch != epoch) return kErrorOperationAborted;
      if (closed_) return kErrorOperationAborted;
      if (!state_->connected) return kErrorDeviceNotConnected;
    }
    if (state_->readError != 0) return state_->readError;
    if (state_->unsupported) return kErrorNotSupported;
    if (input.size() < usn::ReadJournalData::kSize) return kErrorInvalidParameter;
    if (!state_->journal.active) return kErrorJournalNotActive;
    const usn::ReadJournalData request = usn::DecodeReadJournalData(input.first<usn::ReadJournalData::kSize>());
    // A journal that was deleted and created again has another identifier:
    // the records the caller is following are gone.
    if (request.usnJournalId != state_->journal.id) return kErrorJournalEntryDeleted;
    const auto& j = state_->journal;
    int64_t start = request.startUsn;
    if (start == 0) start = j.firstUsn;  // 0 means "from the oldest record"
    if (start < j.firstUsn) return kErrorJournalEntryDeleted;
    if (output.size() < 8) return kErrorInsufficientBuffer;

    size_t offset = 8;
    int64_t next = std::max(start, j.firstUsn);
    if (next > j.nextUsn) next = j.nextUsn;
    auto first = std::lower_bound(state_->entries.begin(), state_->entries.end(), start,
                                  [](const State::JournalEntry& e, int64_t usn) { return e.fields.usn < usn; });
    for (auto it = first; it != state_->entries.end(); ++it) {
      const State::JournalEntry& e = *it;
      const size_t length = usn::RecordV2Length(e.name.size());
      const bool wanted = (e.fields.reason & request.reasonMask) != 0 &&
                          (!request.returnOnlyOnClose || (e.fields.reason & kUsnReasonClose) != 0);
      if (wanted) {
        if (offset + length > output.size()) {
          if (offset == 8) return kErrorInsufficientBuffer;
          break;
        }
        usn::WriteRecordV2(e.fields, e.name, output.data() + offset);
        offset += length;
      }
      next = e.fields.usn + static_cast<int64_t>(length);
    }
    usn::Store64(output.data(), static_cast<uint64_t>(next));
    bytesReturned = static_cast<uint32_t>(offset);
    return kErrorSuccess;
  }

  std::shared_ptr<State> state_;
  bool closed_ = false;  // Guarded by state_->mutex.
};

}  // namespace

std::unique_ptr<VolumeDevice> SimulatedNtfsVolume::Open(uint32_t access, uint32_t& error) {
  std::lock_guard lock(state_->mutex);
  if (!state_->connected) {
    error = kErrorFileNotFound;
    return nullptr;
  }
  if ((access & kGenericWrite) && state_->refuseReadWrite) {
    error = kErrorAccessDenied;
    return nullptr;
  }
  error = kErrorSuccess;
  return std::make_unique<SimulatedDevice>(state_);
}

void SimulatedVolumeDevices::Mount(char16_t letter, SimulatedNtfsVolume& volume) {
  std::lock_guard lock(mutex_);
  if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - 32);
  if (letter >= u'A' && letter <= u'Z') volumes_[letter - u'A'] = &volume;
}

void SimulatedVolumeDevices::Unmount(char16_t letter) {
  std::lock_guard lock(mutex_);
  if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - 32);
  if (letter >= u'A' && letter <= u'Z') volumes_[letter - u'A'] = nullptr;
}

std::unique_ptr<VolumeDevice> SimulatedVolumeDevices::Open(std::u16string_view devicePath, uint32_t access,
                                                           uint32_t& error) {
  // Only "\\.\X:" names a volume device.
  error = kErrorFileNotFound;
  if (devicePath.size() != 6 || devicePath.substr(0, 4) != u"\\\\.\\" || devicePath[5] != u':') return nullptr;
  char16_t letter = devicePath[4];
  if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - 32);
  if (letter < u'A' || letter > u'Z') return nullptr;
  std::lock_guard lock(mutex_);
  if (volumes_[letter - u'A'] == nullptr) return nullptr;
  return volumes_[letter - u'A']->Open(access, error);
}

}  // namespace quillmor
