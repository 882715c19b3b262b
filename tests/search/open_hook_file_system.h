// A file system that forwards to another and calls a hook before every
// OpenForRead: tests count the files a search opens, or press Escape in the
// middle of a scan.
#pragma once

#include <atomic>
#include <functional>

#include "platform/forwarding_file_system.h"

namespace quillmor {

class OpenHookFileSystem : public ForwardingFileSystem {
 public:
  explicit OpenHookFileSystem(FileSystem& base) : ForwardingFileSystem(base) {}

  // Called with the number of the open (1 for the first). Set before use.
  std::function<void(int open)> beforeOpen;
  std::atomic<int> opens{0};

  std::unique_ptr<ReadableFile> OpenForRead(std::u16string_view path) override {
    const int open = ++opens;
    if (beforeOpen) beforeOpen(open);
    return base().OpenForRead(path);
  }
};

}  // namespace quillmor
