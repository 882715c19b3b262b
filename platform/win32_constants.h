// Win32 numbers the portable code needs, spelled out so that no portable file
// includes <windows.h>. Every value is the one the Windows SDK defines.
#pragma once

#include <cstdint>

namespace quillmor::win32 {

// GetLastError codes.
inline constexpr uint32_t kErrorSuccess = 0;
inline constexpr uint32_t kErrorInvalidFunction = 1;
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorPathNotFound = 3;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorNotReady = 21;
inline constexpr uint32_t kErrorCrc = 23;
inline constexpr uint32_t kErrorHandleEof = 38;
inline constexpr uint32_t kErrorNotSupported = 50;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorInsufficientBuffer = 122;
inline constexpr uint32_t kErrorAlreadyExists = 183;
inline constexpr uint32_t kErrorMoreData = 234;
inline constexpr uint32_t kErrorOperationAborted = 995;
inline constexpr uint32_t kErrorIoDevice = 1117;
inline constexpr uint32_t kErrorDeviceNotConnected = 1167;
inline constexpr uint32_t kErrorJournalDeleteInProgress = 1178;
inline constexpr uint32_t kErrorJournalNotActive = 1179;
inline constexpr uint32_t kErrorJournalEntryDeleted = 1181;

// CreateFileW.
inline constexpr uint32_t kGenericRead = 0x80000000u;
inline constexpr uint32_t kGenericWrite = 0x40000000u;

// File attributes.
inline constexpr uint32_t kFileAttributeReadOnly = 0x1;
inline constexpr uint32_t kFileAttributeHidden = 0x2;
inline constexpr uint32_t kFileAttributeSystem = 0x4;
inline constexpr uint32_t kFileAttributeDirectory = 0x10;
inline constexpr uint32_t kFileAttributeArchive = 0x20;
inline constexpr uint32_t kFileAttributeNormal = 0x80;
// A junction, a symbolic link (on POSIX too) or another reparse point.
inline constexpr uint32_t kFileAttributeReparsePoint = 0x400;
inline constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;

// GetDriveTypeW.
inline constexpr uint32_t kDriveUnknown = 0;
inline constexpr uint32_t kDriveNoRootDir = 1;
inline constexpr uint32_t kDriveRemovable = 2;
inline constexpr uint32_t kDriveFixed = 3;
inline constexpr uint32_t kDriveRemote = 4;
inline constexpr uint32_t kDriveCdrom = 5;
inline constexpr uint32_t kDriveRamdisk = 6;

// Change-journal controls (DeviceIoControl codes).
inline constexpr uint32_t kFsctlEnumUsnData = 0x900B3;
inline constexpr uint32_t kFsctlReadUsnJournal = 0x900BB;
inline constexpr uint32_t kFsctlCreateUsnJournal = 0x900E7;
inline constexpr uint32_t kFsctlQueryUsnJournal = 0x900F4;
inline constexpr uint32_t kFsctlDeleteUsnJournal = 0x900F8;

// USN_RECORD Reason bits.
inline constexpr uint32_t kUsnReasonDataExtend = 0x2;
inline constexpr uint32_t kUsnReasonFileCreate = 0x100;
inline constexpr uint32_t kUsnReasonFileDelete = 0x200;
inline constexpr uint32_t kUsnReasonRenameOldName = 0x1000;
inline constexpr uint32_t kUsnReasonRenameNewName = 0x2000;
inline constexpr uint32_t kUsnReasonClose = 0x80000000u;

inline constexpr uint32_t kUsnDeleteFlagDelete = 1;

// Code pages.
inline constexpr uint32_t kCodePageGbk = 936;
inline constexpr uint32_t kCodePageUtf8 = 65001;

// RegisterHotKey modifiers.
inline constexpr uint32_t kModAlt = 1;
inline constexpr uint32_t kModControl = 2;
inline constexpr uint32_t kModShift = 4;
inline constexpr uint32_t kModWin = 8;

}  // namespace quillmor::win32
