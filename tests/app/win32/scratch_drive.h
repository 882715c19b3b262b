// Real files for window tests: a folder of the machine's disk made for one
// test and removed after it, and a file system that lets the window index
// that folder where it really is. The folder's drive shows only the way down
// to the folder and what lies in it (so its index stays small and the paths
// the window acts on are real); every other path goes to the test's
// simulated file system.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/win32_app.h"
#include "platform/file_system.h"
#include "platform/win32/win32_file_system.h"

namespace quillmor {

// Removes `path` and, for a folder, all it holds; links are removed, never
// followed.
void RemoveTree(const std::u16string& path);

class ScratchFolder {
 public:
  // A new folder under the temporary directory.
  ScratchFolder();
  // Removes the folder and everything in it (nothing outside it).
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // "C:\...\qm-fileops-<process>-<n>", without a trailing "\".
  const std::u16string& root() const { return root_; }
  std::u16string Path(std::u16string_view relative) const;
  void MakeFile(std::u16string_view relative, std::string_view content = "x") const;
  void MakeFolder(std::u16string_view relative) const;
  bool Exists(std::u16string_view relative) const;
  // The names a folder lists, as the disk spells them.
  std::vector<std::u16string> Names(std::u16string_view folder = u"") const;

 private:
  std::u16string root_;
};

class ScratchDriveFileSystem : public FileSystem {
 public:
  ScratchDriveFileSystem(FileSystem& simulated, std::u16string scratchRoot);

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
  bool OnScratchDrive(std::u16string_view path) const;
  bool MayChange(std::u16string_view path) const;
  FileSystem& For(std::u16string_view path) { return OnScratchDrive(path) ? real_ : simulated_; }

  FileSystem& simulated_;
  Win32FileSystem real_;
  std::u16string root_;
  char16_t letter_;  // upper case
};

}  // namespace quillmor
