#!/usr/bin/env bash
# Installs what is missing, builds the release build and runs Vorlund.
#   ./run.sh              the desktop program's demonstration when a display is
#                         there, a short evolution in the terminal otherwise
#   ./run.sh gui [args]   the desktop program (vorlund) with the arguments
#   ./run.sh package      the Debian package vorlund_VERSION_amd64.deb, here
#   ./run.sh python [args] Python (the interpreter the module is built for)
#                         with the module `vorlund` on its path
#   ./run.sh args...      the command-line tool (vorlund-cli)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"

"$ROOT/scripts/install-deps.sh" >&2

if [ "${1:-}" = "package" ]; then
  # A build of its own for /usr with Debian's hardening flags; the same -O3
  # as the release build, which the flags' -O2 comes before.
  PKG_DIR="$ROOT/build-package"
  cmake -S "$ROOT" -B "$PKG_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O3 -DNDEBUG" -DVORLUND_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >&2
  cmake --build "$PKG_DIR" -j "$(nproc)" >&2
  rm -f "$PKG_DIR"/vorlund_*.deb
  (cd "$PKG_DIR" && cpack -G DEB >&2)
  cp "$PKG_DIR"/vorlund_*.deb "$ROOT/"
  ls "$ROOT"/vorlund_*.deb
  exit 0
fi

BUILD_DIR="$ROOT/build-release"
# -O3 vectorizes the step's loops a lane per value, with the same operations
# and so the same results as -O2, and steps about a tenth faster.
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O3 -DNDEBUG" -DVORLUND_TESTS=OFF >&2
cmake --build "$BUILD_DIR" -j "$(nproc)" >&2

if [ "${1:-}" = "python" ]; then
  shift
  exec "$BUILD_DIR/python/vorlund-python" "$@"
fi

GUI="$BUILD_DIR/apps/gui/vorlund"
if [ "${1:-}" = "gui" ]; then
  shift
  exec "$GUI" "$@"
fi
if [ $# -eq 0 ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; } && [ -x "$GUI" ]; then
  # Walkers evolving on screen, the camera following one creature after another.
  exec "$GUI" -demo "$ROOT/examples/walkers.sim" "$ROOT/examples/seeds.gen"
fi

if [ $# -eq 0 ]; then
  # No arguments: a demonstration evolution of walkers in the terminal, long
  # enough (about 20 s) for the average distance to grow many times over.
  OUT="walkers_$(date +%Y%m%d_%H%M%S).gen"
  echo "Demonstration: evolving walkers for 4000000 steps (Ctrl-C stops early and still saves)." >&2
  status=0
  "$BUILD_DIR/apps/cli/vorlund-cli" run --steps 4000000 --every 200000 --save "$OUT" \
    "$ROOT/examples/walkers.sim" "$ROOT/examples/seeds.gen" || status=$?
  if [ -f "$OUT" ]; then
    echo "To watch the best walker move: ./run.sh gui $OUT  (the desktop program, vorlund, with the saved file)"
  fi
  exit "$status"
fi

exec "$BUILD_DIR/apps/cli/vorlund-cli" "$@"
