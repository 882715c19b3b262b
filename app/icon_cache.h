// The icons the result list draws: file icons from the shell, thumbnails of
// images and videos, and the one folder icon every directory shares, in a
// cache of at most 2048 icons that destroys what it drops.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/core/lru_handle_cache.h"
#include "app/core/thumbnail_failures.h"
#include "app/win32_app.h"

namespace quillmor {

// Renders a file's picture. The shell's image factory in the program; tests
// give a fake one (Wine's factory answers a 1 x 1 bitmap for everything).
class ThumbnailSource {
 public:
  virtual ~ThumbnailSource() = default;
  // A bitmap of the file at `path`, about `size` px (larger is fine), or
  // null. `thumbnailOnly`: a real thumbnail, not the file type's icon. The
  // caller deletes the bitmap. Called on the thumbnail job's thread, with COM
  // initialised.
  virtual HBITMAP Render(const std::u16string& path, int32_t size, bool thumbnailOnly) = 0;
};

// IShellItemImageFactory::GetImage, with SIIGBF_BIGGERSIZEOK.
std::shared_ptr<ThumbnailSource> ShellThumbnailSource();

class IconCache {
 public:
  explicit IconCache(size_t capacity = kIconCacheCapacity);
  // Destroys every icon still held, on whichever thread lets go last.
  ~IconCache();
  IconCache(const IconCache&) = delete;
  IconCache& operator=(const IconCache&) = delete;

  // The cached icon under `key`, now the most recently used.
  HICON Find(uint64_t key);
  // Takes `icon` over; returns the icon cached under `key` afterwards (the
  // one already there when two threads loaded the same key).
  HICON Insert(uint64_t key, HICON icon);
  size_t Size() const { return icons_.Size(); }

  // The folder icon every small directory shows; loaded on first use.
  HICON SharedFolderIcon();

  void SetThumbnailSource(std::shared_ptr<ThumbnailSource> source);
  std::shared_ptr<ThumbnailSource> Thumbnails() const;

  // Icons dropped by another thread wait for the user-interface thread, which
  // may be drawing them at that moment; it destroys them here.
  void DestroyDropped();
  // WM_DESTROY: every icon, the folder icon and the failure table go.
  void Free();

  ThumbnailFailures failures;
  // The thumbnail job: one at a time, and given up when a newer one starts.
  std::atomic<uint8_t> thumbnailsRunning{0};
  std::atomic<uint64_t> thumbnailGeneration{0};

 private:
  void Drop(HICON icon);

  const DWORD uiThread_;
  std::atomic<bool> destroying_{false};
  std::mutex droppedMutex_;
  std::vector<HICON> dropped_;  // Guarded by droppedMutex_.
  mutable std::mutex sourceMutex_;
  std::shared_ptr<ThumbnailSource> source_;  // Guarded by sourceMutex_.
  HICON sharedFolder_ = nullptr;             // user-interface thread only
  // Declared last: its destructor hands icons to Drop, which needs the rest.
  LruHandleCache<uint64_t, HICON> icons_;
};

// An item's icon, loaded as the list asks for it: an empty path gives the
// folder icon for a directory and nothing for a file; a directory at 20 px
// or less the shared folder icon; otherwise the cache, then (when
// `wantThumbnail` and no failure is recent) a thumbnail, then the shell's
// icon of the file, then of its type. Loaded icons go into the cache (a
// thumbnail under its own key); a failed thumbnail is remembered for 10 s.
// Null when there is none. The cache owns what it returns.
HICON LoadItemIcon(IconCache& cache, bool isDirectory, const std::u16string& path, int32_t size, bool wantThumbnail,
                   uint64_t nowMs);

// A file's thumbnail: the cached one, else one made now and cached; null
// (and remembered for 10 s) when none can be made.
HICON LoadThumbnailIcon(IconCache& cache, const std::u16string& path, int32_t size, uint64_t nowMs);

// The cached thumbnail of a file, or null; never loads.
HICON CachedThumbnail(IconCache& cache, const std::u16string& path, int32_t size);

// A `size` x `size` icon of `bitmap` (any shape, fitted and centred), or null
// for a bitmap of 1 x 1 or less: that is no picture. Does not delete `bitmap`.
HICON IconFromBitmap(HBITMAP bitmap, int32_t size);

}  // namespace quillmor
