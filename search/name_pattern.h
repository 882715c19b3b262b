// Wildcard terms: "*.pdf", "report_20??.xlsx", "IMG*.jpg". No Windows name
// can hold '*' or '?', so a term with either could never be found as a
// substring; such a term is read as a pattern for the whole name instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillmor {

inline constexpr char16_t kAnyRun = u'*';   // any run of units, none included
inline constexpr char16_t kAnyUnit = u'?';  // exactly one UTF-16 unit

// Whether a folded term is a pattern: it holds '*' or '?'.
bool IsPatternTerm(std::u16string_view term);

// A pattern prepared once per search. Between the stars lie pieces of fixed
// length ('?' and literal units): the first is tied to the name's start, the
// last to its end, and each one between is taken at its leftmost place after
// the previous one. Taking the leftmost place never loses a match (a later
// piece has more room the earlier the one before it ends), so there is no
// backtracking: the pieces are looked for in windows of the name that do
// not overlap, so a test costs at most the name's length times the longest
// piece, and it allocates nothing.
class NamePattern {
 public:
  // `pattern` as folded; runs of '*' count as one.
  explicit NamePattern(std::u16string_view pattern);

  // The pattern as a plain substring when it is one ("*report*"), else
  // empty: a substring is found faster by the scan's needles.
  std::u16string_view AsSubstring() const;
  // Nothing but stars: every name matches.
  bool MatchesAnyName() const { return hasStar_ && text_.empty(); }

  // Whether the `n` units at `lower` match the pattern as a whole.
  bool Matches(const char16_t* lower, size_t n) const;

  // When `lowerName` matches: every run of literal units of the pattern,
  // as (start, length) in the name, left to right, appended to `pieces`.
  // False, with `pieces` as it was, when the name does not match.
  bool LiteralPieces(std::u16string_view lowerName, std::vector<std::pair<size_t, size_t>>& pieces) const;

 private:
  // Units [begin, begin + length) of text_, with no '*'.
  struct Piece {
    uint32_t begin = 0;
    uint32_t length = 0;
  };

  // Places every piece, calling placed(piece index, start in the name) in
  // order; false when the name does not match.
  template <typename Placed>
  bool Place(const char16_t* lower, size_t n, Placed&& placed) const;
  bool PieceAt(const char16_t* at, Piece piece) const;

  std::u16string text_;
  // With no star, the one piece is the whole pattern. Otherwise the first
  // piece is what precedes the first star and the last what follows the last
  // one (either may be empty); those between are never empty.
  std::vector<Piece> pieces_;
  bool hasStar_ = false;
  size_t minimumLength_ = 0;  // units a matching name has at least
};

}  // namespace quillmor
