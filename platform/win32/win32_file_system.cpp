#include "platform/win32/windows_api.h"

#include "platform/win32/win32_file_system.h"

#include <algorithm>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_string.h"

namespace quillmor {
namespace {

using win32::ScopedFindHandle;
using win32::ScopedHandle;
using win32::ScopedMappedView;
using win32::Wide;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// ReadFile and WriteFile move at most a DWORD per call; stay well below.
constexpr size_t kMaxChunk = 1u << 30;

uint64_t ToUint64(FILETIME ft) { return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; }
uint64_t ToUint64(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

ScopedHandle OpenExisting(std::u16string_view path) {
  return ScopedHandle(::CreateFileW(Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kMaxChunk));
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

class Win32DirectoryLister : public DirectoryLister {
 public:
  Win32DirectoryLister(ScopedFindHandle find, const WIN32_FIND_DATAW& first, std::wstring directory)
      : find_(std::move(find)), data_(first), directory_(std::move(directory)) {}

  // Asked of the directory itself, through a handle that follows junctions
  // and links to their target. FindFirstFileExW tells no file index, so this
  // costs one more open; only walks ask.
  bool Identity(DirectoryIdentity& out) override {
    ScopedHandle handle(::CreateFileW(directory_.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!handle.valid() || !::GetFileInformationByHandle(handle.get(), &info)) return false;
    out = {info.dwVolumeSerialNumber, ToUint64(info.nFileIndexHigh, info.nFileIndexLow)};
    return true;
  }

  bool Next(DirectoryEntry& entry) override {
    if (!havePending_ && !::FindNextFileW(find_.get(), &data_)) return false;
    havePending_ = false;
    entry.name = win32::FromWide(data_.cFileName);
    entry.info.attributes = data_.dwFileAttributes;
    entry.info.size = ToUint64(data_.nFileSizeHigh, data_.nFileSizeLow);
    entry.info.creationTime = ToUint64(data_.ftCreationTime);
    entry.info.lastWriteTime = ToUint64(data_.ftLastWriteTime);
    return true;
  }

 private:
  ScopedFindHandle find_;
  WIN32_FIND_DATAW data_;
  bool havePending_ = true;  // FindFirstFileExW's entry is not handed out yet
  std::wstring directory_;   // ending in a separator, so that "E:" is the root
};

class Win32ReadableFile : public ReadableFile {
 public:
  Win32ReadableFile(ScopedHandle file, uint64_t size) : file_(std::move(file)), size_(size) {}

  uint64_t Size() override { return size_; }

  size_t Read(uint64_t offset, std::span<std::byte> out) override {
    size_t done = 0;
    while (done < out.size()) {
      OVERLAPPED at{};  // on a synchronous handle, only the position
      at.Offset = static_cast<DWORD>(offset + done);
      at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
      DWORD read = 0;
      const auto chunk = static_cast<DWORD>(std::min(out.size() - done, kMaxChunk));
      if (!::ReadFile(file_.get(), out.data() + done, chunk, &read, &at) || read == 0) break;
      done += read;
    }
    return done;
  }

  std::span<const std::byte> Map() override {
    if (!mapTried_) {
      mapTried_ = true;
      ScopedHandle mapping(::CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
      // Once the mapping exists the file cannot shrink below it, so the size
      // read now is what the view holds.
      LARGE_INTEGER size{};
      if (mapping.valid() && ::GetFileSizeEx(file_.get(), &size) && size.QuadPart > 0) {
        view_.Reset(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
        if (view_.valid()) mappedSize_ = static_cast<size_t>(size.QuadPart);
      }
    }
    return {static_cast<const std::byte*>(view_.get()), mappedSize_};
  }

 private:
  ScopedHandle file_;
  uint64_t size_;
  bool mapTried_ = false;
  ScopedMappedView view_;  // a view keeps its mapping alive; the handle may go
  size_t mappedSize_ = 0;
};

}  // namespace

uint32_t Win32FileSystem::LogicalDrives() { return ::GetLogicalDrives(); }

uint32_t Win32FileSystem::DriveType(std::u16string_view root) { return ::GetDriveTypeW(Wide(root).c_str()); }

bool Win32FileSystem::GetVolumeInformation(std::u16string_view root, VolumeInformation& out) {
  wchar_t fileSystem[MAX_PATH + 1] = {};
  wchar_t label[MAX_PATH + 1] = {};
  DWORD serial = 0;
  DWORD maximumComponentLength = 0;
  DWORD flags = 0;
  if (!::GetVolumeInformationW(Wide(root).c_str(), label, MAX_PATH + 1, &serial, &maximumComponentLength, &flags,
                               fileSystem, MAX_PATH + 1)) {
    return false;
  }
  out.volumeName = win32::FromWide(label);
  out.fileSystemName = win32::FromWide(fileSystem);
  out.serialNumber = serial;
  out.maximumComponentLength = maximumComponentLength;
  out.flags = flags;
  return true;
}

std::unique_ptr<DirectoryLister> Win32FileSystem::ListDirectory(std::u16string_view directory) {
  std::wstring path = Wide(directory);
  if (path.empty() || (path.back() != L'\\' && path.back() != L'/')) path += L'\\';
  const std::wstring pattern = path + L'*';
  WIN32_FIND_DATAW first;
  // Basic information skips the short 8.3 names; the large fetch asks for
  // bigger batches from the file system.
  ScopedFindHandle find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &first, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
  if (!find.valid()) return nullptr;
  return std::make_unique<Win32DirectoryLister>(std::move(find), first, std::move(path));
}

uint32_t Win32FileSystem::GetFileAttributes(std::u16string_view path) {
  return ::GetFileAttributesW(Wide(path).c_str());
}

bool Win32FileSystem::GetFileInfo(std::u16string_view path, FileInfo& out) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return false;
  out.attributes = data.dwFileAttributes;
  out.size = ToUint64(data.nFileSizeHigh, data.nFileSizeLow);
  out.creationTime = ToUint64(data.ftCreationTime);
  out.lastWriteTime = ToUint64(data.ftLastWriteTime);
  return true;
}

std::unique_ptr<ReadableFile> Win32FileSystem::OpenForRead(std::u16string_view path) {
  ScopedHandle file = OpenExisting(path);
  // Only files on a disk: a name such as "con.txt" opens the console on older
  // Windows, and a pipe or a device may block a reader forever.
  if (!file.valid() || ::GetFileType(file.get()) != FILE_TYPE_DISK) return nullptr;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return nullptr;
  return std::make_unique<Win32ReadableFile>(std::move(file), static_cast<uint64_t>(size.QuadPart));
}

bool Win32FileSystem::ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) {
  ScopedHandle file = OpenExisting(path);
  // A pipe or a character device (CON, a serial port) is no settings file:
  // reading it could wait forever or never end.
  LARGE_INTEGER size{};
  if (!file.valid() || ::GetFileType(file.get()) != FILE_TYPE_DISK || !::GetFileSizeEx(file.get(), &size) ||
      static_cast<uint64_t>(size.QuadPart) > maxBytes) {
    return false;
  }
  bytes.clear();
  bytes.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return false;
    if (read == 0) return true;
    if (read > maxBytes - bytes.size()) return false;  // it grew since GetFileSizeEx
    bytes.append(buffer, read);
  }
}

bool Win32FileSystem::WriteFile(std::u16string_view path, std::string_view bytes) {
  ScopedHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid() && WriteAll(file.get(), bytes);
}

bool Win32FileSystem::AppendFile(std::u16string_view path, std::string_view bytes) {
  // Append access alone: every write lands at the current end, also when
  // another writer appends at the same time.
  ScopedHandle file(::CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid() && WriteAll(file.get(), bytes);
}

bool Win32FileSystem::ReplaceFile(std::u16string_view from, std::u16string_view to) {
  // MOVEFILE_WRITE_THROUGH waits for the rename only, not for the data of the
  // file moved: flushed first, a power cut cannot leave `to` empty or
  // zero-filled.
  {
    ScopedHandle file(::CreateFileW(Wide(from).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || !::FlushFileBuffers(file.get())) return false;
  }
  return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool Win32FileSystem::DeleteFile(std::u16string_view path) { return ::DeleteFileW(Wide(path).c_str()); }

bool Win32FileSystem::CreateDirectory(std::u16string_view path) {
  return ::CreateDirectoryW(Wide(path).c_str(), nullptr);
}

}  // namespace quillmor
