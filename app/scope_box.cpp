// The scope box: "ALL", the Desktop, then one entry per indexed volume.
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "index/ascii_case.h"
#include "search/search_scope.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

std::u16string VolumeEntryText(Env& env, const VolumeIndex& volume) {
  const std::u16string root = volume.drive + u"\\";
  VolumeInformation info;
  std::u16string label;
  if (env.files->GetVolumeInformation(root, info)) label = info.volumeName;
  if (!label.empty()) return label + u"(" + volume.drive + u")";
  return Translate(u"Drive_LocalDiskPrefix", u"本地磁盘 (", u"Local Disk (") + volume.drive + u")";
}

// The box lists only the volumes that are available, so an entry names its
// volume by drive, which each search finds in its own snapshot.
ScopeChoice ScopeOfEntry(const MainWindow& w, int entry) {
  ScopeChoice choice{entry, {}};
  const size_t volume = static_cast<size_t>(entry - kScopeFirstVolume);
  if (entry >= kScopeFirstVolume && volume < w.scopeDrives.size()) choice.drive = w.scopeDrives[volume];
  return choice;
}

}  // namespace

void RebuildScopeBox(MainWindow& w) {
  const HWND box = w.controls.scopeBox;
  if (box == nullptr) return;
  const int previousIndex = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
  std::u16string previous;
  if (previousIndex >= 0) {
    const int length = static_cast<int>(SendMessageW(box, CB_GETLBTEXTLEN, previousIndex, 0));
    if (length > 0) {
      std::u16string text(static_cast<size_t>(length) + 1, u'\0');
      SendMessageW(box, CB_GETLBTEXT, previousIndex, reinterpret_cast<LPARAM>(text.data()));
      text.resize(static_cast<size_t>(length));
      previous = std::move(text);
    }
  }

  std::vector<std::u16string> entries{u"ALL", Translate(u"Scope_Desktop", u"桌面", u"Desktop")};
  w.scopeDrives.clear();
  for (const VolumePtr& volume : w.app.engine.SnapshotVolumes()) {
    if (!volume->available.load()) continue;
    entries.push_back(VolumeEntryText(w.env, *volume));
    w.scopeDrives.push_back(volume->drive);
  }

  w.rebuildingScopeBox = true;
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  int selection = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(entries[i])));
    if (!previous.empty() && selection == 0 && EqualIgnoringAsciiCase(entries[i], previous)) {
      selection = static_cast<int>(i);
    }
  }
  SendMessageW(box, CB_SETCURSEL, selection, 0);
  w.rebuildingScopeBox = false;
  w.session.SetScope(ScopeOfEntry(w, selection));
  InvalidateRect(box, nullptr, TRUE);
}

void OnScopeBoxChanged(MainWindow& w) {
  if (w.rebuildingScopeBox) return;
  KillTimer(w.hwnd, ID_TIMER_SEARCH_DELAY);
  const int selection = static_cast<int>(SendMessageW(w.controls.scopeBox, CB_GETCURSEL, 0, 0));
  w.session.SetScope(ScopeOfEntry(w, selection < 0 ? 0 : selection));
  InvalidateListArea(w);
  FocusSearchBox(w, false);
}

}  // namespace quillmor
