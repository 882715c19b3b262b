#include "search/folder_path.h"

#include "index/ascii_case.h"
#include "search/query_trim.h"

namespace quillmor {
namespace {

constexpr bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

void UseBackslashes(std::u16string& path) {
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
}

void DropTrailingBackslashes(std::u16string& path) {
  while (path.size() > 3 && path.back() == u'\\') path.pop_back();
}

// "C:\" and "C:" name the same folder; keep the short form.
void ShortenDriveRoot(std::u16string& path, bool requireLetter) {
  if (path.size() == 3 && path[1] == u':' && path[2] == u'\\' && (!requireLetter || IsAsciiLetter(path[0]))) {
    path.resize(2);
  }
}

}  // namespace

std::u16string NormalizeFolderPath(std::u16string_view path) {
  std::u16string_view text = TrimQueryText(path);
  if (text.size() >= 2 && text.front() == text.back() && (text.front() == u'"' || text.front() == u'\'')) {
    text = text.substr(1, text.size() - 2);
  }
  std::u16string out(text);
  UseBackslashes(out);
  DropTrailingBackslashes(out);
  ShortenDriveRoot(out, /*requireLetter=*/false);
  return out;
}

bool IsUnderFolder(std::u16string_view path, std::u16string_view folder) {
  if (path.empty() || folder.empty()) return false;
  std::u16string p(path), f(folder);
  for (std::u16string* s : {&p, &f}) {
    UseBackslashes(*s);
    DropTrailingBackslashes(*s);
    ShortenDriveRoot(*s, /*requireLetter=*/true);
  }
  if (EqualIgnoringAsciiCase(p, f)) return true;
  return p.size() > f.size() && StartsWithIgnoringAsciiCase(p, f) && p[f.size()] == u'\\';
}

}  // namespace quillmor
