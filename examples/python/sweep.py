#!/usr/bin/env python3
"""A small sweep: walkers evolved under two settings and three seeds each.

Run it with the module on the path, for example:  ./run.sh python examples/python/sweep.py
Prints one row per run and the mean over the seeds of every setting pair.
"""
import itertools
import pathlib
import statistics
import sys

import vorlund

EXAMPLES = pathlib.Path(__file__).resolve().parents[1]
STEPS = int(sys.argv[1]) if len(sys.argv) > 1 else 40000
MUTATION = [40, 80]        # p_mut: share of offspring that are mutants (%)
ENERGY = [25, 100]         # Energy0: starting energy per stick
SEEDS = [1, 2, 3]


def evolve(p_mut, energy0, seed):
    sim = vorlund.Simulator()
    sim.seed(seed)
    sim.load(str(EXAMPLES / "walkers.sim"))
    sim.load(str(EXAMPLES / "seeds.gen"))
    sim["p_mut"] = p_mut
    sim["p_nop"] = 100 - p_mut - sim["p_xov"]
    sim["Energy0"] = energy0
    sim.run(STEPS, every=STEPS)
    return sim.summary()


def main():
    print(f"{'p_mut':>5} {'Energy0':>7} {'seed':>4} {'genotypes':>9} {'best fitness':>12} "
          f"{'avg velocity':>12} {'avg distance':>12}")
    means = {}
    for p_mut, energy0 in itertools.product(MUTATION, ENERGY):
        runs = []
        for seed in SEEDS:
            s = evolve(p_mut, energy0, seed)
            runs.append(s)
            print(f"{p_mut:5d} {energy0:7d} {seed:4d} {s['genotypes']:9d} {s['fitness_best']:12.4g} "
                  f"{s['avg_velocity']:12.4g} {s['avg_distance']:12.4g}")
        means[(p_mut, energy0)] = (statistics.mean(r["avg_velocity"] for r in runs),
                                   statistics.mean(r["avg_distance"] for r in runs))
    print("\nMean over the seeds")
    print(f"{'p_mut':>5} {'Energy0':>7} {'avg velocity':>12} {'avg distance':>12}")
    for (p_mut, energy0), (velocity, distance) in means.items():
        print(f"{p_mut:5d} {energy0:7d} {velocity:12.4g} {distance:12.4g}")


if __name__ == "__main__":
    main()
