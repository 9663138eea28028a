// Parameters by id as Python values: "d" as int, "f" as float, "s" as str.
#include <cmath>

#include "core/param.h"
#include "core/param_messages.h"
#include "core/strutil.h"
#include "state.h"

namespace vorlund::python {

int parameterIndex(param& p, const std::string& id) {
  const int i = p.findId(id);
  if (i < 0) throw py::key_error("no parameter '" + id + "'");
  return i;
}

py::object parameterValue(param& p, int i) {
  switch (p.typeLetter(i)) {
    case 'd':
      return py::int_(p.getInt(i));
    case 'f':
      return py::float_(p.getDouble(i));
    default:
      return py::str(p.getText(i));
  }
}

std::string parameterText(const py::handle& value) {
  if (py::isinstance<py::bool_>(value)) return value.cast<bool>() ? "1" : "0";
  if (py::isinstance<py::int_>(value)) {
    // Beyond 64 bits the text saturates as a file's number would.
    return py::str(value).cast<std::string>();
  }
  if (py::isinstance<py::float_>(value)) {
    const double v = value.cast<double>();
    // All 17 digits, so that the stored double is the one given.
    return std::isfinite(v) ? ssprintf("%.17g", v) : std::string("nan");
  }
  if (py::isinstance<py::str>(value)) return value.cast<std::string>();
  throw py::type_error("a setting takes an int, a float or a str, not " +
                       py::str(py::type::of(value).attr("__name__")).cast<std::string>());
}

bool setParameter(param& p, const std::string& id, const py::handle& value) {
  const int i = parameterIndex(p, id);
  const CheckedSet r = setParameterChecked(p, i, parameterText(value));
  if (r.refused) throw py::value_error(r.message);
  if (!r.message.empty() && PyErr_WarnEx(warningCategory().ptr(), r.message.c_str(), 1) != 0)
    throw py::error_already_set();
  return (r.flags & PSET_CHANGED) != 0;
}

}  // namespace vorlund::python
