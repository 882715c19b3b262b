#include "app/core/menu_entry.h"

namespace quillmor {

MenuEntry MenuCommand(int32_t id, std::u16string text, bool checked) {
  MenuEntry entry;
  entry.id = id;
  entry.text = std::move(text);
  entry.checked = checked;
  return entry;
}

MenuEntry MenuSeparator() {
  MenuEntry entry;
  entry.kind = MenuEntry::Kind::kSeparator;
  return entry;
}

MenuEntry MenuSubmenu(std::u16string text, std::vector<MenuEntry> children) {
  MenuEntry entry;
  entry.kind = MenuEntry::Kind::kSubmenu;
  entry.text = std::move(text);
  entry.children = std::move(children);
  return entry;
}

std::u16string LiteralMenuText(std::u16string_view text) {
  std::u16string escaped;
  escaped.reserve(text.size());
  for (const char16_t c : text) {
    if (c == u'&') escaped += u'&';
    escaped += c;
  }
  return escaped;
}

}  // namespace quillmor
