// The icon cache with real icons: what it drops is destroyed, on the window's
// thread; thumbnails are fitted into their square; the large-icon view shows
// them once made.
#include "app/icon_cache.h"

#include <atomic>

#include "app/core/icon_cache_key.h"
#include "app/core/theme_palette.h"
#include "platform/thread.h"
#include "tests/app/win32/list_fixture.h"

namespace quillmor {
namespace {

HICON NewIcon() { return CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)); }

bool Alive(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  return true;
}

// A `width` x `height` bitmap of one colour (0xAARRGGBB).
HBITMAP SolidBitmap(int width, int height, uint32_t argb) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) std::fill_n(static_cast<uint32_t*>(bits), width * height, argb);
  return bitmap;
}

TEST(IconCacheTest, EvictedIconsAreDestroyedAndTheRestWhenFreed) {
  IconCache cache(3);
  HICON icons[5];
  for (int i = 0; i < 5; ++i) {
    icons[i] = NewIcon();
    ASSERT_TRUE(Alive(icons[i]));
    EXPECT_EQ(cache.Insert(static_cast<uint64_t>(i), icons[i]), icons[i]);
  }
  EXPECT_FALSE(Alive(icons[0]));
  EXPECT_FALSE(Alive(icons[1]));
  for (int i = 2; i < 5; ++i) EXPECT_TRUE(Alive(icons[i])) << i;
  EXPECT_EQ(cache.Find(2), icons[2]);
  EXPECT_EQ(cache.Find(0), nullptr);
  EXPECT_EQ(cache.Size(), 3u);

  // The same key loaded twice (two threads): the first stays, the second goes.
  const HICON twin = NewIcon();
  EXPECT_EQ(cache.Insert(3, twin), icons[3]);
  EXPECT_FALSE(Alive(twin));

  cache.Free();
  for (int i = 2; i < 5; ++i) EXPECT_FALSE(Alive(icons[i])) << i;
  EXPECT_EQ(cache.Size(), 0u);
}

TEST(IconCacheTest, IconsDroppedByAnotherThreadWaitForTheWindowThread) {
  IconCache cache(1);
  const HICON drawn = NewIcon();
  cache.Insert(1, drawn);
  // The thumbnail job evicts the icon the window may be drawing right now.
  Thread job([&] { cache.Insert(2, NewIcon()); });
  job.join();
  EXPECT_TRUE(Alive(drawn));
  EXPECT_EQ(cache.Find(1), nullptr);
  cache.DestroyDropped();
  EXPECT_FALSE(Alive(drawn));
}

TEST(IconCacheTest, ALastReferenceOnAnotherThreadStillDestroysEverything) {
  auto cache = std::make_shared<IconCache>(4);
  const HICON icon = NewIcon();
  cache->Insert(1, icon);
  Thread job([held = std::move(cache)]() mutable { held.reset(); });
  job.join();
  EXPECT_FALSE(Alive(icon));
}

TEST(IconFromBitmapTest, OnePixelIsNoPictureAndOthersFillTheirSquare) {
  const HBITMAP dot = SolidBitmap(1, 1, 0xFFFF0000);
  EXPECT_EQ(IconFromBitmap(dot, 48), nullptr);  // what Wine's image factory gives for everything
  DeleteObject(dot);

  const HBITMAP wide = SolidBitmap(64, 32, 0xFFFF0000);
  const HICON icon = IconFromBitmap(wide, 48);
  DeleteObject(wide);
  ASSERT_NE(icon, nullptr);
  // Drawn on white: red in the middle band, white above it (transparent).
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP canvas = SolidBitmap(48, 48, 0xFFFFFFFF);
  const HGDIOBJ old = SelectObject(dc, canvas);
  DrawIconEx(dc, 0, 0, icon, 48, 48, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(GetPixel(dc, 24, 24), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 2, 13), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 24, 4), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 24, 44), RGB(255, 255, 255));
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  DestroyIcon(icon);
}

// Renders every .jpg as a wide red picture and anything else as Wine does.
class FakeThumbnails : public ThumbnailSource {
 public:
  HBITMAP Render(const std::u16string& path, int32_t, bool) override {
    ++calls;
    return SolidBitmap(path.ends_with(u".jpg") ? 64 : 1, path.ends_with(u".jpg") ? 32 : 1, 0xFFFF0000);
  }
  std::atomic<int> calls{0};
};

class ThumbnailViewTest : public ListFixture {};

TEST_F(ThumbnailViewTest, TheLargeIconViewShowsThumbnailsOnceMade) {
  WriteWindowIni("viewMode=2\nfilterLayout=topbar\n");
  AddWalkedDrive(u'E');
  memory.AddFile(u"E:\\pics\\photo-1.jpg", "jpeg");
  memory.AddFile(u"E:\\pics\\photo-2.png", "png");
  memory.AddFile(u"E:\\pics\\photo-3.txt", "text");
  Open();
  auto fake = std::make_shared<FakeThumbnails>();
  Window().list.icons->SetThumbnailSource(fake);
  ASSERT_TRUE(PumpUntil([&] { return SettledCount() >= 0; }));
  ASSERT_EQ(SearchAndWait(u"photo-"), 3);

  IconCache& cache = *Window().list.icons;
  ASSERT_TRUE(PumpUntil([&] { return CachedThumbnail(cache, u"E:\\pics\\photo-1.jpg", 48) != nullptr; }, 10000));
  // The png's one pixel is no picture: its failure is remembered.
  const uint64_t pngKey = IconCacheKey(u"E:\\pics\\photo-2.png", 48, false, true);
  ASSERT_TRUE(PumpUntil(
      [&] { return cache.failures.RecentlyFailed(pngKey, GetTickCount64()) && cache.thumbnailsRunning.load() == 0; },
      10000));
  EXPECT_EQ(CachedThumbnail(cache, u"E:\\pics\\photo-2.png", 48), nullptr);
  EXPECT_EQ(fake->calls.load(), 3);  // the jpg once; the png twice (thumbnail, then any picture); never the txt

  const PaintedFrame frame = Paint();
  const Rect area = ListArea(Frame());
  const int iconLeft = area.left + (150 - 48) / 2;
  const int iconTop = area.top + 8;
  EXPECT_EQ(frame.At(iconLeft + 24, iconTop + 24), RGB(255, 0, 0));
  EXPECT_EQ(frame.At(iconLeft + 24, iconTop + 4), PaletteFor(false).background);
  // The png shows its file icon: no red there.
  EXPECT_NE(frame.At(iconLeft + 150 + 24, iconTop + 24), RGB(255, 0, 0));
}

}  // namespace
}  // namespace quillmor
