#include "engine/match_item.h"

namespace quillmor {
namespace {

// The owner behind a published vector: the rows and the volumes they name.
struct ResultsHolder {
  std::vector<MatchItem> items;
  std::vector<VolumePtr> volumes;
};

// Rows derived from an earlier result vector, which keeps the volumes.
struct DerivedHolder {
  Results source;
  std::vector<MatchItem> items;
};

}  // namespace

Results DeriveResults(const Results& source, std::vector<MatchItem> rows) {
  auto holder = std::make_shared<DerivedHolder>(DerivedHolder{source, std::move(rows)});
  const std::vector<MatchItem>* items = &holder->items;
  return Results(std::move(holder), items);
}

Results MakeResults(std::vector<MatchItem> items, std::vector<VolumePtr> volumes) {
  auto holder = std::make_shared<ResultsHolder>(ResultsHolder{std::move(items), std::move(volumes)});
  const std::vector<MatchItem>* rows = &holder->items;
  return Results(std::move(holder), rows);  // aliasing: the rows share the holder's lifetime
}

}  // namespace quillmor
