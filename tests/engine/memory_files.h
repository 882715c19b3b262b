// In-memory files for the engine's tests and fuzz targets: a ReadableFile
// over bytes, and a FileSystem of such files with a few injectable faults.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/win32_constants.h"

namespace quillmor::testing {

// Reads from a byte string it does not own; counts what is read.
class MemoryReadableFile : public ReadableFile {
 public:
  explicit MemoryReadableFile(std::string_view bytes) : bytes_(bytes) {}

  uint64_t Size() override { return bytes_.size(); }
  size_t Read(uint64_t offset, std::span<std::byte> out) override {
    if (offset >= bytes_.size()) return 0;
    const size_t n = std::min<uint64_t>(out.size(), bytes_.size() - offset);
    std::memcpy(out.data(), bytes_.data() + offset, n);
    reads.emplace_back(offset, n);
    return n;
  }
  std::span<const std::byte> Map() override { return std::as_bytes(std::span(bytes_.data(), bytes_.size())); }

  // True when some read touched [offset, offset + length).
  bool WasRead(uint64_t offset, uint64_t length) const {
    for (const auto& [at, n] : reads) {
      if (at < offset + length && offset < at + n) return true;
    }
    return false;
  }

  // True when some read started at `offset`.
  bool ReadStartedAt(uint64_t offset) const {
    for (const auto& read : reads) {
      if (read.first == offset) return true;
    }
    return false;
  }

  std::vector<std::pair<uint64_t, size_t>> reads;  // offset and length of every read

 private:
  std::string_view bytes_;
};

// Files by path; directories are a set of paths. Not thread-safe.
class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::u16string, std::string> files;
  std::set<std::u16string> directories;
  std::set<std::u16string> unreadable;  // exist, but cannot be opened or read
  bool failWrites = false;

  uint32_t LogicalDrives() override { return 0; }
  uint32_t DriveType(std::u16string_view) override { return win32::kDriveNoRootDir; }
  bool GetVolumeInformation(std::u16string_view, VolumeInformation&) override { return false; }
  std::unique_ptr<DirectoryLister> ListDirectory(std::u16string_view) override { return nullptr; }

  uint32_t GetFileAttributes(std::u16string_view path) override {
    const std::u16string key(path);
    if (directories.count(key)) return win32::kFileAttributeDirectory;
    if (files.count(key) || unreadable.count(key)) return win32::kFileAttributeArchive;
    return win32::kInvalidFileAttributes;
  }
  bool GetFileInfo(std::u16string_view path, FileInfo& out) override {
    out = {};
    out.attributes = GetFileAttributes(path);
    if (out.attributes == win32::kInvalidFileAttributes) return false;
    const auto it = files.find(std::u16string(path));
    if (it != files.end()) out.size = it->second.size();
    return true;
  }
  std::unique_ptr<ReadableFile> OpenForRead(std::u16string_view path) override {
    const std::u16string key(path);
    const auto it = files.find(key);
    if (it == files.end() || unreadable.count(key)) return nullptr;
    return std::make_unique<MemoryReadableFile>(it->second);
  }
  bool ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) override {
    const std::u16string key(path);
    const auto it = files.find(key);
    if (it == files.end() || unreadable.count(key) || it->second.size() > maxBytes) return false;
    bytes = it->second;
    return true;
  }
  bool WriteFile(std::u16string_view path, std::string_view bytes) override {
    if (failWrites) return false;
    files[std::u16string(path)] = std::string(bytes);
    return true;
  }
  bool AppendFile(std::u16string_view path, std::string_view bytes) override {
    if (failWrites) return false;
    files[std::u16string(path)] += bytes;
    return true;
  }
  bool ReplaceFile(std::u16string_view from, std::u16string_view to) override {
    const auto it = files.find(std::u16string(from));
    if (it == files.end()) return false;
    files[std::u16string(to)] = std::move(it->second);
    files.erase(it);
    return true;
  }
  bool DeleteFile(std::u16string_view path) override { return files.erase(std::u16string(path)) != 0; }
  bool CreateDirectory(std::u16string_view path) override { return directories.insert(std::u16string(path)).second; }
};

}  // namespace quillmor::testing
