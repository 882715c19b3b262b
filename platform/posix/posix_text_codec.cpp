#include "platform/posix/posix_text_codec.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/utf.h"
#include "platform/win32_constants.h"

namespace quillmor {

// Both directions of one single- or double-byte code page.
struct PosixTextCodec::Table {
  static constexpr uint16_t kNone = 0xFFFF;  // no character; also U+FFFF, which no code page has

  // The character of each single byte, kNone when undefined or a lead byte.
  std::array<uint16_t, 256> single{};
  std::array<bool, 256> lead{};
  // The character of lead * 256 + trail, kNone when undefined. Empty for a
  // single-byte code page.
  std::vector<uint16_t> pairs;
  // The bytes of each UTF-16 unit: a single byte as itself, a pair as
  // lead * 256 + trail (always >= 0x8100), kNone when the page lacks it.
  std::vector<uint16_t> encode = std::vector<uint16_t>(0x10000, kNone);
};

namespace {

using Table = PosixTextCodec::Table;

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`; false with errno set (EINVAL for an incomplete
  // sequence, EILSEQ for an invalid one) when it cannot.
  bool Convert(const void* in, size_t inBytes, unsigned char* out, size_t outCapacity, size_t& outBytes) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = static_cast<char*>(const_cast<void*>(in));
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = outCapacity;
    if (iconv(cd_, &inPtr, &inBytes, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
    outBytes = outCapacity - outLeft;
    return true;
  }

 private:
  iconv_t cd_;
};

// The one UTF-16 unit `bytes` decode to, or kNone.
uint16_t DecodeUnit(Iconv& decoder, const unsigned char* bytes, size_t count, bool& incomplete) {
  unsigned char out[8];
  size_t outBytes = 0;
  errno = 0;
  incomplete = false;
  if (!decoder.Convert(bytes, count, out, sizeof out, outBytes)) {
    incomplete = errno == EINVAL;
    return Table::kNone;
  }
  if (outBytes != 2) return Table::kNone;
  return static_cast<uint16_t>(out[0] | out[1] << 8);
}

// Windows gives code page 936's user-defined areas, and the codes GBK leaves
// unassigned, characters of the private use area, numbered in this order.
void AddGbkPrivateUse(Table& table) {
  uint16_t next = 0xE000;
  auto assign = [&](unsigned lead, unsigned trail) {
    uint16_t& unit = table.pairs[lead * 256 + trail];
    if (unit != Table::kNone) return;
    unit = next;
    table.encode[next] = static_cast<uint16_t>(lead * 256 + trail);
    ++next;
  };
  for (unsigned lead = 0xAA; lead <= 0xAF; ++lead) {
    for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) assign(lead, trail);
  }
  for (unsigned lead = 0xF8; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) assign(lead, trail);
  }
  for (unsigned lead = 0xA1; lead <= 0xA7; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xA0; ++trail) {
      if (trail != 0x7F) assign(lead, trail);
    }
  }
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail != 0x7F) assign(lead, trail);
    }
  }
  // The single byte 0xFF, which GBK leaves out.
  table.single[0xFF] = 0xF8F5;
  table.encode[0xF8F5] = 0xFF;
}

std::unique_ptr<Table> BuildTable(uint32_t codePage) {
  const std::string name = "CP" + std::to_string(codePage);
  Iconv decoder("UTF-16LE", name.c_str());
  Iconv encoder(name.c_str(), "UTF-16LE");
  if (!decoder.ok() || !encoder.ok()) return nullptr;

  auto table = std::make_unique<Table>();
  bool anyLead = false;
  for (unsigned b = 0; b < 256; ++b) {
    const unsigned char byte = static_cast<unsigned char>(b);
    bool incomplete = false;
    table->single[b] = DecodeUnit(decoder, &byte, 1, incomplete);
    table->lead[b] = incomplete;
    anyLead |= incomplete;
  }
  if (anyLead) {
    table->pairs.assign(0x10000, Table::kNone);
    for (unsigned lead = 0; lead < 256; ++lead) {
      if (!table->lead[lead]) continue;
      for (unsigned trail = 0; trail < 256; ++trail) {
        const unsigned char pair[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
        bool incomplete = false;
        table->pairs[lead * 256 + trail] = DecodeUnit(decoder, pair, 2, incomplete);
      }
    }
  }
  for (uint32_t unit = 0; unit < 0x10000; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;  // a surrogate alone has no bytes
    const unsigned char in[2] = {static_cast<unsigned char>(unit), static_cast<unsigned char>(unit >> 8)};
    unsigned char out[8];
    size_t outBytes = 0;
    if (!encoder.Convert(in, 2, out, sizeof out, outBytes)) continue;
    if (outBytes == 1) table->encode[unit] = out[0];
    if (outBytes == 2) table->encode[unit] = static_cast<uint16_t>(out[0] << 8 | out[1]);
  }

  if (codePage == win32::kCodePageGbk) {
    AddGbkPrivateUse(*table);
  } else if (!anyLead) {
    // Windows' single-byte pages give the bytes they leave undefined in 0x80
    // to 0x9F the C1 control of the same number (1252's 0x81, 0x8D, ...).
    for (unsigned b = 0x80; b <= 0x9F; ++b) {
      if (table->single[b] == Table::kNone && table->encode[b] == Table::kNone) {
        table->single[b] = static_cast<uint16_t>(b);
        table->encode[b] = static_cast<uint16_t>(b);
      }
    }
  }
  return table;
}

}  // namespace

PosixTextCodec::PosixTextCodec(uint32_t ansiCodePage) : ansiCodePage_(ansiCodePage) {}

PosixTextCodec::~PosixTextCodec() = default;

const PosixTextCodec::Table* PosixTextCodec::TableFor(uint32_t codePage) {
  if (codePage == 0) codePage = ansiCodePage_;
  Slot* slot = codePage == ansiCodePage_ ? &ansi_ : codePage == win32::kCodePageGbk ? &gbk_ : nullptr;
  if (slot == nullptr) return nullptr;
  std::call_once(slot->built, [&] { slot->table = BuildTable(codePage); });
  return slot->table.get();
}

bool PosixTextCodec::FromUtf16(uint32_t codePage, std::u16string_view text, std::string& out) {
  if (codePage == win32::kCodePageUtf8 || (codePage == 0 && ansiCodePage_ == win32::kCodePageUtf8)) {
    out = Utf16ToUtf8(text);
    return true;
  }
  const Table* table = TableFor(codePage);
  if (table == nullptr) return false;
  out.clear();
  out.reserve(text.size());
  for (char16_t unit : text) {
    const uint16_t bytes = table->encode[unit];
    if (bytes == Table::kNone) {
      out += '?';  // each unit of a surrogate pair too, as Windows does
    } else if (bytes > 0xFF) {
      out += static_cast<char>(bytes >> 8);
      out += static_cast<char>(bytes & 0xFF);
    } else {
      out += static_cast<char>(bytes);
    }
  }
  return true;
}

bool PosixTextCodec::ToUtf16(uint32_t codePage, std::string_view bytes, std::u16string& out) {
  if (codePage == win32::kCodePageUtf8 || (codePage == 0 && ansiCodePage_ == win32::kCodePageUtf8)) {
    out = Utf8ToUtf16(bytes);
    return true;
  }
  const Table* table = TableFor(codePage);
  if (table == nullptr) return false;
  out.clear();
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (!table->lead[b]) {
      const uint16_t unit = table->single[b];
      out += unit == Table::kNone ? u'?' : static_cast<char16_t>(unit);
      ++i;
      continue;
    }
    // A lead byte: at the end, or before a NUL, it stands alone as "?"; with
    // any other byte the pair gives one character, "?" when undefined.
    if (i + 1 == bytes.size() || bytes[i + 1] == '\0') {
      out += u'?';
      ++i;
      continue;
    }
    const uint16_t unit = table->pairs[b * 256 + static_cast<unsigned char>(bytes[i + 1])];
    out += unit == Table::kNone ? u'?' : static_cast<char16_t>(unit);
    i += 2;
  }
  return true;
}

}  // namespace quillmor
