#include "settings/translate_format.h"

#include <algorithm>

#include "settings/localisation.h"

namespace quillmor {
namespace {

// Beyond this a width or precision can only be a hostile text asking for a
// huge allocation; no real format needs it.
constexpr int kMaxWidthOrPrecision = 1024;

struct Conversion {
  bool leftAlign = false;
  bool plusSign = false;
  bool spaceSign = false;
  bool alternate = false;
  bool zeroPad = false;
  int width = 0;
  int precision = -1;  // none
  std::u16string_view length;
  char16_t letter = 0;
};

// A literal run of text, or one conversion.
struct Piece {
  std::u16string_view literal;
  bool isConversion = false;
  Conversion conversion;
};

Piece Literal(std::u16string_view text) {
  Piece piece;
  piece.literal = text;
  return piece;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads decimal digits at `i`; false when the number exceeds the limit.
bool ReadNumber(std::u16string_view f, size_t& i, int& out) {
  out = 0;
  while (i < f.size() && IsDigit(f[i])) {
    out = out * 10 + (f[i++] - u'0');
    if (out > kMaxWidthOrPrecision) return false;
  }
  return true;
}

bool ParseFormat(std::u16string_view f, std::vector<Piece>& pieces) {
  pieces.clear();
  size_t literalStart = 0;
  size_t i = 0;
  while (i < f.size()) {
    if (f[i] != u'%') {
      ++i;
      continue;
    }
    if (i > literalStart) pieces.push_back(Literal(f.substr(literalStart, i - literalStart)));
    ++i;
    if (i < f.size() && f[i] == u'%') {
      pieces.push_back(Literal(f.substr(i, 1)));  // "%%" is a literal "%"
      literalStart = ++i;
      continue;
    }
    Conversion c;
    for (; i < f.size(); ++i) {
      if (f[i] == u'-') {
        c.leftAlign = true;
      } else if (f[i] == u'+') {
        c.plusSign = true;
      } else if (f[i] == u' ') {
        c.spaceSign = true;
      } else if (f[i] == u'#') {
        c.alternate = true;
      } else if (f[i] == u'0') {
        c.zeroPad = true;
      } else {
        break;
      }
    }
    if (!ReadNumber(f, i, c.width)) return false;
    if (i < f.size() && f[i] == u'.') {
      ++i;
      if (!ReadNumber(f, i, c.precision)) return false;
    }
    // What follows must be a length modifier and a letter; "*" and "n$"
    // (argument taken from elsewhere) fall out here as unknown letters.
    const size_t lengthStart = i;
    if (i < f.size() && (f[i] == u'h' || f[i] == u'l')) {
      const char16_t first = f[i++];
      if (i < f.size() && f[i] == first) ++i;
    } else if (i < f.size() && (f[i] == u'j' || f[i] == u'z' || f[i] == u't')) {
      ++i;
    }
    c.length = f.substr(lengthStart, i - lengthStart);
    if (i >= f.size() || std::u16string_view(u"diuxXocs").find(f[i]) == std::u16string_view::npos) return false;
    c.letter = f[i++];
    Piece piece;
    piece.isConversion = true;
    piece.conversion = c;
    pieces.push_back(piece);
    literalStart = i;
  }
  if (i > literalStart) pieces.push_back(Literal(f.substr(literalStart, i - literalStart)));
  return true;
}

void Pad(std::u16string& out, size_t count, char16_t c) { out.append(count, c); }

void AppendAligned(std::u16string& out, std::u16string_view text, const Conversion& c) {
  const size_t width = static_cast<size_t>(c.width);
  if (!c.leftAlign && text.size() < width) Pad(out, width - text.size(), u' ');
  out += text;
  if (c.leftAlign && text.size() < width) Pad(out, width - text.size(), u' ');
}

void AppendInteger(std::u16string& out, const Conversion& c, const FormatArg& arg) {
  const bool signedConversion = c.letter == u'd' || c.letter == u'i';
  bool negative = false;
  uint64_t magnitude = 0;
  if (const auto* s = std::get_if<int64_t>(&arg.value())) {
    if (signedConversion && *s < 0) {
      negative = true;
      magnitude = 0 - static_cast<uint64_t>(*s);
    } else {
      magnitude = static_cast<uint64_t>(*s);  // an unsigned conversion sees the two's complement
    }
  } else if (const auto* u = std::get_if<uint64_t>(&arg.value())) {
    magnitude = *u;
  } else {
    return;
  }

  const unsigned base = c.letter == u'o' ? 8 : (c.letter == u'x' || c.letter == u'X') ? 16 : 10;
  const char16_t* digitSet = c.letter == u'X' ? u"0123456789ABCDEF" : u"0123456789abcdef";
  std::u16string digits;
  for (uint64_t v = magnitude; v != 0; v /= base) digits.push_back(digitSet[v % base]);
  if (c.precision < 0 && digits.empty()) digits.push_back(u'0');
  if (c.precision > 0 && digits.size() < static_cast<size_t>(c.precision)) {
    digits.append(c.precision - digits.size(), u'0');
  }
  if (c.alternate && base == 8 && (digits.empty() || digits.back() != u'0')) digits.push_back(u'0');
  std::reverse(digits.begin(), digits.end());

  std::u16string prefix;
  if (signedConversion) {
    if (negative) {
      prefix = u"-";
    } else if (c.plusSign) {
      prefix = u"+";
    } else if (c.spaceSign) {
      prefix = u" ";
    }
  }
  if (c.alternate && base == 16 && magnitude != 0) prefix = c.letter == u'X' ? u"0X" : u"0x";

  const size_t length = prefix.size() + digits.size();
  const size_t width = static_cast<size_t>(c.width);
  if (c.zeroPad && !c.leftAlign && c.precision < 0 && length < width) {
    out += prefix;
    Pad(out, width - length, u'0');
    out += digits;
  } else {
    AppendAligned(out, prefix + digits, c);
  }
}

void AppendString(std::u16string& out, const Conversion& c, const FormatArg& arg) {
  const auto* text = std::get_if<std::u16string_view>(&arg.value());
  if (text == nullptr) return;
  std::u16string_view shown = *text;
  if (c.precision >= 0 && shown.size() > static_cast<size_t>(c.precision)) {
    shown = shown.substr(0, c.precision);
    // Do not leave half of a surrogate pair behind.
    if (!shown.empty() && shown.back() >= 0xD800 && shown.back() <= 0xDBFF) shown.remove_suffix(1);
  }
  AppendAligned(out, shown, c);
}

void AppendCharacter(std::u16string& out, const Conversion& c, const FormatArg& arg) {
  char16_t ch = 0;
  if (const auto* s = std::get_if<int64_t>(&arg.value())) {
    ch = (*s >= 0 && *s <= 0xFFFF) ? static_cast<char16_t>(*s) : u'\uFFFD';
  } else if (const auto* u = std::get_if<uint64_t>(&arg.value())) {
    ch = *u <= 0xFFFF ? static_cast<char16_t>(*u) : u'\uFFFD';
  } else {
    return;
  }
  AppendAligned(out, std::u16string_view(&ch, 1), c);
}

}  // namespace

bool FormatConversions(std::u16string_view format, std::vector<std::u16string>& conversions) {
  conversions.clear();
  std::vector<Piece> pieces;
  if (!ParseFormat(format, pieces)) return false;
  for (const Piece& piece : pieces) {
    if (!piece.isConversion) continue;
    std::u16string signature(piece.conversion.length);
    signature += piece.conversion.letter;
    conversions.push_back(std::move(signature));
  }
  return true;
}

bool SameFormatConversions(std::u16string_view candidate, std::u16string_view reference) {
  std::vector<std::u16string> a, b;
  return FormatConversions(candidate, a) && FormatConversions(reference, b) && a == b;
}

std::u16string FormatWithArgs(std::u16string_view format, std::span<const FormatArg> args) {
  std::vector<Piece> pieces;
  if (!ParseFormat(format, pieces)) return std::u16string(format);
  std::u16string out;
  size_t next = 0;
  for (const Piece& piece : pieces) {
    if (!piece.isConversion) {
      out += piece.literal;
      continue;
    }
    if (next >= args.size()) continue;
    const Conversion& c = piece.conversion;
    const FormatArg& arg = args[next++];
    if (c.letter == u's') {
      AppendString(out, c, arg);
    } else if (c.letter == u'c') {
      AppendCharacter(out, c, arg);
    } else {
      AppendInteger(out, c, arg);
    }
  }
  return out;
}

std::u16string TranslatedFormat(std::u16string_view key, std::u16string_view zhDefault, std::u16string_view enDefault) {
  std::u16string text = Translate(key, zhDefault, enDefault);
  if (SameFormatConversions(text, enDefault)) return text;
  if (IsChineseLanguage() && SameFormatConversions(zhDefault, enDefault)) return std::u16string(zhDefault);
  return std::u16string(enDefault);
}

}  // namespace quillmor
