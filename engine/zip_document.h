// The text of ZIP-based office documents (Office Open XML, OpenDocument) for
// content search: the entries whose names match the inner patterns are
// extracted one at a time, turned from XML into text and offered to a
// matcher until it accepts one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/file_system.h"

namespace quillmor {

// Entries larger than this are skipped: it bounds one scan's memory.
inline constexpr uint64_t kMaxZipEntrySize = 52428800;  // 50 MiB
// The most one document may decompress, all entries together: it bounds one
// scan's time. A document that needs more is skipped as unreadable.
inline constexpr uint64_t kMaxZipDocumentBytes = 4 * kMaxZipEntrySize;

// What a document scan reports the text of each entry to. Content search
// implements it over its compiled query and search generation.
class ZipTextMatcher {
 public:
  virtual ~ZipTextMatcher() = default;
  // False once the search the scan serves has become stale: the scan then
  // gives up before the next entry.
  virtual bool SearchIsCurrent() = 0;
  // The text of one entry, UTF-8, at least one byte, valid during the call.
  // True when the document is a hit: the scan then stops.
  virtual bool MatchText(std::string_view text) = 0;
};

// True when `matcher` accepted the text of an entry of the archive at
// `path`. False for a network path (starting with two backslashes), a file
// that is not a readable archive, no accepted entry, and when the search
// became stale or shutdown began (checked before each entry). Entries that
// are directories, encrypted, neither stored nor Deflate, empty, larger than
// kMaxZipEntrySize, overlapping another or damaged are skipped. False too,
// without a look at the rest, once the entries extracted would together
// exceed kMaxZipDocumentBytes. The caller skips queries without terms.
// Thread-safe: every call has its own file and buffers.
bool ScanZipDocument(Env& env, std::u16string_view path, std::span<const std::string> innerPatterns,
                     ZipTextMatcher& matcher);

// The same on a file already open, with `budget` in place of
// kMaxZipDocumentBytes.
bool ScanZipArchive(ReadableFile& file, std::span<const std::string> innerPatterns, ZipTextMatcher& matcher,
                    uint64_t budget = kMaxZipDocumentBytes);

}  // namespace quillmor
