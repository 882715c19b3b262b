#include "search/pinyin_initial.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace quillmor {
namespace {

constexpr uint32_t kGbkCodePage = 936;
constexpr size_t kCjkUnits = kLastCjkUnit - kFirstCjkUnit + 1;

// The last code of each letter's range; each range starts one above the end
// of the one before, the first at 0xB0A1.
struct InitialRange {
  uint16_t last;
  char16_t letter;
};
constexpr uint16_t kFirstLevelStart = 0xB0A1;
constexpr InitialRange kRanges[] = {{0xB0C4, u'a'}, {0xB2C0, u'b'}, {0xB4ED, u'c'}, {0xB6E9, u'd'}, {0xB7A1, u'e'},
                                    {0xB8C0, u'f'}, {0xB9FD, u'g'}, {0xBBF6, u'h'}, {0xBFA5, u'j'}, {0xC0AB, u'k'},
                                    {0xC2E7, u'l'}, {0xC4C2, u'm'}, {0xC5B5, u'n'}, {0xC5BD, u'o'}, {0xC6D9, u'p'},
                                    {0xC8BA, u'q'}, {0xC8F5, u'r'}, {0xCBFA, u's'}, {0xCDD9, u't'}, {0xCEF3, u'w'},
                                    {0xD1B8, u'x'}, {0xD4D0, u'y'}, {0xD7F9, u'z'}};

uint16_t CodeOf(unsigned char first, unsigned char second) { return static_cast<uint16_t>(first * 256 + second); }

// The two-byte code of `unit` in `codePage`, as WideCharToMultiByte writes it
// into a two-byte buffer: none when the conversion fails, gives one byte (a
// default character), or would not fit.
bool TwoByteCode(TextCodec& codec, uint32_t codePage, char16_t unit, uint16_t& code) {
  std::string bytes;
  if (!codec.FromUtf16(codePage, std::u16string_view(&unit, 1), bytes) || bytes.size() != 2) return false;
  code = CodeOf(static_cast<unsigned char>(bytes[0]), static_cast<unsigned char>(bytes[1]));
  return true;
}

// Splits the code page 936 conversion of the whole range into one code per
// unit; 0 marks a unit that gave a single byte. False when the bytes do not
// split into exactly one character per unit.
bool SplitBulkConversion(const std::string& bytes, std::vector<uint16_t>& codes) {
  size_t pos = 0;
  for (size_t unit = 0; unit < kCjkUnits; ++unit) {
    if (pos >= bytes.size()) return false;
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x81 || lead == 0xFF) {  // one byte: the default character
      codes[unit] = 0;
      ++pos;
      continue;
    }
    if (pos + 1 >= bytes.size()) return false;
    const auto trail = static_cast<unsigned char>(bytes[pos + 1]);
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;  // not a double-byte character
    codes[unit] = CodeOf(lead, trail);
    pos += 2;
  }
  return pos == bytes.size();
}

struct CachedTable {
  explicit CachedTable(TextCodec& c, const CachedTable* n) : codec(&c), table(c), next(n) {}
  const TextCodec* codec;
  PinyinInitialTable table;
  const CachedTable* next;
};

// Built tables, newest first. Entries are never freed, so readers walk the
// list without a lock; the mutex only serialises building.
std::atomic<const CachedTable*> cachedTables{nullptr};
std::mutex buildMutex;

const PinyinInitialTable* FindCached(const TextCodec& codec) {
  for (const CachedTable* e = cachedTables.load(std::memory_order_acquire); e != nullptr; e = e->next) {
    if (e->codec == &codec) return &e->table;
  }
  return nullptr;
}

}  // namespace

char16_t PinyinInitialOfGbCode(uint16_t code) {
  // GB2312 characters have a second byte of 0xA1 or more. Codes with a lower
  // second byte inside the ranges are GBK additions (traditional and rare
  // characters such as 繞, 0xC040), which are not in reading order.
  if (code < kFirstLevelStart || (code & 0xFF) < 0xA1) return 0;
  for (const InitialRange& range : kRanges) {
    if (code <= range.last) return range.letter;
  }
  return 0;
}

char16_t PinyinInitial(char16_t unit, TextCodec& codec) {
  if (!IsCjkUnit(unit)) return 0;
  uint16_t code = 0;
  if (!TwoByteCode(codec, kGbkCodePage, unit, code) && !TwoByteCode(codec, codec.AnsiCodePage(), unit, code)) {
    return 0;
  }
  return PinyinInitialOfGbCode(code);
}

PinyinInitialTable::PinyinInitialTable(TextCodec& codec) {
  std::u16string range(kCjkUnits, u'\0');
  for (size_t i = 0; i < kCjkUnits; ++i) range[i] = static_cast<char16_t>(kFirstCjkUnit + i);
  std::string bytes;
  std::vector<uint16_t> codes(kCjkUnits);
  const bool split = codec.FromUtf16(kGbkCodePage, range, bytes) && SplitBulkConversion(bytes, codes);
  for (size_t i = 0; i < kCjkUnits; ++i) {
    const char16_t unit = range[i];
    // Units code page 936 lacks take the slow road through the ANSI code page.
    const char16_t letter = (split && codes[i] != 0) ? PinyinInitialOfGbCode(codes[i]) : PinyinInitial(unit, codec);
    initials_[i] = static_cast<unsigned char>(letter);
  }
}

const PinyinInitialTable& PinyinInitialTable::For(TextCodec& codec) {
  if (const PinyinInitialTable* table = FindCached(codec)) return *table;
  std::lock_guard<std::mutex> lock(buildMutex);
  if (const PinyinInitialTable* table = FindCached(codec)) return *table;
  auto* entry = new CachedTable(codec, cachedTables.load(std::memory_order_relaxed));
  cachedTables.store(entry, std::memory_order_release);
  return entry->table;
}

}  // namespace quillmor
