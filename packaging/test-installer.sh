#!/usr/bin/env bash
# Tests the packages that scripts/dist.sh made:
#   packaging/test-installer.sh [SETUP.exe [PORTABLE.zip]]
# In a throwaway Wine prefix of its own (build/windows/install-test/wine, made the way
# cmake/wine-run.sh makes the test prefix), it installs the setup silently, starts the
# installed program, dismisses the start-up notice, sees the main window and closes it, puts
# a marker into the user's settings ([ZazUdur] in win.ini), uninstalls silently and checks that
# the program, its shortcut and its registration are gone and the marker is not.
# Needs an X display; without DISPLAY it starts a virtual one.  Prints one line per check and
# closes with "packaging: N passed, N failed"; exits 1 when a check failed.
set -uo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/common.sh"
root="$ruruzir_root"
version="$(ruruzir_version)" || exit 1
setup_exe="$(realpath -m "${1:-$root/dist/ruruzir-dewpoint-$version-setup.exe}")"
portable_zip="$(realpath -m "${2:-$root/dist/ruruzir-dewpoint-$version-portable.zip}")"
title="Ruruzir Dewpoint Calculator"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\RuruzirDewpointCalculator'
marker="kept-$$-$(date +%s)"

test_dir="${RURUZIR_INSTALL_TEST_DIR:-$root/build/windows/install-test}"
use_wine_prefix "$test_dir"

checks_total=12
passed=0
failed=0
start_time=$(date +%s)
pass() {
  passed=$((passed + 1))
  echo "packaging: ok    $1"
}
fail() {
  failed=$((failed + 1))
  echo "packaging: FAIL  $1" >&2
}
# Ends the run; checks not reached count as failed.
finish() {
  local not_run=$((checks_total - passed - failed))
  if [ "$not_run" -gt 0 ]; then
    echo "packaging: $not_run checks not run" >&2
    failed=$((failed + not_run))
  fi
  echo "packaging: done in $(($(date +%s) - start_time)) s"
  echo "packaging: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit $?
}

# The installed program runs in the background as wine_pid; stop_wine_session ends it, the
# prefix's Wine server and the virtual display, if one was started here.
trap stop_wine_session EXIT
if [ -z "${DISPLAY:-}" ] && ! start_virtual_display; then
  echo "packaging: no X display" >&2
  exit 1
fi
main_window_visible() { window_visible "$title"; }

# 1. The packages are there and hold the programs.  The zip's listing is read whole before it
# is searched: unzip writes it a name at a time, and a "grep -q" that ends at the first match
# would leave unzip writing into a closed pipe, a failure under pipefail.
zip_names=""
if [ -f "$portable_zip" ]; then
  zip_names="$(unzip -Z1 "$portable_zip" 2>/dev/null)" || zip_names=""
fi
zip_holds() { grep -qx -- "$1" <<<"$zip_names"; }
if [ -f "$setup_exe" ] && zip_holds 'ruruzir-dewpoint.exe'; then
  pass "setup and portable zip with ruruzir-dewpoint.exe ($(tr '\n' ' ' <<<"$zip_names"))"
else
  fail "no $setup_exe, or no $portable_zip holding ruruzir-dewpoint.exe (run scripts/dist.sh)"
  finish
fi

# The zip also carries the C library and its header, the header as the source tree has it.
if zip_holds 'ruruzir.dll' &&
  unzip -p "$portable_zip" ruruzir.h | cmp -s - "$root/api/ruruzir.h"; then
  pass "portable zip with ruruzir.dll and ruruzir.h"
else
  fail "$portable_zip lacks ruruzir.dll, or its ruruzir.h differs from api/ruruzir.h"
fi

# 2. A fresh prefix, made as the test prefix is made.
end_wine_server
rm -rf "$test_dir"
mkdir -p "$test_dir"
if RURUZIR_BUILD_DIR="$test_dir" "$root/cmake/wine-run.sh" cmd /c exit 0 >/dev/null 2>&1 &&
  [ -f "$WINEPREFIX/drive_c/windows/win.ini" ]; then
  pass "fresh Wine prefix $WINEPREFIX ($(($(date +%s) - start_time)) s)"
else
  fail "could not make the Wine prefix $WINEPREFIX (see $test_dir/wine-prefix.log)"
  finish
fi

# 3. Silent install: the registration names the folder, which holds the program.
wine "$setup_exe" /S >"$test_dir/setup.log" 2>&1
setup_status=$?
install_dir=""
location="$(wine reg query "$uninstall_key" /v InstallLocation 2>/dev/null |
  sed -n 's/^[[:space:]]*InstallLocation[[:space:]]*REG_SZ[[:space:]]*//p' | tr -d '\r')"
if [ -n "$location" ]; then
  install_dir="$(wine winepath -u "$location" 2>/dev/null | tr -d '\r')"
  install_dir="${install_dir%/}"
fi
installed_exe="$install_dir/ruruzir-dewpoint.exe"
if [ "$setup_status" -eq 0 ] && [ -n "$install_dir" ] &&
  wait_until 50 test -f "$installed_exe" -a -f "$install_dir/uninstall.exe" &&
  unzip -p "$portable_zip" ruruzir-dewpoint.exe | cmp -s - "$installed_exe"; then
  pass "silent install into $location"
else
  fail "silent install (exit status $setup_status, InstallLocation '$location')"
  finish
fi
case "$location" in
  *'\AppData\Local\Programs\Ruruzir Dewpoint Calculator') ;;
  *) echo "packaging: note: unexpected install folder $location" >&2 ;;
esac

# 4. The Start-menu shortcut.
shortcut_glob="$WINEPREFIX/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$title.lnk"
shortcut_exists() { compgen -G "$shortcut_glob" >/dev/null; }
if shortcut_exists; then
  pass "Start-menu shortcut"
else
  fail "no Start-menu shortcut $shortcut_glob"
fi

# 5. The installed converter runs (and agrees with the native one when that is built).
if [ -f "$install_dir/ruruzir-convert.exe" ]; then
  converted="$(wine "$install_dir/ruruzir-convert.exe" --to ppmv -20 2>&1 </dev/null | tr -d '\r')"
  convert_status=$?
  expected=""
  if [ -x "$root/build/native/ruruzir-convert" ]; then
    expected="$("$root/build/native/ruruzir-convert" --to ppmv -20 2>&1)"
  fi
  if [ "$convert_status" -eq 0 ] && [ -n "$converted" ] &&
    { [ -z "$expected" ] || [ "$converted" = "$expected" ]; }; then
    pass "installed ruruzir-convert --to ppmv -20: $converted"
  else
    fail "installed ruruzir-convert printed '$converted' (native: '$expected')"
  fi
else
  pass "no converter in this setup"
fi

# 6. The installed program starts with its notice...
wine "$installed_exe" >"$test_dir/program.log" 2>&1 </dev/null &
wine_pid=$!
if wait_until 300 notice_visible && ! main_window_visible; then
  pass "installed program shows the start-up notice"
else
  fail "installed program showed no start-up notice"
fi

# 7. ... and OK (Enter, the default button) shows the main window.
if dismiss_notice "$title"; then
  pass "main window \"$title\" after OK"
else
  fail "the main window did not appear"
  finish
fi

# 8. It closes (WM_CLOSE to its windows) and the process ends.
wine taskkill /im ruruzir-dewpoint.exe >/dev/null 2>&1
# shellcheck disable=SC2317  # called through wait_until
app_ended() { ! kill -0 "$wine_pid" 2>/dev/null; }
if wait_until 100 app_ended; then
  wait "$wine_pid" 2>/dev/null
  wine_pid=""
  pass "program closed"
else
  fail "program did not end after WM_CLOSE"
fi

# 9. The user's settings: a marker in the [ZazUdur] section of win.ini.
win_ini="$WINEPREFIX/drive_c/windows/win.ini"
printf '[ZazUdur]\r\nPackagingMarker=%s\r\n' "$marker" >>"$win_ini"
marker_kept() { grep -qx "PackagingMarker=$marker"$'\r\\?' "$win_ini"; }

# Silent uninstall: NSIS runs a copy of the uninstaller from the temporary folder, so the
# end is awaited by its effects.
wine "$install_dir/uninstall.exe" /S >"$test_dir/uninstall.log" 2>&1
uninstall_status=$?
if [ "$uninstall_status" -eq 0 ] && wait_until 100 test ! -e "$install_dir"; then
  pass "silent uninstall removed $location"
else
  fail "silent uninstall (exit status $uninstall_status) left: $(find "$install_dir" -mindepth 1 -printf '%f ' 2>/dev/null)"
fi

# 10. Shortcut and registration are gone.
if ! shortcut_exists && ! wine reg query "$uninstall_key" >/dev/null 2>&1; then
  pass "shortcut and uninstall registration removed"
else
  fail "shortcut or uninstall registration left behind"
fi

# 11. The settings are not.
if marker_kept; then
  pass "settings in [ZazUdur] of win.ini kept"
else
  fail "the uninstaller changed the settings in win.ini"
fi

finish
