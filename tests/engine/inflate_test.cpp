#include "engine/inflate.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/sample_data.h"
#include "tests/engine/deflate_writer.h"

namespace quillmor {
namespace {

using testing::BitWriter;
using testing::BlockBody;
using testing::PrefixCode;

// Decodes into a buffer of `room` bytes; the output is cut to what was produced.
InflateResult Inflate(std::span<const uint8_t> stream, std::string& out, size_t room) {
  out.assign(room, '\0');
  const InflateResult r = InflateRaw(stream, std::span(reinterpret_cast<uint8_t*>(out.data()), room));
  out.resize(r.produced);
  return r;
}

// Hands the input over in pieces of the given sizes (the last one repeated).
class PieceInput : public InflateInput {
 public:
  PieceInput(std::span<const uint8_t> data, std::vector<size_t> pieces) : data_(data), pieces_(std::move(pieces)) {}
  std::span<const uint8_t> Next() override {
    if (pos_ == data_.size()) return {};
    const size_t want = pieces_[std::min(calls_++, pieces_.size() - 1)];
    const size_t n = std::min(want, data_.size() - pos_);
    const auto piece = data_.subspan(pos_, n);
    pos_ += n;
    return piece;
  }

 private:
  std::span<const uint8_t> data_;
  std::vector<size_t> pieces_;
  size_t pos_ = 0;
  size_t calls_ = 0;
};

std::string InflatePieces(std::span<const uint8_t> stream, std::vector<size_t> pieces, size_t room,
                          InflateError& error) {
  PieceInput input(stream, std::move(pieces));
  std::string out(room, '\0');
  const InflateResult r = InflateRaw(input, std::span(reinterpret_cast<uint8_t*>(out.data()), room));
  out.resize(r.produced);
  error = r.error;
  return out;
}

// --- Streams made by hand ---

TEST(InflateTest, StoredAndFixedBlocksFromTheTestEncoder) {
  const std::string text = "Hello, hello, hello! " + std::string(1000, 'z') + "end";
  for (const auto& stream : {testing::StoredDeflate(text), testing::FixedDeflate(text)}) {
    std::string out;
    const InflateResult r = Inflate(stream, out, text.size());
    ASSERT_TRUE(r.ok()) << InflateErrorText(r.error);
    EXPECT_EQ(out, text);
  }
}

TEST(InflateTest, EmptyStreamsProduceNothing) {
  for (const auto& stream : {testing::StoredDeflate(""), testing::FixedDeflate("")}) {
    std::string out;
    const InflateResult r = Inflate(stream, out, 0);
    EXPECT_TRUE(r.ok()) << InflateErrorText(r.error);
    EXPECT_EQ(r.produced, 0u);
  }
}

TEST(InflateTest, StoredBlocksLongerThanOneChunkAndEmptyStoredBlocks) {
  const std::string data = testing::RandomBytes(200000);
  BitWriter w;
  w.Bits(0, 3);  // an empty stored block first
  w.AlignToByte();
  w.Bits(0, 16);
  w.Bits(0xFFFF, 16);
  for (uint8_t b : testing::StoredDeflate(data)) w.Byte(b);
  std::string out;
  const InflateResult r = Inflate(w.bytes(), out, data.size());
  ASSERT_TRUE(r.ok()) << InflateErrorText(r.error);
  EXPECT_EQ(out, data);
}

// A final fixed block with the body the callback writes.
std::vector<uint8_t> FixedBlock(const std::function<void(BitWriter&, BlockBody&)>& write) {
  BitWriter w;
  w.Bits(1, 1);
  w.Bits(1, 2);
  BlockBody body(w, testing::FixedLitLen(), testing::FixedDistance());
  write(w, body);
  return w.bytes();
}

TEST(InflateTest, MatchesOfEveryLengthAndTheLongestDistance) {
  // Lengths 3..258 at distance 1..300, and a match 32,768 bytes back.
  std::string expected;
  const std::vector<uint8_t> stream = FixedBlock([&](BitWriter&, BlockBody& body) {
    const std::string start = testing::RandomBytes(300, 7);
    body.Literals(start);
    expected = start;
    for (unsigned length = 3; length <= 258; ++length) {
      const unsigned distance = 1 + (length * 7) % 300;
      body.Match(length, distance);
      for (unsigned i = 0; i < length; ++i) expected.push_back(expected[expected.size() - distance]);
    }
    while (expected.size() < 40000) {
      body.Literal(static_cast<uint8_t>('a' + expected.size() % 26));
      expected.push_back(static_cast<char>('a' + expected.size() % 26));
    }
    body.Match(258, 32768);
    for (unsigned i = 0; i < 258; ++i) expected.push_back(expected[expected.size() - 32768]);
    body.EndOfBlock();
  });
  std::string out;
  const InflateResult r = Inflate(stream, out, expected.size());
  ASSERT_TRUE(r.ok()) << InflateErrorText(r.error);
  EXPECT_EQ(out, expected);
}

TEST(InflateTest, Length258AlsoCodedAsSymbol284WithAllExtraBitsSet) {
  // zlib's decoder accepts 284 + 31 = 258 too; so do we.
  const std::vector<uint8_t> stream = FixedBlock([](BitWriter& w, BlockBody& body) {
    body.Literal('q');
    testing::FixedLitLen().Put(w, 284);
    w.Bits(31, 5);
    testing::FixedDistance().Put(w, 0);
    body.EndOfBlock();
  });
  std::string out;
  ASSERT_TRUE(Inflate(stream, out, 259).ok());
  EXPECT_EQ(out, std::string(259, 'q'));
}

TEST(InflateTest, BackReferencesReachAcrossBlocks) {
  BitWriter w;
  BlockBody body(w, testing::FixedLitLen(), testing::FixedDistance());
  w.Bits(0, 1);
  w.Bits(1, 2);
  body.Literals("abcdefgh");
  body.EndOfBlock();
  w.Bits(0, 3);  // a stored block in between
  w.AlignToByte();
  w.Bits(2, 16);
  w.Bits(0xFFFD, 16);
  w.Byte('X');
  w.Byte('Y');
  w.Bits(1, 1);
  w.Bits(1, 2);
  body.Match(10, 10);
  body.EndOfBlock();
  std::string out;
  ASSERT_TRUE(Inflate(w.bytes(), out, 20).ok());
  EXPECT_EQ(out, "abcdefghXYabcdefghXY");
}

TEST(InflateTest, OutputLimitIsExact) {
  const std::string text = testing::EnglishLikeText(5000);
  for (const auto& stream : {testing::StoredDeflate(text), testing::FixedDeflate(text)}) {
    std::string out;
    EXPECT_TRUE(Inflate(stream, out, text.size()).ok());
    EXPECT_TRUE(Inflate(stream, out, text.size() + 100).ok());
    EXPECT_EQ(out, text);
    const InflateResult r = Inflate(stream, out, text.size() - 1);
    EXPECT_EQ(r.error, InflateError::kOutputFull);
    EXPECT_LE(r.produced, text.size() - 1);
  }
}

TEST(InflateTest, EveryTruncationFailsCleanly) {
  const std::string text = testing::EnglishLikeText(3000) + std::string(700, ' ');
  for (const auto& stream : {testing::StoredDeflate(text), testing::FixedDeflate(text)}) {
    for (size_t cut = 0; cut < stream.size(); ++cut) {
      std::string out;
      const InflateResult r = Inflate(std::span(stream).first(cut), out, text.size());
      ASSERT_EQ(r.error, InflateError::kTruncated) << "cut at " << cut;
      ASSERT_EQ(out, text.substr(0, out.size()));
    }
  }
}

TEST(InflateTest, BytesAfterTheFinalBlockAreIgnored) {
  std::vector<uint8_t> stream = testing::FixedDeflate("tail");
  stream.insert(stream.end(), {0xFF, 0xFF, 0x00, 0x13});
  std::string out;
  ASSERT_TRUE(Inflate(stream, out, 4).ok());
  EXPECT_EQ(out, "tail");
}

// --- Malformed streams ---

struct BadStream {
  const char* name;
  std::function<void(BitWriter&)> write;
  InflateError expected;
};

// A dynamic block header for the given code lengths; the code-length code
// gives symbols 0-15 four bits each, so every length is written literally.
void DynamicHeader(BitWriter& w, const std::vector<uint8_t>& litLen, const std::vector<uint8_t>& distance) {
  w.Bits(static_cast<uint32_t>(litLen.size() - 257), 5);
  w.Bits(static_cast<uint32_t>(distance.size() - 1), 5);
  w.Bits(19 - 4, 4);
  static constexpr uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  for (uint8_t symbol : kOrder) w.Bits(symbol < 16 ? 4 : 0, 3);
  const PrefixCode codeLengths(std::vector<uint8_t>{4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4});
  for (uint8_t len : litLen) codeLengths.Put(w, len);
  for (uint8_t len : distance) codeLengths.Put(w, len);
}

// Complete literal/length lengths for 286 symbols: the fixed code's, whose
// last two 8-bit codes (286, 287) are missing, with literals 0 and 1
// shortened to 7 bits to fill the space they leave.
std::vector<uint8_t> CompleteLitLenLengths() {
  std::vector<uint8_t> l = testing::FixedLitLenLengths();
  l.resize(286);
  l[0] = 7;
  l[1] = 7;
  return l;
}

// A code-length code of two bits for the lengths 0, 16, 17 and 18.
PrefixCode RepeatOnlyCodeLengthCode() {
  std::vector<uint8_t> lengths(19, 0);
  lengths[0] = lengths[16] = lengths[17] = lengths[18] = 2;
  return PrefixCode(lengths);
}

TEST(InflateTest, MalformedStreamsFailWithTheirError) {
  const std::vector<uint8_t> goodLit = CompleteLitLenLengths();
  const std::vector<uint8_t> oneDistance = {1};
  const std::vector<BadStream> cases = {
      {"block type 3", [](BitWriter& w) { w.Bits(7, 3); }, InflateError::kBadBlockType},
      {"stored LEN/NLEN disagree",
       [](BitWriter& w) {
         w.Bits(1, 3);
         w.AlignToByte();
         w.Bits(5, 16);
         w.Bits(0xFFFB, 16);
         for (int i = 0; i < 5; ++i) w.Byte('x');
       },
       InflateError::kStoredLengthMismatch},
      {"fixed literal/length symbol 286",
       [](BitWriter& w) {
         w.Bits(3, 3);
         testing::FixedLitLen().Put(w, 286);
       },
       InflateError::kInvalidSymbol},
      {"fixed literal/length symbol 287",
       [](BitWriter& w) {
         w.Bits(3, 3);
         testing::FixedLitLen().Put(w, 65);
         testing::FixedLitLen().Put(w, 287);
       },
       InflateError::kInvalidSymbol},
      {"fixed distance symbol 30",
       [](BitWriter& w) {
         w.Bits(3, 3);
         testing::FixedLitLen().Put(w, 65);
         testing::FixedLitLen().Put(w, 257);
         testing::FixedDistance().Put(w, 30);
       },
       InflateError::kInvalidSymbol},
      {"fixed distance symbol 31",
       [](BitWriter& w) {
         w.Bits(3, 3);
         testing::FixedLitLen().Put(w, 65);
         testing::FixedLitLen().Put(w, 257);
         testing::FixedDistance().Put(w, 31);
       },
       InflateError::kInvalidSymbol},
      {"distance before the start",
       [](BitWriter& w) {
         w.Bits(3, 3);
         BlockBody body(w, testing::FixedLitLen(), testing::FixedDistance());
         body.Literals("ab");
         body.Match(3, 3);
       },
       InflateError::kDistanceTooFar},
      {"distance at the very start",
       [](BitWriter& w) {
         w.Bits(3, 3);
         BlockBody body(w, testing::FixedLitLen(), testing::FixedDistance());
         body.Match(3, 1);
       },
       InflateError::kDistanceTooFar},
      {"more than 286 literal/length codes",
       [](BitWriter& w) {
         w.Bits(5, 3);
         w.Bits(30, 5);
         w.Bits(0, 5);
         w.Bits(15, 4);
         for (int i = 0; i < 19; ++i) w.Bits(4, 3);
       },
       InflateError::kBadCodeLengths},
      {"over-subscribed literal/length code",
       [&](BitWriter& w) {
         std::vector<uint8_t> lit = goodLit;
         lit[2] = 7;
         w.Bits(5, 3);
         DynamicHeader(w, lit, oneDistance);
       },
       InflateError::kBadCodeLengths},
      {"incomplete literal/length code",
       [&](BitWriter& w) {
         std::vector<uint8_t> lit = goodLit;
         lit[2] = 0;
         w.Bits(5, 3);
         DynamicHeader(w, lit, oneDistance);
       },
       InflateError::kBadCodeLengths},
      {"incomplete distance code of two codes",
       [&](BitWriter& w) {
         w.Bits(5, 3);
         DynamicHeader(w, goodLit, {2, 2});
       },
       InflateError::kBadCodeLengths},
      {"single distance code of length 2",
       [&](BitWriter& w) {
         w.Bits(5, 3);
         DynamicHeader(w, goodLit, {2});
       },
       InflateError::kBadCodeLengths},
      {"over-subscribed distance code",
       [&](BitWriter& w) {
         w.Bits(5, 3);
         DynamicHeader(w, goodLit, {1, 1, 1});
       },
       InflateError::kBadCodeLengths},
      {"no end-of-block code",
       [&](BitWriter& w) {
         std::vector<uint8_t> lit = goodLit;
         lit[256] = 0;
         lit[2] = lit[3] = 7;  // keeps the code complete
         w.Bits(5, 3);
         DynamicHeader(w, lit, oneDistance);
       },
       InflateError::kBadCodeLengths},
      {"incomplete code-length code",
       [](BitWriter& w) {
         w.Bits(5, 3);
         w.Bits(0, 5);
         w.Bits(0, 5);
         w.Bits(0, 4);  // four code-length lengths: 16, 17, 18, 0
         w.Bits(2, 3);
         w.Bits(2, 3);
         w.Bits(2, 3);
         w.Bits(0, 3);
       },
       InflateError::kBadCodeLengths},
      {"over-subscribed code-length code",
       [](BitWriter& w) {
         w.Bits(5, 3);
         w.Bits(0, 5);
         w.Bits(0, 5);
         w.Bits(0, 4);
         for (int i = 0; i < 4; ++i) w.Bits(1, 3);
       },
       InflateError::kBadCodeLengths},
      {"empty code-length code",
       [](BitWriter& w) {
         w.Bits(5, 3);
         w.Bits(0, 14);
         w.Bits(0, 12);
       },
       InflateError::kBadCodeLengths},
      {"repeat of the previous length with no previous length",
       [](BitWriter& w) {
         w.Bits(5, 3);
         w.Bits(0, 5);
         w.Bits(0, 5);
         w.Bits(0, 4);  // lengths of 16, 17, 18, 0: two bits each
         for (int i = 0; i < 4; ++i) w.Bits(2, 3);
         RepeatOnlyCodeLengthCode().Put(w, 16);
         w.Bits(0, 2);
       },
       InflateError::kBadCodeLengths},
      {"repeat past the last length",
       [](BitWriter& w) {
         w.Bits(5, 3);
         w.Bits(0, 5);
         w.Bits(0, 5);
         w.Bits(0, 4);
         for (int i = 0; i < 4; ++i) w.Bits(2, 3);
         const PrefixCode cl = RepeatOnlyCodeLengthCode();
         cl.Put(w, 18);
         w.Bits(127, 7);  // 138 zeros
         cl.Put(w, 18);
         w.Bits(127, 7);  // 138 more, of the 120 left of 258 lengths
       },
       InflateError::kBadCodeLengths},
      {"unused code of a single distance code",
       [&](BitWriter& w) {
         w.Bits(5, 3);
         DynamicHeader(w, goodLit, oneDistance);
         const PrefixCode lit(goodLit);
         lit.Put(w, 'a');
         lit.Put(w, 257);
         w.Code(1, 1);  // the unused distance code
       },
       InflateError::kInvalidSymbol},
      {"length with no distance codes",
       [&](BitWriter& w) {
         w.Bits(5, 3);
         DynamicHeader(w, goodLit, {0});
         const PrefixCode lit(goodLit);
         lit.Put(w, 'a');
         lit.Put(w, 257);
         w.Bits(0, 8);
       },
       InflateError::kInvalidSymbol},
      {"dynamic distance symbol 30",
       [&](BitWriter& w) {
         std::vector<uint8_t> distance(32, 5);
         w.Bits(5, 3);
         DynamicHeader(w, goodLit, distance);
         const PrefixCode lit(goodLit);
         lit.Put(w, 'a');
         lit.Put(w, 257);
         PrefixCode(distance).Put(w, 30);
       },
       InflateError::kInvalidSymbol},
      {"no final block",
       [](BitWriter& w) {
         w.Bits(2, 3);
         testing::FixedLitLen().Put(w, 256);
       },
       InflateError::kTruncated},
  };
  for (const BadStream& c : cases) {
    BitWriter w;
    c.write(w);
    std::string out;
    const InflateResult r = Inflate(w.bytes(), out, 1000);
    EXPECT_EQ(r.error, c.expected) << c.name << ": " << InflateErrorText(r.error);
    // The same with the input arriving one byte at a time.
    InflateError pieceError;
    InflatePieces(w.bytes(), {1}, 1000, pieceError);
    EXPECT_EQ(pieceError, c.expected) << c.name << " (byte by byte)";
  }
}

// --- Edge cases of dynamic codes that are valid ---

TEST(InflateTest, ValidDynamicCodeEdgeCases) {
  const std::vector<uint8_t> goodLit = CompleteLitLenLengths();
  struct Case {
    const char* name;
    std::vector<uint8_t> litLen;
    std::vector<uint8_t> distance;
    bool useMatch;
  };
  std::vector<uint8_t> onlyEndOfBlock(257, 0);
  onlyEndOfBlock[256] = 1;
  // A skewed complete code with lengths from 1 to 15: the longest codes
  // are decoded through subtables.
  std::vector<uint8_t> longCodes(286, 0);
  unsigned len = 1;
  for (unsigned s : {'e', 't', 'a', 'o', 'i', 'n', 's', 'h', 'r', 'd', 'l', 'u', 'c', 'm'}) longCodes[s] = len++;
  // 14 codes of lengths 1..14 leave 2^-14 of the space: two 15-bit codes.
  longCodes[256] = 15;
  longCodes[257] = 15;
  const std::vector<Case> cases = {
      {"single distance code of one bit", goodLit, {1}, true},
      {"no distance codes, literals only", goodLit, {0}, false},
      {"32 distance lengths declared (30 and 31 unused)", goodLit, std::vector<uint8_t>(32, 5), true},
      {"literal/length code of one symbol, the end of block", onlyEndOfBlock, {0}, false},
      {"literal/length codes up to 15 bits", longCodes, {1}, true},
  };
  for (const Case& c : cases) {
    BitWriter w;
    w.Bits(4, 3);  // not final: a fixed final block follows
    DynamicHeader(w, c.litLen, c.distance);
    const PrefixCode lit(c.litLen);
    const PrefixCode dist(c.distance);
    std::string expected;
    if (c.litLen['e'] != 0) {
      for (char ch : std::string("tea")) {
        if (c.litLen[static_cast<uint8_t>(ch)] == 0) continue;
        lit.Put(w, static_cast<uint8_t>(ch));
        expected += ch;
      }
    }
    if (c.useMatch && !expected.empty()) {
      lit.Put(w, 257);  // length 3, distance 1
      dist.Put(w, 0);
      expected += std::string(3, expected.back());
    }
    lit.Put(w, 256);
    w.Bits(3, 3);
    BlockBody body(w, testing::FixedLitLen(), testing::FixedDistance());
    body.Literal('!');
    body.EndOfBlock();
    expected += '!';
    std::string out;
    const InflateResult r = Inflate(w.bytes(), out, 100);
    EXPECT_TRUE(r.ok()) << c.name << ": " << InflateErrorText(r.error);
    EXPECT_EQ(out, expected) << c.name;
  }
}

// Long codes from a skewed distribution exercise the subtables of both codes.
TEST(InflateTest, SubtablesOfLongLiteralAndDistanceCodes) {
  // Literal/length: 'x' 1 bit, then lengths 2..15 for 14 symbols, and the
  // rest of the space in 15-bit codes.
  std::vector<uint8_t> lit(286, 0);
  lit['x'] = 1;
  unsigned symbol = 'a';
  for (unsigned len = 2; len <= 14; ++len) lit[symbol++] = static_cast<uint8_t>(len);
  lit[256] = 15;
  lit[257] = 15;
  std::vector<uint8_t> distance(30, 0);
  for (unsigned len = 1; len <= 14; ++len) distance[len - 1] = static_cast<uint8_t>(len);
  distance[14] = 15;
  distance[29] = 15;  // distance base 24577, 13 extra bits

  BitWriter w;
  w.Bits(5, 3);
  DynamicHeader(w, lit, distance);
  const PrefixCode litCode(lit);
  const PrefixCode distCode(distance);
  std::string expected;
  for (int i = 0; i < 30000; ++i) {
    const unsigned s = (i % 7 == 0) ? 'a' + (i / 7) % 13 : 'x';
    litCode.Put(w, s);
    expected.push_back(static_cast<char>(s));
  }
  litCode.Put(w, 257);  // length 3
  distCode.Put(w, 29);
  w.Bits(29000 - 24577, 13);
  for (int i = 0; i < 3; ++i) expected.push_back(expected[expected.size() - 29000]);
  litCode.Put(w, 257);
  distCode.Put(w, 14);  // distance code 14: base 129, 6 extra bits
  w.Bits(5, 6);
  for (int i = 0; i < 3; ++i) expected.push_back(expected[expected.size() - 134]);
  litCode.Put(w, 256);

  std::string out;
  const InflateResult r = Inflate(w.bytes(), out, expected.size());
  ASSERT_TRUE(r.ok()) << InflateErrorText(r.error);
  EXPECT_EQ(out, expected);
}

}  // namespace
}  // namespace quillmor
