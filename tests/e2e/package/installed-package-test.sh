#!/usr/bin/env bash
# The Debian package of this build, unpacked into a scratch root and run as installed by a user with a fresh home:
# installed-package-test.sh DEB PROGRAM_FOLDER TEST_BIN SAMPLES. Skipped (77) without the package or an X display.
set -euo pipefail
deb=$1 built=$2/byeorisol-data bin=$3 samples=$4
skip() { echo "skipped: $*"; exit 77; }
[ -f "$deb" ] || skip "no package $deb: run scripts/package"
[ "$deb" -nt "$built" ] || skip "$deb is older than $built: run scripts/package again"
[ -n "${DISPLAY:-}" ] || skip "no X display (DISPLAY is not set): run under xvfb-run, as scripts/test does"
fail() { echo "FAILED: $*" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg -x "$deb" "$root"
export HOME=$scratch/home XDG_DATA_HOME=$scratch/data
mkdir "$HOME"
desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"

data=$root/usr/bin/byeorisol-data
"$data" --help | grep -- '--program-folder' >/dev/null || fail "byeorisol-data --help"
# Installed: the version lands in $XDG_DATA_HOME/byeorisol, beside the shipped files copied there.
"$data" build 창세기 "$samples/genesis-1.txt" "$samples/genesis-2.txt" || fail "build exited with $?"
user=$XDG_DATA_HOME/byeorisol
for f in 개역.DAT user.dat manager/null.mdb; do
    cmp "$root/usr/share/byeorisol/$f" "$user/$f" || fail "$f was not copied"
done
[ "$("$data" show "$user/창세기.DAT" '창 2:1' | tail -1)" = \
    "Thus the heavens and the earth were finished, and all the host of them." ] || fail "창세기.DAT lacks 창 2:1"
# The installed program finds its plugin for SWORD's modules: a module not installed is refused as such, not for want
# of SWORD's library.
said=$("$data" check --sword 없는모듈 2>&1) && fail "a module that is not installed was not refused"
! grep -qF "SWORD 라이브러리 없이" <<<"$said" || fail "the SWORD plugin was not found: $said"

# Starts the windowed program from folder with XDG_DATA_HOME as given, closes its first window, and checks its exit code.
closed() {
    XDG_DATA_HOME=$2 QT_QPA_PLATFORM=xcb "$1/byeorisol-manager" 2>"$scratch/said" &
    local manager=$! status=0
    "$bin/test-window" close "$manager" 15000 || { kill "$manager"; fail "no window of $1/byeorisol-manager"; }
    wait "$manager" || status=$?
    [ "$status" -eq "$3" ] || fail "$1/byeorisol-manager exited with $status: $(cat "$scratch/said")"
}
# With XDG_DATA_HOME empty (so ~/.local/share) it shows its main window, and ends when that is closed.
closed "$root/usr/bin" '' 0
[ -f "$HOME/.local/share/byeorisol/manager/null.mdb" ] || fail "the manager did not provide ~/.local/share/byeorisol"

# Both programs name a data folder that is missing, and make nothing.
mkdir -p "$scratch/lone/bin" && cp "$root"/usr/bin/byeorisol-* "$scratch/lone/bin/"
lone=$scratch/lone/share/byeorisol
said=$(XDG_DATA_HOME=$scratch/lone-data "$scratch/lone/bin/byeorisol-data" check "$samples/genesis-1.txt" 2>&1) &&
    fail "a missing data folder was not refused"
grep -qF "$lone" <<<"$said" || fail "byeorisol-data does not name the missing data folder: $said"
closed "$scratch/lone/bin" "$scratch/lone-data" 1
grep -qF "$lone" "$scratch/said" || fail "byeorisol-manager does not name the missing data folder"
[ ! -e "$scratch/lone-data" ] || fail "a refused start made folders"
echo "passed"
