#include "platform/sim/memory_file_system.h"

#include <algorithm>
#include <cstring>

#include "platform/win32_constants.h"

namespace quillmor {
namespace {

// The map key of a path: one kind of separator, no repeated or trailing
// separators, ASCII letters in lower case, no leading ".\" (the current
// directory is the empty key). A leading "\\" (UNC, "\\?\") is kept.
std::u16string NormalisedKey(std::u16string_view path) {
  std::u16string key;
  key.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    char16_t c = path[i] == u'/' ? u'\\' : path[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    if (c == u'\\' && !key.empty() && key.back() == u'\\' && !(i == 1 && key.size() == 1)) continue;
    key.push_back(c);
  }
  while (key.starts_with(u".\\")) key.erase(0, 2);
  if (key == u".") key.clear();
  while (key.size() > 1 && key.back() == u'\\' && !(key.size() == 2 && key[0] == u'\\')) key.pop_back();
  return key;
}

// The key of the containing directory; "" for the current directory.
std::u16string ParentKey(const std::u16string& key) {
  const size_t slash = key.rfind(u'\\');
  return slash == std::u16string::npos ? std::u16string() : key.substr(0, slash);
}

bool HasDriveLetter(const std::u16string& key) {
  return key.size() >= 2 && key[1] == u':' && key[0] >= u'a' && key[0] <= u'z';
}

std::u16string LastComponent(std::u16string_view path) {
  while (path.size() > 1 && (path.back() == u'\\' || path.back() == u'/')) path.remove_suffix(1);
  const size_t slash = path.find_last_of(u"\\/");
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

char16_t DriveLetterOf(std::u16string_view root) {
  if (root.size() < 2 || root[1] != u':') return 0;
  char16_t letter = root[0];
  if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - 32);
  return letter >= u'A' && letter <= u'Z' ? letter : 0;
}

class SnapshotLister : public DirectoryLister {
 public:
  SnapshotLister(std::vector<DirectoryEntry> entries, DirectoryIdentity identity)
      : entries_(std::move(entries)), identity_(identity) {}
  bool Next(DirectoryEntry& entry) override {
    if (next_ >= entries_.size()) return false;
    entry = entries_[next_++];
    return true;
  }
  bool Identity(DirectoryIdentity& out) override {
    out = identity_;
    return true;
  }

 private:
  std::vector<DirectoryEntry> entries_;
  DirectoryIdentity identity_;
  size_t next_ = 0;
};

class SnapshotFile : public ReadableFile {
 public:
  explicit SnapshotFile(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
  uint64_t Size() override { return bytes_->size(); }
  size_t Read(uint64_t offset, std::span<std::byte> out) override {
    if (offset >= bytes_->size()) return 0;
    const size_t count = std::min<uint64_t>(out.size(), bytes_->size() - offset);
    std::memcpy(out.data(), bytes_->data() + offset, count);
    return count;
  }
  std::span<const std::byte> Map() override {
    if (bytes_->empty()) return {};
    return {reinterpret_cast<const std::byte*>(bytes_->data()), bytes_->size()};
  }

 private:
  std::shared_ptr<const std::string> bytes_;
};

}  // namespace

MemoryFileSystem::MemoryFileSystem(Clock* clock) : clock_(clock) {
  drives_[u'C'] = Drive{win32::kDriveFixed, VolumeInformation{u"NTFS", 0x1234ABCD, 255, 0}};
}

// --- Lookups (mutex_ held) ---

bool MemoryFileSystem::IsRoot(const std::u16string& key) const { return key.size() == 2 && HasDriveLetter(key); }

bool MemoryFileSystem::DriveExists(const std::u16string& key) const {
  if (!HasDriveLetter(key)) return true;
  return drives_.count(static_cast<char16_t>(key[0] - 32)) != 0;
}

const MemoryFileSystem::Node* MemoryFileSystem::Find(const std::u16string& key) const {
  if (!DriveExists(key)) return nullptr;
  const auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : &it->second;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::u16string& key) {
  return const_cast<Node*>(static_cast<const MemoryFileSystem*>(this)->Find(key));
}

bool MemoryFileSystem::DirectoryExists(const std::u16string& key) const {
  if (key.empty()) return true;
  if (IsRoot(key)) return DriveExists(key);
  const Node* node = Find(key);
  return node != nullptr && node->directory;
}

bool MemoryFileSystem::ParentExists(const std::u16string& key) const {
  return !IsRoot(key) && DirectoryExists(ParentKey(key));
}

bool MemoryFileSystem::Refused(const std::u16string& key) const {
  for (const std::u16string& prefix : refusedPrefixes_) {
    if (key == prefix || (key.starts_with(prefix) && key[prefix.size()] == u'\\')) return true;
  }
  return false;
}

uint64_t MemoryFileSystem::Now() { return clock_ != nullptr ? clock_->UtcNowFileTime() : 0; }

MemoryFileSystem::Node& MemoryFileSystem::PutFile(const std::u16string& key, std::u16string_view path,
                                                  std::string bytes) {
  const uint64_t now = Now();
  auto [it, inserted] = nodes_.try_emplace(key);
  Node& node = it->second;
  if (inserted) {
    node.path = std::u16string(path);
    node.attributes = win32::kFileAttributeArchive;
    node.creationTime = now;
  }
  node.bytes = std::make_shared<const std::string>(std::move(bytes));
  node.lastWriteTime = now;
  return node;
}

void MemoryFileSystem::MakeDirectories(std::u16string_view path) {
  const std::u16string key = NormalisedKey(path);
  if (key.empty() || IsRoot(key)) return;
  // Each ancestor's own spelling is the prefix of `path` up to its separator.
  size_t pos = 0;
  while (pos != std::u16string_view::npos) {
    pos = path.find_first_of(u"\\/", pos + 1);
    const std::u16string_view prefix = path.substr(0, pos);
    const std::u16string prefixKey = NormalisedKey(prefix);
    if (prefixKey.empty() || IsRoot(prefixKey) || prefixKey.starts_with(u'\\')) continue;
    auto [it, inserted] = nodes_.try_emplace(prefixKey);
    if (inserted) {
      it->second.directory = true;
      it->second.path = std::u16string(prefix);
      it->second.attributes = win32::kFileAttributeDirectory;
      it->second.creationTime = it->second.lastWriteTime = Now();
    }
  }
}

bool MemoryFileSystem::FollowLinks(std::u16string& key) const {
  if (links_.empty()) return true;
  // Windows gives up after 63 reparse points in one path.
  for (int hops = 0; hops < 64; ++hops) {
    // The shortest leading part of the key that is a link.
    size_t end = 0;
    auto link = links_.end();
    do {
      end = key.find(u'\\', end + 1);
      link = links_.find(key.substr(0, end));
    } while (link == links_.end() && end != std::u16string::npos);
    if (link == links_.end()) return true;
    key = link->second + (end == std::u16string::npos ? std::u16string() : key.substr(end));
  }
  return false;
}

uint64_t MemoryFileSystem::DirectoryId(const std::u16string& key) {
  return directoryIds_.try_emplace(key, directoryIds_.size() + 1).first->second;
}

// --- FileSystem ---

uint32_t MemoryFileSystem::LogicalDrives() {
  std::lock_guard lock(mutex_);
  uint32_t mask = 0;
  for (const auto& [letter, drive] : drives_) mask |= 1u << (letter - u'A');
  return mask;
}

uint32_t MemoryFileSystem::DriveType(std::u16string_view root) {
  std::lock_guard lock(mutex_);
  const auto it = drives_.find(DriveLetterOf(root));
  return it == drives_.end() ? win32::kDriveNoRootDir : it->second.type;
}

bool MemoryFileSystem::GetVolumeInformation(std::u16string_view root, VolumeInformation& out) {
  std::lock_guard lock(mutex_);
  const auto it = drives_.find(DriveLetterOf(root));
  if (it == drives_.end()) return false;
  out = it->second.info;
  return true;
}

std::unique_ptr<DirectoryLister> MemoryFileSystem::ListDirectory(std::u16string_view directory) {
  std::lock_guard lock(mutex_);
  std::u16string key = NormalisedKey(directory);
  if (!FollowLinks(key) || !DirectoryExists(key)) return nullptr;

  std::vector<DirectoryEntry> entries;
  if (!key.empty() && !IsRoot(key)) {
    const FileInfo dirInfo{win32::kFileAttributeDirectory, 0, 0, 0};
    entries.push_back({u".", dirInfo});
    entries.push_back({u"..", dirInfo});
  }
  const std::u16string prefix = key.empty() ? key : key + u'\\';
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.starts_with(prefix); ++it) {
    if (it->first.find(u'\\', prefix.size()) != std::u16string::npos) continue;  // deeper down
    const Node& node = it->second;
    entries.push_back({LastComponent(node.path), FileInfo{node.attributes, node.directory ? 0 : node.bytes->size(),
                                                          node.creationTime, node.lastWriteTime}});
  }
  return std::make_unique<SnapshotLister>(std::move(entries), DirectoryIdentity{0, DirectoryId(key)});
}

uint32_t MemoryFileSystem::GetFileAttributes(std::u16string_view path) {
  FileInfo info;
  return GetFileInfo(path, info) ? info.attributes : win32::kInvalidFileAttributes;
}

bool MemoryFileSystem::GetFileInfo(std::u16string_view path, FileInfo& out) {
  std::lock_guard lock(mutex_);
  const std::u16string key = NormalisedKey(path);
  if (IsRoot(key)) {
    if (!DriveExists(key)) return false;
    out = FileInfo{win32::kFileAttributeDirectory, 0, 0, 0};
    return true;
  }
  const Node* node = Find(key);
  if (node == nullptr) return false;
  out = FileInfo{node->attributes, node->directory ? 0 : node->bytes->size(), node->creationTime, node->lastWriteTime};
  return true;
}

std::unique_ptr<ReadableFile> MemoryFileSystem::OpenForRead(std::u16string_view path) {
  std::lock_guard lock(mutex_);
  const std::u16string key = NormalisedKey(path);
  const Node* node = Find(key);
  if (node == nullptr || node->directory) return nullptr;
  std::shared_ptr<const std::string> bytes = node->bytes;
  const auto cut = shortReads_.find(key);
  if (cut != shortReads_.end() && cut->second < bytes->size()) {
    bytes = std::make_shared<const std::string>(*bytes, 0, cut->second);
  }
  return std::make_unique<SnapshotFile>(std::move(bytes));
}

bool MemoryFileSystem::ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) {
  std::lock_guard lock(mutex_);
  const std::u16string key = NormalisedKey(path);
  const Node* node = Find(key);
  if (node == nullptr || node->directory || node->bytes->size() > maxBytes) return false;
  bytes = *node->bytes;
  const auto cut = shortReads_.find(key);
  if (cut != shortReads_.end() && cut->second < bytes.size()) bytes.resize(cut->second);
  return true;
}

bool MemoryFileSystem::WriteFile(std::u16string_view path, std::string_view bytes) {
  std::lock_guard lock(mutex_);
  const std::u16string key = NormalisedKey(path);
  const Node* existing = Find(key);
  if (existing != nullptr && (existing->directory || (existing->attributes & win32::kFileAttributeReadOnly))) {
    return false;
  }
  if (!ParentExists(key) || Refused(key)) return false;
  if (failingWrites_ > 0) {
    --failingWrites_;
    PutFile(key, path, std::string(bytes.substr(0, bytes.size() / 2)));
    return false;
  }
  PutFile(key, path, std::string(bytes));
  ++successfulWrites_;
  return true;
}

bool MemoryFileSystem::AppendFile(std::u16string_view path, std::string_view bytes) {
  std::lock_guard lock(mutex_);
  const std::u16string key = NormalisedKey(path);
  const Node* existing = Find(key);
  if (existing != nullptr && (existing->directory || (existing->attributes & win32::kFileAttributeReadOnly))) {
    return false;
  }
  if (!ParentExists(key) || Refused(key)) return false;
  if (failingWrites_ > 0) {
    --failingWrites_;
    return false;
  }
  std::string content = existing != nullptr ? *existing->bytes : std::string();
  content.append(bytes);
  PutFile(key, path, std::move(content));
  ++successfulWrites_;
  return true;
}

bool MemoryFileSystem::ReplaceFile(std::u16string_view from, std::u16string_view to) {
  std::lock_guard lock(mutex_);
  const std::u16string fromKey = NormalisedKey(from);
  const std::u16string toKey = NormalisedKey(to);
  const Node* source = Find(fromKey);
  if (source == nullptr || source->directory || Refused(fromKey) || Refused(toKey) || !ParentExists(toKey)) {
    return false;
  }
  if (fromKey == toKey) return true;
  const Node* target = Find(toKey);
  if (target != nullptr && (target->directory || (target->attributes & win32::kFileAttributeReadOnly))) return false;
  Node moved = *source;
  moved.path = std::u16string(to);
  nodes_.erase(fromKey);
  nodes_[toKey] = std::move(moved);
  ++successfulWrites_;
  return true;
}

bool MemoryFileSystem::DeleteFile(std::u16string_view path) {
  std::lock_guard lock(mutex_);
  const std::u16string key = NormalisedKey(path);
  const Node* node = Find(key);
  if (node == nullptr || node->directory || (node->attributes & win32::kFileAttributeReadOnly) || Refused(key)) {
    return false;
  }
  nodes_.erase(key);
  return true;
}

bool MemoryFileSystem::CreateDirectory(std::u16string_view path) {
  std::lock_guard lock(mutex_);
  const std::u16string key = NormalisedKey(path);
  if (key.empty() || IsRoot(key) || Find(key) != nullptr || !ParentExists(key) || Refused(key)) return false;
  Node& node = nodes_[key];
  node = Node{};
  node.directory = true;
  node.path = std::u16string(path);
  node.attributes = win32::kFileAttributeDirectory;
  node.creationTime = node.lastWriteTime = Now();
  return true;
}

// --- Setting up ---

void MemoryFileSystem::AddDrive(char16_t letter, uint32_t driveType, VolumeInformation info) {
  std::lock_guard lock(mutex_);
  const char16_t upper = DriveLetterOf(std::u16string{letter, u':'});
  if (upper != 0) drives_[upper] = Drive{driveType, std::move(info)};
}

void MemoryFileSystem::RemoveDrive(char16_t letter) {
  std::lock_guard lock(mutex_);
  drives_.erase(DriveLetterOf(std::u16string{letter, u':'}));
}

void MemoryFileSystem::AddDirectories(std::u16string_view path) {
  std::lock_guard lock(mutex_);
  MakeDirectories(path);
}

void MemoryFileSystem::AddDirectoryLink(std::u16string_view path, std::u16string_view target) {
  std::lock_guard lock(mutex_);
  MakeDirectories(path);
  const std::u16string key = NormalisedKey(path);
  if (Node* node = Find(key)) node->attributes = win32::kFileAttributeDirectory | win32::kFileAttributeReparsePoint;
  links_[key] = NormalisedKey(target);
}

void MemoryFileSystem::AddFile(std::u16string_view path, std::string_view bytes) {
  std::lock_guard lock(mutex_);
  const size_t slash = path.find_last_of(u"\\/");
  if (slash != std::u16string_view::npos) MakeDirectories(path.substr(0, slash));
  PutFile(NormalisedKey(path), path, std::string(bytes));
}

bool MemoryFileSystem::SetAttributes(std::u16string_view path, uint32_t attributes) {
  std::lock_guard lock(mutex_);
  Node* node = Find(NormalisedKey(path));
  if (node == nullptr) return false;
  node->attributes = attributes;
  return true;
}

bool MemoryFileSystem::SetTimes(std::u16string_view path, uint64_t creationTime, uint64_t lastWriteTime) {
  std::lock_guard lock(mutex_);
  Node* node = Find(NormalisedKey(path));
  if (node == nullptr) return false;
  node->creationTime = creationTime;
  node->lastWriteTime = lastWriteTime;
  return true;
}

// --- Faults ---

void MemoryFileSystem::RefuseWritesUnder(std::u16string_view prefix) {
  std::lock_guard lock(mutex_);
  refusedPrefixes_.insert(NormalisedKey(prefix));
}

void MemoryFileSystem::CutShortOnRead(std::u16string_view path, uint64_t bytes) {
  std::lock_guard lock(mutex_);
  shortReads_[NormalisedKey(path)] = bytes;
}

void MemoryFileSystem::FailNextWrites(int count) {
  std::lock_guard lock(mutex_);
  failingWrites_ = count;
}

void MemoryFileSystem::ClearFaults() {
  std::lock_guard lock(mutex_);
  refusedPrefixes_.clear();
  shortReads_.clear();
  failingWrites_ = 0;
}

// --- Looking ---

bool MemoryFileSystem::Exists(std::u16string_view path) {
  std::lock_guard lock(mutex_);
  const std::u16string key = NormalisedKey(path);
  return DirectoryExists(key) || Find(key) != nullptr;
}

bool MemoryFileSystem::IsDirectory(std::u16string_view path) {
  std::lock_guard lock(mutex_);
  return DirectoryExists(NormalisedKey(path));
}

std::optional<std::string> MemoryFileSystem::Contents(std::u16string_view path) {
  std::lock_guard lock(mutex_);
  const Node* node = Find(NormalisedKey(path));
  if (node == nullptr || node->directory) return std::nullopt;
  return *node->bytes;
}

uint64_t MemoryFileSystem::SuccessfulWrites() {
  std::lock_guard lock(mutex_);
  return successfulWrites_;
}

std::vector<std::u16string> MemoryFileSystem::AllPaths() {
  std::lock_guard lock(mutex_);
  std::vector<std::u16string> paths;
  for (const auto& [key, node] : nodes_) paths.push_back(node.path);
  return paths;
}

}  // namespace quillmor
