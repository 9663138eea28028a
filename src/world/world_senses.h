// What a creature's network senses in the simulator's world: the ground of the
// world map and every object of the two object lists (living creatures, then food).
#pragma once

#include <span>
#include <vector>

#include "core/lists.h"
#include "world/neuro_net.h"
#include "world/org.h"
#include "world/world_map.h"

namespace vorlund {

class WorldSenses : public NeuroSurroundings {
 public:
  WorldSenses(const world& ground, const listaduo<org>& objects);

  bool insideGround(const Vec3& p, Vec3& q) const override { return ground_.insideGround(p, q); }
  int objectCount() const override { return objects_.size(); }
  const org* object(int i) const override { return objects_.get(i); }
  double smellSum(const Vec3& at, const org* owner) const override;

  // Between these two calls nothing may move, add, remove or feed an object:
  // smell is then summed from a packed copy of the objects that smell (every
  // network of one step reads it; the copy is taken once, without allocating
  // in steady state). Outside, smell reads the objects themselves.
  void freezeObjects();
  // The same from packed centres and energies of the objects, in list order
  // (the step's own copies, which the objects still hold).
  void freezeObjects(std::span<const Vec3> centers, std::span<const double> energies);
  void thawObjects() { frozen_ = false; }

 private:
  // Packs the objects 0 .. count) that smell; `centerOf(i)` and `energyOf(i)`
  // give object i's centre and energy.
  template <class Center, class Energy>
  void packSources(std::size_t count, Center centerOf, Energy energyOf);

  const world& ground_;
  const listaduo<org>& objects_;
  // The objects that smell, one column per field, so that terms go several at a time.
  std::vector<double> x_, y_, z_, energy_;
  std::vector<const org*> source_;
  bool frozen_ = false;
};

}  // namespace vorlund
