#include "engine/xml_text.h"

#include <cstdint>
#include <cstring>

namespace quillmor {
namespace {

constexpr size_t kMaxEntityName = 15;  // longer names are cut, and then unknown
constexpr uint32_t kNoCodePoint = 0x110000;

bool IsXmlBlank(unsigned char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

// The code point of "#65" or "#x41"; kNoCodePoint when it is none (too
// large values included), -1 when the reference is malformed.
int64_t NumericReference(std::string_view name) {
  name.remove_prefix(1);  // '#'
  int base = 10;
  if (!name.empty() && (name[0] == 'x' || name[0] == 'X')) {
    base = 16;
    name.remove_prefix(1);
  }
  if (name.empty()) return -1;
  uint32_t value = 0;
  for (char c : name) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return -1;
    value = value >= kNoCodePoint ? kNoCodePoint : value * base + digit;  // saturates: 15 digits overflow 32 bits
  }
  return value >= kNoCodePoint ? kNoCodePoint : value;
}

// Writes the text behind the read position. Each write is at or before the
// byte being read: markup, entities and folded white space only shrink.
class TextWriter {
 public:
  explicit TextWriter(char* data) : data_(data) {}

  // White space becomes one space unless a space was just written.
  void PutFolded(unsigned char c, bool blank) {
    if (blank) {
      if (last_ != ' ') data_[size_++] = ' ';
      last_ = ' ';
    } else {
      Put(c);
    }
  }
  void Put(unsigned char c) {
    data_[size_++] = static_cast<char>(c);
    last_ = c;
  }
  void PutUtf8(uint32_t cp) {
    if (cp < 0x80) {
      Put(static_cast<unsigned char>(cp));
    } else if (cp < 0x800) {
      Put(0xC0 | cp >> 6);
      Put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      Put(0xE0 | cp >> 12);
      Put(0x80 | ((cp >> 6) & 0x3F));
      Put(0x80 | (cp & 0x3F));
    } else {
      Put(0xF0 | cp >> 18);
      Put(0x80 | ((cp >> 12) & 0x3F));
      Put(0x80 | ((cp >> 6) & 0x3F));
      Put(0x80 | (cp & 0x3F));
    }
  }
  size_t size() const { return size_; }

 private:
  char* data_;
  size_t size_ = 0;
  unsigned char last_ = 0;
};

void DecodeEntity(std::string_view name, TextWriter& text) {
  static constexpr struct {
    std::string_view name;
    char value;
  } kNamed[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& named : kNamed) {
    if (name == named.name) {
      text.PutFolded(named.value, false);
      return;
    }
  }
  if (name.empty() || name[0] != '#') return;  // unknown names are dropped
  const int64_t cp = NumericReference(name);
  if (cp >= 0 && cp < kNoCodePoint) text.PutUtf8(static_cast<uint32_t>(cp));
}

}  // namespace

std::string_view XmlToTextInPlace(std::span<char> buffer) {
  char* const data = buffer.data();
  const size_t n = buffer.size();
  TextWriter text(data);
  bool inCdata = false, inTag = false, inEntity = false;
  char entity[kMaxEntityName];
  size_t entityLength = 0;

  // Text bytes, in and out of CDATA. Returns how many input bytes it used.
  auto putTextByte = [&](size_t i) -> size_t {
    const auto c = static_cast<unsigned char>(data[i]);
    if (c == 0xC2 && i + 1 < n && static_cast<unsigned char>(data[i + 1]) == 0xA0) {
      text.PutFolded(' ', true);  // U+00A0 no-break space
      return 2;
    }
    text.PutFolded(c, IsXmlBlank(c));
    return 1;
  };

  for (size_t i = 0; i < n;) {
    const char c = data[i];
    if (inCdata) {
      if (c == ']' && n - i >= 3 && data[i + 1] == ']' && data[i + 2] == '>') {
        inCdata = false;
        i += 3;
      } else {
        i += putTextByte(i);
      }
      continue;
    }
    if (inEntity) {
      if (c == ';') {
        inEntity = false;
        DecodeEntity(std::string_view(entity, entityLength), text);
      } else if (entityLength < kMaxEntityName) {
        entity[entityLength++] = c;
      }
      ++i;
      continue;
    }
    if (c == '<') {
      if (n - i >= 9 && std::memcmp(data + i, "<![CDATA[", 9) == 0) {
        inCdata = true;
        i += 9;
      } else {
        inTag = true;
        ++i;
      }
      continue;
    }
    if (c == '>') {
      inTag = false;
      ++i;
      continue;
    }
    if (inTag) {
      ++i;
      continue;
    }
    if (c == '&') {
      inEntity = true;
      entityLength = 0;
      ++i;
      continue;
    }
    i += putTextByte(i);
  }

  std::string_view result(data, text.size());
  while (!result.empty() && result.front() == ' ') result.remove_prefix(1);
  while (!result.empty() && result.back() == ' ') result.remove_suffix(1);
  return result;
}

std::string XmlToText(std::string_view xml) {
  std::string copy(xml);
  return std::string(XmlToTextInPlace(copy));
}

}  // namespace quillmor
