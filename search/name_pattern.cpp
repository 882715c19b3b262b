#include "search/name_pattern.h"

namespace quillmor {

bool IsPatternTerm(std::u16string_view term) { return term.find_first_of(u"*?") != std::u16string_view::npos; }

NamePattern::NamePattern(std::u16string_view pattern) {
  std::vector<Piece> split;  // the runs between stars, empty ones included
  size_t begin = 0;
  for (const char16_t c : pattern) {
    if (c == kAnyRun) {
      split.push_back({static_cast<uint32_t>(begin), static_cast<uint32_t>(text_.size() - begin)});
      begin = text_.size();
    } else {
      text_ += c;
    }
  }
  split.push_back({static_cast<uint32_t>(begin), static_cast<uint32_t>(text_.size() - begin)});
  hasStar_ = split.size() > 1;
  minimumLength_ = text_.size();
  // The first and the last piece keep their anchors even when empty; an empty
  // piece between (a run of stars) asks for nothing.
  for (size_t k = 0; k < split.size(); ++k) {
    if (k == 0 || k + 1 == split.size() || split[k].length != 0) pieces_.push_back(split[k]);
  }
}

std::u16string_view NamePattern::AsSubstring() const {
  if (!hasStar_ || pieces_.size() != 3 || pieces_[0].length != 0 || pieces_[2].length != 0) return {};
  const std::u16string_view middle = std::u16string_view(text_).substr(pieces_[1].begin, pieces_[1].length);
  return middle.find(kAnyUnit) == std::u16string_view::npos ? middle : std::u16string_view();
}

bool NamePattern::PieceAt(const char16_t* at, Piece piece) const {
  const char16_t* units = text_.data() + piece.begin;
  for (uint32_t k = 0; k < piece.length; ++k) {
    if (units[k] != at[k] && units[k] != kAnyUnit) return false;
  }
  return true;
}

template <typename Placed>
bool NamePattern::Place(const char16_t* lower, size_t n, Placed&& placed) const {
  if (n < minimumLength_) return false;
  if (!hasStar_) {
    if (n != minimumLength_ || !PieceAt(lower, pieces_[0])) return false;
    placed(0, 0);
    return true;
  }
  // The two anchored pieces first: for "*.pdf" the end is the whole test.
  const Piece first = pieces_.front(), last = pieces_.back();
  const size_t end = n - last.length;  // where the last piece starts
  if (!PieceAt(lower + end, last) || !PieceAt(lower, first)) return false;
  placed(0, 0);
  size_t from = first.length;
  for (size_t p = 1; p + 1 < pieces_.size(); ++p) {
    const Piece piece = pieces_[p];
    size_t at = from;
    // Every place is tried once; `n >= minimumLength_` keeps at + length
    // within the name.
    while (at + piece.length <= end && !PieceAt(lower + at, piece)) ++at;
    if (at + piece.length > end) return false;
    placed(p, at);
    from = at + piece.length;
  }
  placed(pieces_.size() - 1, end);
  return true;
}

bool NamePattern::Matches(const char16_t* lower, size_t n) const {
  return Place(lower, n, [](size_t, size_t) {});
}

bool NamePattern::LiteralPieces(std::u16string_view lowerName, std::vector<std::pair<size_t, size_t>>& pieces) const {
  const size_t before = pieces.size();
  const bool matched = Place(lowerName.data(), lowerName.size(), [&](size_t p, size_t start) {
    // Each run of units other than '?' within the piece.
    const Piece piece = pieces_[p];
    size_t k = 0;
    while (k < piece.length) {
      while (k < piece.length && text_[piece.begin + k] == kAnyUnit) ++k;
      const size_t runStart = k;
      while (k < piece.length && text_[piece.begin + k] != kAnyUnit) ++k;
      if (k > runStart) pieces.emplace_back(start + runStart, k - runStart);
    }
  });
  if (!matched) pieces.resize(before);
  return matched;
}

}  // namespace quillmor
