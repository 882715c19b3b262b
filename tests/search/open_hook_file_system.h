// A file system that forwards to another and calls a hook before every
// OpenForRead: tests count the files a search opens, or press Escape in the
// middle of a scan.
#pragma once

#include <atomic>
#include <functional>

#include "platform/file_system.h"

namespace quillmor {

class OpenHookFileSystem : public FileSystem {
 public:
  explicit OpenHookFileSystem(FileSystem& base) : base_(base) {}

  // Called with the number of the open (1 for the first). Set before use.
  std::function<void(int open)> beforeOpen;
  std::atomic<int> opens{0};

  std::unique_ptr<ReadableFile> OpenForRead(std::u16string_view path) override {
    const int open = ++opens;
    if (beforeOpen) beforeOpen(open);
    return base_.OpenForRead(path);
  }

  uint32_t LogicalDrives() override { return base_.LogicalDrives(); }
  uint32_t DriveType(std::u16string_view root) override { return base_.DriveType(root); }
  bool GetVolumeInformation(std::u16string_view root, VolumeInformation& out) override {
    return base_.GetVolumeInformation(root, out);
  }
  std::unique_ptr<DirectoryLister> ListDirectory(std::u16string_view directory) override {
    return base_.ListDirectory(directory);
  }
  uint32_t GetFileAttributes(std::u16string_view path) override { return base_.GetFileAttributes(path); }
  bool GetFileInfo(std::u16string_view path, FileInfo& out) override { return base_.GetFileInfo(path, out); }
  bool ReadFile(std::u16string_view path, std::string& bytes) override { return base_.ReadFile(path, bytes); }
  bool WriteFile(std::u16string_view path, std::string_view bytes) override { return base_.WriteFile(path, bytes); }
  bool AppendFile(std::u16string_view path, std::string_view bytes) override { return base_.AppendFile(path, bytes); }
  bool ReplaceFile(std::u16string_view from, std::u16string_view to) override { return base_.ReplaceFile(from, to); }
  bool DeleteFile(std::u16string_view path) override { return base_.DeleteFile(path); }
  bool CreateDirectory(std::u16string_view path) override { return base_.CreateDirectory(path); }

 private:
  FileSystem& base_;
};

}  // namespace quillmor
