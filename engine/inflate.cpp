#include "engine/inflate.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quillmor {
namespace {

// --- Decode tables ---
//
// A prefix code is decoded by looking up the next kPrimaryBits input bits in a
// primary table; codes longer than that continue in a subtable that the
// primary slot links to. Each slot is one 32-bit entry:
//   bits 0-7    bits to drop: the code's length plus its extra bits (for a
//               link: the primary table's index bits)
//   bits 8-11   the code's length alone, where the extra bits begin (for a
//               link: the subtable's index bits)
//   bits 12-15  the kind flags below
//   bits 16-31  the value: a literal byte, a length or distance base, a
//               code-length symbol, or (for a link) the subtable's start
constexpr uint32_t kLiteral = 0x8000;
constexpr uint32_t kEndOfBlock = 0x4000;
constexpr uint32_t kLink = 0x2000;
constexpr uint32_t kInvalid = 0x1000;
constexpr uint32_t kSpecial = kEndOfBlock | kLink | kInvalid;

constexpr uint32_t MakeEntry(uint32_t value, uint32_t kind, uint32_t codeLength, uint32_t extraBits) {
  return value << 16 | kind | codeLength << 8 | (codeLength + extraBits);
}
inline uint32_t EntryValue(uint32_t e) { return e >> 16; }
inline unsigned EntryBits(uint32_t e) { return e & 0xFF; }
inline unsigned EntryCodeLength(uint32_t e) { return (e >> 8) & 0xF; }
// The extra bits that follow the code in `bits`.
inline uint32_t EntryExtra(uint64_t bits, uint32_t e) {
  return static_cast<uint32_t>((bits & ((uint64_t{1} << EntryBits(e)) - 1)) >> EntryCodeLength(e));
}

constexpr unsigned kMaxCodeLength = 15;
constexpr unsigned kNumLitLenSymbols = 288;
constexpr unsigned kNumDistanceSymbols = 32;
constexpr unsigned kNumCodeLengthSymbols = 19;

// 11 bits hold every literal of a typical dynamic code in one lookup (2,048
// slots, 8 KiB: small enough to build per block and to stay in L1). Distance
// codes are fewer and shorter.
constexpr unsigned kLitLenBits = 11;
constexpr unsigned kDistanceBits = 8;
constexpr unsigned kCodeLengthBits = 7;  // code-length codes are at most 7 bits: no subtables
// Each subtable serves at least one code longer than the primary bits and
// has at most 2^(15 - primary bits) slots.
constexpr size_t kLitLenTableSize = (1u << kLitLenBits) + kNumLitLenSymbols * (1u << (kMaxCodeLength - kLitLenBits));
constexpr size_t kDistanceTableSize =
    (1u << kDistanceBits) + kNumDistanceSymbols * (1u << (kMaxCodeLength - kDistanceBits));
constexpr size_t kCodeLengthTableSize = 1u << kCodeLengthBits;

// Entries without their code length: the table builder adds it.
struct SymbolEntries {
  uint32_t litLen[kNumLitLenSymbols];
  uint32_t distance[kNumDistanceSymbols];
  uint32_t codeLength[kNumCodeLengthSymbols];
};

constexpr SymbolEntries MakeSymbolEntries() {
  constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                        31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                        2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  constexpr uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                          33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                          1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                          6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
  SymbolEntries s{};
  for (uint32_t i = 0; i < 256; ++i) s.litLen[i] = MakeEntry(i, kLiteral, 0, 0);
  s.litLen[256] = MakeEntry(0, kEndOfBlock, 0, 0);
  for (uint32_t i = 0; i < 29; ++i) s.litLen[257 + i] = MakeEntry(kLengthBase[i], 0, 0, kLengthExtra[i]);
  s.litLen[286] = s.litLen[287] = MakeEntry(0, kInvalid, 0, 0);  // only the fixed code has them
  for (uint32_t i = 0; i < 30; ++i) s.distance[i] = MakeEntry(kDistanceBase[i], 0, 0, kDistanceExtra[i]);
  s.distance[30] = s.distance[31] = MakeEntry(0, kInvalid, 0, 0);
  for (uint32_t i = 0; i < kNumCodeLengthSymbols; ++i) s.codeLength[i] = MakeEntry(i, 0, 0, 0);
  return s;
}

constexpr SymbolEntries kSymbols = MakeSymbolEntries();

uint32_t ReverseBits(uint32_t code, unsigned length) {
  uint32_t reversed = 0;
  for (unsigned i = 0; i < length; ++i, code >>= 1) reversed = (reversed << 1) | (code & 1);
  return reversed;
}

// Builds the table of the canonical prefix code with the given code lengths
// (0 = symbol unused). The input is read least significant bit first, so each
// code is stored bit-reversed. Fails for lengths that over-subscribe the code
// space, and for incomplete codes except those the format allows: no code at
// all, or a single code of length 1 (`allowIncomplete`; code-length codes
// must be complete).
bool BuildTable(const uint8_t* lengths, unsigned numSymbols, const uint32_t* entries, unsigned primaryBits,
                bool allowIncomplete, uint32_t* table, size_t capacity) {
  unsigned countOfLength[kMaxCodeLength + 1] = {};
  for (unsigned s = 0; s < numSymbols; ++s) ++countOfLength[lengths[s]];
  countOfLength[0] = 0;

  int left = 1;  // unused codes of the current length
  unsigned used = 0;
  for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
    left = left * 2 - static_cast<int>(countOfLength[len]);
    if (left < 0) return false;  // over-subscribed
    used += countOfLength[len];
  }
  const size_t primarySize = size_t{1} << primaryBits;
  if (left > 0) {
    const bool singleShortCode = used == 1 && countOfLength[1] == 1;
    if (!allowIncomplete || (used != 0 && !singleShortCode)) return false;
    // The unused codes are errors when they turn up.
    std::fill(table, table + primarySize, MakeEntry(0, kInvalid, 1, 0));
  }

  // Symbols in canonical order: by code length, then by symbol.
  unsigned offset[kMaxCodeLength + 2] = {};
  for (unsigned len = 1; len <= kMaxCodeLength; ++len) offset[len + 1] = offset[len] + countOfLength[len];
  uint16_t sorted[kNumLitLenSymbols];
  for (unsigned s = 0; s < numSymbols; ++s) {
    if (lengths[s] != 0) sorted[offset[lengths[s]]++] = static_cast<uint16_t>(s);
  }

  unsigned remaining[kMaxCodeLength + 1];  // codes not yet placed, per length
  std::copy(std::begin(countOfLength), std::end(countOfLength), remaining);
  uint32_t code = 0;  // canonical code, most significant bit first
  unsigned codeLength = 0;
  size_t nextSubtable = primarySize;
  uint32_t subPrefix = UINT32_MAX;  // the primary slot of the current subtable
  size_t subStart = 0;
  unsigned subBits = 0;
  for (unsigned i = 0; i < used; ++i) {
    const unsigned symbol = sorted[i];
    const unsigned len = lengths[symbol];
    if (i != 0) code = (code + 1) << (len - codeLength);  // next code, widened to this length
    codeLength = len;
    const uint32_t reversed = ReverseBits(code, len);
    if (len <= primaryBits) {
      const uint32_t entry = entries[symbol] + (len << 8) + len;
      for (size_t slot = reversed; slot < primarySize; slot += size_t{1} << len) table[slot] = entry;
      --remaining[len];
      continue;
    }
    const uint32_t prefix = reversed & static_cast<uint32_t>(primarySize - 1);
    if (prefix != subPrefix) {
      // A new subtable, just large enough for the codes that share this
      // prefix: they come next in canonical order and fill it exactly.
      subPrefix = prefix;
      subBits = len - primaryBits;
      int free = 1 << subBits;
      while (primaryBits + subBits < kMaxCodeLength) {
        free -= static_cast<int>(remaining[primaryBits + subBits]);
        if (free <= 0) break;
        ++subBits;
        free *= 2;
      }
      subStart = nextSubtable;
      nextSubtable += size_t{1} << subBits;
      if (nextSubtable > capacity) return false;
      table[prefix] = MakeEntry(static_cast<uint32_t>(subStart), kLink, subBits, primaryBits - subBits);
    }
    const unsigned subLen = len - primaryBits;
    if (subLen > subBits) return false;
    const uint32_t entry = entries[symbol] + (subLen << 8) + subLen;
    for (size_t slot = reversed >> primaryBits; slot < (size_t{1} << subBits); slot += size_t{1} << subLen) {
      table[subStart + slot] = entry;
    }
    --remaining[len];
  }
  return true;
}

struct FixedTables {
  uint32_t litLen[kLitLenTableSize];
  uint32_t distance[kDistanceTableSize];
  FixedTables() {
    uint8_t lengths[kNumLitLenSymbols];
    std::fill(lengths, lengths + 144, 8);
    std::fill(lengths + 144, lengths + 256, 9);
    std::fill(lengths + 256, lengths + 280, 7);
    std::fill(lengths + 280, lengths + 288, 8);
    BuildTable(lengths, kNumLitLenSymbols, kSymbols.litLen, kLitLenBits, false, litLen, kLitLenTableSize);
    std::fill(lengths, lengths + kNumDistanceSymbols, 5);
    BuildTable(lengths, kNumDistanceSymbols, kSymbols.distance, kDistanceBits, false, distance, kDistanceTableSize);
  }
};

const FixedTables& Fixed() {
  static const FixedTables tables;
  return tables;
}

// --- Byte helpers ---

inline uint64_t Load64LE(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}
inline void Copy8(uint8_t* dst, const uint8_t* src) { std::memcpy(dst, src, 8); }

// The room the fast loop needs before each round: input for two refills of
// at most 8 bytes each, output for two literals and a longest match plus the
// up to 15 bytes its word copies write past the end.
constexpr ptrdiff_t kFastInputMargin = 16;
constexpr ptrdiff_t kFastOutputMargin = 2 + 258 + 16;

// The smallest multiple of a short distance (2 to 7) that is at least 8: a
// repeating pattern also repeats at that distance, so it can be copied in
// 8-byte words.
constexpr uint8_t kWidePeriod[8] = {0, 8, 8, 9, 8, 10, 12, 14};

// Copies a match of `length` bytes from `distance` bytes back. May write up
// to 15 bytes past the end of the match.
inline void CopyMatchFast(uint8_t* dst, size_t distance, size_t length) {
  uint8_t* const end = dst + length;
  const uint8_t* src = dst - distance;
  if (distance >= 8) {
    // Each 8-byte load reads only bytes already written.
    do {
      Copy8(dst, src);
      Copy8(dst + 8, src + 8);
      dst += 16;
      src += 16;
    } while (dst < end);
  } else if (distance == 1) {
    const uint64_t run = 0x0101010101010101ull * src[0];
    do {
      std::memcpy(dst, &run, 8);
      std::memcpy(dst + 8, &run, 8);
      dst += 16;
    } while (dst < end);
  } else {
    const size_t wide = kWidePeriod[distance];
    for (size_t i = 0; i < wide - distance; ++i) dst[i] = src[i];
    dst += wide - distance;
    src = dst - wide;
    while (dst < end) {
      Copy8(dst, src);
      dst += 8;
      src += 8;
    }
  }
}

class Decoder {
 public:
  Decoder(InflateInput* source, std::span<const uint8_t> input, std::span<uint8_t> output)
      : source_(source),
        in_(input.data()),
        inEnd_(input.data() + input.size()),
        outBegin_(output.data()),
        out_(output.data()),
        outEnd_(output.data() + output.size()) {}

  InflateResult Run() {
    const InflateError error = DecodeBlocks();
    return {error, static_cast<size_t>(out_ - outBegin_)};
  }

 private:
  enum class Step { kMore, kEndOfBlock, kError };

  InflateError DecodeBlocks() {
    bool final = false;
    while (!final) {
      uint32_t header;
      if (!GetBits(3, header)) return InflateError::kTruncated;
      final = header & 1;
      InflateError error = InflateError::kNone;
      switch (header >> 1) {
        case 0:
          error = CopyStoredBlock();
          break;
        case 1:
          error = DecodeHuffmanBlock(Fixed().litLen, Fixed().distance);
          break;
        case 2:
          error = ReadDynamicTables();
          if (error == InflateError::kNone) error = DecodeHuffmanBlock(litLen_, distance_);
          break;
        default:
          return InflateError::kBadBlockType;
      }
      if (error != InflateError::kNone) return error;
    }
    return InflateError::kNone;
  }

  // --- Input bits ---
  //
  // bits_ holds count_ valid bits, least significant first. A fast refill
  // loads 8 bytes at once and may leave parts of the next byte above count_;
  // they are the true next bits, so loading them again later is harmless.
  // Past the end of the input the buffer is padded with zero bytes
  // (phantom_ of them, at its top); consuming any of them means the input
  // was cut short.

  bool NextChunk() {
    if (source_ == nullptr) return false;
    const std::span<const uint8_t> chunk = source_->Next();
    if (chunk.empty()) {
      source_ = nullptr;
      return false;
    }
    in_ = chunk.data();
    inEnd_ = chunk.data() + chunk.size();
    return true;
  }

  // Leaves at least 56 bits in the buffer.
  void Refill() {
    if (inEnd_ - in_ >= 8) {
      bits_ |= Load64LE(in_) << count_;
      in_ += (63 - count_) >> 3;
      count_ |= 56;
      return;
    }
    while (count_ < 56) {
      if (in_ == inEnd_ && !NextChunk()) {
        ++phantom_;
      } else {
        bits_ |= uint64_t{*in_++} << count_;
      }
      count_ += 8;
    }
  }

  bool Overran() const { return count_ < phantom_ * 8; }

  void Drop(unsigned n) {
    bits_ >>= n;
    count_ -= n;
  }

  // Reads n (at most 32) bits; false when the input ended before them.
  bool GetBits(unsigned n, uint32_t& value) {
    if (count_ < n) Refill();
    value = static_cast<uint32_t>(bits_ & ((uint64_t{1} << n) - 1));
    Drop(n);
    return !Overran();
  }

  // --- Blocks ---

  InflateError CopyStoredBlock() {
    Drop(count_ & 7);  // to the byte boundary
    uint32_t len, nlen;
    if (!GetBits(16, len) || !GetBits(16, nlen)) return InflateError::kTruncated;
    if (len != (~nlen & 0xFFFF)) return InflateError::kStoredLengthMismatch;
    if (len > static_cast<size_t>(outEnd_ - out_)) return InflateError::kOutputFull;
    // First the whole bytes still in the bit buffer, then straight from the input.
    for (; len > 0 && count_ > 0; --len) {
      if (count_ <= phantom_ * 8) return InflateError::kTruncated;
      *out_++ = static_cast<uint8_t>(bits_);
      Drop(8);
    }
    if (len == 0) return InflateError::kNone;
    bits_ = 0;  // the bits a fast refill left above the count are the bytes read below
    while (len > 0) {
      if (in_ == inEnd_ && !NextChunk()) return InflateError::kTruncated;
      const size_t n = std::min<size_t>(len, inEnd_ - in_);
      std::memcpy(out_, in_, n);
      out_ += n;
      in_ += n;
      len -= static_cast<uint32_t>(n);
    }
    return InflateError::kNone;
  }

  InflateError ReadDynamicTables() {
    uint32_t numLitLen, numDistance, numCodeLength;
    if (!GetBits(5, numLitLen) || !GetBits(5, numDistance) || !GetBits(4, numCodeLength)) {
      return InflateError::kTruncated;
    }
    numLitLen += 257;
    numDistance += 1;
    numCodeLength += 4;
    if (numLitLen > 286) return InflateError::kBadCodeLengths;  // the format stops at 286 length symbols

    static constexpr uint8_t kCodeLengthOrder[kNumCodeLengthSymbols] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                                        11, 4,  12, 3, 13, 2, 14, 1, 15};
    uint8_t codeLengthLengths[kNumCodeLengthSymbols] = {};
    for (uint32_t i = 0; i < numCodeLength; ++i) {
      uint32_t len;
      if (!GetBits(3, len)) return InflateError::kTruncated;
      codeLengthLengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(len);
    }
    if (!BuildTable(codeLengthLengths, kNumCodeLengthSymbols, kSymbols.codeLength, kCodeLengthBits, false, codeLength_,
                    kCodeLengthTableSize)) {
      return InflateError::kBadCodeLengths;
    }

    // One sequence of lengths for both codes: a repeat may cross from one to the other.
    uint8_t lengths[kNumLitLenSymbols + kNumDistanceSymbols];
    const uint32_t total = numLitLen + numDistance;
    for (uint32_t i = 0; i < total;) {
      if (count_ < 2 * kCodeLengthBits) Refill();  // a code and its extra bits
      const uint32_t e = codeLength_[bits_ & (kCodeLengthTableSize - 1)];
      Drop(EntryBits(e));
      const uint32_t symbol = EntryValue(e);
      if (symbol < 16) {
        lengths[i++] = static_cast<uint8_t>(symbol);
        continue;
      }
      uint8_t value = 0;
      uint32_t repeat;
      if (symbol == 16) {
        if (i == 0) return InflateError::kBadCodeLengths;  // nothing to repeat
        value = lengths[i - 1];
        repeat = 3 + static_cast<uint32_t>(bits_ & 3);
        Drop(2);
      } else if (symbol == 17) {
        repeat = 3 + static_cast<uint32_t>(bits_ & 7);
        Drop(3);
      } else {
        repeat = 11 + static_cast<uint32_t>(bits_ & 127);
        Drop(7);
      }
      if (repeat > total - i) return InflateError::kBadCodeLengths;
      std::fill(lengths + i, lengths + i + repeat, value);
      i += repeat;
    }
    if (Overran()) return InflateError::kTruncated;
    if (lengths[256] == 0) return InflateError::kBadCodeLengths;  // a block that could never end

    if (!BuildTable(lengths, numLitLen, kSymbols.litLen, kLitLenBits, true, litLen_, kLitLenTableSize) ||
        !BuildTable(lengths + numLitLen, numDistance, kSymbols.distance, kDistanceBits, true, distance_,
                    kDistanceTableSize)) {
      return InflateError::kBadCodeLengths;
    }
    return InflateError::kNone;
  }

  InflateError DecodeHuffmanBlock(const uint32_t* litLen, const uint32_t* distance) {
    for (;;) {
      Step step = FastLoop(litLen, distance);
      if (step == Step::kMore) step = CarefulStep(litLen, distance);
      if (step == Step::kEndOfBlock) return InflateError::kNone;
      if (step == Step::kError) return error_;
    }
  }

  // Decodes symbols while the input and output margins allow it, without
  // per-byte bounds checks. Works on local copies of the state: stores
  // through the output pointer could alias the members and would force the
  // compiler to reload them after every byte.
  Step FastLoop(const uint32_t* litLen, const uint32_t* distance) {
    const uint8_t* in = in_;
    const uint8_t* const inEnd = inEnd_;
    uint64_t bits = bits_;
    unsigned count = count_;
    uint8_t* out = out_;
    uint8_t* const outBegin = outBegin_;
    uint8_t* const outEnd = outEnd_;
    constexpr uint64_t kLitLenMask = (1u << kLitLenBits) - 1;
    constexpr uint64_t kDistanceMask = (1u << kDistanceBits) - 1;

    auto refill = [&] {
      bits |= Load64LE(in) << count;
      in += (63 - count) >> 3;
      count |= 56;
    };
    auto drop = [&](unsigned n) {
      bits >>= n;
      count -= n;
    };

    Step step = Step::kMore;
    while (inEnd - in >= kFastInputMargin && outEnd - out >= kFastOutputMargin) {
      refill();
      uint32_t e = litLen[bits & kLitLenMask];
      if (e & kLiteral) {
        // A refill leaves 56 bits and a literal in the primary table takes
        // at most 11: up to three literals per refill.
        drop(EntryBits(e));
        *out++ = static_cast<uint8_t>(EntryValue(e));
        e = litLen[bits & kLitLenMask];
        if (e & kLiteral) {
          drop(EntryBits(e));
          *out++ = static_cast<uint8_t>(EntryValue(e));
          e = litLen[bits & kLitLenMask];
          if (e & kLiteral) {
            drop(EntryBits(e));
            *out++ = static_cast<uint8_t>(EntryValue(e));
            continue;
          }
        }
        // What follows may need 48 bits (length and distance with their extra bits).
        refill();
      }
      if (e & kSpecial) {
        if (e & kLink) {
          drop(EntryBits(e));
          e = litLen[EntryValue(e) + (bits & ((1u << EntryCodeLength(e)) - 1))];
          if (e & kLiteral) {
            drop(EntryBits(e));
            *out++ = static_cast<uint8_t>(EntryValue(e));
            continue;
          }
        }
        if (e & kEndOfBlock) {
          drop(EntryBits(e));
          step = Step::kEndOfBlock;
          break;
        }
        if (e & kInvalid) {
          error_ = InflateError::kInvalidSymbol;
          step = Step::kError;
          break;
        }
      }
      const size_t length = EntryValue(e) + EntryExtra(bits, e);
      drop(EntryBits(e));

      e = distance[bits & kDistanceMask];
      if (e & kSpecial) {
        if (e & kLink) {
          drop(EntryBits(e));
          e = distance[EntryValue(e) + (bits & ((1u << EntryCodeLength(e)) - 1))];
        }
        if (e & kInvalid) {
          error_ = InflateError::kInvalidSymbol;
          step = Step::kError;
          break;
        }
      }
      const size_t dist = EntryValue(e) + EntryExtra(bits, e);
      drop(EntryBits(e));
      if (dist > static_cast<size_t>(out - outBegin)) {
        error_ = InflateError::kDistanceTooFar;
        step = Step::kError;
        break;
      }
      CopyMatchFast(out, dist, length);
      out += length;
    }

    in_ = in;
    bits_ = bits;
    count_ = count;
    out_ = out;
    return step;
  }

  // Decodes one symbol with every check, near the end of the input or output.
  Step CarefulStep(const uint32_t* litLen, const uint32_t* distance) {
    Refill();
    uint32_t e = litLen[bits_ & ((1u << kLitLenBits) - 1)];
    if (e & kLink) {
      Drop(EntryBits(e));
      e = litLen[EntryValue(e) + (bits_ & ((1u << EntryCodeLength(e)) - 1))];
    }
    const uint32_t extra = EntryExtra(bits_, e);
    Drop(EntryBits(e));
    if (Overran()) return Fail(InflateError::kTruncated);
    if (e & kInvalid) return Fail(InflateError::kInvalidSymbol);
    if (e & kEndOfBlock) return Step::kEndOfBlock;
    if (e & kLiteral) {
      if (out_ == outEnd_) return Fail(InflateError::kOutputFull);
      *out_++ = static_cast<uint8_t>(EntryValue(e));
      return Step::kMore;
    }
    const size_t length = EntryValue(e) + extra;

    e = distance[bits_ & ((1u << kDistanceBits) - 1)];
    if (e & kLink) {
      Drop(EntryBits(e));
      e = distance[EntryValue(e) + (bits_ & ((1u << EntryCodeLength(e)) - 1))];
    }
    const size_t dist = EntryValue(e) + EntryExtra(bits_, e);
    Drop(EntryBits(e));
    if (Overran()) return Fail(InflateError::kTruncated);
    if (e & kInvalid) return Fail(InflateError::kInvalidSymbol);
    if (dist > static_cast<size_t>(out_ - outBegin_)) return Fail(InflateError::kDistanceTooFar);
    if (length > static_cast<size_t>(outEnd_ - out_)) return Fail(InflateError::kOutputFull);
    for (size_t i = 0; i < length; ++i) out_[i] = out_[i - dist];
    out_ += length;
    return Step::kMore;
  }

  Step Fail(InflateError error) {
    error_ = error;
    return Step::kError;
  }

  InflateInput* source_;  // null once the input has ended
  const uint8_t* in_;
  const uint8_t* inEnd_;
  uint64_t bits_ = 0;
  unsigned count_ = 0;
  unsigned phantom_ = 0;

  uint8_t* const outBegin_;
  uint8_t* out_;
  uint8_t* const outEnd_;

  InflateError error_ = InflateError::kNone;
  uint32_t litLen_[kLitLenTableSize];
  uint32_t distance_[kDistanceTableSize];
  uint32_t codeLength_[kCodeLengthTableSize];
};

}  // namespace

const char* InflateErrorText(InflateError error) {
  switch (error) {
    case InflateError::kNone:
      return "no error";
    case InflateError::kTruncated:
      return "the compressed data ends too early";
    case InflateError::kBadBlockType:
      return "invalid block type";
    case InflateError::kStoredLengthMismatch:
      return "stored block length does not match its complement";
    case InflateError::kBadCodeLengths:
      return "invalid code lengths";
    case InflateError::kInvalidSymbol:
      return "invalid length or distance symbol";
    case InflateError::kDistanceTooFar:
      return "distance reaches before the start of the output";
    case InflateError::kOutputFull:
      return "output larger than the space for it";
  }
  return "unknown error";
}

InflateResult InflateRaw(std::span<const uint8_t> input, std::span<uint8_t> output) {
  Decoder decoder(nullptr, input, output);
  return decoder.Run();
}

InflateResult InflateRaw(InflateInput& input, std::span<uint8_t> output) {
  Decoder decoder(&input, {}, output);
  return decoder.Run();
}

}  // namespace quillmor
