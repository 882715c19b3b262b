// Content search: the files of the scope with the query's extensions are
// read on three worker threads, and those holding the query's terms become
// the results, published in early batches while the scan runs.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "engine/match_item.h"
#include "engine/result_set.h"
#include "platform/env.h"
#include "search/content_candidates.h"
#include "search/content_query.h"
#include "search/search_scope.h"

namespace quillmor {

// Worker threads per content search; each scans a contiguous third of the
// candidates.
inline constexpr size_t kContentWorkers = 3;
// A worker hands its hits to the shared vector when it holds this many, so
// that the vector's mutex is taken seldom.
inline constexpr size_t kContentHitBatch = 16;
// Early batches of hits at most this often (4 a second)...
inline constexpr uint64_t kContentEarlyBatchMs = 250;
// ...and progress texts at most this often (10 a second), and only on every
// fifth processed candidate.
inline constexpr uint64_t kContentProgressMs = 100;
inline constexpr size_t kContentProgressEvery = 5;

// What the last published content search did, for diagnostics and
// quillmor-cli's --stats. Written before its final publication.
struct ContentSearchCounters {
  std::atomic<uint64_t> candidates{0};  // files read (after the size and time test)
  std::atomic<uint64_t> bytesRead{0};   // bytes read from them, documents included
};

// One content search, as the search job hands it over.
struct ContentSearchJob {
  Env& env;
  ResultSet& results;
  const ContentQuery& query;
  uint64_t generation = 0;
  bool keepSort = false;
  const ResolvedScope& scope;
  // The volumes the job took at its start; they outlive every row.
  const std::vector<VolumePtr>& snapshot;
  CandidateFilter sizeAndTime;  // null: no size or time preset
  ContentSearchCounters* counters = nullptr;
};

// Runs on the search job's thread and returns when the search is over:
// collects and filters the candidates (none: the "no candidate" status text
// and an empty result), compiles the groups, posts the start text, scans on
// kContentWorkers threads and publishes `items` with the hits appended
// (kResultsFinal). Early batches go out as kResultsPartial. A search
// that becomes stale, or shutdown, ends the workers at their next candidate
// (or the next term or block within a file) and publishes nothing further.
void RunContentSearch(const ContentSearchJob& job, std::vector<MatchItem> items);

}  // namespace quillmor
