// Not a test: pictures of the main window for people to look at. Run by
// scripts/screenshots.sh --details (disabled otherwise); each picture is a BMP
// of the window as the screen shows it, in QUILLMOR_SHOWCASE_DIR.
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "app/owner_drawn_menu.h"
#include "tests/app/win32/window_fixture.h"

namespace quillmor {
namespace {

class WindowShowcase : public WindowFixture {
 protected:
  void Files() {
    const uint64_t users = ntfsC.AddExistingFile(kRoot, u"Users", true);
    const uint64_t docs = ntfsC.AddExistingFile(users, u"Documents", true);
    const uint64_t pics = ntfsC.AddExistingFile(users, u"Pictures", true);
    const uint64_t projects = ntfsC.AddExistingFile(docs, u"Projects", true);
    for (const char16_t* name : {u"quarterly report 2024.docx", u"report draft.txt", u"annual report.pdf",
                                 u"report-summary.xlsx", u"meeting notes.md", u"budget.csv", u"reporting.pptx"}) {
      ntfsC.AddExistingFile(docs, name);
    }
    for (const char16_t* name : {u"report photo.jpg", u"holiday.png", u"scan of report.pdf", u"diagram.svg"}) {
      ntfsC.AddExistingFile(pics, name);
    }
    for (const char16_t* name : {u"report-tool", u"reports", u"old reports"}) {
      ntfsC.AddExistingFile(projects, name, true);
    }
    ntfsC.AddExistingFile(projects, u"report builder.exe");
    ntfsC.AddExistingFile(projects, u"report archive.zip");
    MountNtfs(u'C', ntfsC);
    AddWalkedDrive(u'E', u"exFAT", u"USB Stick");
    memory.AddFile(u"E:\\backup\\report-2023.7z", "x");
    memory.AddFile(u"E:\\music\\report song.mp3", "x");
  }

  // The window as the screen shows it, frame included, into `name`.bmp.
  void Capture(const std::string& name) {
    PumpFor(400);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    PumpFor(200);
    CaptureScreen(name);
  }

  void CaptureScreen(const std::string& name) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const HDC screen = GetDC(nullptr);
    const HDC memoryDc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memoryDc, bitmap);
    BitBlt(memoryDc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    std::ofstream out(Directory() + "/" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(stride) * height);
    SelectObject(memoryDc, old);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(nullptr, screen);
  }

  // A popup menu is modal: a thread timer takes the picture from inside its
  // loop and closes it.
  void CaptureMenu(const std::string& name) {
    static WindowShowcase* self = nullptr;
    static std::string pending;
    self = this;
    pending = name;
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"&Open\tEnter");
    AppendMenuW(menu, MF_STRING, 2, L"Open &Containing Folder");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 3, L"Grid Lines");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 4, L"Run as Administrator");
    const HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 5, L"List");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"View");
    AppendMenuW(menu, MF_STRING, 6, L"Copy Full Path\tCtrl+Shift+C");
    RECT r{};
    GetWindowRect(hwnd, &r);
    SetTimer(nullptr, 0, 600, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      self->CaptureScreen(pending);
      EndMenu();
    });
    TrackThemedPopupMenu(Window(), menu, TPM_RETURNCMD, r.left + 300, r.top + 200);
    DestroyMenu(menu);
  }

  static std::string Directory() {
    const char* dir = std::getenv("QUILLMOR_SHOWCASE_DIR");
    return dir != nullptr ? dir : ".";
  }

  void Show(bool dark, bool sidebar) {
    SetTheme(Window(), dark);
    SetFilterLayout(Window(), sidebar);
  }
};

TEST_F(WindowShowcase, DISABLED_Pictures) {
  Files();
  OpenReady();
  SetWindowPos(hwnd, nullptr, 20, 20, 1100, 700, SWP_NOZORDER);
  SearchAndWait(u"report");
  for (const bool dark : {false, true}) {
    const std::string theme = dark ? "dark" : "light";
    Show(dark, true);
    Capture(theme + "-sidebar");
    Show(dark, false);
    Capture(theme + "-topbar");
  }
  // The custom presets with their controls, and a selected tag.
  Show(true, true);
  SendMessageW(Window().controls.sizePreset, CB_SETCURSEL, 4, 0);
  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(kIdSizePreset, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Window().controls.sizePreset));
  SendMessageW(Window().controls.timePreset, CB_SETCURSEL, 4, 0);
  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(kIdTimePreset, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Window().controls.timePreset));
  SelectTag(Window(), 2);
  PumpFor(500);
  Capture("dark-custom-presets");
  Show(false, true);
  Capture("light-custom-presets");
  // An open drop-down list, and a popup menu, in both themes.
  for (const bool dark : {true, false}) {
    const std::string theme = dark ? "dark" : "light";
    Show(dark, true);
    SendMessageW(Window().controls.timePreset, CB_SHOWDROPDOWN, TRUE, 0);
    Capture(theme + "-drop-down");
    SendMessageW(Window().controls.timePreset, CB_SHOWDROPDOWN, FALSE, 0);
    CaptureMenu(theme + "-menu");
  }
  // 144 DPI, as a move to such a monitor would bring.
  RECT r{};
  GetWindowRect(hwnd, &r);
  const RECT suggested{r.left, r.top, r.left + 1650, r.top + 1050};
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  Capture("light-144dpi");
  Show(true, false);
  Capture("dark-144dpi-topbar");
  // The dark calendar of the "from" picker, opened by a click on its chevron
  // (Wine's picker then keeps it open: it is the last picture).
  Show(true, true);
  RECT picker{};
  GetClientRect(Window().controls.dateFrom, &picker);
  const LPARAM at = MAKELPARAM(picker.right - 10, picker.bottom / 2);
  SendMessageW(Window().controls.dateFrom, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(Window().controls.dateFrom, WM_LBUTTONUP, 0, at);
  Capture("dark-144dpi-calendar");
}

}  // namespace
}  // namespace quillmor
