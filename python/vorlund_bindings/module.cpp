// The `vorlund` module: the simulator, its gene pool and world, and genetics
// on genotype texts, for scripted experiments.
#include "state.h"

namespace vorlund::python {

// Kept for the whole process: the module is never unloaded.
PyObject* gWarning = nullptr;

py::object warningCategory() { return py::reinterpret_borrow<py::object>(gWarning); }

}  // namespace vorlund::python

PYBIND11_MODULE(vorlund, m) {
  namespace vp = vorlund::python;
  namespace py = pybind11;
  m.doc() = R"doc(
Vorlund from Python: evolve stick creatures, read the gene pool and the world
as numpy arrays, and run the genetic operators on genotype texts.

Simulator   one simulator (files, settings, seed, step, run, checkpoints)
GenePool    its gene pool (Simulator.pool), records as Genotype
WorldObject a creature, energy ball or remains (Simulator.creatures, .food)
format, check, validate, mutate, crossover, similarity, convert, info
            genetics on genotype texts

The program's warnings and errors arrive as VorlundWarning; refused values
and bad input raise ValueError, unreadable files OSError.
)doc";
  vp::gWarning = PyErr_NewExceptionWithDoc("vorlund.VorlundWarning", "A warning or error message of the simulator.",
                                           PyExc_UserWarning, nullptr);
  if (vp::gWarning == nullptr) throw py::error_already_set();
  m.attr("VorlundWarning") = vp::warningCategory();
  vp::collectMessages();
  py::class_<vp::SimulatorState, vp::StatePtr> simulator = vp::bindSimulator(m);
  vp::bindPool(m);
  vp::bindWorld(m, simulator);
  vp::bindGenetics(m);
}
