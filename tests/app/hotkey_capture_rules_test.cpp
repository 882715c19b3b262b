#include <gtest/gtest.h>

#include <vector>

#include "app/core/hotkey_capture_rules.h"
#include "tests/app/language_fixture.h"

namespace quillmor {
namespace {

constexpr uint32_t kF5 = 0x74;
const HotkeyPair kForegroundDefault{6, 'O'};  // Ctrl+Shift+O

struct KeyCase {
  const char* what;
  CaptureKeyPress press;
  CaptureAction action;
  HotkeyPair pair;
};

CaptureKeyPress Press(uint32_t key, bool control = false, bool alt = false, bool shift = false) {
  CaptureKeyPress press;
  press.captureActive = true;
  press.keyDown = true;
  press.virtualKey = key;
  press.control = control;
  press.alt = alt;
  press.shift = shift;
  press.other = kForegroundDefault;
  return press;
}

TEST(HotkeyCaptureRulesTest, EachKeyPressDecides) {
  CaptureKeyPress inactive = Press(kF5, true, true);
  inactive.captureActive = false;
  CaptureKeyPress keyUp = Press(kF5, true, true);
  keyUp.keyDown = false;
  const std::vector<KeyCase> cases = {
      {"no capture running", inactive, CaptureAction::kNotHandled, {}},
      {"not a key-down message", keyUp, CaptureAction::kNotHandled, {}},
      {"Esc cancels, modifiers or not", Press(0x1B, true), CaptureAction::kCancel, {}},
      {"Ctrl alone waits", Press(0x11, true), CaptureAction::kWaitForMainKey, {}},
      {"Shift alone waits", Press(0x10, false, false, true), CaptureAction::kWaitForMainKey, {}},
      {"Alt alone waits", Press(0x12, false, true), CaptureAction::kWaitForMainKey, {}},
      {"a Windows key waits", Press(0x5B), CaptureAction::kWaitForMainKey, {}},
      {"F5 alone needs a modifier", Press(kF5), CaptureAction::kNeedModifier, {}},
      {"Ctrl+Alt+F5", Press(kF5, true, true), CaptureAction::kRegister, {3, kF5}},
      {"Shift+Z", Press('Z', false, false, true), CaptureAction::kRegister, {4, 'Z'}},
      {"Ctrl+Alt+Shift+Z", Press('Z', true, true, true), CaptureAction::kRegister, {7, 'Z'}},
      {"the other hotkey's pair", Press('O', true, false, true), CaptureAction::kConflict, {6, 'O'}},
      {"same key, other modifiers", Press('O', false, true, true), CaptureAction::kRegister, {5, 'O'}},
  };
  for (const KeyCase& c : cases) {
    const CaptureDecision decision = DecideCaptureKey(c.press);
    EXPECT_EQ(decision.action, c.action) << c.what;
    if (c.action == CaptureAction::kRegister) {
      EXPECT_EQ(decision.pair, c.pair) << c.what;
    }
  }
}

using HotkeyCaptureTextTest = LanguageTest;

TEST_F(HotkeyCaptureTextTest, HintsAndResultsNameTheirTarget) {
  EXPECT_EQ(CaptureHintText(CaptureTarget::kShowHide),
            u"Press a new hotkey combination (include Ctrl / Alt / Shift, Esc to cancel)");
  EXPECT_EQ(CaptureHintText(CaptureTarget::kForegroundApp),
            u"Press a hotkey for \"open foreground app in Explorer\" (Ctrl / Alt / Shift required, Esc to cancel)");
  EXPECT_EQ(CaptureDoneText(CaptureTarget::kShowHide, u"Ctrl+Alt+F5"), u"Hotkey set to: Ctrl+Alt+F5");
  EXPECT_EQ(CaptureDoneText(CaptureTarget::kForegroundApp, u"Alt+Shift+O"),
            u"Foreground app location hotkey set to: Alt+Shift+O");
}

}  // namespace
}  // namespace quillmor
