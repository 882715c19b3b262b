#include "search/compiled_name_query.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/utf.h"
#include "tests/search/exact_name_entries.h"
#include "tests/search/map_text_codec.h"

namespace quillmor {
namespace {

class CompiledNameQueryTest : public ::testing::Test {
 protected:
  FileRecord Record(std::u16string_view name) { return entries.Add(name); }
  bool Matches(const char16_t* query, std::u16string_view name, bool initialSearch = true) {
    const CompiledNameQuery compiled(FoldQueryGroups(ParseQueryGroups(query)), initialSearch, SharedMapCodec());
    return compiled.Matches(Record(name));
  }
  ExactNameEntries entries;
};

TEST_F(CompiledNameQueryTest, SubstringOfLowerCaseCopy) {
  EXPECT_TRUE(Matches(u"annual report", u"2024 annual report.pdf"));
  EXPECT_FALSE(Matches(u"annual report", u"annual_report.pdf"));
  EXPECT_TRUE(Matches(u"README", u"readme.md"));
  EXPECT_FALSE(Matches(u"Ä", u"ä"));
  EXPECT_TRUE(Matches(u"*.txt", u"notes.TXT"));
  EXPECT_FALSE(Matches(u"*.txt", u"notes.txt.bak"));
  EXPECT_TRUE(Matches(u"foo and bar", u"bar foo"));
  EXPECT_FALSE(Matches(u"foo and bar", u"foo"));
  EXPECT_TRUE(Matches(u"nothing or foo", u"foo"));
  EXPECT_FALSE(Matches(u"a long term that is longer than the name", u"short"));
}

TEST_F(CompiledNameQueryTest, MatchesAllWithoutGroups) {
  const CompiledNameQuery none({}, true, SharedMapCodec());
  EXPECT_TRUE(none.MatchesAll());
  EXPECT_TRUE(none.Matches(Record(u"x")));
  const CompiledNameQuery quotes(FoldQueryGroups(ParseQueryGroups(u"\"\"")), true, SharedMapCodec());
  EXPECT_TRUE(quotes.MatchesAll());
  const CompiledNameQuery term(FoldQueryGroups(ParseQueryGroups(u"x")), true, SharedMapCodec());
  EXPECT_FALSE(term.MatchesAll());
  // A group of nothing to look for holds for every name, as in MatchesQueryGroups.
  const CompiledNameQuery emptyGroup({{u"zzz"}, {}}, true, SharedMapCodec());
  EXPECT_TRUE(emptyGroup.MatchesAll());
}

TEST_F(CompiledNameQueryTest, InitialSearchOnlyForOneQualifyingTermWithSwitchOn) {
  EXPECT_TRUE(Matches(u"xjwj", u"新建文件夹.txt"));
  EXPECT_TRUE(Matches(u"XJWJ", u"新建文件夹.txt"));  // folded first
  EXPECT_FALSE(Matches(u"xjwj", u"新建文件夹.txt", /*initialSearch=*/false));
  EXPECT_FALSE(Matches(u"x", u"新建文件夹"));
  EXPECT_FALSE(Matches(u"xj wj", u"新建文件夹.txt"));
  EXPECT_FALSE(Matches(u"xj and wj", u"新建文件夹.txt"));
  EXPECT_FALSE(Matches(u"xj or zz", u"新建文件夹.txt"));
  EXPECT_FALSE(Matches(u"xj", u".新建文件夹"));
  EXPECT_FALSE(Matches(u"t2", u"Report_2024.docx"));
  EXPECT_TRUE(Matches(u"ndbg", u"年度报告 final.pdf"));
  std::u16string name, term;
  for (int i = 0; i < 17; ++i) name += u"新建", term += u"xj";
  EXPECT_TRUE(Matches(term.substr(0, 32).c_str(), name));
  EXPECT_FALSE(Matches(term.substr(0, 33).c_str(), name));  // 33 units: no initial search
  // A substring hit needs no initials.
  EXPECT_TRUE(Matches(u"xj", u"xj.txt"));
}

TEST_F(CompiledNameQueryTest, NullNameNeverMatchesATerm) {
  const CompiledNameQuery term({{u"x"}}, true, SharedMapCodec());
  EXPECT_FALSE(term.Matches(FileRecord{}));
}

// The compiled query decides exactly as the plain rules do: MatchesQueryGroups
// on the lower-case copy, then MatchesInitials when initial search applies.
class CompiledNameQueryAgreementTest : public CompiledNameQueryTest {
 protected:
  static bool Reference(const QueryGroups& folded, bool initialSearch, const FileRecord& r) {
    if (MatchesQueryGroups(folded, r.lowerName())) return true;
    const bool initialsApply =
        initialSearch && folded.size() == 1 && folded[0].size() == 1 && IsInitialsTerm(folded[0][0]);
    return initialsApply && MatchesInitials(r.name, r.nameLength, folded[0][0], SharedMapCodec());
  }

  std::u16string Text(std::mt19937& rng, size_t length, std::u16string_view alphabet) {
    std::u16string s;
    for (size_t i = 0; i < length; ++i) s += alphabet[rng() % alphabet.size()];
    return s;
  }

  void Check(const QueryGroups& folded, const std::vector<FileRecord>& records, std::mt19937& rng) {
    const bool initialSearch = rng() % 4 != 0;
    const CompiledNameQuery compiled(folded, initialSearch, SharedMapCodec());
    for (const FileRecord& r : records) {
      ASSERT_EQ(compiled.Matches(r), Reference(folded, initialSearch, r))
          << Utf16ToUtf8(std::u16string_view(r.name, r.nameLength)) << " initials " << initialSearch;
    }
  }

  // Names of letters, digits, separators and CJK characters with and without
  // initials, so that partial hits, dots and initials keys all occur.
  static constexpr std::u16string_view kNameUnits = u"abcxjwAXJW12 ._-新建文件中亍丂é";
  static constexpr std::u16string_view kTermUnits = u"abcxjwAXJ12 ._新é*?";
};

TEST_F(CompiledNameQueryAgreementTest, RandomGroupsAgainstRandomNames) {
  std::mt19937 rng(2024);
  std::vector<FileRecord> records;
  for (int i = 0; i < 3000; ++i) records.push_back(Record(Text(rng, rng() % (i % 100 == 0 ? 200 : 24), kNameUnits)));
  for (int q = 0; q < 600; ++q) {
    QueryGroups groups(rng() % 4);
    for (auto& group : groups) {
      group.resize(rng() % 4);
      for (auto& term : group) term = Text(rng, rng() % 5, rng() % 3 ? u"abcxjw12" : kTermUnits);
      // Patterns need names of their shape to match at all: some are cut
      // from a name, with units turned into wildcards.
      if (!group.empty() && rng() % 3 == 0) {
        const FileRecord& r = records[rng() % records.size()];
        std::u16string term(r.name, r.nameLength);
        for (char16_t& c : term) c = rng() % 4 == 0 ? u"*?"[rng() % 2] : c;
        group[0] = term.substr(std::min<size_t>(rng() % 2, term.size()));
      }
    }
    Check(FoldQueryGroups(groups), records, rng);
  }
}

TEST_F(CompiledNameQueryAgreementTest, RandomQueryTextsAgainstRandomNames) {
  std::mt19937 rng(99);
  std::vector<FileRecord> records;
  for (int i = 0; i < 3000; ++i) records.push_back(Record(Text(rng, rng() % 24, kNameUnits)));
  const std::u16string_view pieces[] = {u" and ", u" OR ", u"\"", u"\\", u" ", u"xj",
                                        u"a",     u"新",   u"b.", u"w1", u"*", u"?"};
  for (int q = 0; q < 600; ++q) {
    std::u16string text;
    for (size_t k = rng() % 6; k > 0; --k) text += pieces[rng() % std::size(pieces)];
    Check(FoldQueryGroups(ParseQueryGroups(text)), records, rng);
  }
}

}  // namespace
}  // namespace quillmor
