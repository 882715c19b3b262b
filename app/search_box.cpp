// The search box: search-as-you-type, Enter and Escape, and its keys.
#include "app/core/search_box_rules.h"
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "app/themed_controls.h"
#include "search/search_pipeline.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

constexpr UINT_PTR kSearchBoxSubclassId = 1;
constexpr int kMaxQueryChars = 255;

std::u16string ReadQuery(MainWindow& w) {
  w.queryText = WindowText(w.controls.searchEdit, kMaxQueryChars);
  w.view.StoreSearchText(w.queryText);
  return w.queryText;
}

void OnEnter(MainWindow& w) {
  KillTimer(w.hwnd, ID_TIMER_SEARCH_DELAY);
  const EnterAction action = DecideEnter(ReadQuery(w));
  if (action.search) {
    DoSearchAsync(w.session, action.query, false, false);
  } else {
    RefreshSearchResultsAfterIndexUpdate(w.session);
  }
}

// True when Escape was taken to cancel a content search.
bool OnEscape(MainWindow& w) {
  if (!EscapeCancelsContentSearch(WindowText(w.controls.searchEdit, kMaxQueryChars))) return false;
  KillTimer(w.hwnd, ID_TIMER_SEARCH_DELAY);
  w.app.results.NextGeneration();
  SetStatus(w, Translate(u"Status_ContentSearchCanceled", u"内容搜索已取消。", u"Content search canceled."));
  return true;
}

LRESULT CALLBACK SearchBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto& w = *reinterpret_cast<MainWindow*>(data);
  LRESULT result = 0;
  if (HandleEditChrome(w, box, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (HandleWindowKey(w, box, message, wParam, lParam)) return 0;
      if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        OnEnter(w);
        return 0;
      }
      if (message == WM_KEYDOWN && wParam == VK_ESCAPE && OnEscape(w)) return 0;
      break;
    case WM_CHAR:
      // A multi-line edit would take Enter as a line break; Escape and Tab
      // would beep.
      if (wParam == u'\r' || wParam == u'\n' || wParam == 0x1B || wParam == u'\t') return 0;
      break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      // A single line has nothing to scroll: the wheel belongs to whatever
      // lies under the pointer, which the main window sorts out.
      return SendMessageW(w.hwnd, message, wParam, lParam);
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, SearchBoxProc, kSearchBoxSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void SubclassSearchBox(MainWindow& w) {
  SetWindowSubclass(w.controls.searchEdit, SearchBoxProc, kSearchBoxSubclassId, reinterpret_cast<DWORD_PTR>(&w));
  RefreshEditChrome(w.controls.searchEdit);
}

void OnSearchBoxChanged(MainWindow& w) {
  KillTimer(w.hwnd, ID_TIMER_SEARCH_DELAY);
  if (const auto delay = SearchDelayAfterEdit(ReadQuery(w))) SetTimer(w.hwnd, ID_TIMER_SEARCH_DELAY, *delay, nullptr);
}

void FocusSearchBox(MainWindow& w, bool selectAll) {
  const HWND box = w.controls.searchEdit;
  if (box == nullptr || !IsWindowEnabled(box)) return;
  SetFocus(box);
  if (selectAll) {
    SendMessageW(box, EM_SETSEL, 0, -1);
  } else {
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  }
}

}  // namespace quillmor
