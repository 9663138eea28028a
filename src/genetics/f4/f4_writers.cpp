#include "genetics/f4/f4_writers.h"

#include <algorithm>
#include <initializer_list>

#include "core/strutil.h"

namespace vorlund {

namespace {

// ---- format 0 ----

// Defaults that the records leave out, as the format-0 reader assumes them.
constexpr double kMassDefault = 1.0, kFrictionDefault = 0.4, kIngestionDefault = 0.25;
constexpr double kMuscleDefault = 0.25, kAssimilationDefault = 0.25, kStaminaDefault = 0.25, kRangeDefault = 1.0;
constexpr double kInertiaDefault = 0.8, kForceDefault = 0.04, kSigmoidDefault = 2.0;
constexpr double kWeightDefault = 1.0, kConnDefault = -5000;

struct RecordValue {
  const char* key;
  bool integer;
  double value;
  double byDefault;
};

std::string valueText(bool integer, double v) {
  if (integer) return formatInt(static_cast<long>(v));
  return formatReal(v + 0.0);  // no "-0"
}

// Values equal to their default are left out; the first value after a gap is
// named, the ones after it are positional again.
void appendRecord(std::string& out, const char* prefix, std::initializer_list<RecordValue> values) {
  out += prefix;
  bool first = true, gap = false;
  for (const RecordValue& v : values) {
    const std::string text = valueText(v.integer, v.value);
    if (text == valueText(v.integer, v.byDefault)) {
      gap = true;
      continue;
    }
    if (!first) out += ", ";
    first = false;
    if (gap) {
      out += v.key;
      out += '=';
      gap = false;
    }
    out += text;
  }
  out += '\n';
}

void appendEnd(std::string& out, const f4vec& p, double mass) {
  appendRecord(out, "p:",
               {{"x", false, p[0], 0},
                {"y", false, p[1], 0},
                {"z", false, p[2], 0},
                {"m", false, mass, kMassDefault},
                {"vol", false, 0, 0},
                {"fr", false, kFrictionDefault, kFrictionDefault},
                {"ing", false, kIngestionDefault, kIngestionDefault}});
}

int inputType(int kind) {
  if (kind == F4_LINK_CONSTANT) return F0_INPUT_CONSTANT;
  if (kind == F4_LINK_GYRO) return F0_INPUT_EQUILIBRIUM;
  return F0_INPUT_NEURON;
}

// ---- encoding 1 ----

struct Replay {
  double length = 1.0;
  double curvedness = 0.0;
};

void writeStickF1(const Organism& org, int s, Replay state, std::string& out) {
  const Organism::stick& st = org.sticks[s];
  if (st.parent >= 0) {
    state.length = org.sticks[st.parent].length;
    state.curvedness = org.sticks[st.parent].curvedness;
  }
  state.length = (state.length + F4_DAUGHTER_BASE_LENGTH) * 0.5;
  state.curvedness *= F4_DAUGHTER_CURVE_KEEP;

  for (int k = 0; k < F4_MAX_REPLAY_LETTERS && state.length > st.length; ++k) {
    state.length += (F4_SHORTER_TARGET - state.length) * F4_LENGTH_SHARE;
    out += 'l';
  }
  for (int k = 0; k < F4_MAX_REPLAY_LETTERS && state.length < st.length; ++k) {
    state.length = std::min(F4_LENGTH_MAX, state.length + (F4_LONGER_TARGET - state.length) * F4_LENGTH_SHARE);
    out += 'L';
  }
  for (int k = 0; k < F4_MAX_REPLAY_LETTERS && state.curvedness > st.curvedness; ++k) {
    state.curvedness -= F4_CURVE_STEP;
    out += 'c';
  }
  for (int k = 0; k < F4_MAX_REPLAY_LETTERS && state.curvedness < st.curvedness; ++k) {
    state.curvedness = F4_CURVE_KEEP * state.curvedness + F4_CURVE_STEP;
    out += 'C';
  }
  double rotation = st.rotation;
  for (int k = 0; k < F4_MAX_REPLAY_LETTERS && rotation > 0; ++k) {
    rotation -= F4_ROTATION_STEP;
    out += 'R';
  }
  for (int k = 0; k < F4_MAX_REPLAY_LETTERS && rotation < 0; ++k) {
    rotation += F4_ROTATION_STEP;
    out += 'r';
  }
  out += 'X';

  for (std::size_t n = 0; n < org.neurons.size(); ++n) {
    const Organism::neuron& nu = org.neurons[n];
    if (nu.stick != s) continue;
    out += '[';
    if (nu.control == 1) out += '@';
    if (nu.control == 2) out += '|';
    for (std::size_t k = 0; k < nu.links.size(); ++k) {
      const Organism::link& l = nu.links[k];
      if (k > 0) out += ',';
      if (l.kind == F4_LINK_NEURON)
        out += ssprintf("%d", l.source - static_cast<int>(n));
      else
        out += l.kind == F4_LINK_CONSTANT ? '*' : 'G';
      out += ssprintf(":%g", static_cast<double>(l.weight));
    }
    out += ']';
  }

  const bool branches = st.branchCount >= 2;
  if (branches) out += '(';
  int slot = 1;
  for (std::size_t c = 0; c < org.sticks.size(); ++c) {
    const Organism::stick& child = org.sticks[c];
    if (child.parent != s) continue;
    for (; slot < child.branchIndex; ++slot) out += ',';
    writeStickF1(org, static_cast<int>(c), state, out);
  }
  for (; slot < st.branchCount; ++slot) out += ',';
  if (branches) out += ')';
}

}  // namespace

std::string writeOrganismF0(const Organism& org) {
  std::string out;
  appendEnd(out, {0, 0, 0}, kMassDefault);
  for (const Organism::stick& s : org.sticks) appendEnd(out, s.end, 1.0 + s.children);
  for (std::size_t k = 0; k < org.sticks.size(); ++k) {
    const Organism::stick& s = org.sticks[k];
    const double first = s.parent < 0 ? 0 : s.parent + 1;
    appendRecord(out, "j:",
                 {{"p1", true, first, -1},
                  {"p2", true, static_cast<double>(k + 1), -1},
                  {"m", false, kMuscleDefault, kMuscleDefault},
                  {"as", false, kAssimilationDefault, kAssimilationDefault},
                  {"st", false, kStaminaDefault, kStaminaDefault},
                  {"mz", false, s.share, kRangeDefault}});
  }
  for (std::size_t n = 0; n < org.neurons.size(); ++n) {
    const Organism::neuron& nu = org.neurons[n];
    appendRecord(out, "neu:",
                 {{"est", true, static_cast<double>(nu.stick), -1},
                  {"ctrl", true, static_cast<double>(nu.control), 0},
                  {"in", false, kInertiaDefault, kInertiaDefault},
                  {"fo", false, kForceDefault, kForceDefault},
                  {"si", true, kSigmoidDefault, kSigmoidDefault}});
    for (const Organism::link& l : nu.links) {
      const double conn = l.kind == F4_LINK_NEURON ? l.source - static_cast<double>(n) : 0;
      // The reader takes a missing type as a neuron input, so only that one is left out.
      appendRecord(out, "inp:",
                   {{"n", true, static_cast<double>(n), -1},
                    {"t", true, static_cast<double>(inputType(l.kind)), F0_INPUT_NEURON},
                    {"w", false, static_cast<double>(l.weight), kWeightDefault},
                    {"conn", true, conn, kConnDefault}});
    }
  }
  return out;
}

std::string writeOrganismF1(const Organism& org) {
  std::string out;
  if (org.sticks.empty()) return out;
  writeStickF1(org, 0, Replay{}, out);
  return out;
}

}  // namespace vorlund
