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

#include "search/name_scan.h"

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

  // Whether the `n` units at `lower` match the pattern as a whole. `lower`
  // is the lower-case copy of a pool entry, as for NameNeedle::FoundIn: the
  // name and its terminator precede it and its own terminator follows, so the
  // two anchored pieces can be compared as whole blocks. They come first: for
  // "*.pdf" the end is the whole test. Inline: the scan calls it per name.
  QUILLMOR_SCAN_INLINE bool Matches(const char16_t* lower, size_t n) const {
    if (n < minimumLength_) return false;
    if (!hasStar_) return n == minimumLength_ && PieceAt(lower, first_);
    return LastPieceFits(lower, n) && FirstPieceFits(lower, n) && (pieces_.size() == 2 || MiddlesFit(lower, n));
  }

  // When `lowerName` (any text) matches: every run of literal units of the pattern,
  // as (start, length) in the name, left to right, appended to `pieces`.
  // False, with `pieces` as it was, when the name does not match.
  bool LiteralPieces(std::u16string_view lowerName, std::vector<std::pair<size_t, size_t>>& pieces) const;

 private:
  // Units [begin, begin + length) of text_, with no '*'.
  struct Piece {
    uint32_t begin = 0;
    uint32_t length = 0;
  };

  // An anchored piece of at most eight units as the lanes of one block: the
  // units, and which lanes are compared (none for '?' and outside the piece).
  struct Block {
    uint16_t units[8] = {};
    uint16_t compared[8] = {};
  };
  static Block MakeBlock(std::u16string_view piece, size_t firstLane);

  QUILLMOR_SCAN_INLINE bool LastPieceFits(const char16_t* lower, size_t n) const {
#ifdef QUILLMOR_NAME_SCAN_SSE2
    // From four units on, the block that ends with the name starts within
    // the entry.
    if (lastInBlock_ && n >= 4) return BlockFits(lower + n - 8, lastBlock_);
#endif
    return PieceAt(lower + n - last_.length, last_);
  }
  QUILLMOR_SCAN_INLINE bool FirstPieceFits(const char16_t* lower, size_t n) const {
#ifdef QUILLMOR_NAME_SCAN_SSE2
    // From seven units on, the block that starts with the name ends within
    // the entry (at its terminator at the latest).
    if (firstInBlock_ && n >= 7) return BlockFits(lower, firstBlock_);
#endif
    return PieceAt(lower, first_);
  }
#ifdef QUILLMOR_NAME_SCAN_SSE2
  QUILLMOR_SCAN_INLINE static bool BlockFits(const char16_t* at, const Block& block) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i differ =
        _mm_and_si128(_mm_xor_si128(units, _mm_loadu_si128(reinterpret_cast<const __m128i*>(block.units))),
                      _mm_loadu_si128(reinterpret_cast<const __m128i*>(block.compared)));
    return _mm_movemask_epi8(_mm_cmpeq_epi16(differ, _mm_setzero_si128())) == 0xFFFF;
  }
#endif

  QUILLMOR_SCAN_INLINE bool PieceAt(const char16_t* at, Piece piece) const {
    const char16_t* units = text_.data() + piece.begin;
    for (uint32_t k = 0; k < piece.length; ++k) {
      if (units[k] != at[k] && units[k] != kAnyUnit) return false;
    }
    return true;
  }
  // The leftmost place of `piece` in [from, end) of the name, or SIZE_MAX.
  size_t FindPiece(const char16_t* lower, size_t from, size_t end, Piece piece) const;
  // Whether the pieces between the stars fit, in order, between the first
  // and the last piece.
  bool MiddlesFit(const char16_t* lower, size_t n) const;

  std::u16string text_;
  // With no star, the one piece is the whole pattern. Otherwise the first
  // piece is what precedes the first star and the last what follows the last
  // one (either may be empty); those between are never empty.
  std::vector<Piece> pieces_;
  Piece first_, last_;  // copies of the two ends of pieces_
  // The first piece in lanes 0.., the last in lanes ..7, when it is not
  // empty and fits a block.
  Block firstBlock_, lastBlock_;
  bool firstInBlock_ = false, lastInBlock_ = false;
  bool hasStar_ = false;
  size_t minimumLength_ = 0;  // units a matching name has at least
};

}  // namespace quillmor
