// Development of an encoding-4 code tree: cells that read codes round by
// round, divide, change the stick they will become and differentiate into
// sticks or neurons. In repair mode a failing code is removed from the tree (or
// a missing `X` inserted) and development starts over, a bounded number of times.
#pragma once

#include <vector>

#include "genetics/f4/f4_node.h"

namespace vorlund {

// At most this many cells develop; further daughters are dropped.
constexpr int F4_MAX_CELLS = 99;
// A neuron holds at most this many input links.
constexpr int F4_MAX_LINKS = 99;
// Codes all cells together may read in one development; a repetition with a
// huge count stops here instead of running for ever.
constexpr int F4_MAX_CODE_READS = 50000;
// Repair rounds allowed by Validate, and by mutation and crossover.
constexpr int F4_VALIDATE_REPAIRS = 20;
constexpr int F4_OPERATOR_REPAIRS = 10;

// Property changes of the stick modifiers: L moves the length a share of the way
// to its target (never above the maximum), l likewise down; C keeps part of the
// curvedness and adds a step, c subtracts the step; R and r turn by a step.
constexpr double F4_LENGTH_MAX = 3.5;
constexpr double F4_LONGER_TARGET = 3.0;
constexpr double F4_SHORTER_TARGET = 0.33;
constexpr double F4_LENGTH_SHARE = 0.3;
constexpr double F4_CURVE_KEEP = 0.75;
constexpr double F4_CURVE_STEP = 0.33;
constexpr double F4_ROTATION_STEP = 0.7853981;  // radians per R or r
// A daughter's stick starts halfway between its mother's length and 1, with
// this share of its mother's curvedness.
constexpr double F4_DAUGHTER_BASE_LENGTH = 1.0;
constexpr double F4_DAUGHTER_CURVE_KEEP = 0.66;

// Development results: 0 success; a positive 1-based position; F4_ERR_NOPOS.
constexpr int F4_DEV_OK = 0;
constexpr int F4_ERR_NOPOS = -3;

enum class cell4State { undifferentiated, stick, neuron };

struct cell4Link {
  int kind = F4_LINK_NEURON;
  int sourceCell = -1;  // kind 0: the neuron cell the input comes from
  float weight = 0.0f;
};

struct cell4 {
  cell4State state = cell4State::undifferentiated;
  f4node* node = nullptr;  // the next code to read
  int parent = -1;         // index of the parent cell
  bool active = true;
  f4node* repetition = nullptr;  // active repetition node
  long repeatsLeft = 0;
  // Stick properties; `third` is carried along but no code changes it.
  double length = 1.0;
  double curvedness = 0.0;
  double third = 0.0;
  double rotation = 0.0;
  int branchCount = 0;  // branch slots on this cell's stick
  int branchIndex = 0;  // slot of this stick on its parent's stick
  // Neuron.
  int control = 0;
  std::vector<cell4Link> links;
};

class cells4 {
 public:
  // What a repair does with the failing node.
  enum class Repair { none, removeNode, insertX };

  explicit cells4(f4node* program, bool repair = false);

  // Develops until no cell is active or an error is recorded; the result.
  int develop();

  const std::vector<cell4>& cells() const { return cells_; }
  int error() const { return error_; }
  int errorPosition() const { return errorPos_; }  // 0-based, -1 when unknown
  f4node* errorNode() const { return errorNode_; }
  Repair repair() const { return repairAction_; }

 private:
  enum class Step { done, paused, failed };
  Step oneStep(int i);
  Step fail(f4node* n, Repair action);
  int neuronRank(int i) const;
  int neuronCellOfRank(long rank) const;

  std::vector<cell4> cells_;
  bool repairMode_;
  int reads_ = 0;
  int error_ = F4_DEV_OK;
  int errorPos_ = -1;
  f4node* errorNode_ = nullptr;
  Repair repairAction_ = Repair::none;
};

// Develops a tree, repairing it up to `maxRepairs` times. Returns F4_DEV_OK
// (with `repaired` telling whether the tree changed), a positive 1-based error
// position, or F4_ERR_NOPOS. With `out`, the successful development is kept.
int developTree(f4tree& tree, int maxRepairs, bool& repaired, std::vector<cell4>* out = nullptr);

}  // namespace vorlund
