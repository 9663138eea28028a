#!/usr/bin/env bash
# Two islands under an MPI launcher: the same seed gives the same merged pool
# and island rows twice over, and each island receives migrants.
# Usage: islands_mpirun.sh MPIEXEC VORLUND_CLI EXAMPLES_DIR
set -euo pipefail
mpiexec=$1 cli=$2 examples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {
  mkdir -p "$work/$1"
  (cd "$work/$1" && "$mpiexec" -n 2 "$cli" run --islands --seed 9 --steps 3000 --migrate-every 500 --migrants 3 \
    --save pool.gen --csv rows.csv --every 500 --island-pools "$examples/walkers.sim" "$examples/seeds.gen" >out.txt)
}
run a
run b

for f in pool.gen pool.island1.gen rows.island1.csv rows.csv; do
  # Saved pools start with the time they were written.
  if ! diff <(grep -v '^# created' "$work/a/$f") <(grep -v '^# created' "$work/b/$f") >/dev/null; then
    echo "FAIL: $f differs between two runs with the same seed"
    exit 1
  fi
done
# A rank's line may follow another rank's unfinished progress line.
for island in 0 1; do
  arrived=$(sed -n "s/.*Island $island of 2: \([0-9]*\) migrants arrived$/\1/p" "$work/a/out.txt")
  if [ -z "$arrived" ] || [ "$arrived" -eq 0 ]; then
    echo "FAIL: island $island received no migrants"; cat "$work/a/out.txt"
    exit 1
  fi
done
# The merged pool holds at least as many individuals as either island's own.
count() { grep -c '^org:' "$1"; }
if [ "$(count "$work/a/pool.gen")" -lt "$(count "$work/a/pool.island1.gen")" ]; then
  echo "FAIL: the merged pool is smaller than island 1's"
  exit 1
fi
if diff -q "$work/a/rows.csv" "$work/a/rows.island1.csv" >/dev/null; then
  echo "FAIL: both islands evolved identically: their random streams are not their own"
  exit 1
fi
echo "islands: deterministic, migrants arrived"
