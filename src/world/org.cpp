#include "world/org.h"

#include <utility>

#include "core/message.h"
#include "core/strutil.h"

namespace vorlund {

org::org(const Genetics* genetics, std::string genotype, std::string name, std::string info)
    : przodek(genetics, std::move(genotype), std::move(name), std::move(info), true) {}

org::~org() { Clear(); }

uint64_t org::nextSerial() {
  static uint64_t last = 0;
  return ++last;
}

est* org::addEst(ses* first, ses* second) {
  est* k = l_est.add();
  k->e[0] = first;
  k->e[1] = second;
  if (first != nullptr) k->s1 = l_ses.find(first);
  if (second != nullptr) {
    k->s2 = l_ses.find(second);
    second->owner = k;
  }
  return k;
}

neuro* org::addNeuro(est* place) {
  neuro* n = l_neu.add();
  n->kto = this;
  n->place = place;
  n->ownIndex = l_neu.size() - 1;
  if (place != nullptr) n->estIndex = l_est.find(place);
  return n;
}

void org::allocatePositionMap() { posMap.assign(genotype.size() + 1, 0); }

void org::setPosition(int position, uint16_t code) {
  if (posMap.empty()) return;
  if (position < 0 || static_cast<std::size_t>(position) >= posMap.size()) {
    logMessage("org", "setdebug", "debuginfo overflow", LOG_WARNING);
    return;
  }
  posMap[static_cast<std::size_t>(position)] = code;
}

void org::fillPositionMap() {
  for (std::size_t i = 1; i < posMap.size(); ++i)
    if (posMap[i] == 0) posMap[i] = posMap[i - 1];
}

void org::InitNeuro() {
  const int count = l_neu.size();
  for (int i = 0; i < count; ++i) {
    neuro* n = l_neu.get(i);
    n->stan = n->nstan = n->vel = n->sstan = 0;
    for (const auto& in : n->l_wej) {
      in->n = i;
      if (in->typ == WEJ_NEURON) {
        const long source = static_cast<long>(i) + in->conn;
        if (source < 0 || source >= count) {
          logMessage("Simulator", "InitNeuro", "illegal neuron input (corrected)", LOG_WARNING);
          in->conn = 0;
        }
        in->srcNeuron = l_neu.get(i + in->conn);
        in->srcStick = nullptr;
      } else {
        in->conn = 0;
        in->srcNeuron = nullptr;
        in->srcStick = n->place;
      }
    }
  }
}

void org::computeBoundingBox() {
  if (l_ses.empty()) {
    bboxMin = bboxMax = kZeroVec;
    return;
  }
  // In locals, so that no store to the box waits on the next end's load. The
  // comparisons are those of the plain ifs, NaN coordinates included.
  Vec3 lo = l_ses.get(0)->p, hi = lo;
  for (const auto& s : l_ses) widenBox(lo, hi, s->p);
  bboxMin = lo;
  bboxMax = hi;
}

Vec3 org::meanPosition() const {
  Vec3 sum;
  if (l_ses.empty()) return sum;
  for (const auto& s : l_ses) sum += s->p;
  return sum / static_cast<double>(l_ses.size());
}

void org::Clear() {
  // Hooks may register nothing new while they run; take them out first.
  std::vector<ReleaseHook> hooks = std::move(releaseHooks);
  releaseHooks.clear();
  for (const ReleaseHook& h : hooks)
    if (h.fn != nullptr) h.fn(h.arg);
  posMap.clear();
  l_neu.clear();
  l_est.clear();
  l_ses.clear();
}

}  // namespace vorlund
