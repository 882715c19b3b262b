// Where a search looks: every volume, the Desktop folder, or one volume.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmor {

// The scope box's value: 0 all volumes ("ALL"), 1 the Desktop folder,
// n >= 2 the volume at position n - 2 of the search's volume snapshot.
inline constexpr int32_t kScopeAll = 0;
inline constexpr int32_t kScopeDesktop = 1;
// The scope value of the first volume of the snapshot.
inline constexpr int32_t kScopeFirstVolume = 2;

struct ResolvedScope {
  int volumeFilter = -1;  // a snapshot position, or -1 for every volume
  bool desktopOnly = false;
  std::u16string desktop;  // the Desktop folder, with desktopOnly
  // The Desktop scope without a Desktop folder finds nothing at all.
  bool empty = false;
};

// `desktop` is the Desktop folder's path, empty when it could not be found.
ResolvedScope ResolveScope(int32_t scope, std::u16string_view desktop);

}  // namespace quillmor
