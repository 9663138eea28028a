#include "world/world_senses.h"

namespace vorlund {

namespace {
// Room for the smell sources of a crowded world, reserved up front.
constexpr std::size_t kReservedSources = 256;
}  // namespace

WorldSenses::WorldSenses(const world& ground, const listaduo<org>& objects) : ground_(ground), objects_(objects) {
  sources_.reserve(kReservedSources);
}

void WorldSenses::freezeObjects() {
  sources_.clear();
  const int count = objects_.size();
  for (int i = 0; i < count; ++i) {
    const org* o = objects_.get(i);
    // Objects without energy have no smell, whoever asks.
    if (o != nullptr && o->energy > 0) sources_.push_back({o->center, o->energy, o});
  }
  frozen_ = true;
}

double WorldSenses::smellSum(const Vec3& at, const org* owner) const {
  if (!frozen_) return NeuroSurroundings::smellSum(at, owner);
  double sum = 0;
  for (const Source& s : sources_)
    if (s.object != owner) sum += smellTerm(s.center, s.energy, at);
  return sum;
}

}  // namespace vorlund
