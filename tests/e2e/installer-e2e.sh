# shellcheck shell=bash
# The end-to-end run's part for the installer: a silent install, the
# installed program started, and a silent uninstall while it runs. Sourced
# by run-e2e.sh inside its Wine session, with its helpers (step, fail,
# check) and Quillmor not running.

step "the installer installs silently under Program Files"
setups=("$E2E_DIR"/.wine/drive_c/quillmor/Quillmor-*-setup.exe)
[ -f "${setups[0]}" ] || fail "no installer was built (makensis, package nsis)"
setup=$(basename "${setups[0]}")
version=${setup#Quillmor-}
version=${version%-setup.exe}
installed="$E2E_DIR/.wine/drive_c/Program Files/Quillmor"
shortcut="$E2E_DIR/.wine/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quillmor.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmor'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
rm -rf "$installed"
timeout 120 wine "$E2E_PROGRAMS\\$setup" /S </dev/null >"$E2E_LOG/setup.out" 2>&1 || fail "the installer failed"
if [ ! -f "$installed/Quillmor.exe" ] || [ ! -f "$installed/Uninstall.exe" ]; then
  fail "the program is not under Program Files"
fi
cmp -s "$installed/Quillmor.exe" "$E2E_DIR/.wine/drive_c/quillmor/Quillmor.exe" || fail "the installed program is not the one built"
[ -f "$shortcut" ] || fail "there is no Start-menu shortcut"
registered=$(wine reg query "$uninstall_key" </dev/null 2>/dev/null | tr -d '\r')
echo "$registered" | grep -E 'DisplayName|DisplayVersion|UninstallString' | sed 's/^ */   /'
grep -qE "DisplayVersion +REG_SZ +$version\$" <<<"$registered" || fail "the uninstaller is not registered with version $version"

step "the installed program starts"
reset_config
wine 'C:\Program Files\Quillmor\Quillmor.exe' </dev/null >"$E2E_LOG/installed.out" 2>&1 &
installed_pid=$!
check "the installed program never became ready" probe wait-ready 120000 "$VOLUMES"

step "the uninstaller ends the running program and removes what the installer put there"
wine reg add "$run_key" /v Quillmor /d '"C:\Program Files\Quillmor\Quillmor.exe" -hidden' /f </dev/null >/dev/null 2>&1 ||
  fail "could not set the Run value"
# The uninstaller runs a copy of itself from the temporary folder and
# returns at once: wait for what it removes.
wine 'C:\Program Files\Quillmor\Uninstall.exe' /S </dev/null >"$E2E_LOG/uninstall.out" 2>&1 || fail "the uninstaller failed"
wait_exit "$installed_pid" 60
[ "$EXIT_CODE" = 0 ] || fail "the installed program did not end cleanly for the uninstaller ($EXIT_CODE)"
for _ in $(seq 600); do [ -e "$installed" ] || break; sleep 0.1; done
[ ! -e "$installed" ] || fail "the program's folder is still there: $(ls "$installed")"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
if wine reg query "$uninstall_key" </dev/null >/dev/null 2>&1; then fail "the uninstaller is still registered"; fi
if wine reg query "$run_key" /v Quillmor </dev/null >/dev/null 2>&1; then fail "the Run value is still there"; fi
[ -f "$E2E_CONFIG/window.ini" ] || fail "the user's settings went with the program"
echo "   kept: $(cd "$E2E_CONFIG" && echo *)"
