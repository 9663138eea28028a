#include "view/display_settings.h"

#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/strutil.h"
#include "view/brain_layout.h"
#include "world/org_param.h"

namespace vorlund {

namespace {

constexpr const char* kLabelHelp = "Select a property to be used\nas a creatures' labels\nin the world view";
constexpr const char* kChartHelp =
    "Dynamic chart showing this property\nof the selected living creature\nwill be displayed in the world view";

// Rows of a table whose type texts are made at run time; the texts live here
// so the rows can point at them for the whole run.
struct BuiltTable {
  std::vector<std::string> types;
  std::vector<ParamEntry> rows;
};

std::string creatureChoiceType() {
  org_param creature;
  const int n = creature.paramCount();
  std::string type = ssprintf("d 0 %d ~(off)", n);
  for (int i = 0; i < n; ++i) {
    type += '~';
    type += creature.name(i);
  }
  return type;
}

std::string layoutChoiceType() {
  const int n = brainLayoutCount();
  std::string type = ssprintf("d 0 %d ", n - 1);
  for (int i = 0; i < n; ++i) {
    type += '~';
    type += brainLayout(i).name;
  }
  return type;
}

BuiltTable buildWorldDisplay() {
  BuiltTable t;
  t.types.reserve(1);
  t.types.push_back(creatureChoiceType());
  const char* choice = t.types[0].c_str();
  t.rows = {
      paramHeader("World Display", 1, 6, nullptr),
      {"w3_la1", 0, "Label #1", choice, offsetof(WorldDisplayFields, w3_la1), kLabelHelp},
      {"w3_la2", 0, "Label #2", choice, offsetof(WorldDisplayFields, w3_la2), kLabelHelp},
      {"w3_ch1", 0, "Chart #1", choice, offsetof(WorldDisplayFields, w3_ch1), kChartHelp},
      {"w3_ch2", 0, "Chart #2", choice, offsetof(WorldDisplayFields, w3_ch2), kChartHelp},
      {"w3_ptr", 0, "Pointer", "d 0 1", offsetof(WorldDisplayFields, w3_ptr), "Point at the selected creature"},
      {"w3_qual", 0, "Quality", "d 0 4 ~0.Low~1.Shadows~2.Attributes~3.Neurons~4.Connections",
       offsetof(WorldDisplayFields, w3_qual), "Display Quality"},
      paramEnd(),
  };
  return t;
}

BuiltTable buildNeuronDisplay() {
  BuiltTable t;
  t.types.push_back(layoutChoiceType());
  t.rows = {
      paramHeader("Neuron Display", 1, 2, nullptr),
      {"nn_layout", 0, "Layout", t.types[0].c_str(), offsetof(NeuronDisplayFields, nn_layout), nullptr},
      {"nn_lines", 0, "Connections", "d 0 1 ~Straight lines~Right angle lines",
       offsetof(NeuronDisplayFields, nn_lines), nullptr},
      paramEnd(),
  };
  return t;
}

}  // namespace

const ParamEntry* worldDisplayTable() {
  static const BuiltTable table = buildWorldDisplay();
  return table.rows.data();
}

const ParamEntry* neuronDisplayTable() {
  static const BuiltTable table = buildNeuronDisplay();
  return table.rows.data();
}

bool creatureParamIsNumeric(int index) {
  org_param creature;
  if (index < 0 || index >= creature.paramCount()) return false;
  const char letter = creature.typeLetter(index);
  return letter == 'd' || letter == 'f';
}

int WorldDisplayParams::setLocal(int i, std::string_view text) {
  const std::string_view key = row(i).id;
  if (key == "w3_ch1" || key == "w3_ch2") {
    const long k = std::strtol(std::string(text).c_str(), nullptr, 10);
    if (k > 0 && !creatureParamIsNumeric(static_cast<int>(k - 1))) return setBase(i, "0") | PSET_HITMIN;
  }
  return setBase(i, text);
}

}  // namespace vorlund
