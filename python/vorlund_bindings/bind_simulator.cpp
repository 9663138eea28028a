// `vorlund.Simulator`: files, settings, seeding and the step loop.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <atomic>
#include <fstream>

#include "core/message.h"
#include "core/param_messages.h"
#include "core/random.h"
#include "genepool/pool_files.h"
#include "sim/checkpoint.h"
#include "sim/run_inputs.h"
#include "sim/run_summary.h"
#include "state.h"

namespace vorlund::python {

namespace {

// The interpreter lock is taken back this often while stepping, to look for
// Ctrl-C and to pass messages on.
constexpr int64_t kStepsPerSignalCheck = 16;
constexpr int64_t kDefaultEvery = 1000;

std::atomic<bool> gStepping{false};

// Marks the steps made without the interpreter lock, for other threads to see.
class SteppingMark {
 public:
  SteppingMark() { gStepping = true; }
  ~SteppingMark() { gStepping = false; }
  SteppingMark(const SteppingMark&) = delete;
  SteppingMark& operator=(const SteppingMark&) = delete;
};

// Steps `n` times without the interpreter lock. Ctrl-C ends it between two
// steps (KeyboardInterrupt); a critical message ends it with RuntimeError.
void stepMany(SimulatorState& st, int64_t n) {
  if (n < 0) throw py::value_error("the number of steps must not be negative");
  symulator& sim = st.sim();
  setRunFlag(true);
  int64_t left = n;
  while (left > 0) {
    const int64_t chunk = std::min(left, kStepsPerSignalCheck);
    int64_t done = 0;
    {
      SteppingMark mark;
      py::gil_scoped_release unlocked;
      while (done < chunk && runFlag()) {
        sim.jedenkrok();
        ++done;
      }
    }
    st.runSteps += done;
    left -= done;
    passMessagesOn();
    if (!runFlag()) throw std::runtime_error("a critical message stopped the run (see the warnings and messages.out)");
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
  }
}

void addRow(SimulatorState& st) { st.recorder.add(st.runSteps, summarize(st.sim())); }

void run(SimulatorState& st, py::object self, int64_t steps, int64_t every, py::object callback,
         py::object csv) {
  if (steps < 0) throw py::value_error("the number of steps must not be negative");
  if (every <= 0) throw py::value_error("every must be at least 1");
  if (!csv.is_none()) {
    std::string error;
    // A run that goes on after earlier steps appends to the rows already written.
    if (!st.recorder.openCsv(py::str(csv).cast<std::string>(), st.runSteps > 0, error)) throw py::value_error(error);
  }
  if (st.runSteps == 0) startFromSeedGenotype(st.sim());
  const int64_t end = st.runSteps + steps;
  try {
    while (st.runSteps < end) {
      const int64_t nextRow = (st.runSteps / every + 1) * every;
      stepMany(st, std::min(nextRow, end) - st.runSteps);
      if (st.runSteps % every != 0) continue;
      addRow(st);
      if (!callback.is_none()) {
        py::object answer = callback(self, st.runSteps);
        if (!answer.is_none() && !answer.cast<bool>()) break;
      }
    }
  } catch (...) {
    // An interrupted run still reports where it stopped, as the terminal runner does.
    if (st.runSteps % every != 0) addRow(st);
    st.recorder.closeCsv();
    throw;
  }
  if (st.runSteps % every != 0) addRow(st);
  st.recorder.closeCsv();
}

py::dict summaryDict(symulator& sim) {
  const RunSummary s = summarize(sim);
  py::dict d;
  d["genotypes"] = s.genotypes;
  d["individuals"] = s.individuals;
  d["alive"] = s.alive;
  d["balls"] = s.balls;
  d["fitness_mean"] = s.mean;
  d["fitness_stddev"] = s.stddev;
  d["fitness_best"] = s.best;
  d["avg_lifespan"] = s.avgLifespan;
  d["avg_velocity"] = s.avgVelocity;
  d["avg_distance"] = s.avgDistance;
  d["best_name"] = s.bestName;
  d["best_genotype"] = s.bestGenotype;
  d["best_velocity"] = s.bestVelocity;
  d["best_distance"] = s.bestDistance;
  return d;
}

template <class T, class F>
py::array_t<T> column(const std::vector<RunRow>& rows, F value) {
  py::array_t<T> a(static_cast<py::ssize_t>(rows.size()));
  auto out = a.template mutable_unchecked<1>();
  for (std::size_t k = 0; k < rows.size(); ++k) out(static_cast<py::ssize_t>(k)) = static_cast<T>(value(rows[k]));
  return a;
}

py::dict statistics(const SimulatorState& st) {
  const std::vector<RunRow>& r = st.recorder.rows();
  py::dict d;
  d["step"] = column<int64_t>(r, [](const RunRow& x) { return x.step; });
  d["genotypes"] = column<int64_t>(r, [](const RunRow& x) { return x.genotypes; });
  d["individuals"] = column<int64_t>(r, [](const RunRow& x) { return x.individuals; });
  d["alive"] = column<int64_t>(r, [](const RunRow& x) { return x.alive; });
  d["balls"] = column<int64_t>(r, [](const RunRow& x) { return x.balls; });
  d["fitness_mean"] = column<double>(r, [](const RunRow& x) { return x.mean; });
  d["fitness_stddev"] = column<double>(r, [](const RunRow& x) { return x.stddev; });
  d["fitness_best"] = column<double>(r, [](const RunRow& x) { return x.best; });
  d["avg_lifespan"] = column<double>(r, [](const RunRow& x) { return x.avgLifespan; });
  d["avg_velocity"] = column<double>(r, [](const RunRow& x) { return x.avgVelocity; });
  d["avg_distance"] = column<double>(r, [](const RunRow& x) { return x.avgDistance; });
  return d;
}

void load(SimulatorState& st, const std::string& path) {
  std::string error;
  const bool ok = loadRunInput(st.sim(), path, error);
  passMessagesOn();
  if (ok) return;
  if (inputFileKind(path) == 0) throw py::value_error(error);
  PyErr_SetString(PyExc_OSError, error.c_str());
  throw py::error_already_set();
}

void save(SimulatorState& st, const std::string& path) {
  const int kind = inputFileKind(path);
  if (kind == 0) throw py::value_error("not a settings (.sim) or genotype (.gen) file name: " + path);
  const int failed = st.sim().save(path, kind);
  passMessagesOn();
  if (failed != 0) {
    const std::string text = "cannot write " + path;
    PyErr_SetString(PyExc_OSError, text.c_str());
    throw py::error_already_set();
  }
}

void loadCheckpointInto(SimulatorState& st, const std::string& path) {
  if (!std::ifstream(path)) {
    const std::string text = "cannot read " + path;
    PyErr_SetString(PyExc_OSError, text.c_str());
    throw py::error_already_set();
  }
  // A checkpoint needs a fresh simulator; the present one stays until the file is read whole.
  auto fresh = std::make_unique<symulator>();
  fresh->setStepThreads(st.owned->stepThreads());
  std::string error;
  int64_t steps = 0;
  const bool ok = loadCheckpoint(*fresh, path, steps, error);
  passMessagesOn();
  if (!ok) throw py::value_error(error);
  st.owned = std::move(fresh);
  st.runSteps = steps;
  st.recorder.clearRows();
  ++st.generation;
}

void setThreads(SimulatorState& st, int threads) {
  if (threads < 1 || threads > kMaxStepThreads)
    throw py::value_error("threads must be 1 to " + std::to_string(kMaxStepThreads) + ", not " + std::to_string(threads));
  st.sim().setStepThreads(threads);
}

void saveCheckpointOf(SimulatorState& st, const std::string& path) {
  std::string error;
  const bool ok = saveCheckpoint(st.sim(), st.runSteps, path, error);
  passMessagesOn();
  if (!ok) {
    PyErr_SetString(PyExc_OSError, error.c_str());
    throw py::error_already_set();
  }
}

py::dict settingInfo(param& p, const std::string& id) {
  const int i = parameterIndex(p, id);
  py::dict d;
  d["id"] = id;
  d["name"] = p.name(i) ? p.name(i) : "";
  d["type"] = p.type(i) ? p.type(i) : "";
  d["group"] = parameterGroupName(p, i);
  d["help"] = p.help(i) ? p.help(i) : "";
  d["read_only"] = (p.flags(i) & PARAM_READONLY) != 0;
  return d;
}

}  // namespace

SimulatorState::SimulatorState() : owned(std::make_unique<symulator>()) { recorder.keepRows(true); }

bool steppingElsewhere() { return gStepping; }

symulator& SimulatorState::sim() {
  if (gStepping) throw std::runtime_error("a simulator is stepping in another thread: wait until step() or run() returns");
  return *owned;
}

py::class_<SimulatorState, StatePtr> bindSimulator(py::module_& m) {
  py::class_<SimulatorState, StatePtr> cls(m, "Simulator", R"doc(
One simulator: a gene pool, a world of living creatures and food, the genetic
manager and all their settings.

It starts with the built-in settings (no file is read by itself). Load
settings (.sim), genotypes (.gen) or a checkpoint, set settings by their ids
(``sim["capacity"] = 40``), seed the random generator and step::

    sim = vorlund.Simulator()
    sim.seed(7)
    sim.load("examples/walkers.sim")
    sim.load("examples/seeds.gen")
    sim.run(20000, every=1000, csv="run.csv")
    sim.save("pool.gen")

The same seed and files give the same pool and CSV as ``vorlund-cli run``.
There is one random generator for the whole process: two simulators stepped
in turn draw from the same sequence.
)doc");
  cls.def(py::init([](int threads) {
             auto st = std::make_shared<SimulatorState>();
             setThreads(*st, threads);
             return st;
           }),
           py::arg("threads") = 1, "A fresh simulator whose step is split over `threads` threads (see threads).")
      .def_property("threads", [](SimulatorState& st) { return st.sim().stepThreads(); }, &setThreads,
                    "Threads each step is split over (1 to 64; 1 starts none). Any number gives the same results.")
      .def("seed", [](SimulatorState&, uint64_t s) { seedRandom(s); }, py::arg("seed"),
           "Seeds the process-wide random generator: the same seed and files give the same run.")
      .def("load", &load, py::arg("path"),
           "Loads a settings (.sim) or genotype (.gen) file, as the command line applies it.\n"
           "ValueError for another kind of file, OSError when it cannot be read.")
      .def("save", &save, py::arg("path"),
           "Saves the pool (.gen) or the settings (.sim), replacing the file safely. OSError on failure.")
      .def("load_checkpoint", &loadCheckpointInto, py::arg("path"),
           "Replaces the whole state by a checkpoint (from here or from vorlund-cli run --checkpoint).\n"
           "ValueError for a damaged file or one of another version; the state is then unchanged.\n"
           "Creatures and genotypes taken from the simulator before are gone afterwards.")
      .def("save_checkpoint", &saveCheckpointOf, py::arg("path"),
           "Writes the whole state (vorlund-cli run --resume continues it). OSError on failure.")
      .def("clear", [](SimulatorState& st, bool genotypes, bool objects) {
             st.sim().clear((genotypes ? CLEAR_GENOTYPES : 0) | (objects ? CLEAR_OBJECTS : 0));
           }, py::arg("genotypes") = true, py::arg("objects") = true,
           "Empties the gene pool and/or the world (without folding any performance).")
      .def("step", [](SimulatorState& st, int64_t n) { stepMany(st, n); }, py::arg("n") = 1,
           "Makes n simulation steps without holding the interpreter lock.\n"
           "Ctrl-C stops between two steps (KeyboardInterrupt); the steps made stay made.\n"
           "RuntimeError when a critical message stopped the simulation.")
      .def("run", [](py::object self, int64_t steps, int64_t every, py::object callback, py::object csv) {
             run(self.cast<SimulatorState&>(), self, steps, every, std::move(callback), std::move(csv));
           }, py::arg("steps"), py::arg("every") = kDefaultEvery, py::arg("callback") = py::none(),
           py::arg("csv") = py::none(), R"doc(
Runs as ``vorlund-cli run --steps steps --every every`` does: an empty simulator
starts from the genotype "X"; every `every` steps of the run (and at its end)
a row of statistics is kept (see statistics()) and written to `csv` when given
(a CSV file as the terminal runner writes; later runs append to it).
``callback(sim, step)`` is called after each row; returning False ends the run.
)doc")
      .def_property_readonly("pool", [](StatePtr st) { return PoolView{std::move(st)}; },
                             "The gene pool (a GenePool).")
      .def_property_readonly("creatures", [](const StatePtr& st) { return objectHandles(st, false); },
                             "The living creatures now, as a list of WorldObject.")
      .def_property_readonly("food", [](const StatePtr& st) { return objectHandles(st, true); },
                             "The energy balls and remains now, as a list of WorldObject.")
      .def_property_readonly("step_count", [](SimulatorState& st) { return st.sim().stepCount; },
                             "Simulation steps made since the simulator started (checkpoints keep it).")
      .def_property_readonly("run_steps", [](const SimulatorState& st) { return st.runSteps; },
                             "Steps of the run, as its CSV rows and checkpoints count them.")
      .def("summary", [](SimulatorState& st) { return summaryDict(st.sim()); },
           "The run's figures now, as one CSV row holds them, and the best genotype.")
      .def("statistics", &statistics,
           "The rows run() kept, one numpy array per CSV column (step, genotypes, ..., avg_distance).")
      .def("__getitem__", [](SimulatorState& st, const std::string& id) {
             param& p = st.sim().parameters();
             return parameterValue(p, parameterIndex(p, id));
           }, py::arg("id"), "A setting by its id (KeyError for an unknown id).")
      .def("__setitem__", [](SimulatorState& st, const std::string& id, py::object value) {
             setParameter(st.sim().parameters(), id, value);
           }, py::arg("id"), py::arg("value"),
           "Sets a setting within the bounds the files use: a clamped value gives a VorlundWarning,\n"
           "a refused one (read-only, not a number, a text a file cannot hold) ValueError.")
      .def("__contains__", [](SimulatorState& st, const std::string& id) {
             return st.sim().parameters().findId(id) >= 0;
           })
      .def("settings", [](SimulatorState& st) {
             param& p = st.sim().parameters();
             py::dict d;
             for (int i = 0; p.id(i) != nullptr; ++i) d[p.id(i)] = parameterValue(p, i);
             return d;
           }, "Every setting as a dict of id and value, in the order of the settings file.")
      .def("setting_info", [](SimulatorState& st, const std::string& id) {
             return settingInfo(st.sim().parameters(), id);
           }, py::arg("id"), "Name, type (with bounds), group and help of a setting.");
  return cls;
}

}  // namespace vorlund::python
