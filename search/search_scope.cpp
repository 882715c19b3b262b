#include "search/search_scope.h"

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

}  // namespace quillmor
