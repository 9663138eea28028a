// What the Python objects share: one simulator with the rows of its runs, and
// the handles that name a genotype record or a simulated object by identity,
// so that one used after its object went away raises instead of crashing.
#pragma once

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>
#include <string>

#include "sim/run_record.h"
#include "sim/symulator.h"

namespace vorlund::python {

namespace py = pybind11;

struct SimulatorState {
  SimulatorState();
  // The simulator. RuntimeError while any simulator steps in another thread:
  // the random generator and the scratch buffers are the whole process's.
  symulator& sim();
  std::unique_ptr<symulator> owned;
  RunRecorder recorder;
  int64_t runSteps = 0;   // steps of the run, as its checkpoints count them
  uint64_t generation = 0;  // raised whenever `sim` is replaced (a loaded checkpoint)
};
using StatePtr = std::shared_ptr<SimulatorState>;

// Set while a step loop runs without the interpreter lock.
bool steppingElsewhere();

// A genotype record of the pool, by its ordinal number.
struct RecordHandle {
  StatePtr state;
  uint64_t generation;
  int32_t number;
  // The record's index in the pool; raises when the record is gone.
  int index() const;
  przodek& record() const;
};

// A living creature (`food` false) or an energy ball or remains, by serial.
struct ObjectHandle {
  StatePtr state;
  uint64_t generation;
  uint64_t serial;
  bool food;
  mutable int hint = 0;  // where it was last found, tried first
  // The object, or null when it is gone.
  org* find() const;
  // The object; raises when it is gone.
  org& get() const;
};

// The gene pool of a simulator, as Python sees it.
struct PoolView {
  StatePtr state;
};

// Handles of the living creatures, or of the energy balls and remains.
py::list objectHandles(const StatePtr& state, bool food);

// Python values as parameter texts and back.
py::object parameterValue(param& p, int i);
std::string parameterText(const py::handle& value);
// Sets parameter `id` of `p`: KeyError for an unknown id, ValueError for a
// refused value, a warning for a clamped one. True when the value changed.
bool setParameter(param& p, const std::string& id, const py::handle& value);
int parameterIndex(param& p, const std::string& id);

// Passes the messages logged since the last call on as Python warnings
// (warnings and worse; plain messages only go to the log).
void passMessagesOn();
// Starts collecting messages (once, at import).
void collectMessages();
// The warning category of the program's messages.
py::object warningCategory();

py::class_<SimulatorState, StatePtr> bindSimulator(py::module_& m);
void bindPool(py::module_& m);
void bindWorld(py::module_& m, py::class_<SimulatorState, StatePtr>& simulator);
void bindGenetics(py::module_& m);

}  // namespace vorlund::python
