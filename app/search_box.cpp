// The search box: search-as-you-type, Enter and Escape.
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "search/query_trim.h"
#include "search/search_pipeline.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

constexpr UINT_PTR kSearchBoxSubclassId = 1;
constexpr int kMaxQueryChars = 255;

// "s:" or "S:": a content search, which starts only with Enter.
bool IsContentQuery(std::u16string_view text) {
  return text.size() >= 2 && (text[0] == u's' || text[0] == u'S') && text[1] == u':';
}

void OnEnter(MainWindow& w) {
  KillTimer(w.hwnd, ID_TIMER_SEARCH_DELAY);
  w.queryText = WindowText(w.controls.searchEdit, kMaxQueryChars);
  w.view.StoreSearchText(w.queryText);
  const std::u16string query(TrimQueryText(w.queryText));
  if (!query.empty()) {
    DoSearchAsync(w.session, query, false, false);
  } else {
    RefreshSearchResultsAfterIndexUpdate(w.session);
  }
}

// True when Escape was taken for a content search.
bool OnEscape(MainWindow& w) {
  if (!IsContentQuery(TrimQueryText(WindowText(w.controls.searchEdit, kMaxQueryChars)))) return false;
  KillTimer(w.hwnd, ID_TIMER_SEARCH_DELAY);
  w.app.results.NextGeneration();
  SetStatus(w, Translate(u"Status_ContentSearchCanceled", u"内容搜索已取消。", u"Content search canceled."));
  return true;
}

LRESULT CALLBACK SearchBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto& w = *reinterpret_cast<MainWindow*>(data);
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
      // A one-line box has nothing to scroll: the wheel scrolls the list,
      // also where the system sends it to the focused window.
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
}

void OnSearchBoxChanged(MainWindow& w) {
  w.queryText = WindowText(w.controls.searchEdit, kMaxQueryChars);
  w.view.StoreSearchText(w.queryText);
  KillTimer(w.hwnd, ID_TIMER_SEARCH_DELAY);
  if (IsContentQuery(TrimQueryText(w.queryText))) return;
  SetTimer(w.hwnd, ID_TIMER_SEARCH_DELAY, kSearchDelayMs, nullptr);
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
