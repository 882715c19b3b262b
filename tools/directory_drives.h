// Drive letters served from ordinary directories ("E:" is /srv/data, or
// D:\data on Windows), so that the command line can index any folder as a
// walked drive on every platform. Other paths go to the underlying file
// system unchanged.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/forwarding_file_system.h"

namespace quillmor {

class DirectoryDrives : public ForwardingFileSystem {
 public:
  // The name the mapped drives report as their file system: anything but
  // "NTFS", so that they are walked.
  static constexpr char16_t kFileSystemName[] = u"DIR";

  explicit DirectoryDrives(FileSystem& base) : ForwardingFileSystem(base) {}

  // Serves `letter` from `directory` (a path the underlying file system
  // understands). False for a letter outside A to Z.
  bool Map(char16_t letter, std::u16string directory);

  // Only the mapped letters exist.
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
  // The underlying path of `path`: a mapped drive's prefix replaced by its
  // directory; any other path as it is.
  std::u16string Underlying(std::u16string_view path) const;
  // The mapped directory of a drive letter path's letter, if any.
  const std::optional<std::u16string>& DirectoryOf(std::u16string_view path) const;

  std::array<std::optional<std::u16string>, 26> directories_;  // set before use, then read-only
};

}  // namespace quillmor
