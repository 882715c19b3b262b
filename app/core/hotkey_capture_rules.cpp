#include "app/core/hotkey_capture_rules.h"

#include "platform/win32_constants.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

// Virtual-key codes the capture looks at.
constexpr uint32_t kVkShift = 0x10;
constexpr uint32_t kVkControl = 0x11;
constexpr uint32_t kVkMenu = 0x12;  // Alt
constexpr uint32_t kVkEscape = 0x1B;
constexpr uint32_t kVkLeftWindows = 0x5B;
constexpr uint32_t kVkRightWindows = 0x5C;

bool IsModifierKey(uint32_t key) {
  return key == kVkShift || key == kVkControl || key == kVkMenu || key == kVkLeftWindows || key == kVkRightWindows;
}

}  // namespace

CaptureDecision DecideCaptureKey(const CaptureKeyPress& press) {
  if (!press.captureActive || !press.keyDown) return {};
  if (press.virtualKey == kVkEscape) return {CaptureAction::kCancel, {}};
  if (IsModifierKey(press.virtualKey)) return {CaptureAction::kWaitForMainKey, {}};
  HotkeyPair pair{0, press.virtualKey};
  if (press.control) pair.modifiers |= win32::kModControl;
  if (press.alt) pair.modifiers |= win32::kModAlt;
  if (press.shift) pair.modifiers |= win32::kModShift;
  if (pair.modifiers == 0) return {CaptureAction::kNeedModifier, {}};
  if (pair == press.other) return {CaptureAction::kConflict, pair};
  return {CaptureAction::kRegister, pair};
}

std::u16string CaptureHintText(CaptureTarget target) {
  if (target == CaptureTarget::kForegroundApp) {
    return Translate(u"Status_HotkeyCaptureHintFgExe",
                     u"请按下“在资源管理器中定位前台程序”的快捷键（需包含 Ctrl / Alt / Shift，按 Esc 取消）",
                     u"Press a hotkey for \"open foreground app in Explorer\" (Ctrl / Alt / Shift required, Esc to "
                     u"cancel)");
  }
  return Translate(u"Status_HotkeyCaptureHint", u"请按下新的快捷键组合（需包含 Ctrl / Alt / Shift，按 Esc 取消）",
                   u"Press a new hotkey combination (include Ctrl / Alt / Shift, Esc to cancel)");
}

std::u16string CaptureDoneText(CaptureTarget target, std::u16string_view hotkeyText) {
  const std::u16string prefix = target == CaptureTarget::kForegroundApp
                                    ? Translate(u"Msg_HotkeySetPrefixFgExe", u"定位前台程序的快捷键已设置为: ",
                                                u"Foreground app location hotkey set to: ")
                                    : Translate(u"Msg_HotkeySetPrefix", u"快捷键已设置为: ", u"Hotkey set to: ");
  return prefix + std::u16string(hotkeyText);
}

}  // namespace quillmor
