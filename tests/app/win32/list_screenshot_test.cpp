// Not a check: holds the window with results on the screen so that a script
// can take its picture (scripts/list-screenshots.sh). Skipped unless
// QUILLMOR_SHOT_DIR names a folder (a Windows path) for the hand-over files.
#include <cstdlib>
#include <string>

#include "app/core/window_ids.h"
#include "tests/app/win32/list_fixture.h"

namespace quillmor {
namespace {

class ListScreenshot : public ListFixture {
 protected:
  // A tree of documents of the kind people search.
  void Documents() {
    AddWalkedDrive(u'D', u"exFAT", u"Data");
    const struct {
      const char16_t* path;
      size_t bytes;
      int daysAgo;
    } files[] = {
        {u"D:\\Work\\Reports\\2024\\Quarterly report Q1.xlsx", 48'213, 40},
        {u"D:\\Work\\Reports\\2024\\Quarterly report Q2.xlsx", 51'877, 12},
        {u"D:\\Work\\Reports\\2024\\Annual report draft.docx", 1'288'112, 3},
        {u"D:\\Work\\Reports\\2023\\Annual report 2023.pdf", 4'921'344, 310},
        {u"D:\\Work\\Reports\\2023\\report-figures.png", 311'520, 300},
        {u"D:\\Work\\Clients\\Northwind\\Site visit report.docx", 88'031, 25},
        {u"D:\\Work\\Clients\\Northwind\\report photos\\IMG_2041.jpg", 2'404'611, 25},
        {u"D:\\Projects\\quillmor\\docs\\report-template.md", 2'306, 7},
        {u"D:\\Projects\\quillmor\\tools\\reporter.py", 9'412, 1},
        {u"D:\\Projects\\quillmor\\build\\test-report.xml", 731, 0},
        {u"D:\\Home\\Taxes\\2023 tax report.pdf", 612'004, 200},
        {u"D:\\Home\\School\\Book report - The Hobbit.docx", 23'550, 900},
        {u"D:\\Home\\Car\\Service report 2022.pdf", 140'222, 700},
        {u"D:\\Music\\Weather Report - Birdland.mp3", 6'311'204, 1500},
        {u"D:\\Videos\\Field report.mp4", 38'922'114, 60},
    };
    const uint64_t now = DefaultEnv().clock->UtcNowFileTime();
    constexpr uint64_t kDay = 864'000'000'000ull;  // 100 ns units
    for (const auto& f : files) {
      memory.AddFile(f.path, std::string(f.bytes, 'x'));
      const uint64_t written = now - f.daysAgo * kDay - (f.bytes % 977) * 600'000'000ull;
      memory.SetTimes(f.path, written - 30 * kDay, written);
    }
    memory.AddDirectories(u"D:\\Work\\Reports");
  }

  static bool Exists(const std::u16string& path) {
    return GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str())) != INVALID_FILE_ATTRIBUTES;
  }
};

TEST_F(ListScreenshot, HoldsTheWindowForAPicture) {
  const char* dir = std::getenv("QUILLMOR_SHOT_DIR");
  const char* mode = std::getenv("QUILLMOR_SHOT_MODE");  // "list" or "icons", then "-dark" or "-light"
  if (dir == nullptr || mode == nullptr) GTEST_SKIP() << "QUILLMOR_SHOT_DIR and QUILLMOR_SHOT_MODE are not set";
  const std::string m(mode);
  const bool dark = m.find("dark") != std::string::npos;
  const bool icons = m.find("icons") != std::string::npos;
  WriteWindowIni(std::string("themeMode=") + (dark ? "dark" : "light") + "\nfilterLayout=topbar\nviewMode=" +
                 (icons ? "2" : "0") + "\ncol1=300\ncol2=90\ncol3=140\ncol4=140\n");
  Documents();
  OpenReady();
  SetWindowPos(hwnd, nullptr, 8, 8, 1008, 730, SWP_NOZORDER);
  ASSERT_GT(SearchAndWait(u"report"), 5);
  AllowSortingNow();
  PumpFor(600);  // sizes and dates arrive
  Click(CellCentre(2, kColumnSize));
  if (!icons) MouseMove(CellCentre(5, kColumnName));
  PumpFor(300);

  const std::string base(dir);
  const std::u16string ready(base.begin(), base.end());
  HANDLE marker = CreateFileW(reinterpret_cast<const wchar_t*>((ready + u"\\ready").c_str()), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(marker, INVALID_HANDLE_VALUE);
  CloseHandle(marker);
  EXPECT_TRUE(PumpUntil([&] { return Exists(ready + u"\\done"); }, 60000));
}

}  // namespace
}  // namespace quillmor
