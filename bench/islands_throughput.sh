#!/usr/bin/env bash
# Island throughput: total simulation steps per second of one island and of
# P islands (default 2) under mpirun, each island stepping the walkers world.
# Usage: bench/islands_throughput.sh [VORLUND_CLI] [STEPS] [P]
# Run it on a quiet machine: the islands compete with anything else for the cores.
# Migrants change what evolves, and so what a step costs: with ISLANDS_RING set to
# the tests' islands_ring tool, the script also steps the same P islands in turn in
# one process (the very same work and pools) for a speed-up on equal work.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cli=$(realpath "${1:-$here/build/apps/cli/vorlund-cli}")
steps=${2:-200000}
islands=${3:-2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1 OMPI_MCA_btl=self,vader
export OMPI_MCA_rmaps_base_oversubscribe=1
# A waiting island gives its core away instead of spinning.
export OMPI_MCA_mpi_yield_when_idle=1

# Sums the steps/s of every island's closing line ("N steps in T s (R steps/s)");
# island 0's waiting line is kept in $work/waited.$1.
throughput() {
  (cd "$work" && mpirun -n "$1" "$cli" run --islands --seed 1 --steps "$steps" --migrate-every 1000 --migrants 5 --every 100000000 \
    "$here/examples/walkers.sim" "$here/examples/seeds.gen") >"$work/out.$1"
  grep -o 'islands waited.*' "$work/out.$1" >"$work/waited.$1" || true
  sed -n 's/.* steps in .* s (\([0-9]*\) steps\/s)$/\1/p' "$work/out.$1" | awk '{ s += $1 } END { print s }'
}

# What the machine gives right now: P plain runs side by side, no MPI at all.
side_by_side() {
  for _ in $(seq "$1"); do
    (cd "$work" && "$cli" run --seed 1 --steps "$steps" --every 100000000 \
      "$here/examples/walkers.sim" "$here/examples/seeds.gen") &
  done | sed -n 's/.* steps in .* s (\([0-9]*\) steps\/s)$/\1/p' | awk '{ s += $1 } END { print s }'
  wait
}

alone=$(side_by_side 1)
beside=$(side_by_side "$islands")
echo "plain runs: 1 alone $alone steps/s, $islands side by side $beside steps/s in total"
one=$(throughput 1)
many=$(throughput "$islands")
echo "1 island: $one steps/s"
echo "$islands islands: $many steps/s in total; $(cat "$work/waited.$islands")"
awk -v a="$one" -v b="$many" -v p="$islands" 'BEGIN { printf "speed-up of %d islands: %.2f\n", p, b / a }'
if [ -n "${ISLANDS_RING:-}" ]; then
  started=$(date +%s.%N)
  "$ISLANDS_RING" "$islands" 1 "$steps" 1000 5 "$work/ring.gen" "$here/examples/walkers.sim" "$here/examples/seeds.gen"
  ring=$(awk -v p="$islands" -v s="$steps" -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%d", p * s / (b - a) }')
  echo "the same $islands islands in turn in one process: $ring steps/s"
  awk -v a="$ring" -v b="$many" -v p="$islands" 'BEGIN { printf "speed-up of %d islands on the same work: %.2f\n", p, b / a }'
fi
