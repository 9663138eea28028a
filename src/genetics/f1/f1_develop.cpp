// The encoding-1 development: walks the genotype text and grows stick ends,
// sticks, neurons and inputs into an empty body.
//
// Each path of the text is a task (start end, text position, state). A stick
// ends its path by continuing it from the new end, which is a loop here; a
// branching ends its path by starting one task per branch. Tasks run from a
// stack, last pushed first, so the order of creation is the depth-first order
// of the recursive description while deep nesting cannot exhaust the C++ stack.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/message.h"
#include "genetics/f1/f1_dev_neuron.h"
#include "genetics/f1/f1_dev_state.h"
#include "world/f1_development.h"
#include "world/org.h"
#include "world/sim_settings.h"

namespace vorlund {

namespace {

// Longest rest length a stick may have, whatever its length modifiers say.
constexpr double F1_MAX_STICK_LENGTH = 2.0;
// Sticks of a creature built for a growing phase start at this share of their length.
constexpr double F1_GROWING_LENGTH_FACTOR = 0.01;
// A stick's energy share: base plus a part of its energy modifier.
constexpr double F1_ENERGY_SHARE_BASE = 0.1;
constexpr double F1_ENERGY_SHARE_RATE = 0.9;
// Full circle and half circle used to spread branches.
constexpr double F1_FULL_TURN = 6.282;
constexpr double F1_HALF_TURN = 3.141;

constexpr std::size_t NO_POS = static_cast<std::size_t>(-1);

struct Task {
  ses* start;
  std::size_t pos;
  F1DevState state;
};

class Developer {
 public:
  Developer(org& creature, const std::string& text, const SimSettings& settings)
      : c_(creature), t_(text), lengthFactor_(settings.grow > 0 ? F1_GROWING_LENGTH_FACTOR : 1.0) {
    indexBranches();
  }

  void run() {
    tasks_.push_back({nullptr, 0, F1DevState{}});
    while (!tasks_.empty()) {
      Task task = tasks_.back();
      tasks_.pop_back();
      runPath(task);
    }
  }

 private:
  // For every "(" the first comma that starts a further branch, and for each
  // such comma the next one; also where the scan of each "(" ends. Depth
  // counts "(" and "[" up and ")" and "]" down, so a comma belongs to the
  // innermost open "(" only when no "[" is open inside it.
  void indexBranches() {
    nextComma_.assign(t_.size(), NO_POS);
    std::vector<std::pair<std::size_t, std::size_t>> open;  // (position, last separator of it)
    for (std::size_t i = 0; i < t_.size(); ++i) {
      const char ch = t_[i];
      if (ch == '(' || ch == '[') {
        open.push_back({i, i});
      } else if (ch == ')' || ch == ']') {
        if (!open.empty()) open.pop_back();
      } else if (ch == ',' && !open.empty() && t_[open.back().first] == '(') {
        nextComma_[open.back().second] = i;
        open.back().second = i;
      }
    }
  }

  void runPath(Task task) {
    const std::size_t len = t_.size();
    for (;;) {
      F1DevState& s = task.state;
      s.rotation += s.props.twist;
      s.turn += s.props.curvedness;
      bool continued = false;
      while (task.pos < len && !continued) {
        const char ch = t_[task.pos];
        if (ch == ')' || ch == ',') return;
        if (applyF1Modifier(s, ch)) {
          ++task.pos;
        } else if (ch == '[') {
          task.pos = readNeuron(task.pos);
        } else if (ch == '(') {
          startBranches(task);
          return;
        } else if (ch == 'X') {
          task.start = makeStick(task.start, task.pos, s);
          ++task.pos;
          s.rotation = s.elevation = s.turn = 0;
          s.props.decay();
          s.share = 1.0;
          continued = true;
        } else {
          ++task.pos;
        }
      }
      if (!continued) return;
    }
  }

  void startBranches(const Task& task) {
    std::vector<std::size_t> starts{task.pos + 1};
    for (std::size_t k = nextComma_[task.pos]; k != NO_POS; k = nextComma_[k]) starts.push_back(k + 1);
    const std::size_t n = starts.size();
    const double step = F1_FULL_TURN / static_cast<double>(n + 1);
    // Pushed last branch first, so the first branch is developed first.
    for (std::size_t i = n; i-- > 0;) {
      Task b{task.start, starts[i], task.state};
      b.state.turn += static_cast<double>(i + 1) * step - F1_HALF_TURN;
      b.state.share = 1.0 / static_cast<double>(n);
      tasks_.push_back(b);
    }
  }

  ses* newEnd(const F1Props& props) {
    ses* e = c_.l_ses.add();
    e->devIndex = c_.l_ses.size() - 1;
    e->m = 1.0;
    // The development's inverse-weight sum: lighter sticks float more.
    e->buoy = 1.0 / props.weight;
    e->tarcie = props.friction;
    e->wchl = props.ingestion;
    return e;
  }

  ses* makeStick(ses* a, std::size_t xPos, F1DevState& s) {
    const F1Props& p = s.props;
    if (a == nullptr) a = c_.l_ses.get(0);
    if (a == nullptr) {
      a = newEnd(p);
    } else {
      a->m += 1.0;
      a->buoy += 1.0 / p.weight;
    }
    c_.energyWeight += F1_ENERGY_SHARE_RATE * p.energy + F1_ENERGY_SHARE_BASE;

    const double fullLength = std::min(p.length, F1_MAX_STICK_LENGTH);
    const double length = fullLength * lengthFactor_;
    const Vec3 angles{s.rotation, s.elevation, s.turn};
    const Frame turn = frameFromAngles(angles);

    ses* b = newEnd(p);
    b->o.x = localToWorld(a->o, turn.x);
    b->o.y = localToWorld(a->o, turn.y);
    b->o.z = localToWorld(a->o, turn.z);
    b->p = a->p + b->o.x * length;

    est* k = c_.l_est.add();
    k->e[0] = a;
    k->e[1] = b;
    k->s1 = a->devIndex;
    k->s2 = b->devIndex;
    b->owner = k;
    k->ruch = p.muscle;
    k->asym = p.assimilation;
    k->odpor = p.stamina;
    k->zakz = s.share;
    k->r = k->r0 = angles;
    k->frame = turn;
    k->len0 = k->len = length;
    k->rest = Vec3{length, 0, 0};
    k->rest0 = Vec3{fullLength, 0, 0};
    const auto stickIndex = static_cast<uint16_t>((c_.l_est.size() - 1) & POSMAP_INDEX_MASK);
    c_.setPosition(static_cast<int>(xPos), POSMAP_EST | stickIndex);
    return b;
  }

  // Returns where development goes on after the neuron at `open`.
  std::size_t readNeuron(std::size_t open) {
    est* k = c_.l_est.get(c_.l_est.size() - 1);
    if (k == nullptr) {
      logMessage("org", "rozwin", "Illegal neuron position (ignored)", LOG_WARNING);
      const std::size_t stop = t_.find_first_of("])", open);
      if (stop == std::string::npos) return t_.size();
      return t_[stop] == ']' ? stop + 1 : stop;
    }
    const F1NeuronText text = readF1Neuron(t_, open);
    neuro* n = c_.l_neu.add();
    const int index = c_.l_neu.size() - 1;
    n->kto = &c_;
    n->place = k;
    n->ownIndex = index;
    n->estIndex = c_.l_est.size() - 1;
    n->in = text.inertia;
    n->fo = text.force;
    n->si = text.sigmoid;
    k->sensors |= EST_SENSOR_NEURON;
    if (text.control != NEURO_NO_MUSCLE) {
      // One muscle of each kind per stick: a second one stays a plain neuron.
      const uint16_t bit = text.control == NEURO_MUSCLE_ROTATE ? EST_MUSCLE_ROTATE : EST_MUSCLE_BEND;
      if ((k->muscles & bit) == 0) {
        k->muscles |= bit;
        n->typster = text.control;
      }
    }
    for (const F1NeuronInput& in : text.inputs) {
      wej* w = n->addInput();
      w->typ = in.type;
      w->conn = in.conn;
      w->w = in.weight;
      if (in.type == F1_SEG_TOUCH) k->sensors |= EST_SENSOR_TOUCH;
      if (in.type == F1_SEG_EQUILIBRIUM) k->sensors |= EST_SENSOR_EQUILIBRIUM;
      if (in.type == F1_SEG_SMELL) k->sensors |= EST_SENSOR_SMELL;
    }
    c_.setPosition(static_cast<int>(open), POSMAP_NEURO | static_cast<uint16_t>(index & POSMAP_INDEX_MASK));
    return text.end;
  }

  org& c_;
  const std::string& t_;
  double lengthFactor_;
  std::vector<std::size_t> nextComma_;
  std::vector<Task> tasks_;
};

}  // namespace

void developF1(org& creature, const std::string& body, const SimSettings& settings) {
  Developer(creature, body, settings).run();
}

}  // namespace vorlund
