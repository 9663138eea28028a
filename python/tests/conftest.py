import os
import pathlib

import pytest

SOURCE = pathlib.Path(os.environ.get("VORLUND_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
EXAMPLES = SOURCE / "examples"


@pytest.fixture
def in_tmp(tmp_path, monkeypatch):
    """A fresh working folder: no Default.sim, and the log stays out of the tree."""
    monkeypatch.chdir(tmp_path)
    return tmp_path


@pytest.fixture
def walkers(in_tmp):
    import vorlund

    sim = vorlund.Simulator()
    sim.seed(5)
    sim.load(str(EXAMPLES / "walkers.sim"))
    sim.load(str(EXAMPLES / "seeds.gen"))
    return sim
