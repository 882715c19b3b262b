// A FileSystem that hands every call to another one. Adapters and test fakes
// derive from it and override only the calls they change: a drive mapping
// rewrites paths, a fake injects a fault into one call.
#pragma once

#include "platform/file_system.h"

namespace quillmor {

// Thread-safe as far as the file system it forwards to is.
class ForwardingFileSystem : public FileSystem {
 public:
  // `base` must outlive this object.
  explicit ForwardingFileSystem(FileSystem& base) : base_(base) {}

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
  std::unique_ptr<ReadableFile> OpenForRead(std::u16string_view path) override { return base_.OpenForRead(path); }
  bool ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) override {
    return base_.ReadFile(path, bytes, maxBytes);
  }
  bool WriteFile(std::u16string_view path, std::string_view bytes) override { return base_.WriteFile(path, bytes); }
  bool AppendFile(std::u16string_view path, std::string_view bytes) override { return base_.AppendFile(path, bytes); }
  bool ReplaceFile(std::u16string_view from, std::u16string_view to) override { return base_.ReplaceFile(from, to); }
  bool DeleteFile(std::u16string_view path) override { return base_.DeleteFile(path); }
  bool CreateDirectory(std::u16string_view path) override { return base_.CreateDirectory(path); }

 protected:
  FileSystem& base() { return base_; }

 private:
  FileSystem& base_;
};

}  // namespace quillmor
