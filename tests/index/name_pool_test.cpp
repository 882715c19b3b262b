#include "index/name_pool.h"

#include <gtest/gtest.h>

#include <string>

namespace quillmor {
namespace {

std::u16string Entry(const char16_t* stored, size_t n) { return std::u16string(stored, 2 * (n + 1)); }

TEST(NamePoolTest, StoresNameTerminatorFoldedCopyTerminator) {
  NamePool pool;
  const std::u16string_view stored = pool.Add(u"ReadMe.TXT");
  EXPECT_EQ(stored, u"ReadMe.TXT");
  EXPECT_EQ(Entry(stored.data(), 10), std::u16string(u"ReadMe.TXT\0readme.txt\0", 22));
}

TEST(NamePoolTest, FoldsOnlyAsciiCapitals) {
  NamePool pool;
  const char16_t* p = pool.Add(u"ÄBc\u0130Z").data();  // Ä and İ keep their case
  EXPECT_EQ(std::u16string(p + 6, 5), u"Äbc\u0130z");
}

TEST(NamePoolTest, EmptyNameTakesTwoTerminators) {
  NamePool pool;
  const char16_t* p = pool.Add(u"").data();
  EXPECT_EQ(p[0], 0);
  EXPECT_EQ(p[1], 0);
  EXPECT_EQ(pool.Used(), 2u);
}

TEST(NamePoolTest, NameThatDoesNotFitOpensChunkAndEarlierNamesStay) {
  NamePool pool;
  const std::u16string big(32767, u'x');
  std::vector<const char16_t*> stored;
  // Each entry takes 65,536 units: 32 fill a chunk exactly, the 33rd opens a second one.
  for (int i = 0; i < 33; ++i) stored.push_back(pool.Add(big).data());
  EXPECT_EQ(pool.ChunkCount(), 2u);
  EXPECT_EQ(pool.Used(), 65536u);
  const char16_t* tail = pool.Add(u"AB").data();
  EXPECT_EQ(tail, stored.back() + 65536);
  for (const char16_t* p : stored) EXPECT_EQ(std::u16string_view(p, big.size()), big);

  NamePool tight;
  for (int i = 0; i < 31; ++i) tight.Add(big);
  tight.Add(std::u16string(kMaxNameUnits - 1, u'a'));  // leaves 2 units
  tight.Add(u"");                                      // fits exactly
  const char16_t* next = tight.Add(u"Z").data();       // does not
  EXPECT_EQ(tight.ChunkCount(), 2u);
  EXPECT_EQ(tight.Used(), 4u);  // "Z" starts the new chunk
  EXPECT_EQ(std::u16string(next, 4), std::u16string(u"Z\0z\0", 4));
}

TEST(NamePoolTest, ResetFreesChunksAndStartsAfresh) {
  NamePool pool;
  pool.Add(u"a");
  pool.Reset();
  EXPECT_EQ(pool.ChunkCount(), 0u);
  EXPECT_EQ(pool.Used(), NamePool::kChunkUnits);
  pool.Add(u"b");
  EXPECT_EQ(pool.ChunkCount(), 1u);
}

TEST(NamePoolTest, AddsUnalignedLittleEndianNames) {
  alignas(8) const unsigned char raw[] = {0xFF, 'H', 0, 'i', 0, 0x34, 0x12};
  NamePool pool;
  const std::u16string_view stored = pool.AddUtf16Le(reinterpret_cast<const std::byte*>(raw + 1), 3);
  EXPECT_EQ(std::u16string(stored.data(), 8), std::u16string(u"Hi\u1234\0hi\u1234\0", 8));
}

// Callers used to cut long names themselves, and one that forgot would have
// overrun the 16-bit length of its record and the chunk.
TEST(NamePoolTest, PoolCutsNamesLongerThanTheLimitItself) {
  NamePool pool;
  const std::u16string longName = std::u16string(kMaxNameUnits, u'A') + u"BC";
  const std::u16string_view stored = pool.Add(longName);
  ASSERT_EQ(stored.size(), kMaxNameUnits);
  EXPECT_EQ(stored, std::u16string_view(longName).substr(0, kMaxNameUnits));
  EXPECT_EQ(stored.data()[kMaxNameUnits], 0);
  EXPECT_EQ(stored.data()[kMaxNameUnits + 1], u'a');  // the folded copy follows
  EXPECT_EQ(pool.Used(), 2 * (kMaxNameUnits + 1));

  std::u16string raw(kMaxNameUnits + 5, u'x');
  EXPECT_EQ(pool.AddUtf16Le(reinterpret_cast<const std::byte*>(raw.data()), raw.size()).size(), kMaxNameUnits);
}

}  // namespace
}  // namespace quillmor
