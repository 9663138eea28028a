#!/usr/bin/env bash
# Eight islands on two cores: the same seed gives the same merged pool twice
# over, and the same as the ring stepped in one process without any launch.
# Usage: islands_ring8.sh MPIEXEC VORLUND_CLI ISLANDS_RING EXAMPLES_DIR
set -euo pipefail
mpiexec=$1 cli=$2 ring=$3 examples=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seed=4 steps=3000 every=250 migrants=3
files=("$examples/walkers.sim" "$examples/seeds.gen")

run() {
  mkdir -p "$work/$1"
  (cd "$work/$1" && "$mpiexec" -n 8 --oversubscribe "$cli" run --islands --seed $seed --steps $steps \
    --migrate-every $every --migrants $migrants --every $((steps + 1)) --save pool.gen "${files[@]}" >out.txt)
}
run a
run b
mkdir -p "$work/one"
"$ring" 8 $seed $steps $every $migrants "$work/one/pool.gen" "${files[@]}"

# Saved pools start with the time they were written.
pool() { grep -v '^# created' "$1/pool.gen"; }
if ! diff <(pool "$work/a") <(pool "$work/b") >/dev/null; then
  echo "FAIL: two launches with the same seed merged different pools"
  exit 1
fi
if ! diff <(pool "$work/a") <(pool "$work/one") >/dev/null; then
  echo "FAIL: the launch's merged pool differs from the ring stepped in one process"
  diff <(pool "$work/a") <(pool "$work/one") | head -20
  exit 1
fi
if ! grep -q 'islands waited [0-9.]* % of the time, worst island [0-9.]* %$' "$work/a/out.txt"; then
  echo "FAIL: island 0 did not report the ring's waiting"; cat "$work/a/out.txt"
  exit 1
fi
echo "eight islands: deterministic, the same as in one process"
