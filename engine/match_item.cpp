#include "engine/match_item.h"

namespace quillmor {
namespace {

// The deleter of a published vector, which also holds what keeps its rows'
// volumes alive. Being the deleter, it can be found again from the vector's
// pointer (std::get_deleter), so a reordered copy can share it.
struct VolumeKeeper {
  std::shared_ptr<const void> owner;
  void operator()(const std::vector<MatchItem>* rows) const { delete rows; }
};

}  // namespace

Results MakeResults(std::vector<MatchItem> items, std::vector<VolumePtr> volumes) {
  auto owner = std::make_shared<const std::vector<VolumePtr>>(std::move(volumes));
  return Results(new std::vector<MatchItem>(std::move(items)), VolumeKeeper{std::move(owner)});
}

Results DeriveResults(const Results& source, std::vector<MatchItem> items) {
  // A vector that was not made here keeps its rows' volumes by some other
  // means; holding the vector itself then keeps those alive.
  const VolumeKeeper* keeper = std::get_deleter<VolumeKeeper>(source);
  std::shared_ptr<const void> owner = keeper != nullptr ? keeper->owner : std::shared_ptr<const void>(source);
  return Results(new std::vector<MatchItem>(std::move(items)), VolumeKeeper{std::move(owner)});
}

}  // namespace quillmor
