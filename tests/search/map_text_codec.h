// A code-page converter for tests: ASCII converts to itself, the few CJK
// characters the tests use to their real GBK bytes in code page 936, and
// anything else to the default character '?', as WideCharToMultiByte does.
// Other code pages convert only what a test gives them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "platform/text_codec.h"

namespace quillmor {

class MapTextCodec : public TextCodec {
 public:
  MapTextCodec() {
    // Verified with iconv -f UTF-8 -t GBK.
    const std::pair<char16_t, uint16_t> gbk[] = {
        {u'新', 0xD0C2}, {u'建', 0xBDA8}, {u'文', 0xCEC4}, {u'件', 0xBCFE}, {u'夹', 0xBCD0},
        {u'年', 0xC4EA}, {u'度', 0xB6C8}, {u'报', 0xB1A8}, {u'告', 0xB8E6}, {u'写', 0xD0B4},
        {u'真', 0xD5E6}, {u'中', 0xD6D0}, {u'啊', 0xB0A1}, {u'澳', 0xB0C4}, {u'芭', 0xB0C5},
        {u'怖', 0xB2C0}, {u'擦', 0xB2C1}, {u'哦', 0xC5B6}, {u'沤', 0xC5BD}, {u'塌', 0xCBFA},
        {u'他', 0xCBFB}, {u'孕', 0xD4D0}, {u'匝', 0xD4D1}, {u'座', 0xD7F9}, {u'亍', 0xD8A1},  // second level of GB2312
        {u'齄', 0xF7FE},                                                                      // its last character
        {u'丂', 0x8140},  // a GBK extension character
        {u'繞', 0xC040},  // a GBK addition inside the range of k (its reading is rao)
    };
    for (const auto& [unit, code] : gbk) Map(936, unit, code);
  }

  // Makes `unit` convert to the two bytes of `code` in `codePage`.
  void Map(uint32_t codePage, char16_t unit, uint16_t code) {
    table_[{codePage, unit}] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  }

  uint32_t ansiCodePage = 1252;
  // A code page the codec refuses, as Windows refuses one not installed.
  uint32_t unavailableCodePage = 0;
  int conversions = 0;

  uint32_t AnsiCodePage() override { return ansiCodePage; }

  bool FromUtf16(uint32_t codePage, std::u16string_view text, std::string& out) override {
    ++conversions;
    if (codePage == unavailableCodePage) return false;
    out.clear();
    for (const char16_t unit : text) {
      if (const auto it = table_.find({codePage, unit}); it != table_.end()) {
        out += it->second;
      } else {
        out += unit < 0x80 ? static_cast<char>(unit) : '?';
      }
    }
    return true;
  }

  bool ToUtf16(uint32_t, std::string_view, std::u16string&) override { return false; }

 private:
  std::map<std::pair<uint32_t, char16_t>, std::string> table_;
};

}  // namespace quillmor

namespace quillmor {

// One codec for the tests that go through PinyinInitialTable::For, which
// keeps a table per codec object for the life of the process.
inline MapTextCodec& SharedMapCodec() {
  static MapTextCodec codec;
  return codec;
}

}  // namespace quillmor
