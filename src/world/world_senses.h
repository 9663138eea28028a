// What a creature's network senses in the simulator's world: the ground of the
// world map and every object of the two object lists (living creatures, then food).
#pragma once

#include "core/lists.h"
#include "world/neuro_net.h"
#include "world/org.h"
#include "world/world_map.h"

namespace vorlund {

class WorldSenses : public NeuroSurroundings {
 public:
  WorldSenses(const world& ground, const listaduo<org>& objects) : ground_(ground), objects_(objects) {}

  bool insideGround(const Vec3& p, Vec3& q) const override { return ground_.insideGround(p, q); }
  int objectCount() const override { return objects_.size(); }
  const org* object(int i) const override { return objects_.get(i); }

 private:
  const world& ground_;
  const listaduo<org>& objects_;
};

}  // namespace vorlund
