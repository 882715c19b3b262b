// The initial letter of the Mandarin reading of a Chinese character, as far as
// the character order of GB2312's first level gives it: that level is sorted
// by reading, so each initial letter owns one contiguous range of codes.
#pragma once

#include <cstdint>

#include "index/cjk_unit.h"
#include "platform/text_codec.h"

namespace quillmor {

// 'a'..'z' for a two-byte GB2312 code (first byte * 256 + second) of the
// first level, 0xB0A1..0xD7F9 with a second byte of 0xA1 or more; 0 for every
// other code, GBK's additions among them. No letter owns i, u or v.
char16_t PinyinInitialOfGbCode(uint16_t code);

// The initial of one unit: 0 outside U+4E00..U+9FFF; otherwise the unit is
// converted to code page 936, or, when that gives no two-byte code, to the
// system ANSI code page, and the code looked up as above. 0 when no two-byte
// code results. One conversion per call: for scans, use PinyinInitialTable.
char16_t PinyinInitial(char16_t unit, TextCodec& codec);

// PinyinInitial of every unit U+4E00..U+9FFF, computed once. Immutable and
// thread-safe once built.
class PinyinInitialTable {
 public:
  // Builds the table through `codec`, converting the whole range in one call
  // where the codec allows it (code page 936 is stateless, so each unit gets
  // the bytes it would get alone) and unit by unit where it does not.
  explicit PinyinInitialTable(TextCodec& codec);

  // The table of `codec`, built by the first caller and kept until the process
  // ends; later callers, on any thread, share it. Codecs are process-lifetime
  // services (Env::text): the table is found by the codec's address.
  static const PinyinInitialTable& For(TextCodec& codec);

  // Same result as PinyinInitial(unit, codec) for the codec of the table.
  char16_t Initial(char16_t unit) const { return IsCjkUnit(unit) ? InitialOfCjk(unit) : 0; }
  // Initial of a unit known to be U+4E00..U+9FFF.
  char16_t InitialOfCjk(char16_t unit) const { return initials_[unit - kFirstCjkUnit]; }

 private:
  unsigned char initials_[kLastCjkUnit - kFirstCjkUnit + 1] = {};
};

}  // namespace quillmor
