// A name query prepared once per search for the scan over millions of
// records: terms turned into needles or, for wildcard terms, patterns, the
// initials matcher built when initial search applies. Immutable; Matches may run on several threads at once.
#pragma once

#include <optional>
#include <vector>

#include "index/file_record.h"
#include "platform/text_codec.h"
#include "search/initials_match.h"
#include "search/name_pattern.h"
#include "search/name_scan.h"
#include "search/query_groups.h"

namespace quillmor {

class CompiledNameQuery {
 public:
  // `folded` as FoldQueryGroups returns it. Initial search applies when
  // `initialSearch` is on and the query is one group of one term that
  // IsInitialsTerm accepts; the codec then provides the initials table
  // (built on the first such query of the process).
  CompiledNameQuery(const QueryGroups& folded, bool initialSearch, TextCodec& codec);

  // Every record matches (no groups, or a group with nothing to look for):
  // the scan need not call Matches.
  bool MatchesAll() const { return matchesAll_; }

  // Whether the record's name is a hit: MatchesQueryGroups on its lower-case
  // copy or, when initial search applies, MatchesInitials on its name. Reads
  // only the name; `deleted` and the scope are the caller's business.
  // Inline: the scan calls it for every record.
  QUILLMOR_SCAN_INLINE bool Matches(const FileRecord& record) const {
    if (matchesAll_) return true;
    if (record.name == nullptr) return false;
    const size_t n = record.nameLength;
    const char16_t* lower = record.lowerName();
    // One term, the common query, skips the group walk.
    const bool found = oneNeedle_    ? needles_[0].FoundIn(lower, n)
                       : onePattern_ ? patterns_[0].Matches(lower, n)
                                     : MatchesGroups(lower, n);
    return found || (initials_ && record.nameMayHoldCjk && initials_->Matches(record.name, n));
  }

 private:
  bool MatchesGroups(const char16_t* lower, size_t n) const;

  // Every group's needles, longest first within a group (a needle longer than
  // the name fails without a look at it); group g is
  // needles_[groupEnds_[g-1] .. groupEnds_[g]).
  std::vector<NameNeedle> needles_;
  std::vector<size_t> groupEnds_;
  // Every group's patterns, likewise: group g is
  // patterns_[patternEnds_[g-1] .. patternEnds_[g]).
  std::vector<NamePattern> patterns_;
  std::vector<size_t> patternEnds_;
  bool oneNeedle_ = false;   // the query is one substring term
  bool onePattern_ = false;  // the query is one pattern
  std::optional<InitialsMatcher> initials_;
  bool matchesAll_ = false;
};

}  // namespace quillmor
