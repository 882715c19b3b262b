#include "app/icon_cache.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <cstring>

#include "app/core/icon_cache_key.h"
#include "app/core/icon_request.h"
#include "app/core/thumbnail_image.h"

namespace quillmor {
namespace {

// COM for the thumbnail calls, initialised once per thread and released when
// the thread ends.
struct ComApartment {
  ComApartment() : ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ComApartment() {
    if (ok) CoUninitialize();
  }
  bool ok;
};

class ShellImageFactory : public ThumbnailSource {
 public:
  HBITMAP Render(const std::u16string& path, int32_t size, bool thumbnailOnly) override {
    IShellItemImageFactory* factory = nullptr;
    if (FAILED(SHCreateItemFromParsingName(W(path), nullptr, IID_PPV_ARGS(&factory))) || factory == nullptr) {
      return nullptr;
    }
    HBITMAP bitmap = nullptr;
    const SIIGBF flags = thumbnailOnly ? SIIGBF_BIGGERSIZEOK | SIIGBF_THUMBNAILONLY : SIIGBF_BIGGERSIZEOK;
    if (FAILED(factory->GetImage(SIZE{size, size}, flags, &bitmap))) bitmap = nullptr;
    factory->Release();
    return bitmap;
  }
};

// The shell's icon of the file, else of its type alone (for files the shell
// cannot open, or that live on a drive it does not see).
HICON ShellIconOf(const std::u16string& path, bool isDirectory, bool small) {
  const UINT sizeFlag = small ? SHGFI_SMALLICON : SHGFI_LARGEICON;
  SHFILEINFOW info{};
  if (!path.empty() && SHGetFileInfoW(W(path), 0, &info, sizeof info, SHGFI_ICON | sizeFlag) != 0 &&
      info.hIcon != nullptr) {
    return info.hIcon;
  }
  info = SHFILEINFOW{};
  const DWORD attributes = isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  const std::u16string name = path.empty() ? std::u16string(u"file") : path;
  if (SHGetFileInfoW(W(name), attributes, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | sizeFlag) != 0) {
    return info.hIcon;
  }
  return nullptr;
}

// The shell's icon in the size the list draws it: scaled once here rather
// than on every frame (stretching while drawing costs more than the rest of
// an icon cell).
HICON ShellFileIcon(const std::u16string& path, bool isDirectory, int32_t size) {
  const bool small = UsesSmallShellIcon(size);
  const HICON icon = ShellIconOf(path, isDirectory, small);
  if (icon == nullptr || GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON) == size) return icon;
  const HICON scaled = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, size, size, 0));
  if (scaled == nullptr) return icon;
  DestroyIcon(icon);
  return scaled;
}

HICON LoadThumbnail(IconCache& cache, const std::u16string& path, int32_t size) {
  thread_local ComApartment com;
  const std::shared_ptr<ThumbnailSource> source = cache.Thumbnails();
  if (!com.ok || source == nullptr) return nullptr;
  const int32_t asked = ThumbnailRequestSize(size);
  for (const bool thumbnailOnly : {true, false}) {
    const HBITMAP bitmap = source->Render(path, asked, thumbnailOnly);
    if (bitmap == nullptr) continue;
    const HICON icon = IconFromBitmap(bitmap, size);
    DeleteObject(bitmap);
    if (icon != nullptr) return icon;
  }
  return nullptr;
}

}  // namespace

std::shared_ptr<ThumbnailSource> ShellThumbnailSource() { return std::make_shared<ShellImageFactory>(); }

IconCache::IconCache(size_t capacity)
    : uiThread_(GetCurrentThreadId()), icons_([this](HICON icon) { Drop(icon); }, capacity) {
  source_ = ShellThumbnailSource();
}

IconCache::~IconCache() {
  destroying_ = true;
  icons_.Clear();
  DestroyDropped();
  if (sharedFolder_ != nullptr) DestroyIcon(sharedFolder_);
}

HICON IconCache::Find(uint64_t key) { return icons_.Find(key).value_or(nullptr); }

HICON IconCache::Insert(uint64_t key, HICON icon) { return icon != nullptr ? icons_.Insert(key, icon) : nullptr; }

HICON IconCache::SharedFolderIcon() {
  if (sharedFolder_ == nullptr) {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES) != 0) {
      sharedFolder_ = info.hIcon;
    }
  }
  return sharedFolder_;
}

void IconCache::SetThumbnailSource(std::shared_ptr<ThumbnailSource> source) {
  std::lock_guard lock(sourceMutex_);
  source_ = std::move(source);
}

std::shared_ptr<ThumbnailSource> IconCache::Thumbnails() const {
  std::lock_guard lock(sourceMutex_);
  return source_;
}

void IconCache::Drop(HICON icon) {
  if (icon == nullptr) return;
  if (destroying_ || GetCurrentThreadId() == uiThread_) {
    DestroyIcon(icon);
    return;
  }
  std::lock_guard lock(droppedMutex_);
  dropped_.push_back(icon);
}

void IconCache::DestroyDropped() {
  std::vector<HICON> icons;
  {
    std::lock_guard lock(droppedMutex_);
    icons.swap(dropped_);
  }
  for (HICON icon : icons) DestroyIcon(icon);
}

void IconCache::Free() {
  icons_.Clear();
  failures.Clear();
  DestroyDropped();
  if (sharedFolder_ != nullptr) DestroyIcon(sharedFolder_);
  sharedFolder_ = nullptr;
}

HICON LoadItemIcon(IconCache& cache, bool isDirectory, const std::u16string& path, int32_t size, bool wantThumbnail,
                   uint64_t nowMs) {
  const int32_t asked = size < 1 ? 16 : size;
  const uint64_t thumbKey = IconCacheKey(path, asked, isDirectory, true);
  const bool recentFailure = wantThumbnail && cache.failures.RecentlyFailed(thumbKey, nowMs);
  const IconRequest request = DecideIconRequest(path.empty(), isDirectory, size, wantThumbnail, recentFailure);
  switch (request.source) {
    case IconSource::kNone:
      return nullptr;
    case IconSource::kSharedFolder:
      return cache.SharedFolderIcon();
    case IconSource::kLoad:
      break;
  }
  if (request.thumbnail) {
    if (const HICON thumbnail = LoadThumbnailIcon(cache, path, request.size, nowMs)) return thumbnail;
  }
  // The file's own icon is kept apart from its thumbnail, so that a failed
  // thumbnail is tried again once its failure has expired.
  const uint64_t key = IconCacheKey(path, request.size, isDirectory, false);
  if (const HICON cached = cache.Find(key)) return cached;
  return cache.Insert(key, ShellFileIcon(path, isDirectory, request.size));
}

HICON LoadThumbnailIcon(IconCache& cache, const std::u16string& path, int32_t size, uint64_t nowMs) {
  if (path.empty()) return nullptr;
  const uint64_t key = IconCacheKey(path, size < 1 ? 16 : size, false, true);
  if (const HICON cached = cache.Find(key)) return cached;
  if (cache.failures.RecentlyFailed(key, nowMs)) return nullptr;
  if (const HICON thumbnail = LoadThumbnail(cache, path, size < 1 ? 16 : size)) return cache.Insert(key, thumbnail);
  cache.failures.RecordFailure(key, nowMs);
  return nullptr;
}

HICON CachedThumbnail(IconCache& cache, const std::u16string& path, int32_t size) {
  if (path.empty()) return nullptr;
  return cache.Find(IconCacheKey(path, size < 1 ? 16 : size, false, true));
}

HICON IconFromBitmap(HBITMAP bitmap, int32_t size) {
  BITMAP info{};
  if (bitmap == nullptr || size < 1 || GetObjectW(bitmap, sizeof info, &info) == 0) return nullptr;
  const int32_t width = info.bmWidth;
  const int32_t height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  if (width <= 1 || height <= 1 || width > 4096 || height > 4096) return nullptr;

  std::vector<uint32_t> source(static_cast<size_t>(width) * height);
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = width;
  request.bmiHeader.biHeight = -height;  // top down
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  const HDC screen = GetDC(nullptr);
  const int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), source.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != height) return nullptr;

  const std::vector<uint32_t> square = ScaleToSquare(source, width, height, size);
  if (square.empty()) return nullptr;
  BITMAPINFO target = request;
  target.bmiHeader.biWidth = size;
  target.bmiHeader.biHeight = -size;
  void* bits = nullptr;
  const HBITMAP colour = CreateDIBSection(nullptr, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (colour == nullptr || bits == nullptr) {
    if (colour != nullptr) DeleteObject(colour);
    return nullptr;
  }
  std::memcpy(bits, square.data(), square.size() * sizeof(uint32_t));
  // With a 32-bit colour bitmap the alpha channel decides; the mask only has
  // to be there.
  const std::vector<uint8_t> zeros(static_cast<size_t>((size + 15) / 16 * 2) * size, 0);
  const HBITMAP mask = CreateBitmap(size, size, 1, 1, zeros.data());
  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmColor = colour;
  icon.hbmMask = mask;
  const HICON result = mask != nullptr ? CreateIconIndirect(&icon) : nullptr;
  DeleteObject(colour);
  if (mask != nullptr) DeleteObject(mask);
  return result;
}

}  // namespace quillmor
