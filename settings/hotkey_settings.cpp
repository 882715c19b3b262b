#include "settings/hotkey_settings.h"

#include <string_view>
#include <vector>

#include "platform/utf.h"
#include "settings/config_directory.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

constexpr std::u16string_view kFileName = u"hotkey.ini";
constexpr size_t kLineBufferChars = 256;

}  // namespace

void LoadHotkeySettings(Env& env, HotkeySettings& settings) {
  std::vector<std::u16string> lines;
  ReadSettingsLines(*env.files, ConfigFilePath(env, kFileName), kLineBufferChars, lines);
  for (const std::u16string& line : lines) {
    std::u16string_view key, value;
    if (!SplitSettingsKeyValue(line, key, value)) continue;
    if (key == u"modifiers") {
      settings.modifiers = ParseSettingsUnsigned(value);
    } else if (key == u"key") {
      settings.key = ParseSettingsUnsigned(value);
    } else if (key == u"fg_modifiers") {
      settings.fgModifiers = ParseSettingsUnsigned(value);
    } else if (key == u"fg_key") {
      settings.fgKey = ParseSettingsUnsigned(value);
    }
  }
}

bool SaveHotkeySettings(Env& env, const HotkeySettings& settings) {
  const std::string text = "modifiers=" + std::to_string(settings.modifiers) + "\nkey=" + std::to_string(settings.key) +
                           "\nfg_modifiers=" + std::to_string(settings.fgModifiers) +
                           "\nfg_key=" + std::to_string(settings.fgKey) + "\n";
  return WriteSettingsFile(*env.files, ConfigFilePath(env, kFileName), U16(text));
}

std::u16string FormatHotkey(SystemInfo& system, uint32_t modifiers, uint32_t virtualKey) {
  std::u16string text;
  if (modifiers & win32::kModControl) text += u"Ctrl+";
  if (modifiers & win32::kModAlt) text += u"Alt+";
  if (modifiers & win32::kModShift) text += u"Shift+";
  if (modifiers & win32::kModWin) text += u"Win+";
  const std::u16string name = system.KeyName(virtualKey);
  if (!name.empty()) {
    text += name;
  } else if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
    text += static_cast<char16_t>(virtualKey);
  } else {
    text += u"Key";
  }
  return text;
}

}  // namespace quillmor
