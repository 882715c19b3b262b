#include "search/name_scan.h"

#include <gtest/gtest.h>

#include <random>

#include "index/cjk_unit.h"
#include "platform/utf.h"
#include "tests/search/exact_name_entries.h"

namespace quillmor {
namespace {

// A name stored as the pool stores it, alone in its heap block, so that the
// scans may read around its lower-case copy as they do in the index and
// AddressSanitizer catches any read beyond.
struct StoredName {
  StoredName(ExactNameEntries& entries, std::u16string_view name) : record(entries.Add(name)) {}
  const char16_t* lower() const { return record.lowerName(); }
  FileRecord record;
};

TEST(NameNeedleTest, FindsNeedleAtEveryPositionOfEveryLength) {
  ExactNameEntries entries;
  for (size_t m = 1; m <= 12; ++m) {
    std::u16string needle;
    for (size_t k = 0; k < m; ++k) needle += static_cast<char16_t>(u'a' + (k * 7) % 26);
    const NameNeedle prepared(needle);
    for (size_t n = m; n <= 40; ++n) {
      for (size_t at = 0; at + m <= n; ++at) {
        std::u16string name(n, u'-');
        name.replace(at, m, needle);
        const StoredName stored(entries, name);
        ASSERT_TRUE(prepared.FoundIn(stored.lower(), n)) << m << " at " << at << " in " << n;
        // The last unit wrong: only a full comparison tells.
        name[at + m - 1] = u'#';
        const StoredName nearMiss(entries, name);
        ASSERT_FALSE(prepared.FoundIn(nearMiss.lower(), n)) << m << " at " << at << " in " << n;
      }
    }
  }
}

TEST(NameNeedleTest, NeverFindsWhatOnlyTheNameBeforeTheCopyHolds) {
  // Short names are scanned with blocks that start inside the name itself
  // (capitals kept) and its terminator: those lanes must not count.
  ExactNameEntries entries;
  for (const char16_t* name : {u"AB", u"XYZ", u"ABCDEF", u"Q", u"ABCDEFGHIJ"}) {
    const std::u16string_view text(name);
    const StoredName stored(entries, text);
    for (size_t at = 0; at < text.size(); ++at) {
      for (size_t m = 1; at + m <= text.size(); ++m) {
        EXPECT_FALSE(NameNeedle(text.substr(at, m)).FoundIn(stored.lower(), text.size())) << Utf16ToUtf8(text);
      }
    }
    EXPECT_FALSE(NameNeedle(std::u16string(1, u'\0')).FoundIn(stored.lower(), text.size()));
  }
}

TEST(NameNeedleTest, EmptyNeedleAndNeedleLongerThanName) {
  ExactNameEntries entries;
  const StoredName stored(entries, u"abc");
  EXPECT_TRUE(NameNeedle(u"").FoundIn(stored.lower(), 3));
  EXPECT_FALSE(NameNeedle(u"abcd").FoundIn(stored.lower(), 3));
  const StoredName empty(entries, u"");
  EXPECT_TRUE(NameNeedle(u"").FoundIn(empty.lower(), 0));
  EXPECT_FALSE(NameNeedle(u"a").FoundIn(empty.lower(), 0));
}

TEST(NameNeedleTest, AgreesWithPlainSearchOnRandomNames) {
  // A small alphabet makes partial matches and repeated units common.
  const char16_t alphabet[] = {u'a', u'b', u'.', u' ', u'中', u'\xFF', u'A'};
  std::mt19937 rng(7);
  auto text = [&](size_t length) {
    std::u16string s;
    for (size_t i = 0; i < length; ++i) s += alphabet[rng() % std::size(alphabet)];
    return s;
  };
  ExactNameEntries entries;
  for (int round = 0; round < 100000; ++round) {
    const std::u16string name = text(rng() % (round % 50 == 0 ? 300 : 40));
    const std::u16string needle = text(1 + rng() % 8);
    const StoredName stored(entries, name);
    const std::u16string_view lower(stored.lower(), name.size());
    ASSERT_EQ(NameNeedle(needle).FoundIn(stored.lower(), name.size()), lower.find(needle) != lower.npos)
        << Utf16ToUtf8(name) << " / " << Utf16ToUtf8(needle);
  }
}

TEST(ContainsCjkUnitTest, FindsAUnitOfTheRangeAnywhere) {
  ExactNameEntries entries;
  for (size_t n = 1; n <= 40; ++n) {
    for (size_t at = 0; at < n; ++at) {
      for (const char16_t inside : {u'\u4E00', u'\u9FFF', u'新'}) {
        std::u16string name(n, u'x');
        name[at] = inside;
        ASSERT_TRUE(ContainsCjkUnit(entries.Add(name).name, n)) << n << " at " << at;
      }
      for (const char16_t outside : {u'\u4DFF', u'\uA000', u'\u3042', u'\xFF'}) {
        std::u16string name(n, u'x');
        name[at] = outside;
        ASSERT_FALSE(ContainsCjkUnit(entries.Add(name).name, n)) << n << " at " << at;
      }
    }
  }
  EXPECT_FALSE(ContainsCjkUnit(entries.Add(u"").name, 0));
}

}  // namespace
}  // namespace quillmor
