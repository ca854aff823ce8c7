#!/usr/bin/env bash
# The installer under Wine, run by scripts/windows test: tests/windows/installer-check.sh SETUP_EXE DEPENDENCY_PREFIX
# It installs silently for the user, with a Start-menu entry and an uninstall entry; the installed byeorisol-data keeps
# the versions in %LOCALAPPDATA%\byeorisol, copying the shipped files there first; the uninstaller removes the program,
# the entry and the key, and leaves the user's versions where they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd) setup=$1 prefix=$2
wine() { LANG=ko_KR.UTF-8 "$root/scripts/wine-run" "$prefix" "$@"; }
fail() { echo "installer-check: $*" >&2 && exit 1; }
folder() { wine winepath -u "$(wine cmd /c "echo %$1%" 2>/dev/null | tr -d '\r')" 2>/dev/null | tr -d '\r'; }
installed=$(folder LOCALAPPDATA)/Programs/byeorisol users=$(folder LOCALAPPDATA)/byeorisol
entry="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/벼리솔 성경자료 관리기.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\byeorisol'
rm -rf "$installed" "$users"

wine "$setup" /S
[ -f "$entry" ] && wine reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no Start-menu or uninstall entry"
wine "$installed/bin/byeorisol-data.exe" check "$root/data/samples/genesis-1.txt" >/dev/null || fail "no check run"
[ -f "$users/manager/null.mdb" ] || fail "the shipped files were not copied to $users"
wine "$installed/bin/byeorisol-data.exe" report "$users/개역.DAT" >/dev/null || fail "the installed 개역.DAT does not read"

wine "$installed/uninstall.exe" /S
# The uninstaller runs from a copy of itself and returns at once: its work ends when the folder is gone.
for _ in $(seq 1 100); do [ -e "$installed" ] && sleep 0.2; done
[ ! -e "$installed" ] && [ ! -e "$entry" ] || fail "the uninstaller left the program or its Start-menu entry"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstaller left the uninstall entry"
[ -f "$users/개역.DAT" ] || fail "the uninstaller removed the user's versions"
rm -rf "$users" && echo "installer-check: passed"
