#include "platform/sim/mounted_file_system.h"

#include <vector>

#include "platform/win32_constants.h"

namespace quillmor {
namespace {

int LetterIndex(char16_t letter) {
  if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - 32);
  return (letter >= u'A' && letter <= u'Z') ? letter - u'A' : -1;
}

// A listing of names captured from a simulated volume.
class VectorLister : public DirectoryLister {
 public:
  VectorLister(std::vector<std::u16string> names, std::vector<uint32_t> attributes)
      : names_(std::move(names)), attributes_(std::move(attributes)) {}
  bool Next(DirectoryEntry& entry) override {
    if (next_ >= names_.size()) return false;
    entry.name = names_[next_];
    entry.info = FileInfo{};
    entry.info.attributes = attributes_[next_];
    ++next_;
    return true;
  }

 private:
  std::vector<std::u16string> names_;
  std::vector<uint32_t> attributes_;
  size_t next_ = 0;
};

}  // namespace

void MountedFileSystem::MountNtfs(char16_t letter, SimulatedNtfsVolume& volume) {
  const int i = LetterIndex(letter);
  std::lock_guard lock(mutex_);
  if (i >= 0) volumes_[i] = &volume;
}

void MountedFileSystem::Unmount(char16_t letter) {
  const int i = LetterIndex(letter);
  std::lock_guard lock(mutex_);
  if (i >= 0) volumes_[i] = nullptr;
}

SimulatedNtfsVolume* MountedFileSystem::VolumeFor(std::u16string_view path) {
  if (path.size() < 2 || path[1] != u':') return nullptr;
  const int i = LetterIndex(path[0]);
  std::lock_guard lock(mutex_);
  return i >= 0 ? volumes_[i] : nullptr;
}

uint32_t MountedFileSystem::LogicalDrives() {
  uint32_t mask = base_.LogicalDrives();
  std::lock_guard lock(mutex_);
  for (int i = 0; i < 26; ++i) {
    if (volumes_[i] == nullptr) continue;
    mask &= ~(1u << i);
    if (volumes_[i]->Connected()) mask |= 1u << i;
  }
  return mask;
}

uint32_t MountedFileSystem::DriveType(std::u16string_view root) {
  if (SimulatedNtfsVolume* v = VolumeFor(root)) return v->Connected() ? v->DriveType() : win32::kDriveNoRootDir;
  return base_.DriveType(root);
}

bool MountedFileSystem::GetVolumeInformation(std::u16string_view root, VolumeInformation& out) {
  if (SimulatedNtfsVolume* v = VolumeFor(root)) {
    if (!v->Connected()) return false;
    out = VolumeInformation{u"NTFS", 0x5EED, 255, 0x2000000};  // FILE_SUPPORTS_USN_JOURNAL
    return true;
  }
  return base_.GetVolumeInformation(root, out);
}

std::unique_ptr<DirectoryLister> MountedFileSystem::ListDirectory(std::u16string_view directory) {
  if (SimulatedNtfsVolume* v = VolumeFor(directory)) {
    std::vector<std::u16string> names;
    std::vector<uint32_t> attributes;
    if (!v->ListDirectory(directory.substr(2), names, attributes)) return nullptr;
    return std::make_unique<VectorLister>(std::move(names), std::move(attributes));
  }
  return base_.ListDirectory(directory);
}

uint32_t MountedFileSystem::GetFileAttributes(std::u16string_view path) {
  if (SimulatedNtfsVolume* v = VolumeFor(path)) {
    uint32_t attributes = 0;
    return v->Attributes(path.substr(2), attributes) ? attributes : win32::kInvalidFileAttributes;
  }
  return base_.GetFileAttributes(path);
}

bool MountedFileSystem::GetFileInfo(std::u16string_view path, FileInfo& out) {
  if (SimulatedNtfsVolume* v = VolumeFor(path)) {
    out = FileInfo{};
    return v->Attributes(path.substr(2), out.attributes);
  }
  return base_.GetFileInfo(path, out);
}

// The simulated volumes hold names only; file contents live on the base.
std::unique_ptr<ReadableFile> MountedFileSystem::OpenForRead(std::u16string_view path) {
  return VolumeFor(path) ? nullptr : base_.OpenForRead(path);
}
bool MountedFileSystem::ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) {
  return !VolumeFor(path) && base_.ReadFile(path, bytes, maxBytes);
}
bool MountedFileSystem::WriteFile(std::u16string_view path, std::string_view bytes) {
  return !VolumeFor(path) && base_.WriteFile(path, bytes);
}
bool MountedFileSystem::AppendFile(std::u16string_view path, std::string_view bytes) {
  return !VolumeFor(path) && base_.AppendFile(path, bytes);
}
bool MountedFileSystem::ReplaceFile(std::u16string_view from, std::u16string_view to) {
  return !VolumeFor(from) && !VolumeFor(to) && base_.ReplaceFile(from, to);
}
bool MountedFileSystem::DeleteFile(std::u16string_view path) { return !VolumeFor(path) && base_.DeleteFile(path); }
bool MountedFileSystem::CreateDirectory(std::u16string_view path) {
  return !VolumeFor(path) && base_.CreateDirectory(path);
}

}  // namespace quillmor
