// The decisions of loading an item's icon before any shell call: whether the
// shared folder icon does, what size is asked for, whether a thumbnail is
// tried, and which icon size the shell's file icon comes in.
#pragma once

#include <cstdint>

namespace quillmor {

enum class IconSource {
  kNone,          // nothing to draw (a file without a path)
  kSharedFolder,  // the one folder icon loaded at start-up
  kLoad,          // the icon cache, then the shell
};

struct IconRequest {
  IconSource source = IconSource::kNone;
  int32_t size = 16;       // the size asked for (a size below 1 counts as 16)
  bool thumbnail = false;  // try the shell's image factory first
};

// An empty path gives the folder icon for a directory and nothing for a file;
// a directory at 20 px or less without a thumbnail gives the shared folder
// icon; everything else is loaded. A thumbnail is tried only for files, and
// not while a failure for the key is recent (`thumbnailRecentlyFailed`).
IconRequest DecideIconRequest(bool pathEmpty, bool isDirectory, int32_t size, bool wantThumbnail,
                              bool thumbnailRecentlyFailed);

// The size the shell's image factory is asked for: at least 16.
constexpr int32_t ThumbnailRequestSize(int32_t size) { return size < 16 ? 16 : size; }

// SHGetFileInfoW's small icon below 28 px, its large icon from 28 px.
constexpr bool UsesSmallShellIcon(int32_t size) { return size < 28; }

}  // namespace quillmor
