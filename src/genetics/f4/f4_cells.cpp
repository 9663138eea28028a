#include "genetics/f4/f4_cells.h"

#include <algorithm>

#include "core/message.h"
#include "core/strutil.h"

namespace vorlund {

cells4::cells4(f4node* program, bool repair) : repairMode_(repair) {
  cell4 first;
  first.node = program;
  cells_.push_back(first);
}

cells4::Step cells4::fail(f4node* n, Repair action) {
  error_ = 1;
  errorNode_ = n;
  errorPos_ = n != nullptr ? n->pos : -1;
  repairAction_ = repairMode_ && n != nullptr ? action : Repair::none;
  return Step::failed;
}

int cells4::neuronRank(int i) const {
  int rank = 0;
  for (int k = 0; k < i; ++k)
    if (cells_[k].state == cell4State::neuron) ++rank;
  return rank;
}

int cells4::neuronCellOfRank(long rank) const {
  if (rank < 0) return -1;
  long seen = 0;
  for (std::size_t k = 0; k < cells_.size(); ++k) {
    if (cells_[k].state != cell4State::neuron) continue;
    if (seen == rank) return static_cast<int>(k);
    ++seen;
  }
  return -1;
}

cells4::Step cells4::oneStep(int i) {
  while (true) {
    if (++reads_ > F4_MAX_CODE_READS) {
      error_ = F4_ERR_NOPOS;
      errorNode_ = nullptr;
      errorPos_ = -1;
      repairAction_ = Repair::none;
      return Step::failed;
    }
    cell4& c = cells_[i];
    f4node* n = c.node;
    if (n == nullptr) return fail(nullptr, Repair::none);
    switch (n->code) {
      case 'X':
        if (c.state != cell4State::undifferentiated) return fail(n, Repair::removeNode);
        c.state = cell4State::stick;
        if (c.parent >= 0) {
          cell4& p = cells_[c.parent];
          ++p.branchCount;
          c.branchIndex = p.branchCount;
        }
        c.node = n->child1;
        return Step::done;
      case 'N':
        if (c.state != cell4State::undifferentiated || c.parent < 0) return fail(n, Repair::removeNode);
        c.state = cell4State::neuron;
        c.node = n->child1;
        return Step::done;
      case '<': {
        if (c.state == cell4State::stick) return fail(n, Repair::removeNode);
        if (static_cast<int>(cells_.size()) < F4_MAX_CELLS) {
          cell4 d;
          d.node = n->child2;
          if (c.state == cell4State::undifferentiated) {
            d.length = (F4_DAUGHTER_BASE_LENGTH + c.length) / 2.0;
            d.curvedness = c.curvedness * F4_DAUGHTER_CURVE_KEEP;
            d.third = c.third;
            d.parent = i;
            d.repetition = c.repetition;
            d.repeatsLeft = c.repeatsLeft;
            c.repetition = nullptr;
            c.repeatsLeft = 0;
          } else {
            d.state = cell4State::neuron;
            d.parent = c.parent;
            d.links = c.links;
          }
          c.node = n->child1;
          cells_.push_back(d);  // invalidates `c`
        } else {
          c.node = n->child1;
        }
        return Step::done;
      }
      case ',':
        ++c.branchCount;
        c.node = n->child1;
        break;
      case '#':
        c.repetition = n;
        c.repeatsLeft = n->kind;
        c.node = n->child1;
        break;
      case '>':
        if (c.repetition != nullptr) {
          if (--c.repeatsLeft >= 1) {
            c.node = c.repetition->child1;
          } else {
            c.node = c.repetition->child2;
            c.repetition = nullptr;
          }
          break;
        }
        if (c.state == cell4State::undifferentiated) return fail(n, Repair::insertX);
        c.active = false;
        return Step::done;
      case 'L':
      case 'l':
      case 'C':
      case 'c':
      case 'R':
      case 'r':
        if (c.state == cell4State::neuron) return fail(n, Repair::removeNode);
        if (n->code == 'L')
          c.length = std::min(F4_LENGTH_MAX, c.length + (F4_LONGER_TARGET - c.length) * F4_LENGTH_SHARE);
        else if (n->code == 'l')
          c.length += (F4_SHORTER_TARGET - c.length) * F4_LENGTH_SHARE;
        else if (n->code == 'C')
          c.curvedness = F4_CURVE_KEEP * c.curvedness + F4_CURVE_STEP;
        else if (n->code == 'c')
          c.curvedness -= F4_CURVE_STEP;
        else if (n->code == 'R')
          c.rotation += F4_ROTATION_STEP;
        else
          c.rotation -= F4_ROTATION_STEP;
        c.node = n->child1;
        break;
      case 'Q':
      case 'q':
        c.node = n->child1;
        break;
      case '@':
      case '|':
        if (c.state != cell4State::neuron || c.control != 0) return fail(n, Repair::removeNode);
        c.control = n->code == '@' ? 1 : 2;
        c.node = n->child1;
        break;
      case '[': {
        if (c.state != cell4State::neuron) return fail(n, Repair::removeNode);
        if (static_cast<int>(c.links.size()) >= F4_MAX_LINKS) return fail(n, Repair::removeNode);
        cell4Link link;
        link.kind = n->kind;
        link.weight = n->weight;
        if (n->kind == F4_LINK_NEURON) {
          // Targets are bounded by the parser, so the sum cannot overflow.
          link.sourceCell = neuronCellOfRank(neuronRank(i) + n->target);
          if (link.sourceCell < 0) return Step::paused;  // the source neuron may still appear
        }
        c.links.push_back(link);
        c.node = n->child1;
        break;
      }
      default:
        logMessage("cell4", "onestep", ssprintf("unknown code '%c'", n->code), LOG_ERROR);
        return fail(n, Repair::removeNode);
    }
  }
}

int cells4::develop() {
  while (true) {
    bool anyActive = false, progress = false;
    int firstPaused = -1;
    // Daughters born in this round start in the next one.
    const int count = static_cast<int>(cells_.size());
    for (int i = 0; i < count; ++i) {
      if (!cells_[i].active) continue;
      anyActive = true;
      const Step s = oneStep(i);
      if (s == Step::failed) return error_;
      if (s == Step::paused) {
        if (firstPaused < 0) firstPaused = i;
      } else {
        progress = true;
      }
    }
    if (!anyActive) return F4_DEV_OK;
    // Every active cell waits for a neuron that nothing will make any more.
    if (!progress) {
      fail(cells_[firstPaused].node, Repair::removeNode);
      return error_;
    }
  }
}

int developTree(f4tree& tree, int maxRepairs, bool& repaired, std::vector<cell4>* out) {
  repaired = false;
  if (!tree.singleProgram()) return F4_ERR_NOPOS;
  for (int round = 0;; ++round) {
    cells4 dev(tree.program(), maxRepairs > 0);
    if (dev.develop() == F4_DEV_OK) {
      if (out != nullptr) *out = dev.cells();
      return F4_DEV_OK;
    }
    f4node* bad = dev.errorNode();
    if (round >= maxRepairs || bad == nullptr || dev.repair() == cells4::Repair::none) {
      if (dev.error() == F4_ERR_NOPOS || dev.errorPosition() < 0) return F4_ERR_NOPOS;
      return dev.errorPosition() + 1;
    }
    if (dev.repair() == cells4::Repair::insertX)
      tree.insertBefore(bad, 'X');
    else
      tree.removeNode(bad);
    repaired = true;
  }
}

}  // namespace vorlund
