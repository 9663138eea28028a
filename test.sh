#!/usr/bin/env bash
# Installs what is missing, builds the sanitizer test build and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

BUILD_DIR=build-test
cmake -S . -B "$BUILD_DIR" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DVORLUND_SANITIZE=ON \
  -DVORLUND_WERROR=ON \
  -DVORLUND_TESTS=ON
cmake --build "$BUILD_DIR" -j "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)"
