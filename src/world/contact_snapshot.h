// What the serial contact phase reads of every object: its contact box and
// the positions of its stick ends, packed in object order. Each object's own
// thread copies them at the end of the force phase, so the contact phase
// reads a few packed lines instead of pulling every end's line, which that
// thread writes again in the motion phase, over to its own core. Owned by
// the world (Life); what it holds is valid from the force phase to the end
// of the contact phase of the same step.
#pragma once

#include <span>
#include <vector>

#include "core/lists.h"
#include "world/org.h"
#include "world/world_map.h"

namespace vorlund {

class ContactSnapshot {
 public:
  ContactSnapshot();

  // Makes room for `objects` as they are now. Serial; allocates only when the
  // world holds more objects or ends than ever before.
  void layout(const listaduo<org>& objects);
  // Copies object `index` of the layout. Any thread, each object by one.
  void copy(int index, const org& o);
  // True when the layout still fits `objects` (no object or end came or went
  // since it was made).
  bool fits(const listaduo<org>& objects) const;

  std::span<const WorldBox> boxes() const { return boxes_; }
  // The positions of object `index`'s ends, in list order.
  const Vec3* positions(int index) const { return positions_.data() + first_[static_cast<std::size_t>(index)]; }

 private:
  std::vector<WorldBox> boxes_;
  // Where each object's ends start in positions_; one more entry for the end.
  std::vector<int> first_;
  std::vector<Vec3> positions_;
};

}  // namespace vorlund
