#include "view/creature_watch.h"

#include <algorithm>

#include "world/life.h"
#include "world/org.h"

namespace vorlund {

void CreatureWatch::watch(org* o, Life* life) {
  stop();
  if (o == nullptr) return;
  org_ = o;
  o->releaseHooks.push_back({&CreatureWatch::released, this});
  if (life != nullptr) {
    life_ = life;
    life->creatures.beforeRemovalListeners.add(&CreatureWatch::removing, this);
  }
}

void CreatureWatch::stop() {
  if (org_ != nullptr) {
    auto& hooks = org_->releaseHooks;
    hooks.erase(std::remove_if(hooks.begin(), hooks.end(),
                               [this](const ReleaseHook& h) { return h.fn == &CreatureWatch::released && h.arg == this; }),
                hooks.end());
  }
  if (life_ != nullptr) life_->creatures.beforeRemovalListeners.remove(&CreatureWatch::removing, this);
  org_ = nullptr;
  life_ = nullptr;
}

void CreatureWatch::released(void* self) {
  auto* w = static_cast<CreatureWatch*>(self);
  // The body has emptied its hook list already; only the world listener is left.
  if (w->life_ != nullptr) w->life_->creatures.beforeRemovalListeners.remove(&CreatureWatch::removing, w);
  w->org_ = nullptr;
  w->life_ = nullptr;
  w->lost();
}

void CreatureWatch::removing(void* self, int index) {
  auto* w = static_cast<CreatureWatch*>(self);
  if (w->life_ == nullptr || w->life_->creatures.get(index) != w->org_) return;
  w->stop();
  w->lost();
}

void CreatureWatch::lost() {
  if (onLost_) onLost_();
}

}  // namespace vorlund
