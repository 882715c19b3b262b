// A file system held in memory, for tests: Windows paths mapped to bytes, a
// set of directories and a set of drives, with faults a test can switch on (a
// folder that refuses writes, a file that reads back short, a disk that fails
// the next writes).
//
// Paths behave as on Windows: "/" and "\" are the same separator, ASCII
// letters compare without case, a trailing separator is ignored. Drive-letter
// paths ("C:\dir\a.txt") live on a drive that must exist; relative paths
// (".\a.txt", "a.txt") live in a current directory that always exists; UNC
// paths are not modelled. A file or directory can be created only in an
// existing directory, so a test sees when code forgets to create a parent.
// Thread-safe: one mutex guards everything.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace quillmor {

class MemoryFileSystem : public FileSystem {
 public:
  // With a clock, files get its UTC time as creation and last-write times;
  // without one both stay 0. Drive C: (fixed, "NTFS") exists from the start.
  explicit MemoryFileSystem(Clock* clock = nullptr);

  // --- FileSystem ---
  uint32_t LogicalDrives() override;
  uint32_t DriveType(std::u16string_view root) override;
  bool GetVolumeInformation(std::u16string_view root, VolumeInformation& out) override;
  // Lists a snapshot taken now, directories and files in name order, with "."
  // and ".." first in a directory that is not a drive root (as NTFS does).
  // Follows directory links anywhere in the path; the lister tells the
  // identity of the directory reached.
  std::unique_ptr<DirectoryLister> ListDirectory(std::u16string_view directory) override;
  uint32_t GetFileAttributes(std::u16string_view path) override;
  bool GetFileInfo(std::u16string_view path, FileInfo& out) override;
  // Reads and maps a snapshot of the bytes taken now.
  std::unique_ptr<ReadableFile> OpenForRead(std::u16string_view path) override;
  bool ReadFile(std::u16string_view path, std::string& bytes, uint64_t maxBytes) override;
  bool WriteFile(std::u16string_view path, std::string_view bytes) override;
  bool AppendFile(std::u16string_view path, std::string_view bytes) override;
  bool ReplaceFile(std::u16string_view from, std::u16string_view to) override;
  bool DeleteFile(std::u16string_view path) override;
  bool CreateDirectory(std::u16string_view path) override;

  // --- Setting up ---
  // Adds (or replaces) a drive; `letter` is 'A' to 'Z'.
  void AddDrive(char16_t letter, uint32_t driveType, VolumeInformation info);
  // Takes a drive away: everything on it stops answering until it is added
  // again, as when a USB stick is pulled out.
  void RemoveDrive(char16_t letter);
  // Creates the directory and every missing ancestor. Faults do not apply.
  void AddDirectories(std::u16string_view path);
  // Creates or replaces a file, with its missing ancestors. Faults do not apply.
  void AddFile(std::u16string_view path, std::string_view bytes);
  // Creates a directory link at `path` (a junction or a directory symbolic
  // link: listed as a directory with the reparse-point bit) that leads to
  // `target`, which need not exist. Only ListDirectory follows links.
  void AddDirectoryLink(std::u16string_view path, std::u16string_view target);
  // False when the path does not exist.
  bool SetAttributes(std::u16string_view path, uint32_t attributes);
  bool SetTimes(std::u16string_view path, uint64_t creationTime, uint64_t lastWriteTime);

  // --- Faults ---
  // Refuses to write, append, create, replace or delete the path itself and
  // anything below it, as a read-only folder does.
  void RefuseWritesUnder(std::u16string_view prefix);
  // Reads of the file (ReadFile, OpenForRead) return at most `bytes` bytes.
  void CutShortOnRead(std::u16string_view path, uint64_t bytes);
  // The next `count` WriteFile and AppendFile calls fail: WriteFile leaves the
  // file created and holding the first half of the bytes (a disk that filled
  // up mid-write), AppendFile leaves it unchanged.
  void FailNextWrites(int count);
  void ClearFaults();

  // --- Looking ---
  bool Exists(std::u16string_view path);
  bool IsDirectory(std::u16string_view path);
  // The bytes of a file, or nothing when there is no such file.
  std::optional<std::string> Contents(std::u16string_view path);
  // Successful WriteFile, AppendFile and ReplaceFile calls so far.
  uint64_t SuccessfulWrites();
  // Every path (as first created), in key order.
  std::vector<std::u16string> AllPaths();

 private:
  struct Node {
    bool directory = false;
    std::u16string path;                       // as first created
    std::shared_ptr<const std::string> bytes;  // files only; never null
    uint32_t attributes = 0;
    uint64_t creationTime = 0;
    uint64_t lastWriteTime = 0;
  };
  struct Drive {
    uint32_t type = 0;
    VolumeInformation info;
  };

  // Everything below runs with mutex_ held.
  const Node* Find(const std::u16string& key) const;
  Node* Find(const std::u16string& key);
  bool IsRoot(const std::u16string& key) const;
  bool DriveExists(const std::u16string& key) const;
  bool DirectoryExists(const std::u16string& key) const;
  bool ParentExists(const std::u16string& key) const;
  bool Refused(const std::u16string& key) const;
  uint64_t Now();
  Node& PutFile(const std::u16string& key, std::u16string_view path, std::string bytes);
  void MakeDirectories(std::u16string_view path);
  // The key with every link among its leading components replaced by its
  // target; false for a chain of links that does not end.
  bool FollowLinks(std::u16string& key) const;
  uint64_t DirectoryId(const std::u16string& key);

  Clock* const clock_;
  std::mutex mutex_;
  std::map<std::u16string, Node> nodes_;             // Guarded by mutex_. Keyed by normalised path.
  std::map<char16_t, Drive> drives_;                 // Guarded by mutex_. Keyed by upper-case letter.
  std::set<std::u16string> refusedPrefixes_;         // Guarded by mutex_.
  std::map<std::u16string, uint64_t> shortReads_;    // Guarded by mutex_.
  std::map<std::u16string, std::u16string> links_;   // Guarded by mutex_. Link key to target key.
  std::map<std::u16string, uint64_t> directoryIds_;  // Guarded by mutex_. Given out on first listing.
  int failingWrites_ = 0;                            // Guarded by mutex_.
  uint64_t successfulWrites_ = 0;                    // Guarded by mutex_.
};

}  // namespace quillmor
