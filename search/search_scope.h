// Where a search looks: every volume, the Desktop folder, or one volume.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/search_engine.h"

namespace quillmor {

// The scope box's value: 0 all volumes ("ALL"), 1 the Desktop folder,
// n >= 2 one volume: the volume at position n - 2 of the search's volume
// snapshot, or the one of a drive named with the scope (ScopeChoice).
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

// A scope as the window chooses it. The scope box lists only the volumes that
// are available, so its entry is no position in a snapshot, which holds the
// others too: a volume scope names its volume by drive ("E:").
struct ScopeChoice {
  int32_t scope = kScopeAll;
  std::u16string drive;  // with a volume scope; empty: n - 2 is the position
};

// As above, with a volume scope's drive found in `snapshot` (ASCII case
// aside); no volume at all is searched for a drive the snapshot lacks.
ResolvedScope ResolveScope(const ScopeChoice& choice, std::u16string_view desktop,
                           const std::vector<VolumePtr>& snapshot);

}  // namespace quillmor
