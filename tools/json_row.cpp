#include "tools/json_row.h"

#include <cstdio>

#include "platform/utf.h"

namespace quillmor {
namespace {

constexpr uint64_t kFileTimeUnitsPerSecond = 10'000'000;

void AppendUnitEscape(std::string& out, char16_t unit) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit));
  out += escape;
}

// Days from 1601-01-01 to the given date of the proleptic Gregorian calendar.
int64_t DaysSince1601(int64_t year, int64_t month, int64_t day) {
  // Counted from 1 March so that the leap day ends a year.
  const int64_t y = year - (month <= 2 ? 1 : 0) - 1600;  // 1600 is a multiple of 400
  const int64_t era = y / 400;                           // y >= 0 from 1601 on
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  // 1600-03-01 is day 0 of the count; 1601-01-01 lies 306 days after it.
  return era * 146097 + dayOfEra - 306;
}

}  // namespace

void AppendJsonString(std::string& out, std::u16string_view text) {
  out += '"';
  size_t plainStart = 0;  // start of the units not written yet that need no escape
  const auto flush = [&](size_t end) {
    if (end > plainStart) out += Utf16ToUtf8(text.substr(plainStart, end - plainStart));
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;  // a pair: plain text
      continue;
    }
    const bool lone = IsHighSurrogate(c) || IsLowSurrogate(c);
    // U+2028 and U+2029 are line ends to JavaScript, though not to JSON.
    if (c >= 0x20 && c != u'"' && c != u'\\' && !lone && c != 0x2028 && c != 0x2029) continue;
    flush(i);
    plainStart = i + 1;
    switch (c) {
      case u'"':
        out += "\\\"";
        break;
      case u'\\':
        out += "\\\\";
        break;
      case u'\n':
        out += "\\n";
        break;
      case u'\r':
        out += "\\r";
        break;
      case u'\t':
        out += "\\t";
        break;
      case u'\b':
        out += "\\b";
        break;
      case u'\f':
        out += "\\f";
        break;
      default:
        AppendUnitEscape(out, c);
    }
  }
  flush(text.size());
  out += '"';
}

std::string IsoLocalTime(Clock& clock, uint64_t fileTime) {
  LocalTime t;
  if (fileTime == 0 || !clock.FileTimeToLocal(fileTime, t) || !IsValidLocalTime(t)) return {};
  // The offset is the local time read as if it were UTC, less the time.
  const int64_t localSeconds = DaysSince1601(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
  const int64_t utcSeconds = static_cast<int64_t>(fileTime / kFileTimeUnitsPerSecond);
  const int64_t offsetSeconds = localSeconds - utcSeconds;
  // Whole minutes (zone offsets of the past had seconds: rounded).
  const int64_t offsetMinutes = (offsetSeconds + (offsetSeconds >= 0 ? 30 : -30)) / 60;
  const int64_t magnitude = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
  char text[48];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u%c%02lld:%02lld", t.year, t.month, t.day, t.hour,
                t.minute, t.second, offsetMinutes < 0 ? '-' : '+', static_cast<long long>(magnitude / 60),
                static_cast<long long>(magnitude % 60));
  return text;
}

std::string JsonRow(Clock& clock, const RowFacts& row) {
  std::string out = "{\"path\":";
  AppendJsonString(out, row.path);
  out += ",\"name\":";
  AppendJsonString(out, row.name);
  out += row.directory ? ",\"directory\":true" : ",\"directory\":false";
  out += ",\"size\":";
  out += row.directory || !row.attributesKnown ? "null" : std::to_string(row.size);
  for (const auto& [key, time] : {std::pair{",\"modified\":", row.modified}, std::pair{",\"created\":", row.created}}) {
    out += key;
    const std::string text = row.attributesKnown ? IsoLocalTime(clock, time) : std::string();
    if (text.empty()) {
      out += "null";
    } else {
      out += '"';
      out += text;
      out += '"';
    }
  }
  out += '}';
  return out;
}

}  // namespace quillmor
