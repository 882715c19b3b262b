// A few files and folders in memory, enough for the settings readers: whole
// files, folder listings and created folders. Paths are compared exactly.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quillmor {

class SmallMemoryFiles : public FileSystem {
 public:
  static constexpr uint32_t kDirectory = 0x10;

  void Put(std::u16string_view path, std::string_view bytes) {
    std::lock_guard lock(mutex_);
    files_[std::u16string(path)] = std::string(bytes);
  }
  bool Get(std::u16string_view path, std::string& bytes) {
    std::lock_guard lock(mutex_);
    const auto it = files_.find(std::u16string(path));
    if (it == files_.end()) return false;
    bytes = it->second;
    return true;
  }
  void AddDirectory(std::u16string_view path) {
    std::lock_guard lock(mutex_);
    directories_.emplace(path);
  }
  bool HasDirectory(std::u16string_view path) {
    std::lock_guard lock(mutex_);
    return directories_.count(std::u16string(path)) != 0;
  }

  uint32_t LogicalDrives() override { return 0; }
  uint32_t DriveType(std::u16string_view) override { return 0; }
  bool GetVolumeInformation(std::u16string_view, VolumeInformation&) override { return false; }

  std::unique_ptr<DirectoryLister> ListDirectory(std::u16string_view directory) override {
    std::lock_guard lock(mutex_);
    if (directories_.count(std::u16string(directory)) == 0) return nullptr;
    auto lister = std::make_unique<Lister>();
    const std::u16string prefix = std::u16string(directory) + u'\\';
    auto add = [&](const std::u16string& path, FileInfo info) {
      if (path.size() > prefix.size() && path.starts_with(prefix) && path.find(u'\\', prefix.size()) == path.npos) {
        lister->entries.push_back({path.substr(prefix.size()), info});
      }
    };
    for (const auto& [path, bytes] : files_) add(path, FileInfo{0x20, bytes.size(), 0, 0});
    for (const auto& path : directories_) add(path, FileInfo{kDirectory, 0, 0, 0});
    return lister;
  }
  uint32_t GetFileAttributes(std::u16string_view path) override {
    FileInfo info;
    return GetFileInfo(path, info) ? info.attributes : 0xFFFFFFFFu;
  }
  bool GetFileInfo(std::u16string_view path, FileInfo& out) override {
    std::lock_guard lock(mutex_);
    if (const auto it = files_.find(std::u16string(path)); it != files_.end()) {
      out = FileInfo{0x20, it->second.size(), 0, 0};
      return true;
    }
    if (directories_.count(std::u16string(path)) == 0) return false;
    out = FileInfo{kDirectory, 0, 0, 0};
    return true;
  }
  std::unique_ptr<ReadableFile> OpenForRead(std::u16string_view) override { return nullptr; }

  bool ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) override {
    return Get(path, bytes) && bytes.size() <= maxBytes;
  }
  bool WriteFile(std::u16string_view path, std::string_view bytes) override {
    if (refuseWrites) return false;
    Put(path, bytes);
    return true;
  }
  bool AppendFile(std::u16string_view path, std::string_view bytes) override {
    if (refuseWrites) return false;
    std::lock_guard lock(mutex_);
    files_[std::u16string(path)].append(bytes);
    return true;
  }
  bool ReplaceFile(std::u16string_view from, std::u16string_view to) override {
    std::lock_guard lock(mutex_);
    const auto it = files_.find(std::u16string(from));
    if (it == files_.end()) return false;
    files_[std::u16string(to)] = std::move(it->second);
    files_.erase(it);
    return true;
  }
  bool DeleteFile(std::u16string_view path) override {
    std::lock_guard lock(mutex_);
    return files_.erase(std::u16string(path)) != 0;
  }
  bool CreateDirectory(std::u16string_view path) override {
    std::lock_guard lock(mutex_);
    return directories_.emplace(path).second;
  }

  std::atomic<bool> refuseWrites{false};

 private:
  struct Lister : DirectoryLister {
    std::vector<DirectoryEntry> entries;
    size_t next = 0;
    bool Next(DirectoryEntry& entry) override {
      if (next >= entries.size()) return false;
      entry = entries[next++];
      return true;
    }
  };

  std::mutex mutex_;
  std::map<std::u16string, std::string> files_;  // Guarded by mutex_.
  std::set<std::u16string> directories_;         // Guarded by mutex_.
};

}  // namespace quillmor
