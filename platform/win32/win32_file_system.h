// The FileSystem interface over the Win32 file API (wide functions only).
#pragma once

#include "platform/file_system.h"

namespace quillmor {

class Win32FileSystem : public FileSystem {
 public:
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
};

}  // namespace quillmor
