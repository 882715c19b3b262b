// hotkey.ini: the two global hotkeys, and their display text.
#pragma once

#include <cstdint>
#include <string>

#include "platform/env.h"
#include "platform/win32_constants.h"

namespace quillmor {

// Modifier sets are RegisterHotKey's MOD_* flags; keys are virtual-key codes.
struct HotkeySettings {
  // Shows or hides the main window: Alt+Z.
  uint32_t modifiers = win32::kModAlt;
  uint32_t key = 'Z';
  // Reveals the foreground application's program in Explorer: Ctrl+Shift+O.
  uint32_t fgModifiers = win32::kModControl | win32::kModShift;
  uint32_t fgKey = 'O';
};

// Reads hotkey.ini; a value absent from the file (or no file) leaves the
// setting as it was.
void LoadHotkeySettings(Env& env, HotkeySettings& settings);

// Rewrites hotkey.ini with the four values. False when it cannot be written
// (the values then last for this run only).
bool SaveHotkeySettings(Env& env, const HotkeySettings& settings);

// "Ctrl+Alt+Shift+Win+" (those present, always in this order) and the
// keyboard's name for the key; without a name the key's letter or digit, or
// "Key". The defaults read "Alt+Z" and "Ctrl+Shift+O".
std::u16string FormatHotkey(SystemInfo& system, uint32_t modifiers, uint32_t virtualKey);

}  // namespace quillmor
