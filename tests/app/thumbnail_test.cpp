#include <gtest/gtest.h>

#include "app/core/icon_request.h"
#include "app/core/thumbnail_extensions.h"
#include "app/core/thumbnail_failures.h"

namespace quillmor {
namespace {

TEST(ThumbnailFailuresTest, AFailureIsNotRetriedFor10Seconds) {
  ThumbnailFailures failures;
  failures.RecordFailure(7, 1000);
  EXPECT_TRUE(failures.RecentlyFailed(7, 1000));
  EXPECT_TRUE(failures.RecentlyFailed(7, 10'999));
  EXPECT_FALSE(failures.RecentlyFailed(7, 11'000));
  EXPECT_FALSE(failures.RecentlyFailed(8, 1000));
  // A new failure starts the wait again.
  failures.RecordFailure(7, 11'000);
  EXPECT_TRUE(failures.RecentlyFailed(7, 20'000));
  // A clock that went back still counts the failure as recent.
  EXPECT_TRUE(failures.RecentlyFailed(7, 500));
}

TEST(ThumbnailFailuresTest, ExpiredFailuresAreDroppedOnceTheTableGrows) {
  ThumbnailFailures failures;
  for (uint64_t key = 0; key < 5000; ++key) failures.RecordFailure(key, 0);
  EXPECT_GT(failures.Size(), 4096u);  // nothing has expired yet: all are kept
  failures.RecordFailure(99'999, 10'000);
  EXPECT_EQ(failures.Size(), 1u);
  EXPECT_TRUE(failures.RecentlyFailed(99'999, 10'000));
}

TEST(ThumbnailExtensionsTest, ImagesAndVideosInAnyCase) {
  const struct {
    const char16_t* name;
    bool thumbnail;
  } cases[] = {
      {u"photo.jpg", true}, {u"PHOTO.JPG", true},
      {u"scan.Tiff", true}, {u"x.pjpeg", true},
      {u"clip.mpg", true},  {u"clip.MKV", true},
      {u"raw.cr3", true},   {u"notes.txt", false},
      {u"jpg", false},      {u"archive.png.zip", false},
      {u"x.mpeg4", false},  {u"x.", false},
      {u"", false},         {u".png", true},
      {u"a.jp", false},     {u"a.jpgx", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasThumbnailExtension(c.name), c.thumbnail) << std::u16string_view(c.name).size();
  }
  EXPECT_TRUE(IsThumbnailExtension(u".HEIC"));
  EXPECT_FALSE(IsThumbnailExtension(u"heic"));
  EXPECT_FALSE(IsThumbnailExtension(u""));
  EXPECT_FALSE(IsThumbnailExtension(u"."));
}

TEST(IconRequestTest, SharedFolderIconNothingOrALoad) {
  const struct {
    bool pathEmpty, isDirectory;
    int32_t size;
    bool wantThumbnail, recentlyFailed;
    IconSource source;
    int32_t requestSize;
    bool thumbnail;
  } cases[] = {
      {true, true, 48, false, false, IconSource::kSharedFolder, 48, false},
      {true, false, 48, true, false, IconSource::kNone, 48, false},
      {false, true, 16, false, false, IconSource::kSharedFolder, 16, false},
      {false, true, 20, false, false, IconSource::kSharedFolder, 20, false},
      {false, true, 0, false, false, IconSource::kSharedFolder, 16, false},  // 0 counts as 16
      {false, true, 24, false, false, IconSource::kLoad, 24, false},
      {false, true, 16, true, false, IconSource::kLoad, 16, false},  // directories get no thumbnail
      {false, false, 48, true, false, IconSource::kLoad, 48, true},
      {false, false, 48, true, true, IconSource::kLoad, 48, false},  // failed lately: the file icon
      {false, false, -5, false, false, IconSource::kLoad, 16, false},
  };
  for (const auto& c : cases) {
    const IconRequest r = DecideIconRequest(c.pathEmpty, c.isDirectory, c.size, c.wantThumbnail, c.recentlyFailed);
    EXPECT_EQ(r.source, c.source) << c.isDirectory << " " << c.size;
    EXPECT_EQ(r.size, c.requestSize) << c.isDirectory << " " << c.size;
    EXPECT_EQ(r.thumbnail, c.thumbnail) << c.isDirectory << " " << c.size;
  }
  EXPECT_EQ(ThumbnailRequestSize(8), 16);
  EXPECT_EQ(ThumbnailRequestSize(48), 48);
  EXPECT_TRUE(UsesSmallShellIcon(24));
  EXPECT_FALSE(UsesSmallShellIcon(28));
}

}  // namespace
}  // namespace quillmor
