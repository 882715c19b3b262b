// The decoder against zlib, the reference implementation of the format:
// streams zlib makes in every configuration, and random or damaged input on
// which both must agree or ours must fail cleanly. Built only where zlib is.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "engine/inflate.h"
#include "platform/sim/sample_data.h"

namespace quillmor {
namespace {

struct ZlibSettings {
  int level = Z_DEFAULT_COMPRESSION;
  int strategy = Z_DEFAULT_STRATEGY;
  int windowBits = 15;
  int memLevel = 8;
  size_t flushEvery = 0;  // 0: one Z_FINISH; else Z_SYNC_FLUSH / Z_FULL_FLUSH / Z_PARTIAL_FLUSH in turn
};

std::vector<uint8_t> ZlibDeflate(std::string_view data, const ZlibSettings& settings) {
  z_stream s{};
  EXPECT_EQ(deflateInit2(&s, settings.level, Z_DEFLATED, -settings.windowBits, settings.memLevel, settings.strategy),
            Z_OK);
  std::vector<uint8_t> out(deflateBound(&s, data.size()) + 64 + (settings.flushEvery ? data.size() / 10 + 64 : 0));
  s.next_out = out.data();
  s.avail_out = static_cast<uInt>(out.size());
  size_t pos = 0;
  static constexpr int kFlushes[] = {Z_SYNC_FLUSH, Z_FULL_FLUSH, Z_PARTIAL_FLUSH};
  int flushIndex = 0;
  for (;;) {
    const size_t n = settings.flushEvery ? std::min(settings.flushEvery, data.size() - pos) : data.size();
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + pos));
    s.avail_in = static_cast<uInt>(n);
    pos += n;
    const int flush = pos == data.size() ? Z_FINISH : kFlushes[flushIndex++ % 3];
    const int r = deflate(&s, flush);
    if (flush == Z_FINISH) {
      EXPECT_EQ(r, Z_STREAM_END);
      break;
    }
    EXPECT_EQ(r, Z_OK);
  }
  out.resize(s.total_out);
  deflateEnd(&s);
  return out;
}

struct ZlibResult {
  bool ok = false;
  std::string out;
  std::string message;
};

ZlibResult ZlibInflate(std::span<const uint8_t> input, size_t room) {
  z_stream s{};
  EXPECT_EQ(inflateInit2(&s, -15), Z_OK);
  ZlibResult result;
  result.out.assign(room, '\0');
  s.next_in = const_cast<Bytef*>(input.data());
  s.avail_in = static_cast<uInt>(input.size());
  s.next_out = reinterpret_cast<Bytef*>(result.out.data());
  s.avail_out = static_cast<uInt>(room);
  const int r = inflate(&s, Z_FINISH);
  result.ok = r == Z_STREAM_END;
  result.out.resize(s.total_out);
  if (s.msg) result.message = s.msg;
  inflateEnd(&s);
  return result;
}

InflateResult Ours(std::span<const uint8_t> input, std::string& out, size_t room) {
  out.assign(room, '\0');
  const InflateResult r = InflateRaw(input, std::span(reinterpret_cast<uint8_t*>(out.data()), room));
  out.resize(r.produced);
  return r;
}

// Input in pieces of a fixed size, as a file is read.
class ChunkedInput : public InflateInput {
 public:
  ChunkedInput(std::span<const uint8_t> data, size_t piece) : data_(data), piece_(piece) {}
  std::span<const uint8_t> Next() override {
    const size_t n = std::min(piece_, data_.size() - pos_);
    const auto s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
  }

 private:
  std::span<const uint8_t> data_;
  size_t piece_;
  size_t pos_ = 0;
};

struct Sample {
  const char* name;
  std::string data;
};

const std::vector<Sample>& Samples() {
  // Built in place: moving a Sample trips a false -Warray-bounds in GCC 12.
  static const std::vector<Sample> samples{
      {"text", testing::EnglishLikeText(160 * 1024)},
      {"random", testing::RandomBytes(48 * 1024)},
      {"long runs", testing::LongRuns(160 * 1024)},
      {"long-distance repeats", testing::LongDistanceRepeats(160 * 1024)},
      {"mixed", testing::EnglishLikeText(40000, 9) + testing::RandomBytes(5000, 9) + testing::LongRuns(40000, 9) +
                    testing::EnglishLikeText(40000, 9)},
      {"tiny", "a"},
      {"empty", ""},
  };
  return samples;
}

TEST(InflateZlibTest, EveryLevelAndStrategy) {
  const std::pair<int, const char*> strategies[] = {{Z_DEFAULT_STRATEGY, "default"},
                                                    {Z_FILTERED, "filtered"},
                                                    {Z_HUFFMAN_ONLY, "huffman-only"},
                                                    {Z_RLE, "rle"},
                                                    {Z_FIXED, "fixed"}};
  const size_t pieceSizes[] = {65536, 1, 4093, 17};
  size_t run = 0;
  for (const Sample& sample : Samples()) {
    for (int level = 0; level <= 9; ++level) {
      for (const auto& [strategy, strategyName] : strategies) {
        ZlibSettings settings;
        settings.level = level;
        settings.strategy = strategy;
        const std::vector<uint8_t> stream = ZlibDeflate(sample.data, settings);
        SCOPED_TRACE(std::string(sample.name) + ", level " + std::to_string(level) + ", " + strategyName);

        std::string out;
        const InflateResult r = Ours(stream, out, sample.data.size());
        ASSERT_TRUE(r.ok()) << InflateErrorText(r.error);
        ASSERT_TRUE(out == sample.data);

        // The same stream arriving in pieces, as from a file.
        ChunkedInput input(stream, pieceSizes[run++ % 4]);
        std::string pieces(sample.data.size(), '\0');
        const InflateResult rp = InflateRaw(input, std::span(reinterpret_cast<uint8_t*>(pieces.data()), pieces.size()));
        ASSERT_TRUE(rp.ok()) << InflateErrorText(rp.error);
        ASSERT_TRUE(pieces == sample.data);
      }
    }
  }
}

TEST(InflateZlibTest, SmallWindowsMemoryLevelsAndFlushes) {
  const std::string& text = Samples()[0].data;
  const std::string& mixed = Samples()[4].data;
  std::vector<ZlibSettings> configurations;
  for (int windowBits = 9; windowBits <= 15; windowBits += 3)
    configurations.push_back({6, Z_DEFAULT_STRATEGY, windowBits});
  configurations.push_back({9, Z_DEFAULT_STRATEGY, 15, 1});
  configurations.push_back({1, Z_DEFAULT_STRATEGY, 15, 9});
  // Flushes leave empty stored blocks (sync, full) and empty fixed blocks (partial).
  configurations.push_back({6, Z_DEFAULT_STRATEGY, 15, 8, 1000});
  configurations.push_back({1, Z_FIXED, 15, 8, 777});
  configurations.push_back({0, Z_DEFAULT_STRATEGY, 15, 8, 5000});
  for (const ZlibSettings& settings : configurations) {
    for (const std::string* data : {&text, &mixed}) {
      const std::vector<uint8_t> stream = ZlibDeflate(*data, settings);
      std::string out;
      const InflateResult r = Ours(stream, out, data->size());
      ASSERT_TRUE(r.ok()) << InflateErrorText(r.error) << " window " << settings.windowBits << " flush "
                          << settings.flushEvery;
      ASSERT_TRUE(out == *data);
    }
  }
}

// Where zlib accepts a stream we must produce the same bytes; where we accept
// one zlib must too, with one documented exception: the format allows a
// dynamic block to declare 31 or 32 distance codes (never using the last
// two), which zlib refuses.
void ExpectAgreement(std::span<const uint8_t> input, size_t room, const char* what) {
  std::string ours;
  const InflateResult r = Ours(input, ours, room);
  const ZlibResult z = ZlibInflate(input, room);
  if (z.ok) {
    ASSERT_TRUE(r.ok()) << what << ": zlib accepts, we say " << InflateErrorText(r.error);
    ASSERT_TRUE(ours == z.out) << what;
  } else if (r.ok()) {
    ASSERT_EQ(z.message, "too many length or distance symbols") << what << ": we accept, zlib says " << z.message;
  }
  ASSERT_LE(r.produced, room);
}

TEST(InflateZlibTest, RandomInputAgreesOrFailsCleanly) {
  testing::SampleRandom random(20240601);
  for (int i = 0; i < 20000; ++i) {
    std::vector<uint8_t> input(random.Below(600));
    for (auto& b : input) b = static_cast<uint8_t>(random.Next());
    // Steer some inputs to the fixed and dynamic block types, which random
    // first bytes reach only half the time.
    if (!input.empty() && i % 2 == 0) input[0] = static_cast<uint8_t>((input[0] & ~6) | (i % 4 == 0 ? 2 : 4));
    ExpectAgreement(input, 1 + random.Below(70000), "random bytes");
  }
}

TEST(InflateZlibTest, DamagedStreamsAgreeOrFailCleanly) {
  testing::SampleRandom random(77);
  std::vector<std::vector<uint8_t>> streams;
  for (int level : {1, 6, 9}) {
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY}) {
      streams.push_back(ZlibDeflate(testing::EnglishLikeText(6000, level), {level, strategy}));
    }
  }
  streams.push_back(ZlibDeflate(testing::LongRuns(6000), {6}));
  for (int i = 0; i < 6000; ++i) {
    std::vector<uint8_t> input = streams[i % streams.size()];
    const int edits = 1 + random.Below(4);
    for (int e = 0; e < edits; ++e) {
      const size_t at = random.Below(static_cast<uint32_t>(input.size()));
      if (random.Below(2)) {
        input[at] ^= static_cast<uint8_t>(1u << random.Below(8));
      } else {
        input[at] = static_cast<uint8_t>(random.Next());
      }
    }
    ExpectAgreement(input, 6000 + random.Below(3) * 10 - 10, "damaged stream");
  }
}

TEST(InflateZlibTest, EveryPrefixOfAStreamIsTruncated) {
  for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED}) {
    const std::string text = testing::EnglishLikeText(8000, 5);
    const std::vector<uint8_t> stream = ZlibDeflate(text, {6, strategy});
    for (size_t cut = 0; cut < stream.size(); ++cut) {
      const auto prefix = std::span(stream).first(cut);
      std::string out;
      const InflateResult r = Ours(prefix, out, text.size());
      ASSERT_EQ(r.error, InflateError::kTruncated) << "cut at " << cut << " of " << stream.size();
      ASSERT_TRUE(out == text.substr(0, out.size()));
      ASSERT_FALSE(ZlibInflate(prefix, text.size()).ok);
      // Also when the input comes in small pieces.
      ChunkedInput input(prefix, 5);
      std::string pieces(text.size(), '\0');
      ASSERT_EQ(InflateRaw(input, std::span(reinterpret_cast<uint8_t*>(pieces.data()), pieces.size())).error,
                InflateError::kTruncated);
    }
  }
}

}  // namespace
}  // namespace quillmor
