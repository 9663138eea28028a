#!/usr/bin/env python3
"""What reading stick ends from Python costs next to the step itself.

The crowded world (50 creatures that never die, 100 energy balls) is stepped
one step at a time from Python: with nothing else, reading all creatures'
stick-end positions in one call (sim.stick_ends(), one (n, 3) array and the
creatures' starts), and reading one (n, 3) array per creature
(c.positions for c in sim.creatures). The extra time is the cost of the
reading, given as a share of the step time. Times are the process's CPU time,
so that other programs on the machine disturb them less.

    ./run.sh python bench/python_stick_ends.py [steps] [rounds]

Run it on a quiet machine with the release build: the rounds alternate and the
fastest of each kind counts, so that a busy neighbour spoils less.
"""
import pathlib
import sys
import time

import vorlund

HERE = pathlib.Path(__file__).resolve().parent
STEPS = int(sys.argv[1]) if len(sys.argv) > 1 else 2000
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 5
WARM_UP = 500  # steps until all 50 creatures are in the world


def plain(sim, steps):
    start = time.process_time()
    for _ in range(steps):
        sim.step()
    return time.process_time() - start


def at_once(sim, steps):
    start = time.process_time()
    for _ in range(steps):
        sim.step()
        ends, starts = sim.stick_ends()
    return time.process_time() - start


def one_by_one(sim, steps):
    start = time.process_time()
    for _ in range(steps):
        sim.step()
        for c in sim.creatures:
            c.positions
    return time.process_time() - start


def main():
    sim = vorlund.Simulator()
    sim.seed(3)
    sim.load(str(HERE / "crowded.sim"))
    sim.load(str(HERE / "crowded.gen"))
    sim.step(WARM_UP)
    ends, starts = sim.stick_ends()
    best = {"step alone": float("inf"), "sim.stick_ends()": float("inf"), "c.positions each": float("inf")}
    kinds = list(zip(best, (plain, at_once, one_by_one)))
    for _ in range(ROUNDS):
        for name, run in kinds:
            best[name] = min(best[name], run(sim, STEPS))
    step_us = best["step alone"] / STEPS * 1e6
    print(f"{len(starts) - 1} creatures, {len(ends)} stick ends; {STEPS} steps, fastest of {ROUNDS} rounds")
    print(f"step alone:        {step_us:8.1f} us")
    for name in list(best)[1:]:
        extra = best[name] / STEPS * 1e6 - step_us  # below 0 is noise: the cost is too small to see
        print(f"{name:18s} {extra:+8.1f} us = {100 * extra / step_us:5.1f} % of the step time")
    # The readings alone, many times over the same state: a figure below the noise of a step.
    reads = {"sim.stick_ends()": lambda: sim.stick_ends(),
             "c.positions each": lambda: [c.positions for c in sim.creatures]}
    for name, read in reads.items():
        start = time.process_time()
        for _ in range(STEPS):
            read()
        read_us = (time.process_time() - start) / STEPS * 1e6
        print(f"{name:18s} alone {read_us:7.1f} us = {100 * read_us / step_us:5.1f} % of the step time")


if __name__ == "__main__":
    main()
