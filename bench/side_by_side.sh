#!/usr/bin/env bash
# Speed of the step, old against new, side by side on this machine: builds
# (release, -O3) the two commits in folders of their own under .bench/ and
# runs each measure for both in turn, round after round, pinned to cores,
# then prints the median of each, their ratio, and the median of the
# rounds' own ratios.
# Usage: bench/side_by_side.sh [OLD_COMMIT] [NEW_COMMIT] [ROUNDS]
#   OLD_COMMIT  default cc604659892655245c9ba1c6cdab50999721ffa3 (before the
#               deterministic sines and the threaded step)
#   NEW_COMMIT  default HEAD
#   ROUNDS      default 5
# OLD_DIR or NEW_DIR, when set, name a source tree whose build-release is
# already built (the commit arguments then only label the table).
# The measures: the crowded world (bench/crowded.*) with 1 thread and with 2
# (the new commit's --threads 2 against the old one's only thread), the
# walkers demonstration, BM_StepFiftyCreaturesBlocksWater, and the desktop
# program's own step with no view open against the terminal tool on the same
# steps (new commit only). A last row reads the host: two runs of the old
# build at once, one per core, against one alone. Near 2 the machine gave
# two whole cores; well below it, the two-thread ratio measures the host.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OLD="${1:-cc604659892655245c9ba1c6cdab50999721ffa3}"
NEW="${2:-HEAD}"
ROUNDS="${3:-5}"
OLD="$(git -C "$ROOT" rev-parse "$OLD")"
NEW="$(git -C "$ROOT" rev-parse "$NEW")"
export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}"
export QT_QPA_PLATFORM=offscreen

# Builds COMMIT into .bench/COMMIT (once) and prints the folder.
build() {
  local dir="$ROOT/.bench/$1"
  if [ ! -x "$dir/build-release/apps/cli/vorlund-cli" ]; then
    rm -rf "$dir" && mkdir -p "$dir"
    git -C "$ROOT" archive "$1" | tar -x -C "$dir"
    cmake -S "$dir" -B "$dir/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_FLAGS_RELEASE="-O3 -DNDEBUG" -DVORLUND_TESTS=OFF -DVORLUND_BENCH=ON -DVORLUND_PYTHON=OFF >&2
    nice cmake --build "$dir/build-release" -j "$(nproc)" >&2
  fi
  echo "$dir"
}

echo "building $OLD and $NEW ..." >&2
OLD_DIR="${OLD_DIR:-$(build "$OLD")}"
NEW_DIR="${NEW_DIR:-$(build "$NEW")}"

# Steps per second of one terminal run: DIR CORES STEPS SIM GEN SEED [extra options].
cli_rate() {
  local dir="$1" cores="$2" steps="$3" sim="$4" gen="$5" seed="$6"
  shift 6
  (cd "$(mktemp -d)" && taskset -c "$cores" "$dir/build-release/apps/cli/vorlund-cli" run --seed "$seed" \
     --steps "$steps" --every 100000000 "$@" "$ROOT/$sim" "$ROOT/$gen" |
     sed -n 's/^\([0-9]*\) steps in .*(\([0-9]*\) steps\/s)$/\2/p')
}
# The walkers evolve differently since the sines changed, and what a step
# costs follows the creatures: steps per second over seeds 1 to 3 together.
walk_rate() {
  local dir="$1" cores="$2" seconds=0 r
  for seed in 1 2 3; do
    r="$(cli_rate "$dir" "$cores" 100000 examples/walkers.sim examples/seeds.gen "$seed")"
    seconds="$(awk -v s="$seconds" -v r="$r" 'BEGIN { print s + 100000 / r }')"
  done
  awk -v s="$seconds" 'BEGIN { print int(300000 / s + 0.5) }'
}
# Steps per second of the benchmark BM_StepFiftyCreaturesBlocksWater.
bm_rate() {
  taskset -c "$2" "$1/build-release/bench/vorlund_bench" --benchmark_filter='^BM_StepFiftyCreaturesBlocksWater$' \
    --benchmark_min_time=2 --benchmark_format=csv 2>/dev/null |
    awk -F, '/BM_StepFiftyCreaturesBlocksWater/ { print int(1e9 / $3 + 0.5) }'
}
# Steps per second of the desktop program's run loop, no view open.
desktop_rate() {
  local dir="$1" cores="$2" steps="$3" sim="$4" gen="$5" seed="$6"
  taskset -c "$cores" "$dir/build-release/bench/vorlund_desktop_speed" "$ROOT/$sim" "$ROOT/$gen" "$seed" "$steps" 1 |
    awk '/steps in/ { print int($1 * 1000 / $4 + 0.5) }'
}
# Two one-thread runs of the same build at once, one per core: their summed
# steps per second.
pair_rate() {
  local dir="$1" a b
  shift
  a="$(mktemp)" b="$(mktemp)"
  cli_rate "$dir" 0 "$@" >"$a" &
  cli_rate "$dir" 1 "$@" >"$b"
  wait
  awk '{ s += $1 } END { print s }' "$a" "$b"
  rm -f "$a" "$b"
}
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

CROWD=(bench/crowded.sim bench/crowded.gen 3)
WALK=(examples/walkers.sim examples/seeds.gen 1)
declare -A got
# A measure that printed nothing is kept as "-", so that the rounds stay in step.
add() { got[$1]="${got[$1]:-} ${2:--}"; }
for r in $(seq "$ROUNDS"); do
  echo "round $r of $ROUNDS" >&2
  add crowd1_old "$(cli_rate "$OLD_DIR" 0 20000 "${CROWD[@]}")"
  add crowd1_new "$(cli_rate "$NEW_DIR" 0 20000 "${CROWD[@]}")"
  add crowd2_old "$(cli_rate "$OLD_DIR" 0,1 20000 "${CROWD[@]}")"
  add crowd2_new "$(cli_rate "$NEW_DIR" 0,1 20000 "${CROWD[@]}" --threads 2)"
  add walk_old "$(walk_rate "$OLD_DIR" 0)"
  add walk_new "$(walk_rate "$NEW_DIR" 0)"
  add bm_old "$(bm_rate "$OLD_DIR" 0)"
  add bm_new "$(bm_rate "$NEW_DIR" 0)"
  add term_new "$(cli_rate "$NEW_DIR" 0 200000 "${WALK[@]}")"
  add desk_new "$(desktop_rate "$NEW_DIR" 0 200000 "${WALK[@]}")"
  add pair_old "$(pair_rate "$OLD_DIR" 20000 "${CROWD[@]}")"
done

med() { tr ' ' '\n' <<<"${got[$1]}" | grep -v '^-\?$' | median; }
# The median of the rounds' own ratios: each round's two runs met the same
# state of the host, and a slow minute then moves one ratio, not a median.
paired() {
  paste -d ' ' <(tr ' ' '\n' <<<"${got[$1]}" | grep .) <(tr ' ' '\n' <<<"${got[$2]}" | grep .) |
    awk '$1 != "-" && $2 != "-" && $1 > 0 { print $2 / $1 }' | median
}
row() {
  local a b
  a="$(med "$2")"
  b="$(med "$3")"
  printf '%-44s %12s %12s %8.2fx %8.2fx\n' "$1" "$a" "$b" "$(awk -v a="$a" -v b="$b" 'BEGIN { print b / a }')" \
    "$(paired "$2" "$3")"
}
echo
echo "old ${OLD:0:12}, new ${NEW:0:12}; medians of $ROUNDS rounds, steps per second"
printf '%-44s %12s %12s %9s %9s\n' "measure" "old" "new" "new/old" "paired"
row "crowded world, 1 thread (20000 steps)" crowd1_old crowd1_new
row "crowded world, 2 threads (old: 1)" crowd2_old crowd2_new
row "walkers, 1 thread (seeds 1-3, 100000 steps)" walk_old walk_new
row "BM_StepFiftyCreaturesBlocksWater" bm_old bm_new
printf '%-44s %12s %12s %9s %9s\n' "" "terminal" "desktop" "desk/term" "paired"
row "desktop, no view, vs terminal (new, walkers)" term_new desk_new
printf '%-44s %12s %12s %9s %9s\n' "" "one alone" "two at once" "capacity" "paired"
row "host: old crowded world, per core (summed)" crowd1_old pair_old
