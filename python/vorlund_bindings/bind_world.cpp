// The world's objects: living creatures, energy balls and remains, with their
// records, state and stick ends as numpy arrays.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "world/org_param.h"
#include "state.h"

namespace vorlund::python {

namespace {

OrgList& listOf(symulator& sim, bool food) { return food ? sim.food : sim.creatures; }

ObjectHandle handleOf(const StatePtr& st, const org& o, bool food, int index) {
  ObjectHandle h{st, st->generation, o.serial, food};
  h.hint = index;
  return h;
}

// The stick ends' positions (`velocity` false) or velocities as an (n, 3) array.
py::array_t<double> stickEnds(const ObjectHandle& h, bool velocity) {
  const org& o = h.get();
  const int n = o.sesCount();
  py::array_t<double> a({static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(3)});
  double* out = a.mutable_data();
  for (int i = 0; i < n; ++i) {
    const Vec3& v = velocity ? o.getSes(i)->v : o.getSes(i)->p;
    out[3 * i] = v.x;
    out[3 * i + 1] = v.y;
    out[3 * i + 2] = v.z;
  }
  return a;
}

py::array_t<double> vec(const Vec3& v) {
  py::array_t<double> a(3);
  double* out = a.mutable_data();
  out[0] = v.x;
  out[1] = v.y;
  out[2] = v.z;
  return a;
}

std::string kind(const ObjectHandle& h) {
  const org& o = h.get();
  if (!h.food) return "creature";
  return o.genotype == "*" ? "ball" : "remains";
}

py::object get(const ObjectHandle& h, const std::string& id) {
  org_param acc(&h.get());
  return parameterValue(acc, parameterIndex(acc, id));
}

void set(const ObjectHandle& h, const std::string& id, py::object value) {
  org_param acc(&h.get());
  setParameter(acc, id, value);
  passMessagesOn();
}

template <class T>
auto field(T org::*member) {
  return [member](const ObjectHandle& h) { return h.get().*member; };
}
template <class T>
auto recordField(T PrzodekData::*member) {
  return [member](const ObjectHandle& h) { return h.get().*member; };
}

// Every stick end of a list's objects in one (n, 3) array, and where each
// object's ends start (one more entry than objects, the last one n).
py::tuple allStickEnds(const StatePtr& st, bool velocity, bool food) {
  const OrgList& list = listOf(st->sim(), food);
  py::array_t<int64_t> starts(list.size() + 1);
  int64_t* start = starts.mutable_data();
  int64_t n = 0;
  for (int k = 0; k < list.size(); ++k) {
    start[k] = n;
    n += list.get(k)->sesCount();
  }
  start[list.size()] = n;
  py::array_t<double> a({static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(3)});
  double* out = a.mutable_data();
  for (int k = 0; k < list.size(); ++k) {
    const org& o = *list.get(k);
    for (int i = 0; i < o.sesCount(); ++i) {
      const Vec3& v = velocity ? o.getSes(i)->v : o.getSes(i)->p;
      *out++ = v.x;
      *out++ = v.y;
      *out++ = v.z;
    }
  }
  return py::make_tuple(a, starts);
}

ObjectHandle createCreature(const StatePtr& st, const std::string& genotype, const std::string& name,
                            const std::string& info) {
  symulator& sim = st->sim();
  org* o = sim.createCreature(przodek(&sim.geneticsContext(), genotype, name, info));
  passMessagesOn();
  if (o == nullptr) throw py::value_error("the genotype does not build a creature");
  const bool food = sim.creatures.find(o) < 0;
  return handleOf(st, *o, food, food ? sim.food.find(o) : sim.creatures.find(o));
}

}  // namespace

org* ObjectHandle::find() const {
  if (generation != state->generation) return nullptr;
  const OrgList& list = listOf(state->sim(), food);
  const int n = list.size();
  if (hint >= 0 && hint < n && list.get(hint)->serial == serial) return list.get(hint);
  for (int i = 0; i < n; ++i)
    if (list.get(i)->serial == serial) {
      hint = i;
      return list.get(i);
    }
  return nullptr;
}

org& ObjectHandle::get() const {
  org* o = find();
  if (o == nullptr)
    throw py::value_error(food ? "this energy ball or remains is gone (eaten or removed)"
                               : "this creature is no longer alive (it died or was removed)");
  return *o;
}

py::list objectHandles(const StatePtr& st, bool food) {
  const OrgList& list = listOf(st->sim(), food);
  py::list out;
  for (int i = 0; i < list.size(); ++i) out.append(handleOf(st, *list.get(i), food, i));
  return out;
}

void bindWorld(py::module_& m, py::class_<SimulatorState, StatePtr>& simulator) {
  py::class_<ObjectHandle>(m, "WorldObject", R"doc(
A living creature, or an energy ball or the remains of a creature. Once it is
gone (a creature that died, a ball that was eaten), using it raises
ValueError; ``alive`` tells without raising. A creature that dies leaves the
creatures: its remains are a new object among the food.

Any column of the creature table can be read by its id (``c["energy"]``);
name, info and energy can be set.
)doc")
      .def_property_readonly("alive", [](const ObjectHandle& h) { return h.find() != nullptr; },
                             "Whether the object is still in the world (in the same list).")
      .def_property_readonly("kind", &kind, "'creature', 'ball' or 'remains'.")
      .def_property_readonly("name", recordField(&PrzodekData::name))
      .def_property_readonly("genotype", recordField(&PrzodekData::genotype))
      .def_property_readonly("info", recordField(&PrzodekData::info))
      .def_property_readonly("age", field(&org::wiek), "Age in simulation steps.")
      .def_property_readonly("energy", field(&org::energy))
      .def_property_readonly("velocity", field(&org::c_velocity), "Current velocity.")
      .def_property_readonly("status", [](const ObjectHandle& h) { return creatureStatus(h.get()); })
      .def_property_readonly("stick_count", [](const ObjectHandle& h) { return h.get().estCount(); })
      .def_property_readonly("neuron_count", [](const ObjectHandle& h) { return h.get().neuroCount(); })
      .def_property_readonly("center", [](const ObjectHandle& h) { return vec(h.get().meanPosition()); },
                             "Mean position of the stick ends, as a numpy array (x, y, z).")
      .def_property_readonly("positions", [](const ObjectHandle& h) { return stickEnds(h, false); },
                             "Stick-end positions, a new (n, 3) float64 array.")
      .def_property_readonly("velocities", [](const ObjectHandle& h) { return stickEnds(h, true); },
                             "Stick-end velocities per step, a new (n, 3) float64 array.")
      .def("__getitem__", &get, py::arg("id"))
      .def("__setitem__", &set, py::arg("id"), py::arg("value"))
      .def("keys", [](const ObjectHandle& h) {
             org_param acc(&h.get());
             std::vector<std::string> ids;
             for (int i = 0; acc.id(i) != nullptr; ++i) ids.emplace_back(acc.id(i));
             return ids;
           }, "The ids of the creature table.")
      .def("kill", [](const ObjectHandle& h) {
             if (h.food) throw py::value_error("only a living creature can be killed");
             h.state->sim().killCreature(&h.get());
             passMessagesOn();
           }, "Kills the creature: its performance goes into its genotype's record, as at a natural death.")
      .def("__repr__", [](const ObjectHandle& h) {
        const org* o = h.find();
        if (o == nullptr) return std::string("<WorldObject (gone)>");
        return "<WorldObject " + kind(h) + " '" + o->name + "' energy=" + std::to_string(o->energy) + ">";
      });

  simulator
      .def("stick_ends", &allStickEnds, py::arg("velocities") = false, py::arg("food") = false, R"doc(
All stick ends of the living creatures (of the food with food=True) at once:
``(ends, starts)`` with ``ends`` an (n, 3) float64 array of positions (of
velocities with velocities=True) and ``starts`` where each object's ends
begin, in the order of ``sim.creatures``: the k-th creature's ends are
``ends[starts[k]:starts[k + 1]]``. Much cheaper than one array per creature
when read after every step.
)doc")
      .def("create_creature", &createCreature, py::arg("genotype"), py::arg("name") = "", py::arg("info") = "",
           "Starts a creature of the genotype (no pool record is made); ValueError when it does not build.")
      .def("add_ball", [](const StatePtr& st, double x, double y, double z) {
             org* o = st->sim().addBall(Vec3(x, y, z));
             passMessagesOn();
             return handleOf(st, *o, true, st->sim().food.find(o));
           }, py::arg("x"), py::arg("y"), py::arg("z"), "Drops an energy ball at a position.");
}

}  // namespace vorlund::python
