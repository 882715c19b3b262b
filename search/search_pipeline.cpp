#include "search/search_pipeline.h"

#include <shared_mutex>
#include <unordered_set>

#include "platform/shutdown.h"
#include "search/compiled_name_query.h"
#include "search/content_query.h"
#include "search/content_search.h"
#include "search/folder_path.h"
#include "search/folder_query.h"
#include "search/name_enumeration.h"
#include "search/query_groups.h"
#include "search/query_trim.h"
#include "search/search_scope.h"
#include "settings/background_task.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

std::u16string DesktopFolder(Env& env) {
  std::u16string desktop;
  if (!env.system->DesktopFolder(desktop)) desktop.clear();
  return desktop;
}

std::vector<MatchItem> NewResultVector() {
  std::vector<MatchItem> items;
  items.reserve(kResultReserve);
  return items;
}

// The name search, the folder listing or the content search.
// The size and time test of the content-search candidates, from the filter
// presets the search started with.
CandidateFilter ContentCandidateFilter(SearchSession& session, const FilterSettings& settings) {
  if (session.contentCandidateFilter) return session.contentCandidateFilter();
  if (!settings.SizeOrTimeActive()) return {};
  const bool byCreation = session.results.sortColumn.load() == ResultSet::kCreatedColumn;
  auto filter = std::make_shared<const SizeTimeFilter>(
      MakeContentSearchSizeTime(*session.env.clock, settings, byCreation, session.hydrate));
  return
      [filter](VolumeIndex& volume, uint32_t recordIndex) { return PassesSizeAndTime(*filter, volume, recordIndex); };
}

void RunSearchJob(SearchSession& session, const std::u16string& query, uint64_t g, bool keepSort,
                  const FilterSettings& filterSettings) {
  Env& env = session.env;
  if (session.engine.hasVolumes.load() == 0 || ShuttingDown()) return;
  session.fullListing = 0;

  const std::vector<VolumePtr> snapshot = session.engine.SnapshotVolumes();
  const ContentQuery content = ParseContentQuery(query);
  CandidateFilter sizeAndTime;
  if (content.contentMode) sizeAndTime = ContentCandidateFilter(session, filterSettings);
  std::vector<MatchItem> items = NewResultVector();

  const auto publish = [&](std::vector<MatchItem> rows, int64_t kind) {
    PublishResults(session.results, env, MakeResults(std::move(rows), snapshot), g, keepSort, kind);
  };

  const ScopeChoice choice = session.Scope();
  const ResolvedScope scope = ResolveScope(choice, choice.scope == kScopeDesktop ? DesktopFolder(env) : u"", snapshot);
  if (scope.empty) {
    publish(std::move(items), kResultsFinal);
    return;
  }

  if (content.contentMode) {
    RunContentSearch(ContentSearchJob{env, session.results, content, g, keepSort, scope, snapshot,
                                      std::move(sizeAndTime), &session.contentCounters},
                     std::move(items));
    return;
  }

  std::u16string folder;
  if (ResolveFolderQuery(*env.files, query, folder)) {
    if (scope.desktopOnly && !IsUnderFolder(folder, scope.desktop)) {
      publish(std::move(items), kResultsFinal);
      return;
    }
    ListFolderChildren(snapshot, folder, [&](VolumeIndex* v, uint64_t i) {
      items.push_back({v, static_cast<uint32_t>(i)});
    });
  } else {
    const CompiledNameQuery compiled(FoldQueryGroups(ParseQueryGroups(query)), session.initialSearch.load(), *env.text);
    bool earlySent = false;
    const bool complete = EnumerateNames(
        compiled, scope, snapshot, Generation{&session.results.searchGeneration, g},
        [&](VolumeIndex* v, uint64_t i) {
          items.push_back({v, static_cast<uint32_t>(i)});
          // The first hits go out at once, as a copy: the
          // scan keeps appending to its own vector.
          if (!earlySent && items.size() >= kEarlyBatchHits && session.results.IsCurrent(g)) {
            publish(items, kResultsPartial);
            earlySent = true;
          }
        },
        session.nameHitLimit == 0 ? SIZE_MAX : session.nameHitLimit);
    if (!complete) return;
  }
  if (session.results.IsCurrent(g) && !ShuttingDown()) publish(std::move(items), kResultsFinal);
}

// Whether the entry's own reference still names the file it was opened as:
// its volume is in the set and the record exists and is live. Volumes are
// compared by address only, never followed before they are found in the
// snapshot. A record renamed or moved since keeps its row, and the entry takes
// the record's current path. Only after a rebuild of the volume may the index
// name another file: then the entry's path must still be the record's, and
// the reference is renewed for the new build.
VolumeIndex* StillNamesItsFile(RecentOpen& entry, const std::vector<VolumePtr>& snapshot) {
  if (!entry.item) return nullptr;
  for (const VolumePtr& v : snapshot) {
    if (v.get() != entry.item->volume) continue;
    std::shared_lock lock(v->recordsLock);
    const uint64_t i = entry.item->recordIndex;
    if (i >= v->records.size() || v->records[i].deleted) return nullptr;
    std::u16string path = v->BuildPath(i);
    const uint64_t build = v->buildNumber.load();
    if (build != entry.item->build) {
      if (entry.path.empty() || NormalisedPathKey(path) != NormalisedPathKey(entry.path)) return nullptr;
      entry.item->build = build;
    }
    entry.path = std::move(path);
    return v.get();
  }
  return nullptr;
}

// Adds the row of `entry` when its file is indexed, bringing the entry's item
// and path up to date on the way.
void AddRecentRow(SearchSession& session, RecentOpen& entry, const std::vector<VolumePtr>& snapshot,
                  std::vector<MatchItem>& items, std::vector<VolumePtr>& keep) {
  if (VolumeIndex* v = StillNamesItsFile(entry, snapshot)) {
    items.push_back({v, static_cast<uint32_t>(entry.item->recordIndex)});
    return;
  }
  if (entry.path.empty()) return;
  if (session.recentPathLookupHook) session.recentPathLookupHook(entry.path);
  if (const auto found = ResolvePathToItem(session.engine, entry.path)) {
    entry.item = RecentItemOf(*found->volume, found->recordIndex);
    items.push_back({found->volume.get(), found->recordIndex});
    keep.push_back(found->volume);
  }
}

void RunRecentView(SearchSession& session, uint64_t g, bool keepSort) {
  const std::vector<VolumePtr> snapshot = session.engine.SnapshotVolumes();
  std::vector<VolumePtr> keep = snapshot;  // and any volume found by path
  std::vector<MatchItem> items;
  // A path lookup may read a whole volume: it works on a copy of the list,
  // which stays free for the files opened meanwhile, and writes back only
  // entries nobody changed since.
  std::vector<std::pair<RecentOpen, RecentOpen>> updates;
  for (const RecentOpen& before : session.recent.Entries()) {
    RecentOpen entry = before;
    AddRecentRow(session, entry, snapshot, items, keep);
    if (!(entry == before)) updates.emplace_back(before, std::move(entry));
  }
  session.recent.UpdateUnchanged(updates);
  if (session.results.IsCurrent(g) && !ShuttingDown()) {
    PublishResults(session.results, session.env, MakeResults(std::move(items), std::move(keep)), g, keepSort,
                   kResultsFinal);
  }
}

// The full listing of the scope, for an empty query after an index change.
void RunFullListing(SearchSession& session, uint64_t g, const ScopeChoice& choice, const std::u16string& desktop) {
  std::vector<MatchItem> items = NewResultVector();
  const std::vector<VolumePtr> snapshot = session.engine.SnapshotVolumes();
  const auto publish = [&] {
    if (session.results.IsCurrent(g) && !ShuttingDown()) {
      PublishResults(session.results, session.env, MakeResults(std::move(items), snapshot), g, false, kResultsFinal);
    }
  };
  const ResolvedScope scope = ResolveScope(choice, desktop, snapshot);
  if (scope.empty) {
    publish();
    return;
  }
  for (size_t position = 0; position < snapshot.size(); ++position) {
    if (scope.volumeFilter >= 0 && position != static_cast<size_t>(scope.volumeFilter)) continue;
    VolumeIndex& volume = *snapshot[position];
    if (!volume.available.load() || volume.busy.load()) continue;
    // A volume a writer holds right now is left out rather than waited for.
    std::shared_lock lock(volume.recordsLock, std::try_to_lock);
    if (!lock.owns_lock()) continue;
    const size_t count = volume.records.size();
    for (size_t i = 0; i < count; ++i) {
      if (ShuttingDown()) return;
      if ((i & 255) == 0 && !session.results.IsCurrent(g)) return;
      if (volume.records[i].deleted) continue;
      if (scope.desktopOnly && !IsUnderFolder(volume.BuildPath(i), scope.desktop)) continue;
      items.push_back({&volume, static_cast<uint32_t>(i)});
    }
  }
  publish();
}

// The search box's text, trimmed.
std::u16string CurrentBoxText(SearchSession& session) {
  return std::u16string(TrimQueryText(session.view.SearchText().substr(0, 255)));
}

}  // namespace

std::u16string NormalisedPathKey(std::u16string_view path) {
  std::u16string key(path);
  for (char16_t& c : key) {
    if (c == u'/') c = u'\\';
    c = FoldAsciiCase(c);
  }
  return key;
}

RecentItem RecentItemOf(const VolumeIndex& volume, uint32_t recordIndex) {
  return RecentItem{&volume, recordIndex, volume.buildNumber.load()};
}

std::optional<ResolvedItem> ResolvePathToItem(SearchEngine& engine, std::u16string_view path) {
  if (path.size() < 3) return std::nullopt;
  const std::u16string key = NormalisedPathKey(path);
  const std::u16string driveKey = key.substr(0, 2);
  const std::u16string targetName = key.substr(key.rfind(u'\\') + 1);

  for (const VolumePtr& volume : engine.SnapshotVolumes()) {
    if (NormalisedPathKey(volume->drive) != driveKey) continue;
    std::shared_lock lock(volume->recordsLock);
    for (size_t i = 0; i < volume->records.size(); ++i) {
      const FileRecord& r = volume->records[i];
      if (r.deleted || r.nameLength != targetName.size()) continue;
      if (std::u16string_view(r.lowerName(), r.nameLength) != targetName) continue;
      if (NormalisedPathKey(volume->BuildPath(i)) == key) return ResolvedItem{volume, static_cast<uint32_t>(i)};
    }
    return std::nullopt;
  }
  return std::nullopt;
}

void DoSearchAsync(SearchSession& session, std::u16string query, bool keepSort, bool recentView) {
  const uint64_t g = session.results.NextGeneration();
  const std::u16string text(TrimQueryText(query));

  const auto recent = [&] {
    if (session.fullListing.load() == 0) {
      StartBackgroundTask(session.env, u"search_recent_results",
                          [&session, g, keepSort] { RunRecentView(session, g, keepSort); });
    }
  };

  if (text.empty()) {
    // The Desktop scope lists the Desktop tree, never the recent opens.
    if (session.scope.load() == kScopeDesktop) {
      RefreshSearchResultsAfterIndexUpdate(session);
    } else {
      recent();
    }
    return;
  }
  if (recentView) {
    recent();
    return;
  }
  if (session.engine.hasVolumes.load() != 0) {
    StartBackgroundTask(session.env, u"do_search",
                        [&session, text, g, keepSort, settings = session.filters.Settings()] {
                          RunSearchJob(session, text, g, keepSort, settings);
                        });
    return;
  }
  // Nothing indexed yet: keep the query and try again shortly.
  session.pendingQuery = text;
  session.view.SetStatusText(Translate(u"Status_IndexNotReadyRetry", u"索引仍在初始化，稍后重试搜索...",
                                       u"Index is still initializing. Retrying search shortly..."));
  session.view.ScheduleSearchRetry(kNotReadyRetryMs);
}

void RefreshSearchResultsAfterIndexUpdate(SearchSession& session) {
  session.fullListing = 1;
  const std::u16string text = CurrentBoxText(session);
  if (!text.empty()) {
    DoSearchAsync(session, text, false, false);
    return;
  }
  const uint64_t g = session.results.NextGeneration();
  const ScopeChoice scope = session.Scope();
  const std::u16string desktop = scope.scope == kScopeDesktop ? DesktopFolder(session.env) : std::u16string();
  StartBackgroundTask(session.env, u"refresh_results_after_volume_removal",
                      [&session, g, scope, desktop] { RunFullListing(session, g, scope, desktop); });
}

void RefreshResultsAfterDelete(SearchSession& session, const std::vector<std::u16string>& deletedPaths) {
  const std::u16string text = CurrentBoxText(session);
  session.savedScrollOffset = session.view.Geometry().scrollOffset;
  session.keepView = 1;

  if (text.starts_with(u"s:")) {
    // Content results are too slow to recompute: drop the deleted rows.
    const Results snapshot = SnapshotResults(session.results);
    if (snapshot && !snapshot->empty() && !deletedPaths.empty()) {
      std::unordered_set<std::u16string> deleted;
      for (const std::u16string& path : deletedPaths) deleted.insert(NormalisedPathKey(path));
      std::vector<MatchItem> kept;
      kept.reserve(snapshot->size());
      for (const MatchItem& item : *snapshot) {
        if (item.volume == nullptr) continue;
        const std::u16string path = item.volume->GetFullPath(item.recordIndex);
        if (path.empty() || deleted.count(NormalisedPathKey(path)) != 0) continue;
        kept.push_back(item);
      }
      Results pruned = DeriveResults(snapshot, std::move(kept));
      std::lock_guard lock(session.results.mutex);
      session.results.results = std::move(pruned);
    }
    PostIfWindow(*session.env.windows, session.results.window.load(), WMU_SEARCH_RESULTS,
                 session.results.searchGeneration.load(), kResultsFinal);
    return;
  }
  if (!text.empty() || session.fullListing.load() == 0) {
    DoSearchAsync(session, text, true, false);
  } else {
    RefreshSearchResultsAfterIndexUpdate(session);
  }
}

void LoadRecentOpensAsync(SearchSession& session) {
  StartBackgroundTask(session.env, u"load_recent_opens", [&session] {
    session.recent.Load(session.env);
    if (!ShuttingDown()) PostIfWindow(*session.env.windows, session.results.window.load(), WMU_RECENT_LOADED, 0, 0);
  });
}

void RefreshRecentViewIfNeeded(SearchSession& session) {
  if (!session.view.SearchText().empty()) return;
  StartBackgroundTask(session.env, u"refresh_recent_view", [&session] {
    if (session.fullListing.load() == 0) DoSearchAsync(session, u"", false, true);
  });
}

}  // namespace quillmor
