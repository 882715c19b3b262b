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
  first_ = pieces_.front();
  last_ = pieces_.back();
  const std::u16string_view text(text_);
  firstInBlock_ = first_.length != 0 && first_.length <= 8;
  lastInBlock_ = hasStar_ && last_.length != 0 && last_.length <= 8;
  if (firstInBlock_) firstBlock_ = MakeBlock(text.substr(first_.begin, first_.length), 0);
  if (lastInBlock_) lastBlock_ = MakeBlock(text.substr(last_.begin, last_.length), 8 - last_.length);
}

NamePattern::Block NamePattern::MakeBlock(std::u16string_view piece, size_t firstLane) {
  Block block;
  for (size_t k = 0; k < piece.size(); ++k) {
    block.units[firstLane + k] = piece[k];
    block.compared[firstLane + k] = piece[k] == kAnyUnit ? 0 : 0xFFFF;
  }
  return block;
}

std::u16string_view NamePattern::AsSubstring() const {
  if (!hasStar_ || pieces_.size() != 3 || pieces_[0].length != 0 || pieces_[2].length != 0) return {};
  const std::u16string_view middle = std::u16string_view(text_).substr(pieces_[1].begin, pieces_[1].length);
  return middle.find(kAnyUnit) == std::u16string_view::npos ? middle : std::u16string_view();
}

size_t NamePattern::FindPiece(const char16_t* lower, size_t from, size_t end, Piece piece) const {
  // Every place is tried once.
  for (size_t at = from; at + piece.length <= end; ++at) {
    if (PieceAt(lower + at, piece)) return at;
  }
  return SIZE_MAX;
}

bool NamePattern::MiddlesFit(const char16_t* lower, size_t n) const {
  // Matches checked n >= minimumLength_: the first and last pieces do not
  // overlap.
  const size_t end = n - last_.length;
  size_t from = first_.length;
  for (size_t p = 1; p + 1 < pieces_.size(); ++p) {
    const size_t at = FindPiece(lower, from, end, pieces_[p]);
    if (at == SIZE_MAX) return false;
    from = at + pieces_[p].length;
  }
  return true;
}

bool NamePattern::LiteralPieces(std::u16string_view lowerName, std::vector<std::pair<size_t, size_t>>& pieces) const {
  // Matches reads around a pool entry; any text is tested unit by unit.
  const char16_t* lower = lowerName.data();
  const size_t n = lowerName.size();
  if (n < minimumLength_ || (!hasStar_ && n != minimumLength_)) return false;
  if (!PieceAt(lower, first_) || !PieceAt(lower + n - last_.length, last_)) return false;
  if (hasStar_ && pieces_.size() > 2 && !MiddlesFit(lower, n)) return false;
  // Each run of units other than '?' within a piece placed at `start`.
  const auto literalRuns = [&](Piece piece, size_t start) {
    size_t k = 0;
    while (k < piece.length) {
      while (k < piece.length && text_[piece.begin + k] == kAnyUnit) ++k;
      const size_t runStart = k;
      while (k < piece.length && text_[piece.begin + k] != kAnyUnit) ++k;
      if (k > runStart) pieces.emplace_back(start + runStart, k - runStart);
    }
  };
  literalRuns(first_, 0);
  if (!hasStar_) return true;
  // The places MiddlesFit found, found again.
  size_t from = first_.length;
  for (size_t p = 1; p + 1 < pieces_.size(); ++p) {
    const size_t at = FindPiece(lower, from, n - last_.length, pieces_[p]);
    literalRuns(pieces_[p], at);
    from = at + pieces_[p].length;
  }
  literalRuns(last_, n - last_.length);
  return true;
}

}  // namespace quillmor
