#include "engine/bulk_hydration.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <vector>

#include "engine/hydrate_attributes.h"
#include "engine/status_text_message.h"
#include "platform/shutdown.h"
#include "platform/thread.h"
#include "settings/rate_limit.h"
#include "settings/translate_format.h"

namespace quillmor {
namespace {

constexpr uint64_t kProgressEveryRows = 800;
constexpr uint64_t kProgressMinIntervalMs = 151;

struct SharedState {
  Env& env;
  ResultSet& set;
  uint64_t generation;
  uint64_t missing;
  bool progress;
  std::atomic<uint64_t> processed{0};
  std::atomic<uint64_t> lastProgressTick{0};
};

void ReportProgress(SharedState& s, uint64_t processed) {
  if (!s.progress || processed % kProgressEveryRows != 0) return;
  // One thread wins each qualifying tick.
  if (!ClaimTurn(s.lastProgressTick, s.env.clock->TickCount64(), kProgressMinIntervalMs)) return;
  const std::u16string text = FormatTranslated(u"Status_HydrateProgressFmt", u"正在读取文件属性...（已处理 %zu / %zu）",
                                               u"Extracting properties... (processed %zu / %zu)", processed, s.missing);
  PostStatusText(*s.env.windows, s.set.window.load(), s.generation, text);
}

void HydrateShare(SharedState& s, std::span<const MatchItem> rows) {
  for (const MatchItem& row : rows) {
    if (!s.set.IsCurrent(s.generation) || ShuttingDown()) return;
    AttrEntry entry;
    try {
      HydrateAttributes(row.volume, row.recordIndex, entry);
    } catch (...) {
      // Out of memory for one path: the row stays missing and sorts as such.
    }
    ReportProgress(s, s.processed.fetch_add(1) + 1);
  }
}

}  // namespace

void HydrateMissingRows(Env& env, ResultSet& set, uint64_t generation, std::span<const MatchItem> missing,
                        uint64_t totalRows, unsigned threads) {
  if (missing.empty()) return;
  threads = std::max(1u, threads);
  SharedState state{env, set, generation, missing.size(), ShowsHydrationProgress(missing.size(), totalRows)};
  const size_t chunk = (missing.size() + threads - 1) / threads;

  // Reserved up front: once a worker runs, nothing here may throw before the
  // joins.
  std::vector<Thread> workers;
  workers.reserve(threads);
  std::vector<std::span<const MatchItem>> leftOver;  // shares no thread could be started for
  leftOver.reserve(threads);
  for (size_t begin = 0; begin < missing.size(); begin += chunk) {
    const std::span<const MatchItem> share = missing.subspan(begin, std::min(chunk, missing.size() - begin));
    try {
      workers.emplace_back([&state, share] { HydrateShare(state, share); });
    } catch (const std::system_error&) {
      leftOver.push_back(share);
    }
  }
  for (const auto& share : leftOver) HydrateShare(state, share);
  for (Thread& worker : workers) worker.join();
}

}  // namespace quillmor
