# shellcheck shell=bash
# The end-to-end run's part for the notification area: the icon and its
# tooltip, "TaskbarCreated", the show/hide hotkey, capture mode and the
# icon's menu. Sourced by run-e2e.sh inside its Wine session, with its
# helpers (step, fail, check) and Quillmor not running.
#
# Wine draws the notification icons into the taskbar itself (no window per
# icon), so the probe counts them on the screen at the taskbar's right end,
# where the first icon is hovered and clicked. Keys reach a Wine window only
# after a click gave it the focus, and reach a popup menu only while the
# pointer is over it, so the menu's item is clicked.

# The message log in the prefix's temporary folder.
message_log() {
  local logs=("$E2E_DIR"/.wine/drive_c/users/*/Temp/Quillmor_gdi.log)
  cat "${logs[@]}" 2>/dev/null | tr -d '\r'
}

# Waits up to $2 seconds for a line of the message log that contains $1.
wait_log() {
  local deadline=$((SECONDS + $2))
  until message_log | grep -qF "$1"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

# The values of a settings file, one "key=value" per line.
settings_of() { sed '1s/^\xEF\xBB\xBF//' "$E2E_CONFIG/$1" | tr -d '\r'; }

# Waits up to $2 seconds until the window's title is $1 (or is no longer).
title_is() { [[ "$(probe state | tr -d '\r')" == *"title='$1'"* ]]; }
wait_title() {
  local deadline=$((SECONDS + $2))
  until title_is "$1"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}
wait_title_gone() {
  local deadline=$((SECONDS + $2))
  while title_is "$1"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# Waits for Quillmor's message box, checks its text ($1) and answers it.
expect_box() {
  local box
  box=$(probe message-box 20000 | tr -d '\r') || true
  echo "   message box: $box"
  [[ "$box" == *"text='$1'"* ]] || fail "the message box did not say '$1'"
}

step "notification area: starting Quillmor.exe with no settings"
reset_config
rm -f "$E2E_DIR"/.wine/drive_c/users/*/Temp/Quillmor_gdi.log
quillmor_start
tray_pid=$QUILLMOR_PID
check "the window never became ready" probe wait-ready 120000 "$VOLUMES"

step "the icon is there with the default tooltip"
check "there is not exactly one notification icon" probe tray-icons 1
read -r icon_x icon_y < <(probe tray-icon-point | tr -d '\r')
xdotool mousemove "$icon_x" "$icon_y"
check "the icon's tooltip is not the default one" probe wait-tooltip "Quillmor - Alt+Z Show/Hide" 20000

step "a restarted shell's \"TaskbarCreated\" leaves exactly one icon, and nothing retries"
check "TaskbarCreated could not be broadcast" probe taskbar-created
wait_log "TaskbarCreated received" 20 || fail "the window did not log TaskbarCreated"
check "there is not exactly one notification icon after TaskbarCreated" probe tray-icons 1
# The retry timer would have fired twice within 3 s.
sleep 3
if message_log | grep -q "ID_TIMER_TRAY_RETRY fired"; then fail "the icon is being added again and again"; fi

step "Alt+Z hides the window and shows it again with the search box focused"
click_at search
xdotool key alt+z
check "Alt+Z did not hide the window" probe wait-hidden 20000
xdotool key alt+z
check "Alt+Z did not show the window" probe wait-visible 20000
state=$(probe state | tr -d '\r')
echo "   $state"
[[ "$state" == *" focus=search "* ]] || fail "the search box does not have the focus after Alt+Z"

step "Ctrl+Shift+O opens Explorer on the program in front (Quillmor itself)"
xdotool key ctrl+shift+o
check "no Explorer window on Quillmor's folder" probe close-window quillmor 30000

step "capture mode: Ctrl+Alt+F5 becomes the show/hide hotkey and hotkey.ini holds it"
# The X server's own keymap takes Ctrl+Alt+F1..F12 for switching consoles
# and never sends them on; without those server actions they reach Wine.
setxkbmap -option srvrkeys:none
check "the capture command could not be posted" probe command 20007
hint="Press a new hotkey combination (include Ctrl / Alt / Shift, Esc to cancel)"
wait_title "$hint" 20 || fail "the title does not show the capture hint"
click_at search
xdotool key ctrl+alt+F5
expect_box "Hotkey set to: Ctrl+Alt+F5"
hotkeys=$(settings_of hotkey.ini)
echo "   hotkey.ini: $(tr '\n' ' ' <<<"$hotkeys")"
if ! grep -qx "modifiers=3" <<<"$hotkeys" || ! grep -qx "key=116" <<<"$hotkeys"; then
  fail "hotkey.ini does not hold Ctrl+Alt+F5"
fi
xdotool mousemove "$icon_x" "$icon_y"
check "the tooltip does not name the new hotkey" probe wait-tooltip "Quillmor - Ctrl+Alt+F5 Show/Hide" 20000

step "capture mode: F5 alone asks for a modifier, the other hotkey's pair is refused, Esc ends it"
check "the capture command could not be posted" probe command 20007
wait_title "$hint" 20 || fail "the title does not show the capture hint"
click_at search
xdotool key F5
expect_box "Hotkey must include Ctrl, Alt, or Shift."
# Ctrl+Shift+O is the foreground-application hotkey: it arrives as that hotkey.
xdotool key ctrl+shift+o
expect_box "This combination is already used by another hotkey."
xdotool key Escape
wait_title_gone "$hint" 20 || fail "Esc did not end the capture"

step "a right click on the icon opens the menu, and \"Exit\" ends the program cleanly"
rm -f "$E2E_CONFIG/window.ini"
xdotool mousemove "$icon_x" "$icon_y" click 3
exit_item=$(probe wait-menu 20000 | tr -d '\r')
[[ "$exit_item" =~ ^[0-9]+\ [0-9]+$ ]] || fail "no menu opened on the icon"
# shellcheck disable=SC2086
xdotool mousemove $exit_item sleep 0.3 click 1
wait_exit "$tray_pid" 60
[ "$EXIT_CODE" = 0 ] || fail "the program's exit code after Exit was $EXIT_CODE"
check "the window outlived the process" probe wait-gone 10000
[ -f "$E2E_CONFIG/window.ini" ] || fail "window.ini was not written at exit"
grep -qx "modifiers=3" <<<"$(settings_of hotkey.ini)" || fail "hotkey.ini lost the new hotkey"
check "the icon outlived the program" probe tray-icons 0
