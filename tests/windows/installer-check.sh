#!/usr/bin/env bash
# The installer under Wine, run by scripts/windows test:
#   tests/windows/installer-check.sh SETUP_EXE DEPENDENCY_PREFIX
# It installs silently for the user (no administrator), with its Start-menu entry and its uninstall entry; the
# installed byeorisol-data keeps the user's versions in %LOCALAPPDATA%\byeorisol, copying the shipped files there
# first; the uninstaller removes the program, the entry and the key, and leaves the user's versions where they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
setup=$1 prefix=$2
wine() { LANG=ko_KR.UTF-8 "$root/scripts/wine-run" "$prefix" "$@"; }
fail() {
    echo "installer-check: $*" >&2
    exit 1
}
unix_path() { wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
local_app_data=$(unix_path "$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')")
programs=$(unix_path "$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')")/Microsoft/Windows/Start\ Menu/Programs
installed=$local_app_data/Programs/byeorisol
users=$local_app_data/byeorisol
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\byeorisol'
rm -rf "$installed" "$users"

wine "$setup" /S
[ -x "$installed/bin/byeorisol-data.exe" ] || fail "no byeorisol-data.exe in $installed/bin"
[ -f "$programs/벼리솔 성경자료 관리기.lnk" ] || fail "no Start-menu entry"
wine reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no uninstall entry"

wine "$installed/bin/byeorisol-data.exe" check "$root/data/samples/genesis-1.txt" >/dev/null ||
    fail "the installed program does not check a clean file"
[ -f "$users/개역.DAT" ] && [ -f "$users/manager/null.mdb" ] || fail "the shipped files were not copied to $users"
wine "$installed/bin/byeorisol-data.exe" report "$users/개역.DAT" >/dev/null || fail "the installed program does not read 개역.DAT"

wine "$installed/uninstall.exe" /S
# The uninstaller runs from a copy of itself and returns at once: its work ends when the folder is gone.
for _ in $(seq 1 100); do
    [ -e "$installed" ] || break
    sleep 0.2
done
[ ! -e "$installed" ] || fail "the uninstaller left $installed"
[ ! -e "$programs/벼리솔 성경자료 관리기.lnk" ] || fail "the uninstaller left the Start-menu entry"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstaller left the uninstall entry"
[ -f "$users/개역.DAT" ] || fail "the uninstaller removed the user's versions"
rm -rf "$users"
echo "installer-check: passed"
