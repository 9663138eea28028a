import _thread
import os
import subprocess
import threading

import pytest
import vorlund
from conftest import EXAMPLES

CLI = os.environ.get("VORLUND_CLI")


@pytest.mark.skipif(not CLI, reason="needs vorlund-cli (VORLUND_CLI)")
def test_python_and_terminal_runs_give_the_same_pool_csv_and_checkpoint(in_tmp):
    files = [str(EXAMPLES / "walkers.sim"), str(EXAMPLES / "seeds.gen")]
    subprocess.run([CLI, "run", "--quiet", "--seed", "11", "--steps", "2500", "--every", "400",
                    "--csv", "cli.csv", "--save", "cli.gen", "--checkpoint", "cli.ckpt"] + files, check=True)

    sim = vorlund.Simulator(threads=2)  # any thread count gives the terminal's single-threaded run
    sim.seed(11)
    for f in files:
        sim.load(f)
    sim.run(2500, every=400, csv="py.csv")
    sim.save_checkpoint("py.ckpt")
    sim.save("py.gen")

    def content(name):  # a saved pool names the time it was written
        return [line for line in (in_tmp / name).read_text().splitlines() if not line.startswith("# created")]

    for a, b in [("cli.csv", "py.csv"), ("cli.gen", "py.gen"), ("cli.ckpt", "py.ckpt")]:
        assert content(a) == content(b), a
    rows = sim.statistics()
    assert list(rows["step"]) == [400, 800, 1200, 1600, 2000, 2400, 2500]
    assert len((in_tmp / "py.csv").read_text().splitlines()) == 1 + len(rows["step"])


def test_a_checkpoint_continues_the_run_it_saved(walkers, in_tmp):
    walkers.run(600, every=300)
    walkers.save_checkpoint("a.ckpt")
    walkers.run(600, every=300)
    resumed = vorlund.Simulator()
    resumed.load_checkpoint("a.ckpt")
    assert resumed.run_steps == 600
    resumed.run(600, every=300)
    assert [g.genotype for g in resumed.pool] == [g.genotype for g in walkers.pool]
    assert resumed.summary() == walkers.summary()


def test_a_damaged_checkpoint_is_refused_and_the_state_kept(walkers, in_tmp):
    walkers.run(200, every=100)
    walkers.save_checkpoint("a.ckpt")
    text = (in_tmp / "a.ckpt").read_text()
    (in_tmp / "bad.ckpt").write_text(text.replace("AutoKill:1", "AutoKill:0"))
    before = walkers.summary()
    with pytest.raises(ValueError):
        walkers.load_checkpoint("bad.ckpt")
    with pytest.raises(OSError):
        walkers.load_checkpoint("missing.ckpt")
    assert walkers.summary() == before and walkers.run_steps == 200


def test_callback_sees_every_row_and_can_stop_the_run(walkers):
    seen = []
    walkers.run(1000, every=100, callback=lambda sim, step: seen.append(step) or step < 300)
    assert seen == [100, 200, 300] and walkers.run_steps == 300


def test_other_threads_run_while_stepping_but_cannot_touch_the_simulation(walkers):
    refused = []

    def meanwhile():
        while not refused:  # until the main thread steps
            try:
                len(walkers.pool)
            except RuntimeError as e:
                refused.append(str(e))
        _thread.interrupt_main()  # Ctrl-C

    threading.Thread(target=meanwhile).start()
    with pytest.raises(KeyboardInterrupt):
        walkers.step(10**12)
    assert walkers.step_count > 0 and "stepping in another thread" in refused[0]
    assert len(walkers.pool) == 3


@pytest.mark.parametrize("call, error", [
    (lambda s: s.step(-1), ValueError),
    (lambda s: s.run(10, every=0), ValueError),
    (lambda s: s.load("missing.gen"), OSError),
    (lambda s: s.load("notes.txt"), ValueError),
    (lambda s: s.save("pool.txt"), ValueError),
    (lambda s: s.save("no/such/folder/pool.gen"), OSError),
    (lambda s: s.run(10, csv="no/such/folder/run.csv"), ValueError),
    (lambda s: setattr(s, "threads", 0), ValueError),
])
def test_bad_calls_raise_and_change_nothing(walkers, call, error):
    with pytest.raises(error):
        call(walkers)
    assert walkers.step_count == 0 and len(walkers.pool) == 3


def test_loader_messages_arrive_as_warnings(in_tmp):
    (in_tmp / "empty.gen").write_text("# nothing here\n")
    with pytest.warns(vorlund.VorlundWarning, match="No usable record"):
        vorlund.Simulator().load("empty.gen")
