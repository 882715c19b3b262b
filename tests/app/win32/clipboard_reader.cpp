// clipboard_reader OUTPUT: writes what another program finds on the
// clipboard to the file OUTPUT (UTF-8), one line per finding:
//   hdrop BYTES PFILES FWIDE     the CF_HDROP block's size and header
//   file PATH                    each path DragQueryFileW gives
//   effect VALUE                 the "Preferred DropEffect" value
//   text ESCAPED                 CF_UNICODETEXT, with \r and \n written out
// A format that is missing gives "<name> none". Exits 1 when the clipboard
// cannot be opened.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "tests/wide_utf8.h"

namespace {

using quillmor::Utf8;

std::string Escaped(const std::wstring& text) {
  std::string out;
  for (const char c : Utf8(text)) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  bool opened = false;
  for (int attempt = 0; attempt < 100 && !opened; ++attempt) {
    opened = OpenClipboard(nullptr) != FALSE;
    if (!opened) Sleep(20);  // the writer may hold it a moment longer
  }
  if (!opened) return 1;
  std::string report;

  if (const HANDLE drop = GetClipboardData(CF_HDROP)) {
    const auto* header = static_cast<const DROPFILES*>(GlobalLock(drop));
    report += "hdrop " + std::to_string(GlobalSize(drop)) + " " + std::to_string(header ? header->pFiles : 0) + " " +
              std::to_string(header ? header->fWide : 0) + "\n";
    GlobalUnlock(drop);
    const UINT count = DragQueryFileW(static_cast<HDROP>(drop), 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      wchar_t path[32768];
      DragQueryFileW(static_cast<HDROP>(drop), i, path, 32768);
      report += "file " + Utf8(path) + "\n";
    }
  } else {
    report += "hdrop none\n";
  }

  const HANDLE effect = GetClipboardData(RegisterClipboardFormatW(L"Preferred DropEffect"));
  const auto* value = effect != nullptr ? static_cast<const DWORD*>(GlobalLock(effect)) : nullptr;
  report += value != nullptr ? "effect " + std::to_string(*value) + "\n" : "effect none\n";
  if (value != nullptr) GlobalUnlock(effect);

  const HANDLE text = GetClipboardData(CF_UNICODETEXT);
  const auto* units = text != nullptr ? static_cast<const wchar_t*>(GlobalLock(text)) : nullptr;
  report += units != nullptr ? "text " + Escaped(units) + "\n" : "text none\n";
  if (units != nullptr) GlobalUnlock(text);
  CloseClipboard();

  FILE* out = _wfopen(argv[1], L"wb");
  if (out == nullptr) return 2;
  std::fwrite(report.data(), 1, report.size(), out);
  std::fclose(out);
  return 0;
}
