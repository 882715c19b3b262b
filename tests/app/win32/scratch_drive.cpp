#include "tests/app/win32/scratch_drive.h"

#include <gtest/gtest.h>

#include <atomic>

#include "index/ascii_case.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

std::u16string WithoutTrailingSlash(std::u16string_view path) {
  while (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  return std::u16string(path);
}

}  // namespace

void RemoveTree(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(W(path + u"\\*"), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::u16string name = win32::FromWide(found.cFileName);
        if (name != u"." && name != u"..") RemoveTree(path + u"\\" + name);
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(W(path));
  } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    RemoveDirectoryW(W(path));
  } else {
    DeleteFileW(W(path));
  }
}

namespace {

// Lists one real directory but shows only the entry named `only`.
class OneEntryLister : public DirectoryLister {
 public:
  OneEntryLister(std::unique_ptr<DirectoryLister> inner, std::u16string only)
      : inner_(std::move(inner)), only_(std::move(only)) {}
  bool Next(DirectoryEntry& entry) override {
    while (inner_->Next(entry)) {
      if (EqualIgnoringAsciiCase(entry.name, only_)) return true;
    }
    return false;
  }

 private:
  std::unique_ptr<DirectoryLister> inner_;
  std::u16string only_;
};

}  // namespace

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1] = L"";
  const DWORD length = GetTempPathW(MAX_PATH, temp);
  EXPECT_GT(length, 0u);
  const std::string name = "qm-fileops-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
  root_ = WithoutTrailingSlash(win32::FromWide(temp)) + u"\\" + std::u16string(name.begin(), name.end());
  RemoveTree(root_);  // left over from a run that crashed
  EXPECT_TRUE(CreateDirectoryW(W(root_), nullptr)) << GetLastError();
}

ScratchFolder::~ScratchFolder() { RemoveTree(root_); }

std::u16string ScratchFolder::Path(std::u16string_view relative) const {
  return relative.empty() ? root_ : root_ + u"\\" + std::u16string(relative);
}

void ScratchFolder::MakeFile(std::u16string_view relative, std::string_view content) const {
  const HANDLE file = CreateFileW(W(Path(relative)), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

void ScratchFolder::MakeFolder(std::u16string_view relative) const {
  EXPECT_TRUE(CreateDirectoryW(W(Path(relative)), nullptr)) << GetLastError();
}

bool ScratchFolder::Exists(std::u16string_view relative) const {
  return GetFileAttributesW(W(Path(relative))) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::u16string> ScratchFolder::Names(std::u16string_view folder) const {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(W(Path(folder) + u"\\*"), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::u16string name = win32::FromWide(found.cFileName);
    if (name != u"." && name != u"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

ScratchDriveFileSystem::ScratchDriveFileSystem(FileSystem& simulated, std::u16string scratchRoot)
    : simulated_(simulated), root_(std::move(scratchRoot)), letter_(static_cast<char16_t>(root_.front() & ~0x20)) {}

bool ScratchDriveFileSystem::OnScratchDrive(std::u16string_view path) const {
  return path.size() >= 2 && path[1] == u':' && static_cast<char16_t>(path[0] & ~0x20) == letter_;
}

uint32_t ScratchDriveFileSystem::LogicalDrives() { return simulated_.LogicalDrives() | (1u << (letter_ - u'A')); }

uint32_t ScratchDriveFileSystem::DriveType(std::u16string_view root) {
  return OnScratchDrive(root) ? win32::kDriveFixed : simulated_.DriveType(root);
}

bool ScratchDriveFileSystem::GetVolumeInformation(std::u16string_view root, VolumeInformation& out) {
  if (!OnScratchDrive(root)) return simulated_.GetVolumeInformation(root, out);
  out = VolumeInformation{u"exFAT", 0x5C7A, 255, 0, u"Scratch"};  // walked, as drives without a journal are
  return true;
}

std::unique_ptr<DirectoryLister> ScratchDriveFileSystem::ListDirectory(std::u16string_view directory) {
  if (!OnScratchDrive(directory)) return simulated_.ListDirectory(directory);
  const std::u16string folder = WithoutTrailingSlash(directory);
  if (EqualIgnoringAsciiCase(folder, root_) || StartsWithIgnoringAsciiCase(folder, root_ + u"\\")) {
    return real_.ListDirectory(folder);
  }
  // An ancestor of the scratch folder: only the next folder on the way down.
  if (!StartsWithIgnoringAsciiCase(root_, folder + u"\\")) return nullptr;
  std::unique_ptr<DirectoryLister> inner = real_.ListDirectory(folder);
  if (!inner) return nullptr;
  const std::u16string rest = root_.substr(folder.size() + 1);
  return std::make_unique<OneEntryLister>(std::move(inner), rest.substr(0, rest.find(u'\\')));
}

uint32_t ScratchDriveFileSystem::GetFileAttributes(std::u16string_view path) {
  return For(path).GetFileAttributes(path);
}
bool ScratchDriveFileSystem::GetFileInfo(std::u16string_view path, FileInfo& out) {
  return For(path).GetFileInfo(path, out);
}
std::unique_ptr<ReadableFile> ScratchDriveFileSystem::OpenForRead(std::u16string_view path) {
  return For(path).OpenForRead(path);
}
bool ScratchDriveFileSystem::ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) {
  return For(path).ReadFile(path, bytes, maxBytes);
}
// Nothing on the real drive outside the scratch folder is ever changed.
bool ScratchDriveFileSystem::MayChange(std::u16string_view path) const {
  return !OnScratchDrive(path) || StartsWithIgnoringAsciiCase(path, root_ + u"\\");
}
bool ScratchDriveFileSystem::WriteFile(std::u16string_view path, std::string_view bytes) {
  return MayChange(path) && For(path).WriteFile(path, bytes);
}
bool ScratchDriveFileSystem::AppendFile(std::u16string_view path, std::string_view bytes) {
  return MayChange(path) && For(path).AppendFile(path, bytes);
}
bool ScratchDriveFileSystem::ReplaceFile(std::u16string_view from, std::u16string_view to) {
  return MayChange(from) && MayChange(to) && OnScratchDrive(from) == OnScratchDrive(to) &&
         For(from).ReplaceFile(from, to);
}
bool ScratchDriveFileSystem::DeleteFile(std::u16string_view path) {
  return MayChange(path) && For(path).DeleteFile(path);
}
bool ScratchDriveFileSystem::CreateDirectory(std::u16string_view path) {
  return MayChange(path) && For(path).CreateDirectory(path);
}

}  // namespace quillmor
