// What the world needs to know about the creatures living in it: when the
// terrain changes under them they have to go. The owner of the creature lists
// implements this; the world only observes it.
#pragma once

namespace vorlund {

class WorldInhabitants {
 public:
  virtual ~WorldInhabitants() = default;
  // Whether at least one creature is alive (food does not count).
  virtual bool anyLiving() const = 0;
  // Removes and destroys every living creature without recording its
  // performance; food stays.
  virtual void removeAllLiving() = 0;
};

}  // namespace vorlund
