#include "tools/directory_drives.h"

#include "platform/win32_constants.h"

namespace quillmor {
namespace {

int LetterIndex(char16_t letter) {
  if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - 32);
  return (letter >= u'A' && letter <= u'Z') ? letter - u'A' : -1;
}

const std::optional<std::u16string> kNone;

}  // namespace

bool DirectoryDrives::Map(char16_t letter, std::u16string directory) {
  const int i = LetterIndex(letter);
  if (i < 0) return false;
  while (directory.size() > 1 && (directory.back() == u'/' || directory.back() == u'\\')) directory.pop_back();
  directories_[i] = std::move(directory);
  return true;
}

const std::optional<std::u16string>& DirectoryDrives::DirectoryOf(std::u16string_view path) const {
  if (path.size() < 2 || path[1] != u':') return kNone;
  const int i = LetterIndex(path[0]);
  return i < 0 ? kNone : directories_[i];
}

std::u16string DirectoryDrives::Underlying(std::u16string_view path) const {
  const auto& directory = DirectoryOf(path);
  if (!directory) return std::u16string(path);
  std::u16string rest(path.substr(2));
  while (!rest.empty() && (rest.front() == u'\\' || rest.front() == u'/')) rest.erase(0, 1);
  return rest.empty() ? *directory : *directory + u"\\" + rest;
}

uint32_t DirectoryDrives::LogicalDrives() {
  uint32_t mask = 0;
  for (int i = 0; i < 26; ++i) {
    if (directories_[i]) mask |= 1u << i;
  }
  return mask;
}

uint32_t DirectoryDrives::DriveType(std::u16string_view root) {
  return DirectoryOf(root) ? win32::kDriveFixed : win32::kDriveNoRootDir;
}

bool DirectoryDrives::GetVolumeInformation(std::u16string_view root, VolumeInformation& out) {
  const auto& directory = DirectoryOf(root);
  if (!directory) return false;
  const uint32_t attributes = base().GetFileAttributes(*directory);
  if (attributes == win32::kInvalidFileAttributes || (attributes & win32::kFileAttributeDirectory) == 0) return false;
  out = VolumeInformation{kFileSystemName, 0, 255, 0};
  return true;
}

std::unique_ptr<DirectoryLister> DirectoryDrives::ListDirectory(std::u16string_view directory) {
  // FindFirstFileW refuses a pattern (directory + "\*") longer than MAX_PATH;
  // a mapped drive's walk ends where a real drive's would.
  constexpr size_t kMaxPath = 260;
  if (DirectoryOf(directory) && directory.size() + 2 >= kMaxPath) return nullptr;
  return base().ListDirectory(Underlying(directory));
}
uint32_t DirectoryDrives::GetFileAttributes(std::u16string_view path) {
  return base().GetFileAttributes(Underlying(path));
}
bool DirectoryDrives::GetFileInfo(std::u16string_view path, FileInfo& out) {
  return base().GetFileInfo(Underlying(path), out);
}
std::unique_ptr<ReadableFile> DirectoryDrives::OpenForRead(std::u16string_view path) {
  return base().OpenForRead(Underlying(path));
}
bool DirectoryDrives::ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) {
  return base().ReadFile(Underlying(path), bytes, maxBytes);
}
bool DirectoryDrives::WriteFile(std::u16string_view path, std::string_view bytes) {
  return base().WriteFile(Underlying(path), bytes);
}
bool DirectoryDrives::AppendFile(std::u16string_view path, std::string_view bytes) {
  return base().AppendFile(Underlying(path), bytes);
}
bool DirectoryDrives::ReplaceFile(std::u16string_view from, std::u16string_view to) {
  return base().ReplaceFile(Underlying(from), Underlying(to));
}
bool DirectoryDrives::DeleteFile(std::u16string_view path) { return base().DeleteFile(Underlying(path)); }
bool DirectoryDrives::CreateDirectory(std::u16string_view path) { return base().CreateDirectory(Underlying(path)); }

}  // namespace quillmor
