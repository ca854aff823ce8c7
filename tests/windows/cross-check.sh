#!/usr/bin/env bash
# The Windows build against the Linux build, run by scripts/windows test:
#   tests/windows/cross-check.sh LINUX_BUILD WINDOWS_BUILD DEPENDENCY_PREFIX
# A whole Bible built by byeorisol-data.exe under Wine holds the records the Linux build makes of the same files; the
# faulty sample's err.txt under Wine (code page 949, CR LF) is, but for its time and the file's path, byte for byte the
# Linux build's with --encoding cp949; a version made on either side saves, repairs, compacts and shows on the other.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "cross-check: $*" >&2 && exit 1; }
prefix=$3
cp -r "$1/viewer" "$work/linux" && cp -r "$2/viewer" "$work/windows"
on_linux() { "$work/linux/manager/byeorisol-data" "$@"; }
# Under Wine in a Korean locale the system code page is 949, as on a Korean Windows.
on_windows() { LANG=ko_KR.UTF-8 "$root/scripts/wine-run" "$prefix" "$work/windows/manager/byeorisol-data.exe" "$@"; }
records() { sqlite3 -batch "$1" '.mode quote' 'SELECT * FROM 본문 ORDER BY rowid'; }

TIMEFORMAT="%R s"
for side in linux windows; do
    echo "== a whole Bible built on $side"
    # Exit code 1: the two verses of KJV that the Korean numbering lacks are logged.
    time "on_$side" build 킹제임스 "$root"/data/kjv-ko/*.txt >/dev/null || [ $? -eq 1 ] || fail "the build on $side failed"
done
cmp <(records "$work/linux/킹제임스.DAT") <(records "$work/windows/킹제임스.DAT") || fail "the builds' records differ"

cd "$root/data/samples"
on_linux check genesis-3-faulty.txt --encoding cp949 >/dev/null && fail "the faulty sample passed"
on_windows check genesis-3-faulty.txt >/dev/null && fail "the faulty sample passed under Wine"
log() { tail -n +2 "$work/$1/manager/err.txt" | sed 's#^[^ ]*genesis-3-faulty\.txt#FILE#'; }
cmp <(log linux) <(log windows) || fail "err.txt differs"
grep -q $'\r$' "$work/windows/manager/err.txt" || fail "err.txt under Wine does not end its lines with CR LF"

for side in linux windows; do
    other=$([ $side = linux ] && echo windows || echo linux)
    version=$work/$other/건너온.DAT
    cp "$work/$side/킹제임스.DAT" "$version"
    for command in "save $version 창1:1 $side" "repair $version" "compact $version"; do
        "on_$other" $command >/dev/null || fail "$command on $other of a version made on $side"
    done
    cp "$version" "$work/$side/돌아온.DAT"
    [[ $("on_$side" show "$work/$side/돌아온.DAT" 창1:1) == *"$side"* ]] || fail "$other's save does not show on $side"
done
echo "cross-check: passed"
