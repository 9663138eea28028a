// Genetics on genotype texts through a simulator's genetic manager (its
// operator settings and converter switches): the module's functions use a
// simulator of their own unless one is given.
#include <pybind11/stl.h>

#include "state.h"

namespace vorlund::python {

namespace {

// The manager's parent names in the info texts of scripted operations.
constexpr const char* kParentName = "python";
constexpr const char* kParent1Name = "parent1";
constexpr const char* kParent2Name = "parent2";

symulator& simOf(py::module_& m, const py::object& sim) {
  if (sim.is_none()) return m.attr("_genetics").cast<StatePtr>()->sim();
  return sim.cast<SimulatorState&>().sim();
}

std::string formatOf(const std::string& g) { return std::string(1, GenMan::GetFormat(g)); }

py::dict info(symulator& sim, const std::string& g) {
  const int check = sim.genman.CheckValidity(g);
  przodek rec(&sim.geneticsContext(), g, "", "");
  py::dict d;
  d["format"] = formatOf(g);
  d["check"] = check;
  d["name"] = rec.name;
  d["sticks"] = rec.stnum;
  d["neurons"] = rec.neunum;
  d["body_size"] = rec.strsiz;
  d["brain_size"] = rec.nnsiz;
  return d;
}

}  // namespace

void bindGenetics(py::module_& m) {
  m.attr("_genetics") = py::cast(std::make_shared<SimulatorState>());
  const auto simArg = py::arg("sim") = py::none();
  m.def("format", &formatOf, py::arg("genotype"), "The format character of a genotype ('1' without a marker).");
  m.def("check", [m](const std::string& g, py::object sim) mutable {
          const int r = simOf(m, sim).genman.CheckValidity(g);
          passMessagesOn();
          return r;
        }, py::arg("genotype"), simArg,
        "0 valid, -1 repairable, a positive position of an error, -2 when no operator can check it.");
  m.def("validate", [m](std::string g, py::object sim) mutable {
          const int r = simOf(m, sim).genman.Validate(g);
          passMessagesOn();
          if (r != 0) throw py::value_error("the genotype cannot be repaired (" + std::to_string(r) + ")");
          return g;
        }, py::arg("genotype"), simArg, "The genotype repaired where it can be; ValueError otherwise.");
  m.def("mutate", [m](std::string g, py::object sim) mutable {
          std::string infoText;
          const int r = simOf(m, sim).genman.Mutate(kParentName, g, infoText);
          passMessagesOn();
          if (r != 0) throw py::value_error("mutation failed (" + std::to_string(r) + ")");
          return py::make_tuple(g, infoText);
        }, py::arg("genotype"), simArg, "A mutant: (genotype, info). ValueError when the manager gives up.");
  m.def("crossover", [m](std::string a, std::string b, py::object sim) mutable {
          std::string info1, info2;
          const int r = simOf(m, sim).genman.CrossOver(kParent1Name, a, info1, kParent2Name, b, info2);
          passMessagesOn();
          if (r != 0) throw py::value_error("crossover failed (" + std::to_string(r) + ")");
          return py::make_tuple(py::make_tuple(a, info1), py::make_tuple(b, info2));
        }, py::arg("genotype1"), py::arg("genotype2"), simArg,
        "The two children: ((child1, info1), (child2, info2)). ValueError when the manager gives up.");
  m.def("similarity", [m](const std::string& a, const std::string& b, py::object sim) mutable {
          const double s = simOf(m, sim).genman.Similarity(a, b);
          passMessagesOn();
          return s;
        }, py::arg("genotype1"), py::arg("genotype2"), simArg,
        "The similarity of two genotypes (below -1 when their formats differ).");
  m.def("convert", [m](const std::string& g, const std::string& to, py::object sim) mutable {
          if (to.size() != 1) throw py::value_error("the format is one character ('0', '1', ...)");
          std::string out;
          const int ok = simOf(m, sim).genman.Convert(g, to[0], out);
          passMessagesOn();
          if (ok != 1) throw py::value_error("no conversion of this genotype to format " + to + ": " + out);
          return out;
        }, py::arg("genotype"), py::arg("to"), simArg, "The genotype converted to another format.");
  m.def("info", [m](const std::string& g, py::object sim) mutable {
          py::dict d = info(simOf(m, sim), g);
          passMessagesOn();
          return d;
        }, py::arg("genotype"), simArg,
        "Format, check result, generated name, sticks, neurons, body and brain size of a genotype.");
}

}  // namespace vorlund::python
