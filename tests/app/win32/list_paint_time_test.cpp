// Not a check: the time to paint one frame of the list at 1100 x 700, in the
// list view and the large-icon view, reported (median of many frames) for the
// record. A timing says nothing on a loaded machine, so it runs only when
// QUILLMOR_MEASURE_PAINT=1 asks for it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tests/app/win32/list_fixture.h"

namespace quillmor {
namespace {

class ListPaintTime : public ListFixture {
 protected:
  // The list laid out for a 1100 x 700 client area. The window itself cannot
  // grow past the test display, so the frames go into a bitmap of that size.
  void LayOutAt1100x700() {
    MainWindow& w = Window();
    w.clientWidth = 1100;
    w.clientHeight = 700;
    LayOutList(w);
  }

  // Paints `frames` whole frames; the median in microseconds.
  double MedianFrameMicroseconds(int frames) {
    MainWindow& w = Window();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w.clientWidth;
    info.bmiHeader.biHeight = -w.clientHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC screen = GetDC(hwnd);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(hwnd, screen);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, w.clientWidth, w.clientHeight};
    PaintListFrame(w, dc, all);  // icons into the cache first
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
      const auto start = std::chrono::steady_clock::now();
      PaintListFrame(w, dc, all);
      GdiFlush();
      times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
  }
};

TEST_F(ListPaintTime, OneFrameAt1100x700) {
  const char* measure = std::getenv("QUILLMOR_MEASURE_PAINT");
  if (measure == nullptr || std::string_view(measure) != "1") GTEST_SKIP() << "QUILLMOR_MEASURE_PAINT=1 is not set";
  WriteWindowIni("filterLayout=topbar\n");
  NumberedFiles(2000);
  OpenReady();
  ASSERT_EQ(SearchAndWait(u"file-"), 2000);
  ASSERT_TRUE(PumpUntil([&] { return Cell(5, kColumnSize) != u"..."; }, 10000));
  Click(CellCentre(3, kColumnName));
  Window().queryText = u"file-0";  // names carry a highlight
  LayOutAt1100x700();
  const double list = MedianFrameMicroseconds(200);

  SetListViewMode(Window(), 2);
  LayOutAt1100x700();
  const double icons = MedianFrameMicroseconds(200);
  RecordProperty("list_frame_us", static_cast<int>(list));
  RecordProperty("large_icons_frame_us", static_cast<int>(icons));
  std::printf("frame at 1100x700, median of 200: list view %.0f us, large icons %.0f us\n", list, icons);
}

}  // namespace
}  // namespace quillmor
