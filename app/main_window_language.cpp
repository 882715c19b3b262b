// The window's texts after the user interface changed its language.
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "settings/localisation.h"

namespace quillmor {

void OnLanguageApplied(MainWindow& w, bool tagsChanged) {
  SetWindowTextU(w.hwnd, Translate(u"App_TitleMain", u"Quillmor - quillmor.app", u"Quillmor - quillmor.app"));
  SetStatus(w, u"");
  FillPresetBoxes(w);
  // The scope box's entries are texts of the language too; the Desktop
  // stays chosen though its name changed.
  const bool desktop = w.session.scope.load() == kScopeDesktop;
  RebuildScopeBox(w);
  if (desktop && SendMessageW(w.controls.scopeBox, CB_SETCURSEL, 1, 0) == 1) w.session.SetScope({kScopeDesktop, {}});
  // Chinese texts take another face.
  RecreateFonts(w);
  if (tagsChanged) {
    RebuildTagButtons(w);
  }
  RefreshFilterBar(w);
  RelayoutAtCurrentSize(w);
  RedrawWindow(w.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace quillmor
