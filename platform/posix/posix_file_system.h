// The Win32 file API over a POSIX file system. Drive letters are mapped onto
// directories ("E:\a\b" is "<directory>/a/b"); any other path is a POSIX path
// whose backslashes become slashes, so that the configuration directory
// (under $HOME) works unchanged.
#pragma once

#include <array>
#include <optional>
#include <shared_mutex>
#include <string>

#include "platform/file_system.h"

namespace quillmor {

class PosixFileSystem : public FileSystem {
 public:
  // Serves `letter` ('A' to 'Z', either case) from `directory`, reported with
  // the file-system name `fileSystemName`. Replaces an earlier mapping of the
  // letter. False for a letter outside A to Z.
  bool MapDrive(char16_t letter, std::string directory, std::u16string fileSystemName = u"ext4");
  // The letter stops existing, as when a drive is removed.
  void UnmapDrive(char16_t letter);

  // The POSIX path a Windows path names. False for a path on a drive letter
  // that is not mapped.
  bool NativePath(std::u16string_view path, std::string& out) const;

  uint32_t LogicalDrives() override;
  uint32_t DriveType(std::u16string_view root) override;
  bool GetVolumeInformation(std::u16string_view root, VolumeInformation& out) override;

  std::unique_ptr<DirectoryLister> ListDirectory(std::u16string_view directory) override;
  uint32_t GetFileAttributes(std::u16string_view path) override;
  bool GetFileInfo(std::u16string_view path, FileInfo& out) override;
  std::unique_ptr<ReadableFile> OpenForRead(std::u16string_view path) override;

  bool ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) override;
  bool WriteFile(std::u16string_view path, std::string_view bytes) override;
  bool AppendFile(std::u16string_view path, std::string_view bytes) override;
  bool ReplaceFile(std::u16string_view from, std::u16string_view to) override;
  bool DeleteFile(std::u16string_view path) override;
  bool CreateDirectory(std::u16string_view path) override;

 private:
  struct Drive {
    std::string directory;
    std::u16string fileSystemName;
  };
  // The mapping of the letter a root such as "E:\" or "E:" names.
  std::optional<Drive> RootDrive(std::u16string_view root) const;

  mutable std::shared_mutex mutex_;
  std::array<std::optional<Drive>, 26> drives_;  // Guarded by mutex_.
};

}  // namespace quillmor
