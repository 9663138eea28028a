#!/usr/bin/env bash
# Two islands stopped by Ctrl-C with migrants in flight and resumed from their
# checkpoints end with the pool and rows of a run that never stopped.
# Usage: islands_resume.sh MPIEXEC VORLUND_CLI EXAMPLES_DIR
set -euo pipefail
mpiexec=$1 cli=$2 examples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
steps=300000
# Rows at every migration: the stop, which comes at a migration, adds no row of its own.
args=(--islands --migrate-every 500 --migrants 3 --every 500 --save pool.gen --csv rows.csv
      --checkpoint run.ckpt --checkpoint-every 1000)
files=("$examples/walkers.sim" "$examples/seeds.gen")
mkdir -p "$work/whole" "$work/stopped"

(cd "$work/whole" && "$mpiexec" -n 2 "$cli" run --seed 6 --steps $steps "${args[@]}" "${files[@]}" >/dev/null)

# The launch to interrupt is asked for far more steps, so that a fast machine
# cannot finish it before Ctrl-C arrives; steps count from the start of the
# run, so resuming it with --steps $steps ends where the whole run ended.
(cd "$work/stopped" && exec "$mpiexec" -n 2 "$cli" run --seed 6 --steps 100000000 "${args[@]}" "${files[@]}" \
   >out.txt 2>&1) &
launch=$!
# Ctrl-C once island 0 has written its first checkpoint.
for _ in $(seq 15000); do
  [ -f "$work/stopped/run.ckpt" ] && break
  sleep 0.02
done
kill -INT "$launch"
if wait "$launch"; then
  echo "FAIL: the interrupted launch reported success"; cat "$work/stopped/out.txt"
  exit 1
fi
stoppedAt() { sed -n 's/^# after \([0-9]*\) steps.*/\1/p' "$1"; }
at0=$(stoppedAt "$work/stopped/run.ckpt") at1=$(stoppedAt "$work/stopped/run.island1.ckpt")
if [ "$at0" != "$at1" ] || [ "$at0" -ge $steps ] || [ $((at0 % 500)) -ne 0 ]; then
  echo "FAIL: the islands did not stop together at a migration before the end ($at0, $at1)"
  exit 1
fi
# Checkpoints of different moments are refused instead of leaving the islands waiting.
cp "$work/stopped/run.ckpt" "$work/stopped/mixed.ckpt"
cp "$work/whole/run.island1.ckpt" "$work/stopped/mixed.island1.ckpt"
if (cd "$work/stopped" && "$mpiexec" -n 2 "$cli" run --resume mixed.ckpt --steps $steps "${args[@]}" >/dev/null 2>mixed.txt); then
  echo "FAIL: islands resumed from checkpoints of different steps"
  exit 1
fi
grep -q 'do not agree on the step they start from' "$work/stopped/mixed.txt" || {
  echo "FAIL: no word of the islands' disagreement"; cat "$work/stopped/mixed.txt"; exit 1; }
(cd "$work/stopped" && "$mpiexec" -n 2 "$cli" run --resume run.ckpt --steps $steps "${args[@]}" >/dev/null)

for f in pool.gen rows.csv rows.island1.csv; do
  if ! diff <(grep -v '^# created' "$work/whole/$f") <(grep -v '^# created' "$work/stopped/$f") >/dev/null; then
    echo "FAIL: $f of the run resumed at step $at0 differs from the one that never stopped"
    exit 1
  fi
done
echo "islands: resumed at step $at0 as if never stopped"
