// A file system that serves some drive letters from simulated NTFS volumes
// and everything else from another file system, so that one test can hold an
// NTFS drive (indexed through its journal) beside walked drives.
#pragma once

#include <array>
#include <mutex>

#include "platform/file_system.h"
#include "platform/sim/simulated_ntfs_volume.h"

namespace quillmor {

class MountedFileSystem : public FileSystem {
 public:
  explicit MountedFileSystem(FileSystem& base) : base_(base) {}

  // `letter` now answers as an NTFS drive holding `volume`: of the volume's
  // drive type (fixed unless set), named "NTFS", its root and directories
  // listed from the volume's records. The letter vanishes while the volume is
  // disconnected.
  void MountNtfs(char16_t letter, SimulatedNtfsVolume& volume);
  void Unmount(char16_t letter);

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
  // The simulated volume a path's drive letter names, or null.
  SimulatedNtfsVolume* VolumeFor(std::u16string_view path);

  FileSystem& base_;
  std::mutex mutex_;
  std::array<SimulatedNtfsVolume*, 26> volumes_{};  // Guarded by mutex_.
};

}  // namespace quillmor
