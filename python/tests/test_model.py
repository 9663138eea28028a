import numpy as np
import pytest
import vorlund


@pytest.mark.parametrize("key, value, stored, warns", [
    ("capacity", 40, 40, False),
    ("capacity", 10**9, None, True),     # clamped to the table's maximum
    ("p_mut", 12.5, 12.5, False),
    ("AutoKill", True, 1, False),
])
def test_settings_keep_the_files_bounds(in_tmp, key, value, stored, warns):
    sim = vorlund.Simulator()
    if warns:
        with pytest.warns(vorlund.VorlundWarning, match="too big"):
            sim[key] = value
        assert sim[key] < value and sim[key] == int(sim.setting_info(key)["type"].split()[2])
    else:
        sim[key] = value
        assert sim[key] == stored
    assert sim.settings()[key] == sim[key]


@pytest.mark.parametrize("key, value, error", [
    ("capacity", "forty", ValueError),
    ("p_mut", float("nan"), ValueError),
    ("capacity", [1], TypeError),
    ("no_such_setting", 1, KeyError),
])
def test_refused_settings_change_nothing(in_tmp, key, value, error):
    sim = vorlund.Simulator()
    before = sim.settings()
    with pytest.raises(error):
        sim[key] = value
    assert sim.settings() == before


def test_pool_records_change_through_the_pool(walkers):
    pool = walkers.pool
    g = pool.add("X(X,X,X)", name="Tripod")
    assert len(pool) == 4 and pool[-1].name == "Tripod" and g.sticks == 4
    g["name"] = "Renamed"
    assert pool[3].name == "Renamed"
    with pytest.raises(ValueError):
        g["stnum"] = 9           # computed from the genotype
    with pytest.raises(ValueError):
        pool.add("Q")             # not a genotype
    pool.remove(g)
    assert not g.exists and len(pool) == 3
    with pytest.raises(ValueError, match="no longer in the gene pool"):
        g.name
    del pool[0]
    with pytest.raises(IndexError):
        pool[5]


def test_pool_table_is_one_array_per_column(walkers):
    walkers.run(3000, every=1000)
    t = walkers.pool.table()
    n = len(walkers.pool)
    assert n > 0 and all(len(col) == n for col in t.values())
    assert t["popsiz"].dtype == np.int64 and t["velocity"].dtype == np.float64
    assert list(t["genotype"]) == [g.genotype for g in walkers.pool]
    assert np.allclose(t["fitness"], [g.fitness for g in walkers.pool])
    stats = walkers.statistics()
    assert list(stats["step"]) == [1000, 2000, 3000]
    assert stats["individuals"][-1] == t["popsiz"].sum()


def test_world_objects_show_their_stick_ends(walkers):
    c = walkers.create_creature("X(X,X)")
    ball = walkers.add_ball(5.0, 6.0, 1.0)
    assert c.kind == "creature" and ball.kind == "ball"
    assert c.positions.shape == (3 + 1, 3) and c.velocities.shape == (4, 3)
    assert np.allclose(c.center, c.positions.mean(axis=0))
    assert np.allclose(ball.positions[0], [5.0, 6.0, 1.0])
    walkers.step(5)
    assert c.age == 5 and c["wiek"] == 5
    ends, starts = walkers.stick_ends()
    assert np.array_equal(ends, np.concatenate([o.positions for o in walkers.creatures]))
    assert np.array_equal(np.diff(starts), [len(o.positions) for o in walkers.creatures])
    with pytest.raises(ValueError):
        walkers.create_creature("X(X")


def test_a_dead_creature_raises_instead_of_crashing(walkers, in_tmp):
    c = walkers.create_creature("X(X,X)")
    other = walkers.create_creature("XX")
    c.kill()
    assert not c.alive
    for use in (lambda: c.positions, lambda: c["energy"], lambda: c.kill()):
        with pytest.raises(ValueError, match="no longer alive"):
            use()
    walkers.save_checkpoint("w.ckpt")
    walkers.load_checkpoint("w.ckpt")
    with pytest.raises(ValueError):
        other.positions         # the state it belonged to was replaced


def test_genetics_on_texts():
    assert vorlund.format("X(X,X)") == "1" and vorlund.format("/*4*/<X>") == "4"
    assert [vorlund.check(g) for g in ("X(X,X)", "X(X", "Q")] == [0, -1, 1 + 1]
    assert vorlund.check(vorlund.validate("X(X")) == 0
    child, info = vorlund.mutate("X(X,X)")
    assert vorlund.check(child) == 0 and info
    (a, info1), (b, info2) = vorlund.crossover("X(X,X)", "XX(lX,lX)")
    assert a and b and "parent1" in info1 and "parent2" in info2
    assert vorlund.similarity("X(X,X)", "X(X,X)") == pytest.approx(1.0)
    assert vorlund.convert("X", "0").count("p:") == 2
    info = vorlund.info("X(X,X)")
    assert (info["sticks"], info["format"], info["check"]) == (3, "1", 0) and info["name"]
    for bad in (lambda: vorlund.convert("X", "9"), lambda: vorlund.validate("Q")):
        with pytest.raises(ValueError):
            bad()
