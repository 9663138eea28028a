#!/usr/bin/env bash
# Installs the build into a scratch prefix (DESTDIR) and runs the installed
# programs from an empty folder: vorlund-cli evolves the installed examples,
# and vorlund finds its textures, sounds and manual in the installed data
# folder (never in the source tree) and registers no file types of its own.
# Usage: install_test.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1 build=$2
work=$(mktemp -d)
gui_pid=""
cleanup() {
  if [ -n "$gui_pid" ]; then kill "$gui_pid" 2>/dev/null || true; wait "$gui_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$work/root" "$cmake" --install "$build" --prefix /usr >"$work/install.log" || {
  cat "$work/install.log"; fail "cmake --install"; }
prefix="$work/root/usr"
data="$prefix/share/vorlund"
for f in bin/vorlund-cli share/man/man1/vorlund-cli.1.gz share/doc/vorlund/copyright \
         share/vorlund/examples/walkers.sim share/vorlund/vorlund.inc; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done

mkdir -p "$work/run" "$work/home"
cd "$work/run"
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config"
unset VORLUND_DATA_DIR

"$prefix/bin/vorlund-cli" --help >help.txt || fail "vorlund-cli --help"
grep -q run help.txt || fail "vorlund-cli --help names no run command"
"$prefix/bin/vorlund-cli" run --quiet --seed 3 --steps 3000 --save pool.gen "$data/examples/walkers.sim" \
  "$data/examples/seeds.gen" >cli.txt 2>&1 || { cat cli.txt; fail "vorlund-cli run on the installed examples"; }
grep -q '^org:' pool.gen || fail "the run saved no genotypes"

[ -x "$prefix/bin/vorlund" ] || exit 0  # built without the desktop program
for f in applications/vorlund.desktop mime/packages/vorlund.xml icons/hicolor/48x48/apps/vorlund.png \
         icons/hicolor/scalable/mimetypes/application-x-vorlund-genotypes.svg man/man1/vorlund.1.gz; do
  [ -f "$prefix/share/$f" ] || fail "share/$f is not installed"
done
if [ -n "${DISPLAY:-}" ]; then export QT_QPA_PLATFORM=xcb; else export QT_QPA_PLATFORM=offscreen; fi
rm -f messages.out
"$prefix/bin/vorlund" "$data/examples/walkers.sim" "$data/examples/seeds.gen" >gui.txt 2>&1 &
gui_pid=$!
# The example is loaded once the window is shown, well after the program
# has looked for its data files.
for _ in $(seq 600); do
  grep -q 'genotype(s) loaded' messages.out 2>/dev/null && break
  kill -0 "$gui_pid" 2>/dev/null || { cat gui.txt; fail "vorlund ended early"; }
  sleep 0.1
done
grep -q 'genotype(s) loaded' messages.out || { cat messages.out gui.txt; fail "vorlund did not load the example"; }
grep -qxF "Data from $data" <(sed -n 's/.*MainProgram::Start - //p' messages.out) ||
  { cat messages.out; fail "vorlund did not take its data from $data"; }
if grep -q 'Cannot find' messages.out; then cat messages.out; fail "vorlund missed a data file"; fi
[ ! -e "$XDG_DATA_HOME/applications/vorlund.desktop" ] || fail "the installed vorlund wrote a desktop entry"
echo "installed programs ran from $prefix"
