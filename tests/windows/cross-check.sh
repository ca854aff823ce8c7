#!/usr/bin/env bash
# The Windows build against the Linux build, run by scripts/windows test:
#   tests/windows/cross-check.sh LINUX_BUILD WINDOWS_BUILD DEPENDENCY_PREFIX
# - a whole Bible built by byeorisol-data.exe under Wine holds the records the Linux build makes of the same files;
# - the faulty sample's err.txt under Wine (code page 949) is, but for its time and the file's path, byte for byte the
#   one the Linux build writes with --encoding cp949: code page 949 with CR LF;
# - a version made on either side shows, saves, repairs and compacts on the other.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
linux=$1 windows=$2 prefix=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "cross-check: $*" >&2
    exit 1
}
# Under Wine in a Korean locale: the system code page is 949, as on a Korean Windows.
wine() { LANG=ko_KR.UTF-8 "$root/scripts/wine-run" "$prefix" "$@"; }
cp -r "$linux/viewer" "$work/linux"
cp -r "$windows/viewer" "$work/windows"
on_linux() { "$work/linux/manager/byeorisol-data" "$@"; }
on_windows() { wine "$work/windows/manager/byeorisol-data.exe" "$@"; }
records() { sqlite3 -batch "$1" '.mode quote' 'SELECT * FROM 본문 ORDER BY rowid'; }
seconds() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null
    awk "BEGIN { printf \"%.2f\", $EPOCHREALTIME - $start }"
}

echo "== a whole Bible on both sides"
books=("$root"/data/kjv-ko/*.txt)
linux_time=$(seconds on_linux build 킹제임스 "${books[@]}")
windows_time=$(seconds on_windows build 킹제임스 "${books[@]}")
echo "build: Linux ${linux_time} s, Wine ${windows_time} s"
cmp -s <(records "$work/linux/킹제임스.DAT") <(records "$work/windows/킹제임스.DAT") ||
    fail "the whole Bible's records differ between the builds"

echo "== the faulty sample's err.txt in code page 949"
(cd "$root/data/samples" && on_linux check genesis-3-faulty.txt --encoding cp949 >/dev/null) && fail "check passed"
(cd "$root/data/samples" && on_windows check genesis-3-faulty.txt >/dev/null) && fail "check passed under Wine"
# The first line is the time of the run; the file is named by its full path, which each side spells its own way.
log() { tail -n +2 "$1" | sed 's#^[^ ]*genesis-3-faulty\.txt#FILE#'; }
cmp <(log "$work/linux/manager/err.txt") <(log "$work/windows/manager/err.txt") || fail "err.txt differs"
grep -q $'\r$' "$work/windows/manager/err.txt" || fail "err.txt under Wine does not end its lines with CR LF"

echo "== a version of one side used on the other"
verse() { "$@" show "$version" '창 1:1' | tail -n 1; }
for side in linux windows; do
    other=$([ $side = linux ] && echo windows || echo linux)
    cp "$work/$side/킹제임스.DAT" "$work/$other/건너온.DAT"
    version=$work/$other/건너온.DAT
    "on_$other" save "$version" '창 1:1' "건너온 본문 $side" >/dev/null || fail "save on $other of a $side version"
    "on_$other" repair "$version" >/dev/null || fail "repair on $other of a $side version"
    "on_$other" compact "$version" >/dev/null || fail "compaction on $other of a $side version"
    cp "$version" "$work/$side/돌아온.DAT"
    version=$work/$side/돌아온.DAT
    [[ $(verse "on_$side") == *"건너온 본문 $side"* ]] || fail "the $other save does not show on $side"
done
echo "cross-check: passed"
