// Hand-made DEFLATE streams for tests: a bit writer, canonical prefix codes
// from code lengths, and a small fixed-code encoder, so that tests can make
// exactly the stream they need, valid or not, without a compression library.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillmor::testing {

class BitWriter {
 public:
  // `count` bits of `value`, least significant first (header fields, extra bits).
  void Bits(uint32_t value, unsigned count) {
    for (unsigned i = 0; i < count; ++i) Bit((value >> i) & 1);
  }
  // A prefix code, most significant bit first.
  void Code(uint32_t code, unsigned length) {
    for (unsigned i = length; i-- > 0;) Bit((code >> i) & 1);
  }
  void AlignToByte() {
    while (used_ != 0) Bit(0);
  }
  void Byte(uint8_t b) {
    AlignToByte();
    bytes_.push_back(b);
  }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  void Bit(uint32_t b) {
    if (used_ == 0) bytes_.push_back(0);
    bytes_.back() |= static_cast<uint8_t>(b << used_);
    used_ = (used_ + 1) % 8;
  }
  std::vector<uint8_t> bytes_;
  unsigned used_ = 0;
};

// The canonical codes of a set of code lengths (0 = unused).
struct PrefixCode {
  std::vector<uint8_t> lengths;
  std::vector<uint32_t> codes;

  explicit PrefixCode(std::vector<uint8_t> codeLengths) : lengths(std::move(codeLengths)), codes(lengths.size()) {
    uint32_t next = 0;
    for (unsigned len = 1; len <= 15; ++len) {
      for (size_t s = 0; s < lengths.size(); ++s) {
        if (lengths[s] == len) codes[s] = next++;
      }
      next <<= 1;
    }
  }
  void Put(BitWriter& w, unsigned symbol) const { w.Code(codes[symbol], lengths[symbol]); }
};

inline std::vector<uint8_t> FixedLitLenLengths() {
  std::vector<uint8_t> l(288);
  for (int i = 0; i < 288; ++i) l[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
  return l;
}

// The length or distance symbol for a value, and its extra bits.
struct SymbolAndExtra {
  unsigned symbol;
  uint32_t extra;
  unsigned extraBits;
};

inline SymbolAndExtra LengthSymbol(unsigned length) {
  static constexpr uint16_t kBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                         31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static constexpr uint8_t kExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                         2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  unsigned i = 28;
  while (kBase[i] > length) --i;
  return {257 + i, length - kBase[i], kExtra[i]};
}

inline SymbolAndExtra DistanceSymbol(unsigned distance) {
  static constexpr uint16_t kBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                         33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                         1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  static constexpr uint8_t kExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
  unsigned i = 29;
  while (kBase[i] > distance) --i;
  return {i, distance - kBase[i], kExtra[i]};
}

// Writes the symbols of a block body with the given codes.
class BlockBody {
 public:
  BlockBody(BitWriter& w, const PrefixCode& litLen, const PrefixCode& distance)
      : w_(w), litLen_(litLen), distance_(distance) {}
  void Literal(uint8_t b) { litLen_.Put(w_, b); }
  void Literals(std::string_view text) {
    for (char c : text) Literal(static_cast<uint8_t>(c));
  }
  void Match(unsigned length, unsigned distance) {
    const SymbolAndExtra l = LengthSymbol(length);
    litLen_.Put(w_, l.symbol);
    w_.Bits(l.extra, l.extraBits);
    const SymbolAndExtra d = DistanceSymbol(distance);
    distance_.Put(w_, d.symbol);
    w_.Bits(d.extra, d.extraBits);
  }
  void EndOfBlock() { litLen_.Put(w_, 256); }

 private:
  BitWriter& w_;
  const PrefixCode& litLen_;
  const PrefixCode& distance_;
};

inline const PrefixCode& FixedLitLen() {
  static const PrefixCode code(FixedLitLenLengths());
  return code;
}
inline const PrefixCode& FixedDistance() {
  static const PrefixCode code(std::vector<uint8_t>(32, 5));
  return code;
}

// A final fixed-code block of literals, with runs of a repeated byte written
// as matches of distance 1: a valid stream for any data, and a small one for
// long runs.
inline std::vector<uint8_t> FixedDeflate(std::string_view data) {
  BitWriter w;
  w.Bits(1, 1);
  w.Bits(1, 2);
  BlockBody body(w, FixedLitLen(), FixedDistance());
  for (size_t i = 0; i < data.size();) {
    size_t run = 1;
    while (i + run < data.size() && data[i + run] == data[i]) ++run;
    body.Literal(static_cast<uint8_t>(data[i]));
    size_t left = run - 1;
    while (left >= 3) {
      const size_t n = left > 258 ? (left - 258 >= 3 ? 258 : left - 3) : left;
      body.Match(static_cast<unsigned>(n), 1);
      left -= n;
    }
    for (; left > 0; --left) body.Literal(static_cast<uint8_t>(data[i]));
    i += run;
  }
  body.EndOfBlock();
  return w.bytes();
}

// Stored blocks (at most 65,535 bytes each) holding `data`.
inline std::vector<uint8_t> StoredDeflate(std::string_view data) {
  BitWriter w;
  size_t pos = 0;
  do {
    const size_t n = std::min<size_t>(data.size() - pos, 65535);
    const bool final = pos + n == data.size();
    w.Bits(final ? 1 : 0, 1);
    w.Bits(0, 2);
    w.AlignToByte();
    w.Bits(static_cast<uint32_t>(n), 16);
    w.Bits(static_cast<uint32_t>(~n & 0xFFFF), 16);
    for (size_t i = 0; i < n; ++i) w.Byte(static_cast<uint8_t>(data[pos + i]));
    pos += n;
  } while (pos < data.size());
  return w.bytes();
}

}  // namespace quillmor::testing
