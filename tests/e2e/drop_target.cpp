// quillmor-droptarget: another program's window that files are dropped on,
// for the end-to-end run's drag and drop; and a reader of the file list on
// the clipboard. Paths are written to OUTPUT as UTF-8, one per line.
//
//   quillmor-droptarget target X Y WIDTH HEIGHT OUTPUT MS
//       a topmost window at X, Y (screen) that takes drops of CF_HDROP; prints
//       "ready" once it is up and "enter" when a drag offering files comes
//       over it; exits 0 after a drop that brought files, 1 when none came
//       within MS milliseconds
//   quillmor-droptarget clipboard OUTPUT
//       the CF_HDROP list on the clipboard and its "Preferred DropEffect"
//       (a last line "effect N"); exits 1 without a list
#include <windows.h>

#include <ole2.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/wide_utf8.h"

namespace {

using quillmor::Utf8;

std::vector<std::wstring> PathsOf(HDROP drop) {
  std::vector<std::wstring> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size()));
    path.resize(path.size() - 1);
    paths.push_back(path);
  }
  return paths;
}

bool Write(const wchar_t* output, const std::vector<std::wstring>& paths, const std::string& tail) {
  FILE* out = _wfopen(output, L"wb");
  if (out == nullptr) return false;
  for (const std::wstring& path : paths) std::fprintf(out, "%s\n", Utf8(path).c_str());
  std::fputs(tail.c_str(), out);
  std::fclose(out);
  return true;
}

// Takes a drop of files: offers to copy while they are over the window.
class FileDropTarget : public IDropTarget {
 public:
  explicit FileDropTarget(const wchar_t* output) : output_(output) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
      *object = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on the stack

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    offered_ = data != nullptr && data->QueryGetData(&format) == S_OK;
    *effect = offered_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    if (offered_) {
      std::printf("enter\n");
      std::fflush(stdout);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = offered_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_NONE;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (data == nullptr || data->GetData(&format, &medium) != S_OK) return S_OK;
    const std::vector<std::wstring> paths = PathsOf(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    if (!paths.empty() && Write(output_, paths, "")) {
      dropped_ = true;
      *effect = DROPEFFECT_COPY;
      PostQuitMessage(0);
    }
    return S_OK;
  }

  bool dropped() const { return dropped_; }

 private:
  const wchar_t* output_;
  ULONG references_ = 1;
  bool offered_ = false;
  bool dropped_ = false;
};

int RunTarget(int x, int y, int width, int height, const wchar_t* output, DWORD timeoutMs) {
  if (FAILED(OleInitialize(nullptr))) return 2;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = L"QuillmorDropTarget";
  RegisterClassW(&wc);
  const HWND window =
      CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"Drop here", WS_POPUP | WS_VISIBLE, x, y,
                      width, height, nullptr, nullptr, wc.hInstance, nullptr);
  FileDropTarget target(output);
  if (window == nullptr || RegisterDragDrop(window, &target) != S_OK) return 2;
  UpdateWindow(window);
  std::printf("ready\n");
  std::fflush(stdout);
  SetTimer(window, 1, timeoutMs, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == window) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  RevokeDragDrop(window);
  DestroyWindow(window);
  OleUninitialize();
  return target.dropped() ? 0 : 1;
}

int ReadClipboard(const wchar_t* output) {
  if (!OpenClipboard(nullptr)) return 1;
  const auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  const std::vector<std::wstring> paths = drop != nullptr ? PathsOf(drop) : std::vector<std::wstring>{};
  std::string tail;
  if (const HANDLE effect = GetClipboardData(RegisterClipboardFormatW(L"Preferred DropEffect"))) {
    if (const auto* value = static_cast<const DWORD*>(GlobalLock(effect))) {
      tail = "effect " + std::to_string(*value) + "\n";
      GlobalUnlock(effect);
    }
  }
  CloseClipboard();
  return !paths.empty() && Write(output, paths, tail) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"target" && argc >= 8) {
    return RunTarget(_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), argv[6],
                     static_cast<DWORD>(_wtoi(argv[7])));
  }
  if (mode == L"clipboard" && argc >= 3) return ReadClipboard(argv[2]);
  std::printf("quillmor-droptarget: bad usage; see the top of drop_target.cpp\n");
  return 2;
}
