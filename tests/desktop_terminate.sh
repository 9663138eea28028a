#!/usr/bin/env bash
# The desktop program on SIGTERM and SIGHUP ends as after "Exit" answered Yes:
# exit status 0, and "Default.par" written ("Save on exit" is on by default).
# Usage: desktop_terminate.sh VORLUND
set -euo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The window catches SIGHUP and SIGTERM once it is built: until then a signal would end it as any
# program. Until its exec the child is still a copy of this shell, which catches both too, so the
# wait also checks that the child is the program; and both bits, as they are set one after the other.
catches_both() {
  local mask
  [ "$(readlink "/proc/$1/exe" 2>/dev/null)" = "$program" ] || return 1
  mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$1/status" 2>/dev/null) || return 1
  [ -n "$mask" ] && (( (16#$mask >> 14) & 1 )) && (( 16#$mask & 1 ))
}

for sig in TERM HUP; do
  rm -f Default.par
  QT_QPA_PLATFORM=offscreen "$program" >out.txt 2>&1 &
  pid=$!
  for _ in $(seq 600); do
    catches_both "$pid" && break
    sleep 0.1
  done
  kill -s "$sig" "$pid"
  status=0
  wait "$pid" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "SIG$sig: exit status $status" >&2
    cat out.txt >&2
    exit 1
  fi
  if [ ! -s Default.par ]; then
    echo "SIG$sig: no Default.par written" >&2
    exit 1
  fi
done
echo "SIGTERM and SIGHUP: exit status 0, settings written"
