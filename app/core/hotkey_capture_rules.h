// Capture mode: the user presses the combination a hotkey should have. What
// each key press decides, and the texts the mode shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmor {

// Which hotkey a capture sets.
enum class CaptureTarget : int32_t {
  kShowHide = 0,       // id 30001, hotkey.ini's "modifiers" and "key"
  kForegroundApp = 1,  // id 30012, "fg_modifiers" and "fg_key"
};

struct HotkeyPair {
  uint32_t modifiers = 0;  // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4
  uint32_t key = 0;        // a virtual-key code
  bool operator==(const HotkeyPair&) const = default;
};

enum class CaptureAction {
  kNotHandled,      // no capture runs, or not a key-down message: the key goes on
  kCancel,          // Esc: capture ends
  kWaitForMainKey,  // a modifier (or a Windows key) alone: nothing yet
  kNeedModifier,    // a key without Ctrl, Alt or Shift: say so, keep capturing
  kConflict,        // the other hotkey's combination: say so, keep capturing
  kRegister,        // try `pair`
};

struct CaptureDecision {
  CaptureAction action = CaptureAction::kNotHandled;
  HotkeyPair pair;  // for kRegister
};

// One key press while capture may run. `keyDown` is whether the message is
// WM_KEYDOWN or WM_SYSKEYDOWN; `control`, `alt` and `shift` whether each is
// held (a Windows key never counts as a modifier); `other` is the hotkey the
// capture does not set.
struct CaptureKeyPress {
  bool captureActive = false;
  bool keyDown = false;
  uint32_t virtualKey = 0;
  bool control = false;
  bool alt = false;
  bool shift = false;
  HotkeyPair other;
};
CaptureDecision DecideCaptureKey(const CaptureKeyPress& press);

// The window title while capturing (also the balloon's text).
std::u16string CaptureHintText(CaptureTarget target);
// The message after a successful capture: the target's prefix and the
// hotkey's display text.
std::u16string CaptureDoneText(CaptureTarget target, std::u16string_view hotkeyText);

}  // namespace quillmor
