// The portable change-journal layouts must agree byte for byte with what
// DeviceIoControl reads and writes. MinGW's headers carry only the
// unversioned structures, which are the V0 inputs and the V2 record.
#include <windows.h>
#include <winioctl.h>

#include <cstddef>

#include "platform/usn_layout.h"
#include "platform/win32_constants.h"

namespace quillmor::usn {

static_assert(sizeof(USN_JOURNAL_DATA) == JournalData::kSize);
static_assert(offsetof(USN_JOURNAL_DATA, UsnJournalID) == JournalData::kUsnJournalId);
static_assert(offsetof(USN_JOURNAL_DATA, FirstUsn) == JournalData::kFirstUsn);
static_assert(offsetof(USN_JOURNAL_DATA, NextUsn) == JournalData::kNextUsn);
static_assert(offsetof(USN_JOURNAL_DATA, LowestValidUsn) == JournalData::kLowestValidUsn);
static_assert(offsetof(USN_JOURNAL_DATA, MaxUsn) == JournalData::kMaxUsn);
static_assert(offsetof(USN_JOURNAL_DATA, MaximumSize) == JournalData::kMaximumSize);
static_assert(offsetof(USN_JOURNAL_DATA, AllocationDelta) == JournalData::kAllocationDelta);

static_assert(sizeof(CREATE_USN_JOURNAL_DATA) == CreateJournalData::kSize);
static_assert(offsetof(CREATE_USN_JOURNAL_DATA, MaximumSize) == CreateJournalData::kMaximumSize);
static_assert(offsetof(CREATE_USN_JOURNAL_DATA, AllocationDelta) == CreateJournalData::kAllocationDelta);

static_assert(sizeof(DELETE_USN_JOURNAL_DATA) == DeleteJournalData::kSize);
static_assert(offsetof(DELETE_USN_JOURNAL_DATA, UsnJournalID) == DeleteJournalData::kUsnJournalId);
static_assert(offsetof(DELETE_USN_JOURNAL_DATA, DeleteFlags) == DeleteJournalData::kDeleteFlags);

static_assert(sizeof(MFT_ENUM_DATA) == MftEnumData::kSize);
static_assert(offsetof(MFT_ENUM_DATA, StartFileReferenceNumber) == MftEnumData::kStartFileReferenceNumber);
static_assert(offsetof(MFT_ENUM_DATA, LowUsn) == MftEnumData::kLowUsn);
static_assert(offsetof(MFT_ENUM_DATA, HighUsn) == MftEnumData::kHighUsn);

static_assert(sizeof(READ_USN_JOURNAL_DATA) == ReadJournalData::kSize);
static_assert(offsetof(READ_USN_JOURNAL_DATA, StartUsn) == ReadJournalData::kStartUsn);
static_assert(offsetof(READ_USN_JOURNAL_DATA, ReasonMask) == ReadJournalData::kReasonMask);
static_assert(offsetof(READ_USN_JOURNAL_DATA, ReturnOnlyOnClose) == ReadJournalData::kReturnOnlyOnClose);
static_assert(offsetof(READ_USN_JOURNAL_DATA, Timeout) == ReadJournalData::kTimeout);
static_assert(offsetof(READ_USN_JOURNAL_DATA, BytesToWaitFor) == ReadJournalData::kBytesToWaitFor);
static_assert(offsetof(READ_USN_JOURNAL_DATA, UsnJournalID) == ReadJournalData::kUsnJournalId);

static_assert(sizeof(USN_RECORD) == RecordV2::kStructSize);
static_assert(offsetof(USN_RECORD, RecordLength) == RecordV2::kRecordLength);
static_assert(offsetof(USN_RECORD, MajorVersion) == RecordV2::kMajorVersion);
static_assert(offsetof(USN_RECORD, MinorVersion) == RecordV2::kMinorVersion);
static_assert(offsetof(USN_RECORD, FileReferenceNumber) == RecordV2::kFileReferenceNumber);
static_assert(offsetof(USN_RECORD, ParentFileReferenceNumber) == RecordV2::kParentFileReferenceNumber);
static_assert(offsetof(USN_RECORD, Usn) == RecordV2::kUsn);
static_assert(offsetof(USN_RECORD, TimeStamp) == RecordV2::kTimeStamp);
static_assert(offsetof(USN_RECORD, Reason) == RecordV2::kReason);
static_assert(offsetof(USN_RECORD, SourceInfo) == RecordV2::kSourceInfo);
static_assert(offsetof(USN_RECORD, SecurityId) == RecordV2::kSecurityId);
static_assert(offsetof(USN_RECORD, FileAttributes) == RecordV2::kFileAttributes);
static_assert(offsetof(USN_RECORD, FileNameLength) == RecordV2::kFileNameLength);
static_assert(offsetof(USN_RECORD, FileNameOffset) == RecordV2::kFileNameOffset);
static_assert(offsetof(USN_RECORD, FileName) == RecordV2::kFileName);

static_assert(FSCTL_ENUM_USN_DATA == win32::kFsctlEnumUsnData);
static_assert(FSCTL_READ_USN_JOURNAL == win32::kFsctlReadUsnJournal);
static_assert(FSCTL_CREATE_USN_JOURNAL == win32::kFsctlCreateUsnJournal);
static_assert(FSCTL_QUERY_USN_JOURNAL == win32::kFsctlQueryUsnJournal);
static_assert(FSCTL_DELETE_USN_JOURNAL == win32::kFsctlDeleteUsnJournal);
static_assert(USN_REASON_FILE_CREATE == win32::kUsnReasonFileCreate);
static_assert(USN_REASON_FILE_DELETE == win32::kUsnReasonFileDelete);
static_assert(USN_REASON_RENAME_OLD_NAME == win32::kUsnReasonRenameOldName);
static_assert(USN_REASON_RENAME_NEW_NAME == win32::kUsnReasonRenameNewName);
static_assert(USN_REASON_CLOSE == win32::kUsnReasonClose);
static_assert(ERROR_HANDLE_EOF == win32::kErrorHandleEof);
static_assert(ERROR_JOURNAL_NOT_ACTIVE == win32::kErrorJournalNotActive);
static_assert(ERROR_JOURNAL_ENTRY_DELETED == win32::kErrorJournalEntryDeleted);
static_assert(ERROR_DEVICE_NOT_CONNECTED == win32::kErrorDeviceNotConnected);
static_assert(ERROR_OPERATION_ABORTED == win32::kErrorOperationAborted);
static_assert(FILE_ATTRIBUTE_DIRECTORY == win32::kFileAttributeDirectory);

}  // namespace quillmor::usn
