#!/usr/bin/env python3
"""Evolves walkers and plots fitness and velocity over the run into a PNG.

    ./run.sh python examples/python/plot_run.py [out.png] [steps]

Writes walkers_run.png in the working folder unless told otherwise.
"""
import pathlib
import sys

import matplotlib

matplotlib.use("Agg")  # files only, no window
import matplotlib.pyplot as plt  # noqa: E402

import vorlund  # noqa: E402

EXAMPLES = pathlib.Path(__file__).resolve().parents[1]
OUT = sys.argv[1] if len(sys.argv) > 1 else "walkers_run.png"
STEPS = int(sys.argv[2]) if len(sys.argv) > 2 else 400000
ROWS = 100


def main():
    sim = vorlund.Simulator()
    sim.seed(1)
    sim.load(str(EXAMPLES / "walkers.sim"))
    sim.load(str(EXAMPLES / "seeds.gen"))
    sim.run(STEPS, every=max(1, STEPS // ROWS),
            callback=lambda s, step: print(f"\rstep {step}", end="", flush=True))
    print()
    rows = sim.statistics()

    fig, (top, bottom) = plt.subplots(2, 1, sharex=True, figsize=(8, 6))
    top.plot(rows["step"], rows["fitness_best"], label="best")
    top.plot(rows["step"], rows["fitness_mean"], label="mean")
    top.set_ylabel("fitness")
    top.legend()
    bottom.plot(rows["step"], rows["avg_velocity"], color="tab:green")
    bottom.set_ylabel("average velocity")
    bottom.set_xlabel("step")
    fig.suptitle("Walkers evolving (seed 1)")
    fig.tight_layout()
    fig.savefig(OUT, dpi=100)
    best = sim.summary()
    print(f"{OUT} written; best genotype {best['best_name']}: {best['best_genotype']}")


if __name__ == "__main__":
    main()
