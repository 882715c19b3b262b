#include "search/content_search.h"

#include <algorithm>
#include <mutex>
#include <system_error>

#include "engine/content_zip_settings.h"
#include "engine/status_text_message.h"
#include "engine/zip_document.h"
#include "platform/thread.h"
#include "search/compiled_group.h"
#include "search/text_file_scan.h"
#include "search/text_match.h"
#include "settings/localisation.h"
#include "settings/rate_limit.h"
#include "settings/translate_format.h"

namespace quillmor {
namespace {

// Sizes of the heap buffers of the status texts, in UTF-16 units.
constexpr size_t kNoCandidatesTextUnits = 160;
constexpr size_t kScanTextUnits = 128;

// A candidate file that counts the bytes read from it.
class CountingFile : public ReadableFile {
 public:
  CountingFile(ReadableFile& file, uint64_t& bytesRead) : file_(file), bytesRead_(bytesRead) {}
  uint64_t Size() override { return file_.Size(); }
  size_t Read(uint64_t offset, std::span<std::byte> out) override {
    const size_t n = file_.Read(offset, out);
    bytesRead_ += n;
    return n;
  }
  std::span<const std::byte> Map() override {
    const std::span<const std::byte> mapped = file_.Map();
    if (!mapped_) bytesRead_ += mapped.size();  // later calls return the same mapping
    mapped_ = true;
    return mapped;
  }

 private:
  ReadableFile& file_;
  uint64_t& bytesRead_;
  bool mapped_ = false;
};

// Document text goes to the same matcher as plain files, with the
// compacted second try.
class DocumentMatcher : public ZipTextMatcher {
 public:
  DocumentMatcher(std::span<const CompiledGroup> groups, Generation generation)
      : groups_(groups), generation_(generation) {}
  bool SearchIsCurrent() override { return !generation_.Stale(); }
  bool MatchText(std::string_view text) override { return MatchTextBuffer(text, groups_, generation_); }

 private:
  std::span<const CompiledGroup> groups_;
  Generation generation_;
};

// The state the three workers share. Everything but the hits and the atomics
// is read-only while they run.
class ContentScan {
 public:
  ContentScan(const ContentSearchJob& job, const std::vector<MatchItem>& candidates, std::vector<CompiledGroup> groups,
              ContentZipSettings zip, std::vector<MatchItem> hits)
      : job_(job),
        generation_{&job.results.searchGeneration, job.generation},
        candidates_(candidates),
        groups_(std::move(groups)),
        zip_(std::move(zip)),
        hits_(std::move(hits)) {}

  // One worker: the candidates [begin, end) in order.
  void Scan(size_t begin, size_t end) {
    std::vector<MatchItem> local;
    local.reserve(kContentHitBatch);
    for (size_t i = begin; i < end; ++i) {
      // Hits not yet handed over are dropped: nothing of a cancelled search
      // is published.
      if (generation_.Cancelled()) return;
      uint64_t bytes = 0;
      if (IsHit(candidates_[i], bytes)) local.push_back(candidates_[i]);
      bytesRead_ += bytes;
      if (local.size() >= kContentHitBatch && !generation_.Cancelled()) {
        HandOver(local);
        MaybePublishEarlyBatch();
      }
      ReportProgress(processed_.fetch_add(1) + 1);
    }
    if (generation_.Cancelled()) return;
    HandOver(local);
    MaybePublishEarlyBatch();
  }

  std::vector<MatchItem> TakeHits() {
    std::lock_guard lock(hitsMutex_);
    return std::move(hits_);
  }
  uint64_t BytesRead() const { return bytesRead_.load(); }

 private:
  bool IsHit(const MatchItem& candidate, uint64_t& bytes) {
    const std::u16string path = candidate.volume->GetFullPath(candidate.recordIndex);
    if (!HasZipExtension(path, zip_.extensions))
      return ScanTextFile(*job_.env.files, path, groups_, generation_, &bytes);
    // An office document is read only as an archive, never as plain text.
    if (path.starts_with(u"\\\\") || generation_.Stale() || zip_.innerPatterns.empty() || groups_.empty()) {
      return false;
    }
    const std::unique_ptr<ReadableFile> file = job_.env.files->OpenForRead(path);
    if (!file) return false;
    CountingFile counted(*file, bytes);
    DocumentMatcher matcher(groups_, generation_);
    return ScanZipArchive(counted, zip_.innerPatterns, matcher);
  }

  void HandOver(std::vector<MatchItem>& local) {
    if (local.empty()) return;
    std::lock_guard lock(hitsMutex_);
    hits_.insert(hits_.end(), local.begin(), local.end());
    local.clear();
  }

  // Whether more than `interval` ms passed since `stamp` and this worker is
  // the one that moved it to now.
  bool ClaimInterval(std::atomic<uint64_t>& stamp, uint64_t interval) {
    return ClaimTurn(stamp, job_.env.clock->TickCount64(), interval + 1);
  }

  void MaybePublishEarlyBatch() {
    if (!ClaimInterval(lastBatchTick_, kContentEarlyBatchMs) || generation_.Cancelled()) return;
    std::vector<MatchItem> copy;
    {
      std::lock_guard lock(hitsMutex_);
      copy = hits_;
    }
    // Installed without touching the sort column; the results mutex is
    // taken only after the hits mutex was released.
    PublishResults(job_.results, job_.env, MakeResults(std::move(copy), job_.snapshot), job_.generation, true,
                   kResultsPartial);
  }

  void ReportProgress(size_t processed) {
    if (processed % kContentProgressEvery != 0 || generation_.Cancelled()) return;
    if (!ClaimInterval(lastProgressTick_, kContentProgressMs)) return;
    const std::u16string text =
        FormatTranslated(u"Status_ScanningProgressFmt", u"正在扫描内容...（已处理 %zu / %zu）",
                         u"Scanning contents... (Processed %zu / %zu)", processed, candidates_.size());
    PostStatusText(*job_.env.windows, job_.results.window.load(), job_.generation, text, kScanTextUnits);
  }

  const ContentSearchJob& job_;
  const Generation generation_;
  const std::vector<MatchItem>& candidates_;
  const std::vector<CompiledGroup> groups_;
  const ContentZipSettings zip_;

  std::mutex hitsMutex_;         // never held while the results mutex is taken
  std::vector<MatchItem> hits_;  // Guarded by hitsMutex_.
  std::atomic<size_t> processed_{0};
  // GetTickCount64 values of the last early batch and the last progress text.
  std::atomic<uint64_t> lastBatchTick_{0};
  std::atomic<uint64_t> lastProgressTick_{0};
  std::atomic<uint64_t> bytesRead_{0};
};

// Scans with kContentWorkers threads on contiguous chunks and waits for them.
// A chunk whose thread cannot be started is scanned here instead.
void ScanOnWorkers(ContentScan& scan, size_t count) {
  const size_t chunk = (count + kContentWorkers - 1) / kContentWorkers;
  std::vector<Thread> workers;
  std::vector<std::pair<size_t, size_t>> leftOver;
  for (size_t k = 0; k < kContentWorkers; ++k) {
    const size_t begin = std::min(count, k * chunk);
    const size_t end = std::min(count, (k + 1) * chunk);
    if (begin == end) continue;
    try {
      workers.emplace_back([&scan, begin, end] { scan.Scan(begin, end); });
    } catch (const std::system_error&) {
      leftOver.emplace_back(begin, end);
    }
  }
  for (const auto& [begin, end] : leftOver) scan.Scan(begin, end);
  for (Thread& worker : workers) worker.join();
}

}  // namespace

void RunContentSearch(const ContentSearchJob& job, std::vector<MatchItem> items) {
  Env& env = job.env;
  const Generation generation{&job.results.searchGeneration, job.generation};
  const auto publish = [&](std::vector<MatchItem> rows) {
    PublishResults(job.results, env, MakeResults(std::move(rows), job.snapshot), job.generation, job.keepSort,
                   kResultsFinal);
  };

  // The settings files are read again, so that edits count from the next
  // search; this search keeps its own copy.
  LoadContentZipSettings(env);
  ContentZipSettings zip = CopyContentZipSettings();

  std::vector<MatchItem> candidates;
  if (!CollectContentCandidates(job.snapshot, job.scope, job.query.extensions, generation, candidates)) return;
  if (!candidates.empty() && job.sizeAndTime && !FilterCandidates(candidates, job.sizeAndTime, generation)) return;

  if (candidates.empty()) {
    if (generation.Cancelled()) return;
    PostStatusText(*env.windows, job.results.window.load(), job.generation,
                   Translate(u"Status_ContentSearchNoCandidates", u"筛选后没有可搜索的文件。",
                             u"No candidate files after filters."),
                   kNoCandidatesTextUnits);
    if (job.counters != nullptr) {
      job.counters->candidates = 0;
      job.counters->bytesRead = 0;
    }
    publish(std::move(items));
    return;
  }

  ContentScan scan(job, candidates, CompileGroups(job.query.groups, *env.text), std::move(zip), std::move(items));
  if (!generation.Cancelled()) {
    PostStatusText(
        *env.windows, job.results.window.load(), job.generation,
        FormatTranslated(u"Status_FilteredFilesStartScanFmt", u"已筛选出 %zu 个文件，正在扫描...（按 Esc 取消）",
                         u"Filtered %zu files, scanning... (Esc to cancel)", candidates.size()),
        kScanTextUnits);
  }
  ScanOnWorkers(scan, candidates.size());

  if (generation.Cancelled()) return;
  if (job.counters != nullptr) {
    job.counters->candidates = candidates.size();
    job.counters->bytesRead = scan.BytesRead();
  }
  publish(scan.TakeHits());
}

}  // namespace quillmor
