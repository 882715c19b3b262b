#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/file_name_bytes.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

using namespace win32;

constexpr size_t kMaxPath = 260;  // MAX_PATH, with the terminating NUL
// GetVolumeInformationW flags a POSIX file system has.
constexpr uint32_t kFileCaseSensitiveSearch = 0x1;
constexpr uint32_t kFileCasePreservedNames = 0x2;
constexpr uint32_t kFileUnicodeOnDisk = 0x4;

// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kUnixEpochSeconds = 11'644'473'600;

uint64_t ToFileTime(int64_t seconds, uint32_t nanoseconds) {
  if (seconds < -kUnixEpochSeconds) return 0;
  return static_cast<uint64_t>(seconds + kUnixEpochSeconds) * 10'000'000u + nanoseconds / 100;
}

int DriveIndex(char16_t letter) {
  if (letter >= u'A' && letter <= u'Z') return letter - u'A';
  if (letter >= u'a' && letter <= u'z') return letter - u'a';
  return -1;
}

// "X:" at the start of a path, followed by its end or a separator.
bool HasDrivePrefix(std::u16string_view path) {
  return path.size() >= 2 && DriveIndex(path[0]) >= 0 && path[1] == u':';
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }
  // close() reports write-back errors some file systems defer to it.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// What FindFirstFileW and GetFileAttributesExW report for `name` in the
// directory `dirfd`. A symbolic link is described itself, not followed, as
// Windows describes a junction or a symbolic link: with the reparse-point
// bit, and the directory bit when it leads to a directory.
bool StatAt(int dirfd, const char* name, FileInfo& out) {
  struct statx sx {};
  uint32_t mode = 0;
  uint64_t size = 0;
  if (::statx(dirfd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0) {
    mode = sx.stx_mode;
    size = sx.stx_size;
    out.lastWriteTime = ToFileTime(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
    // Not every file system records a birth time, and some report a zero one;
    // no creation time (0) is then the truth, where the change time would
    // pass off the last metadata change as the creation.
    const bool born = (sx.stx_mask & STATX_BTIME) != 0 && (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0);
    out.creationTime = born ? ToFileTime(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec) : 0;
  } else {
    if (errno != ENOSYS) return false;
    struct stat st {};
    if (::fstatat(dirfd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    mode = st.st_mode;
    size = static_cast<uint64_t>(st.st_size);
    out.lastWriteTime = ToFileTime(st.st_mtim.tv_sec, static_cast<uint32_t>(st.st_mtim.tv_nsec));
    out.creationTime = 0;  // stat() knows no birth time
  }

  if (S_ISLNK(mode)) {
    struct stat target {};
    const bool toDirectory = ::fstatat(dirfd, name, &target, 0) == 0 && S_ISDIR(target.st_mode);
    out.attributes = kFileAttributeReparsePoint | (toDirectory ? kFileAttributeDirectory : kFileAttributeArchive);
    out.size = 0;
  } else if (S_ISDIR(mode)) {
    out.attributes = kFileAttributeDirectory;
    out.size = 0;
  } else {
    out.attributes = kFileAttributeArchive;
    if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) out.attributes |= kFileAttributeReadOnly;
    out.size = size;
  }
  return true;
}

bool StatPath(const std::string& path, FileInfo& out) { return StatAt(AT_FDCWD, path.c_str(), out); }

// Names in the order NTFS lists them: by code unit, letters folded to upper
// case. It keeps walks over real trees repeatable.
bool ListedBefore(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto fold = [](char c) { return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c); };
    return fold(x) < fold(y);
  });
}

class PosixDirectoryLister : public DirectoryLister {
 public:
  PosixDirectoryLister(DIR* directory, std::vector<std::string> names)
      : directory_(directory), names_(std::move(names)) {}
  ~PosixDirectoryLister() override { ::closedir(directory_); }

  // The directory actually open, wherever a link pointed.
  bool Identity(DirectoryIdentity& out) override {
    struct stat st {};
    if (::fstat(::dirfd(directory_), &st) != 0) return false;
    out = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    return true;
  }

  bool Next(DirectoryEntry& entry) override {
    while (next_ < names_.size()) {
      const std::string& name = names_[next_++];
      // An entry removed since the directory was read is not listed.
      if (!StatAt(::dirfd(directory_), name.c_str(), entry.info)) continue;
      entry.name = FileNameFromBytes(name);
      return true;
    }
    return false;
  }

 private:
  DIR* directory_;
  std::vector<std::string> names_;
  size_t next_ = 0;
};

// A file read into memory. Map() hands out a copy rather than an mmap: a
// mapped file that another process truncates raises SIGBUS in the reader,
// where Windows refuses to truncate a mapped file.
class PosixReadableFile : public ReadableFile {
 public:
  PosixReadableFile(int fd, uint64_t size) : fd_(fd), size_(size) {}

  uint64_t Size() override { return size_; }

  size_t Read(uint64_t offset, std::span<std::byte> out) override {
    size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = ::pread(fd_.get(), out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    return done;
  }

  std::span<const std::byte> Map() override {
    if (!mapped_ && size_ > 0 && size_ <= SIZE_MAX / 2) {
      mapped_ = true;
      copy_.resize(static_cast<size_t>(size_));
      copy_.resize(Read(0, copy_));
    }
    return copy_;
  }

 private:
  FileDescriptor fd_;
  uint64_t size_;
  bool mapped_ = false;
  std::vector<std::byte> copy_;
};

}  // namespace

bool PosixFileSystem::MapDrive(char16_t letter, std::string directory, std::u16string fileSystemName) {
  const int index = DriveIndex(letter);
  if (index < 0) return false;
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  std::unique_lock lock(mutex_);
  drives_[index] = Drive{std::move(directory), std::move(fileSystemName)};
  return true;
}

void PosixFileSystem::UnmapDrive(char16_t letter) {
  const int index = DriveIndex(letter);
  if (index < 0) return;
  std::unique_lock lock(mutex_);
  drives_[index].reset();
}

std::optional<PosixFileSystem::Drive> PosixFileSystem::RootDrive(std::u16string_view root) const {
  if (!HasDrivePrefix(root) || root.size() > 3 || (root.size() == 3 && root[2] != u'\\' && root[2] != u'/')) {
    return std::nullopt;
  }
  std::shared_lock lock(mutex_);
  return drives_[DriveIndex(root[0])];
}

bool PosixFileSystem::NativePath(std::u16string_view path, std::string& out) const {
  if (path.starts_with(u"\\\\?\\")) path.remove_prefix(4);  // the long-path prefix
  if (!HasDrivePrefix(path)) {
    out = FileNameToBytes(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return true;
  }
  {
    std::shared_lock lock(mutex_);
    const std::optional<Drive>& drive = drives_[DriveIndex(path[0])];
    if (!drive) return false;
    out = drive->directory;
  }
  if (out == "/") out.clear();
  // Components resolved as Windows resolves them: "." is dropped and ".."
  // never climbs above the drive's root.
  const std::string rest = FileNameToBytes(path.substr(2));
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find_first_of("\\/", start);
    if (end == std::string::npos) end = rest.size();
    const std::string_view part(rest.data() + start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  for (std::string_view part : parts) {
    out += '/';
    out += part;
  }
  const bool trailingSeparator = !rest.empty() && (rest.back() == '\\' || rest.back() == '/');
  if (out.empty() || (trailingSeparator && !parts.empty())) out += '/';
  return true;
}

uint32_t PosixFileSystem::LogicalDrives() {
  std::shared_lock lock(mutex_);
  uint32_t mask = 0;
  for (size_t i = 0; i < drives_.size(); ++i) {
    if (drives_[i]) mask |= 1u << i;
  }
  return mask;
}

uint32_t PosixFileSystem::DriveType(std::u16string_view root) {
  return RootDrive(root) ? kDriveFixed : kDriveNoRootDir;
}

bool PosixFileSystem::GetVolumeInformation(std::u16string_view root, VolumeInformation& out) {
  const std::optional<Drive> drive = RootDrive(root);
  if (!drive) return false;
  struct statvfs vfs {};
  struct stat st {};
  if (::statvfs(drive->directory.c_str(), &vfs) != 0 || ::stat(drive->directory.c_str(), &st) != 0 ||
      !S_ISDIR(st.st_mode)) {
    return false;
  }
  out.fileSystemName = drive->fileSystemName;
  out.serialNumber = static_cast<uint32_t>(st.st_dev ^ (st.st_dev >> 32));
  out.maximumComponentLength = static_cast<uint32_t>(vfs.f_namemax);
  out.flags = kFileCaseSensitiveSearch | kFileCasePreservedNames | kFileUnicodeOnDisk;
  return true;
}

std::unique_ptr<DirectoryLister> PosixFileSystem::ListDirectory(std::u16string_view directory) {
  // FindFirstFileW refuses a pattern (directory + "\*") longer than MAX_PATH
  // allows, so a walk of a deep tree ends where it would end on Windows.
  const bool separatorEnds = !directory.empty() && (directory.back() == u'\\' || directory.back() == u'/');
  if (HasDrivePrefix(directory) && directory.size() + (separatorEnds ? 1 : 2) >= kMaxPath) return nullptr;
  std::string native;
  if (!NativePath(directory, native)) return nullptr;
  DIR* dir = ::opendir(native.c_str());
  if (dir == nullptr) return nullptr;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  std::sort(names.begin(), names.end(), ListedBefore);

  // Windows lists "." and ".." in every directory but a drive's root.
  bool isRoot = native == "/";
  if (HasDrivePrefix(directory)) {
    std::string root;
    NativePath(directory.substr(0, 2), root);
    isRoot = root == native || root + "/" == native;
  }
  if (!isRoot) names.insert(names.begin(), {".", ".."});
  return std::make_unique<PosixDirectoryLister>(dir, std::move(names));
}

uint32_t PosixFileSystem::GetFileAttributes(std::u16string_view path) {
  FileInfo info;
  return GetFileInfo(path, info) ? info.attributes : kInvalidFileAttributes;
}

bool PosixFileSystem::GetFileInfo(std::u16string_view path, FileInfo& out) {
  std::string native;
  return NativePath(path, native) && StatPath(native, out);
}

std::unique_ptr<ReadableFile> PosixFileSystem::OpenForRead(std::u16string_view path) {
  std::string native;
  if (!NativePath(path, native)) return nullptr;
  // A FIFO would block open() until a writer came, and a device may never
  // end: open without blocking and keep regular files only, judged on the
  // descriptor itself so that nothing can be swapped in between.
  FileDescriptor fd(::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat st {};
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  return std::make_unique<PosixReadableFile>(fd.Release(), static_cast<uint64_t>(st.st_size));
}

bool PosixFileSystem::ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) {
  std::string native;
  if (!NativePath(path, native)) return false;
  // A pipe, a device or a link to one is refused before it is opened (opening
  // a FIFO waits for a writer, and /dev/zero never ends); the descriptor is
  // checked again, since the name may have changed in between.
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  FileDescriptor fd(::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return false;
  bytes.clear();
  bytes.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    // The file may have grown since fstat.
    if (static_cast<uint64_t>(n) > maxBytes - bytes.size()) return false;
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

bool PosixFileSystem::WriteFile(std::u16string_view path, std::string_view bytes) {
  std::string native;
  if (!NativePath(path, native)) return false;
  FileDescriptor fd(::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  return fd.get() >= 0 && WriteAll(fd.get(), bytes) && fd.Close();
}

bool PosixFileSystem::AppendFile(std::u16string_view path, std::string_view bytes) {
  std::string native;
  if (!NativePath(path, native)) return false;
  FileDescriptor fd(::open(native.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
  return fd.get() >= 0 && WriteAll(fd.get(), bytes) && fd.Close();
}

bool PosixFileSystem::ReplaceFile(std::u16string_view from, std::u16string_view to) {
  std::string source;
  std::string target;
  if (!NativePath(from, source) || !NativePath(to, target)) return false;
  // MOVEFILE_WRITE_THROUGH: the new content is on disk before the name points
  // at it, and the rename itself is on disk before we return.
  {
    FileDescriptor fd(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return false;
    ::fsync(fd.get());
  }
  if (::rename(source.c_str(), target.c_str()) != 0) return false;
  const size_t slash = target.rfind('/');
  const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  FileDescriptor directory(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() >= 0) ::fsync(directory.get());
  return true;
}

bool PosixFileSystem::DeleteFile(std::u16string_view path) {
  std::string native;
  return NativePath(path, native) && ::unlink(native.c_str()) == 0;
}

bool PosixFileSystem::CreateDirectory(std::u16string_view path) {
  std::string native;
  return NativePath(path, native) && ::mkdir(native.c_str(), 0777) == 0;
}

}  // namespace quillmor
