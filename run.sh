#!/usr/bin/env bash
# Installs what is missing, builds the release build and runs Vorlund.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"

"$ROOT/scripts/install-deps.sh" >&2

BUILD_DIR="$ROOT/build-release"
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DVORLUND_TESTS=OFF >&2
cmake --build "$BUILD_DIR" -j "$(nproc)" >&2

exec "$BUILD_DIR/apps/cli/vorlund-cli" "$@"
