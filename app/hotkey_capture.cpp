// Capture mode: the window asks for a key combination and makes it the
// show/hide hotkey or the foreground-application hotkey.

#include "app/core/hotkey_capture_rules.h"
#include "app/core/message_titles.h"
#include "app/core/window_ids.h"
#include "app/main_window_handlers.h"
#include "settings/localisation.h"

namespace quillmor {
namespace {

constexpr size_t kBalloonTextChars = 255;  // szInfo without its terminator
constexpr size_t kBalloonTitleChars = 63;  // szInfoTitle
constexpr UINT kBalloonTimeoutMs = 10000;

CaptureTarget TargetOf(const MainWindow& w) {
  return w.hotkeyCapture.target == 1 ? CaptureTarget::kForegroundApp : CaptureTarget::kShowHide;
}

HotkeyPair ShowHidePair(const HotkeySettings& hotkeys) { return {hotkeys.modifiers, hotkeys.key}; }
HotkeyPair ForegroundPair(const HotkeySettings& hotkeys) { return {hotkeys.fgModifiers, hotkeys.fgKey}; }

void ShowBox(MainWindow& w, const std::u16string& text, const std::u16string& title, UINT type) {
  w.app.app.boxes->Show(w.hwnd, text, title, type);
}

void EndCapture(MainWindow& w) {
  w.hotkeyCapture.active = false;
  KillTimer(w.hwnd, ID_TIMER_HOTKEY_CAPTURE);
  RestoreTitleAfterCapture(w);
}

// Moves hotkey `id` from `previous` to `next`; when `next` cannot be had,
// `previous` is registered again.
bool ReplaceHotkey(HWND window, int id, HotkeyPair previous, HotkeyPair next) {
  UnregisterHotKey(window, id);
  if (RegisterHotKey(window, id, next.modifiers, next.key)) return true;
  RegisterHotKey(window, id, previous.modifiers, previous.key);
  return false;
}

void TakeCapturedPair(MainWindow& w, HotkeyPair pair) {
  const CaptureTarget target = TargetOf(w);
  const bool foreground = target == CaptureTarget::kForegroundApp;
  HotkeySettings& hotkeys = w.app.hotkeys;
  const HotkeyPair previous = foreground ? ForegroundPair(hotkeys) : ShowHidePair(hotkeys);
  if (!ReplaceHotkey(w.hwnd, foreground ? kHotkeyForegroundApp : kHotkeyShowHide, previous, pair)) {
    ShowBox(w,
            Translate(u"Msg_HotkeyRegisterFailed", u"快捷键注册失败，请换一个组合。",
                      u"Failed to register hotkey. Try another combination."),
            ErrorTitle(), MB_ICONERROR);
    return;
  }
  if (foreground) {
    hotkeys.fgModifiers = pair.modifiers;
    hotkeys.fgKey = pair.key;
  } else {
    hotkeys.modifiers = pair.modifiers;
    hotkeys.key = pair.key;
    UpdateTrayTip(w);
  }
  SaveHotkeySettings(w.env, hotkeys);
  EndCapture(w);
  ShowBox(w, CaptureDoneText(target, FormatHotkey(*w.env.system, pair.modifiers, pair.key)), CompletedTitle(),
          MB_ICONINFORMATION);
}

bool Apply(MainWindow& w, const CaptureDecision& decision) {
  switch (decision.action) {
    case CaptureAction::kNotHandled:
      return false;
    case CaptureAction::kCancel:
      EndCapture(w);
      return true;
    case CaptureAction::kWaitForMainKey:
      return true;
    case CaptureAction::kNeedModifier:
      ShowBox(w,
              Translate(u"Msg_HotkeyNeedModifier", u"快捷键必须包含 Ctrl、Alt 或 Shift。",
                        u"Hotkey must include Ctrl, Alt, or Shift."),
              InformationTitle(), MB_ICONINFORMATION);
      return true;
    case CaptureAction::kConflict:
      ShowBox(w,
              Translate(u"Msg_HotkeyConflict", u"该组合已被另一个快捷键占用。",
                        u"This combination is already used by another hotkey."),
              ErrorTitle(), MB_ICONERROR);
      return true;
    case CaptureAction::kRegister:
      TakeCapturedPair(w, decision.pair);
      return true;
  }
  return false;
}

CaptureKeyPress PressFor(const MainWindow& w, bool keyDown, uint32_t key) {
  CaptureKeyPress press;
  press.captureActive = w.hotkeyCapture.active;
  press.keyDown = keyDown;
  press.virtualKey = key;
  const HotkeySettings& hotkeys = w.app.hotkeys;
  press.other = TargetOf(w) == CaptureTarget::kForegroundApp ? ShowHidePair(hotkeys) : ForegroundPair(hotkeys);
  return press;
}

bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// szInfo, szInfoTitle and the like: `text` cut to `maxChars` and terminated.
template <size_t N>
void CopyField(wchar_t (&field)[N], std::u16string_view text, size_t maxChars) {
  const size_t length = std::min({text.size(), maxChars, N - 1});
  std::copy_n(text.data(), length, field);
  field[length] = L'\0';
}

}  // namespace

void StartHotkeyCapture(MainWindow& w, int target) {
  if (w.hwnd == nullptr || !IsWindow(w.hwnd)) return;
  const bool restarted = w.hotkeyCapture.active;
  w.hotkeyCapture.target = target == 1 ? 1 : 0;
  w.hotkeyCapture.active = true;
  BringWindowForward(w);
  FLASHWINFO flash{sizeof flash, w.hwnd, FLASHW_ALL | FLASHW_TIMERNOFG, 4, 0};
  FlashWindowEx(&flash);
  EnsureTrayIcon(w);
  // A capture started again while one runs keeps the title from before the
  // first: the one now shown is the hint.
  if (!restarted) w.hotkeyCapture.savedTitle = WindowText(w.hwnd, 512);
  SetWindowTextU(w.hwnd, CaptureHintText(TargetOf(w)));
  // Keys go to the window itself while it captures.
  SetFocus(w.hwnd);
  InvalidateRect(w.hwnd, nullptr, TRUE);
  UpdateWindow(w.hwnd);
  SetTimer(w.hwnd, ID_TIMER_HOTKEY_CAPTURE, kHotkeyCaptureBalloonMs, nullptr);
}

bool HandleCaptureKey(MainWindow& w, UINT message, WPARAM key) {
  CaptureKeyPress press = PressFor(w, message == WM_KEYDOWN || message == WM_SYSKEYDOWN, static_cast<uint32_t>(key));
  if (!press.captureActive || !press.keyDown) return false;
  press.control = Held(VK_CONTROL);
  press.alt = Held(VK_MENU);
  press.shift = Held(VK_SHIFT);
  return Apply(w, DecideCaptureKey(press));
}

bool HandleCaptureHotkey(MainWindow& w, LPARAM lParam) {
  const auto modifiers = static_cast<uint32_t>(LOWORD(lParam));
  CaptureKeyPress press = PressFor(w, true, HIWORD(lParam));
  if (!press.captureActive) return false;
  press.control = (modifiers & MOD_CONTROL) != 0;
  press.alt = (modifiers & MOD_ALT) != 0;
  press.shift = (modifiers & MOD_SHIFT) != 0;
  return Apply(w, DecideCaptureKey(press));
}

void OnHotkeyCaptureTimer(MainWindow& w) {
  KillTimer(w.hwnd, ID_TIMER_HOTKEY_CAPTURE);
  if (w.hotkeyCapture.active) ShowCaptureBalloon(w, w.hotkeyCapture.target);
}

void ShowCaptureBalloon(MainWindow& w, int target) {
  if (!w.trayIconPresent) return;
  // A copy: the record keeps its flags, so that a later NIM_MODIFY does not
  // show the balloon again.
  NOTIFYICONDATAW balloon = w.tray.data;
  balloon.uFlags = NIF_INFO;
  CopyField(balloon.szInfo, CaptureHintText(target == 1 ? CaptureTarget::kForegroundApp : CaptureTarget::kShowHide),
            kBalloonTextChars);
  CopyField(balloon.szInfoTitle, InformationTitle(), kBalloonTitleChars);
  balloon.dwInfoFlags = NIIF_INFO;
  balloon.uTimeout = kBalloonTimeoutMs;
  Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

void RestoreTitleAfterCapture(MainWindow& w) {
  std::u16string& saved = w.hotkeyCapture.savedTitle;
  if (!saved.empty()) {
    SetWindowTextU(w.hwnd, saved);
    saved.clear();
    return;
  }
  SetWindowTextU(w.hwnd, MainWindowTitle());
}

}  // namespace quillmor
