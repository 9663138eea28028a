#!/usr/bin/env bash
# Installs what is missing, builds the sanitizer test build and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
ROOT="$(pwd)"

./scripts/install-deps.sh

BUILD_DIR=build-test
cmake -S . -B "$BUILD_DIR" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DVORLUND_SANITIZE=ON \
  -DVORLUND_WERROR=ON \
  -DVORLUND_TESTS=ON
cmake --build "$BUILD_DIR" -j "$(nproc)"

# Tests that need OpenGL run on an X server of their own: Xvfb with Mesa's
# software renderer, so results do not depend on the machine's display.
XVFB_PID=""
cleanup() { if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi; }
trap cleanup EXIT
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    break
  fi
done
for _ in $(seq 50); do
  if xdpyinfo >/dev/null 2>&1; then break; fi
  sleep 0.1
done
export LIBGL_ALWAYS_SOFTWARE=1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# System libraries (D-Bus, fontconfig, Mesa) keep a little memory until exit;
# only they are suppressed, never the project's own code.
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
(cd "$BUILD_DIR" && ctest --output-on-failure -j "$(nproc)")

# The threaded step under ThreadSanitizer, in a small build of its own (it
# does not mix with the sanitizers above): only the runs that split the step
# over several threads.
TSAN_DIR=build-tsan
cmake -S . -B "$TSAN_DIR" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DVORLUND_TSAN=ON \
  -DVORLUND_WERROR=ON \
  -DVORLUND_TESTS=ON \
  -DVORLUND_GUI=OFF \
  -DVORLUND_PYTHON=OFF
cmake --build "$TSAN_DIR" -j "$(nproc)" --target test_sim test_world
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" "$TSAN_DIR/tests/test_sim" --gtest_filter='*StepIdentity*'
TSAN_OPTIONS="halt_on_error=1" "$TSAN_DIR/tests/test_world" --gtest_filter='StepWorkers*:PhysicsMotion.FirstTouches*'
