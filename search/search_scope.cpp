#include "search/search_scope.h"

#include "index/ascii_case.h"

namespace quillmor {

ResolvedScope ResolveScope(int32_t scope, std::u16string_view desktop) {
  ResolvedScope resolved;
  if (scope == kScopeDesktop) {
    resolved.desktopOnly = true;
    resolved.desktop.assign(desktop);
    resolved.empty = desktop.empty();
  } else if (scope >= 2) {
    resolved.volumeFilter = scope - 2;
  }
  return resolved;
}

ResolvedScope ResolveScope(const ScopeChoice& choice, std::u16string_view desktop,
                           const std::vector<VolumePtr>& snapshot) {
  ResolvedScope resolved = ResolveScope(choice.scope, desktop);
  if (choice.scope < kScopeFirstVolume || choice.drive.empty()) return resolved;
  for (size_t position = 0; position < snapshot.size(); ++position) {
    if (EqualIgnoringAsciiCase(snapshot[position]->drive, choice.drive)) {
      resolved.volumeFilter = static_cast<int>(position);
      return resolved;
    }
  }
  // Gone since it was chosen: a position no volume holds, so that names find
  // nothing while a folder listing, which ignores the volume, still works.
  resolved.volumeFilter = static_cast<int>(snapshot.size());
  return resolved;
}

}  // namespace quillmor
