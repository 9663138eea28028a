// The gene pool: a sequence of genotype records and a table of numpy columns.
// Records are added, changed and removed through the pool's own routines, so
// that its listeners and statistics stay right.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "state.h"

namespace vorlund::python {

namespace {

// Columns of the "Genotype" table left out of table(): conversions to other
// encodings, one genetic conversion per record and column.
bool convertedColumn(const char* id) { return id[0] == 'f' && id[1] >= '0' && id[1] <= '9'; }

int checkedIndex(const PoolView& p, py::ssize_t i) {
  const py::ssize_t n = p.state->sim().pool.size();
  if (i < 0) i += n;
  if (i < 0 || i >= n) throw py::index_error("gene pool index out of range");
  return static_cast<int>(i);
}

RecordHandle handleAt(const PoolView& p, int i) {
  return RecordHandle{p.state, p.state->generation, p.state->sim().pool.get(i)->num};
}

py::dict table(const PoolView& p) {
  symulator& sim = p.state->sim();
  listaprz& pool = sim.pool;
  sim.fitness.refreshStatistics();
  const int n = pool.size();
  py::dict out;
  prz_param acc(nullptr);
  param& columns = n > 0 ? pool.get(0)->parameters() : acc;
  py::module_ np = py::module_::import("numpy");
  for (int c = 0; columns.id(c) != nullptr; ++c) {
    const char* id = columns.id(c);
    if (convertedColumn(id)) continue;
    const char t = columns.typeLetter(c);
    if (t == 'd') {
      py::array_t<int64_t> a(n);
      auto w = a.mutable_unchecked<1>();
      for (int i = 0; i < n; ++i) w(i) = pool.get(i)->parameters().getInt(c);
      out[id] = a;
    } else if (t == 'f') {
      py::array_t<double> a(n);
      auto w = a.mutable_unchecked<1>();
      for (int i = 0; i < n; ++i) w(i) = pool.get(i)->parameters().getDouble(c);
      out[id] = a;
    } else {
      py::list texts(n);
      for (int i = 0; i < n; ++i) texts[i] = py::str(pool.get(i)->parameters().getText(c));
      out[id] = np.attr("array")(texts, py::arg("dtype") = "object");
    }
  }
  py::array_t<double> fit(n);
  auto w = fit.mutable_unchecked<1>();
  for (int i = 0; i < n; ++i) w(i) = sim.fitness.fitness(*pool.get(i));
  out["fitness"] = fit;
  return out;
}

RecordHandle add(const PoolView& p, const std::string& genotype, const std::string& name, const std::string& info) {
  symulator& sim = p.state->sim();
  const int check = sim.genman.CheckValidity(genotype);
  passMessagesOn();
  if (check > 0)
    throw py::value_error("invalid genotype (error at position " + std::to_string(check) + ")");
  przodek* rec = sim.pool.add(std::make_unique<przodek>(&sim.geneticsContext(), genotype, name, info));
  passMessagesOn();
  return RecordHandle{p.state, p.state->generation, rec->num};
}

py::object get(const RecordHandle& h, const std::string& id) {
  przodek& rec = h.record();
  h.state->sim().fitness.refreshStatistics();
  param& acc = rec.parameters();
  return parameterValue(acc, parameterIndex(acc, id));
}

void set(const RecordHandle& h, const std::string& id, py::object value) {
  const int i = h.index();
  przodek& rec = *h.state->sim().pool.get(i);
  const bool changed = setParameter(rec.parameters(), id, value);
  passMessagesOn();
  if (changed) h.state->sim().pool.changed(h.index());
}

template <class T>
auto field(T PrzodekData::*member) {
  return [member](const RecordHandle& h) { return h.record().*member; };
}

}  // namespace

int RecordHandle::index() const {
  if (generation != state->generation) throw py::value_error("this genotype belongs to a state that was replaced");
  listaprz& pool = state->sim().pool;
  for (int i = 0; i < pool.size(); ++i)
    if (pool.get(i)->num == number) return i;
  throw py::value_error("genotype #" + std::to_string(number) + " is no longer in the gene pool");
}

przodek& RecordHandle::record() const { return *state->sim().pool.get(index()); }

void bindPool(py::module_& m) {
  py::class_<RecordHandle>(m, "Genotype", R"doc(
A genotype record of the gene pool, named by its ordinal number: once the pool
deletes the record, using this object raises ValueError.

Any column of the genotype table can be read by its id (``g["velocity"]``);
name, genotype and info can be changed (``g["name"] = "Walker"``), which
refreshes the record and tells the pool's listeners.
)doc")
      .def_property_readonly("number", [](const RecordHandle& h) { return h.record().num; })
      .def_property_readonly("name", field(&PrzodekData::name))
      .def_property_readonly("genotype", field(&PrzodekData::genotype))
      .def_property_readonly("info", field(&PrzodekData::info))
      .def_property_readonly("individuals", field(&PrzodekData::popsiz), "How many individuals the averages hold.")
      .def_property_readonly("lifespan", field(&PrzodekData::lifespan))
      .def_property_readonly("velocity", field(&PrzodekData::velocity))
      .def_property_readonly("distance", field(&PrzodekData::distance))
      .def_property_readonly("vertical_velocity", field(&PrzodekData::vertvel))
      .def_property_readonly("vertical_position", field(&PrzodekData::vertpos))
      .def_property_readonly("body_size", field(&PrzodekData::strsiz))
      .def_property_readonly("brain_size", field(&PrzodekData::nnsiz))
      .def_property_readonly("sticks", field(&PrzodekData::stnum))
      .def_property_readonly("neurons", field(&PrzodekData::neunum))
      .def_property_readonly("fitness", [](const RecordHandle& h) {
             przodek& rec = h.record();
             h.state->sim().fitness.refreshStatistics();
             return h.state->sim().fitness.fitness(rec);
           }, "The fitness the run summary ranks by (criteria, similarity and starting energy).")
      .def_property_readonly("exists", [](const RecordHandle& h) {
             try {
               h.index();
               return true;
             } catch (const py::value_error&) {
               return false;
             }
           }, "Whether the record is still in the pool.")
      .def("__getitem__", &get, py::arg("id"))
      .def("__setitem__", &set, py::arg("id"), py::arg("value"))
      .def("keys", [](const RecordHandle& h) {
             std::vector<std::string> ids;
             param& acc = h.record().parameters();
             for (int i = 0; acc.id(i) != nullptr; ++i) ids.emplace_back(acc.id(i));
             return ids;
           }, "The ids of the genotype table.")
      .def("__repr__", [](const RecordHandle& h) {
        przodek& rec = h.record();
        return "<Genotype #" + std::to_string(rec.num) + " '" + rec.name + "' individuals=" +
               std::to_string(rec.popsiz) + ">";
      });

  py::class_<PoolView>(m, "GenePool", R"doc(
The gene pool of a simulator: a sequence of Genotype records (``len(pool)``,
``pool[i]``, ``for g in pool``, ``del pool[i]``) and, with table(), a dict of
numpy columns ready for ``pandas.DataFrame(pool.table())``.
)doc")
      .def("__len__", [](const PoolView& p) { return p.state->sim().pool.size(); })
      .def("__getitem__", [](const PoolView& p, py::ssize_t i) { return handleAt(p, checkedIndex(p, i)); })
      .def("__iter__", [](const PoolView& p) {
             py::list items;
             for (int i = 0; i < p.state->sim().pool.size(); ++i) items.append(handleAt(p, i));
             return py::iter(items);
           })
      .def("__delitem__", [](const PoolView& p, py::ssize_t i) {
             p.state->sim().pool.removeAt(checkedIndex(p, i));
             passMessagesOn();
           })
      .def("add", &add, py::arg("genotype"), py::arg("name") = "", py::arg("info") = "",
           "Adds a record (a name is generated when none is given); ValueError for an invalid genotype.")
      .def("remove", [](const PoolView& p, const RecordHandle& h) {
             p.state->sim().pool.removeAt(h.index());
             passMessagesOn();
           }, py::arg("genotype"), "Removes the record from the pool.")
      .def("table", &table,
           "One array per column of the genotype table, plus 'fitness': numbers as int64 or float64,\n"
           "texts as object arrays.");

}

}  // namespace vorlund::python
