// Files, directories and drive letters, as the Win32 file API sees them. Paths
// are UTF-16 Windows paths ("E:\docs\a.txt"); implementations that are not
// Windows map them onto their own storage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace quillmor {

// WIN32_FIND_DATAW and WIN32_FILE_ATTRIBUTE_DATA, the parts we read. Times are
// FILETIME values (100-ns units since 1601-01-01 UTC).
struct FileInfo {
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint64_t creationTime = 0;
  uint64_t lastWriteTime = 0;
};

struct DirectoryEntry {
  std::u16string name;  // cFileName: the last path component
  FileInfo info;
};

// Which directory is meant, the same whatever path (links included) led to
// it: device and inode number on POSIX, volume serial number and file index
// on Windows.
struct DirectoryIdentity {
  uint64_t volume = 0;
  uint64_t file = 0;
  bool operator==(const DirectoryIdentity&) const = default;
};

// One FindFirstFileW/FindNextFileW sequence. Not thread-safe; one per walk step.
class DirectoryLister {
 public:
  virtual ~DirectoryLister() = default;
  // Fills `entry` with the next entry ("." and ".." included where the file
  // system reports them) and returns true, or returns false at the end.
  virtual bool Next(DirectoryEntry& entry) = 0;
  // The identity of the directory listed, the target of any link the path
  // went through. False when it cannot be told (the default).
  virtual bool Identity(DirectoryIdentity& /*out*/) { return false; }
};

// A regular file opened for reading (CreateFileW with GENERIC_READ, shared
// for read, write and delete). Not thread-safe.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  virtual uint64_t Size() = 0;
  // Reads up to out.size() bytes at `offset`; returns the count (0 at the end
  // or on error).
  virtual size_t Read(uint64_t offset, std::span<std::byte> out) = 0;
  // Maps the whole file read-only (CreateFileMappingW + MapViewOfFile; on
  // POSIX a private copy, since a mapping another process truncates raises
  // SIGBUS). An empty span when it cannot be mapped or is empty; the mapping
  // lives until the file is destroyed, and later calls return the same span.
  virtual std::span<const std::byte> Map() = 0;
};

// GetVolumeInformationW, the parts we read.
struct VolumeInformation {
  std::u16string fileSystemName;
  uint32_t serialNumber = 0;
  uint32_t maximumComponentLength = 0;
  uint32_t flags = 0;
  std::u16string volumeName;  // the label, often empty
};

// Thread-safe; every call may block on the disk.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // --- Drives ---
  // GetLogicalDrives: bit i set for the drive letter 'A' + i.
  virtual uint32_t LogicalDrives() = 0;
  // GetDriveTypeW of a root such as "E:\": one of the kDrive* codes.
  virtual uint32_t DriveType(std::u16string_view root) = 0;
  // GetVolumeInformationW of a root such as "E:\". False when it fails.
  virtual bool GetVolumeInformation(std::u16string_view root, VolumeInformation& out) = 0;

  // --- Names and attributes ---
  // FindFirstFileW on `directory` + "\*". nullptr when it returns
  // INVALID_HANDLE_VALUE (missing, unreadable, not a directory, or a pattern
  // longer than MAX_PATH allows).
  virtual std::unique_ptr<DirectoryLister> ListDirectory(std::u16string_view directory) = 0;
  // GetFileAttributesW: kInvalidFileAttributes when the path does not answer.
  virtual uint32_t GetFileAttributes(std::u16string_view path) = 0;
  // GetFileAttributesExW. False when the path does not answer.
  virtual bool GetFileInfo(std::u16string_view path, FileInfo& out) = 0;

  // Opens a regular file for reading without blocking. nullptr when it cannot
  // be opened or is anything else: a directory, a pipe or FIFO, a device (a
  // reader would wait on them forever or read without end).
  virtual std::unique_ptr<ReadableFile> OpenForRead(std::u16string_view path) = 0;

  // --- Whole files, for the settings files ---
  // Reads all bytes of a regular file of at most `maxBytes` bytes. False when
  // the file cannot be opened or read, holds more than `maxBytes` bytes, or is
  // no regular file: a pipe, a device or a link to one is refused without
  // waiting for a writer and without reading it.
  virtual bool ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) = 0;
  // Creates or truncates the file and writes `bytes`. False on any failure
  // (the file may then be partly written: write to a temporary file and
  // ReplaceFile when the old content must survive).
  virtual bool WriteFile(std::u16string_view path, std::string_view bytes) = 0;
  // Appends to the file, creating it when missing. False on failure.
  virtual bool AppendFile(std::u16string_view path, std::string_view bytes) = 0;
  // MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH):
  // `to` is replaced in one step.
  virtual bool ReplaceFile(std::u16string_view from, std::u16string_view to) = 0;
  virtual bool DeleteFile(std::u16string_view path) = 0;
  // CreateDirectoryW. False when it fails, also when the directory exists.
  virtual bool CreateDirectory(std::u16string_view path) = 0;
};

}  // namespace quillmor
