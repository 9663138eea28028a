#include "view/grab.h"

#include <algorithm>
#include <cstdlib>

#include "view/camera.h"
#include "world/life.h"

namespace vorlund {

Grab::Grab(Life& life) : life_(&life) {}

Grab::~Grab() { stop(); }

void Grab::start(org& creature, int end) {
  stop();
  if (end < 0 || end >= creature.sesCount()) return;
  creature_ = &creature;
  end_ = end;
  pointer_ = creature.getSes(end)->p;
  counter_ = -kGrabSpan;
  creature.flags &= static_cast<uint16_t>(~ORG_STATS);
  // A hook slot emptied by an earlier grab is used again.
  auto free = std::find_if(life_->stepHooks.begin(), life_->stepHooks.end(),
                           [](const StepHook& h) { return h.fn == nullptr; });
  if (free != life_->stepHooks.end()) {
    *free = {&Grab::stepHook, this};
  } else {
    life_->stepHooks.push_back({&Grab::stepHook, this});
  }
  creature.releaseHooks.push_back({&Grab::bodyGone, this});
}

void Grab::movePointer(double dx, double dy) {
  if (!active()) return;
  pointer_.x += dx;
  pointer_.y += dy;
}

void Grab::releaseButton() {
  if (active()) counter_ = std::max(counter_, 1);
}

void Grab::stop() {
  if (active()) letGo(true);
}

void Grab::stepHook(void* self) { static_cast<Grab*>(self)->step(); }

void Grab::bodyGone(void* self) { static_cast<Grab*>(self)->letGo(false); }

void Grab::step() {
  if (!active() || counter_ >= kGrabSpan) return;
  if (end_ >= creature_->sesCount()) {  // the end broke off
    letGo(true);
    return;
  }
  if (counter_ != 0) ++counter_;
  WorldBox box;
  stickEndBox(*creature_, box);
  bool lift = true;
  if (box.min.z >= life_->world.waterLevel() + kGrabClearance) {
    Vec3 q;
    lift = life_->world.insideGround({pointer_.x, pointer_.y, box.min.z - kGrabClearance}, q);
  }
  if (lift) pointer_.z += kGrabLiftStep;
  ses* e = creature_->getSes(end_);
  e->p += (pointer_ - e->p) * (kGrabPull * (kGrabSpan - std::abs(counter_)));
  creature_->flags &= static_cast<uint16_t>(~ORG_STATS);
  if (counter_ >= kGrabSpan) letGo(true);
}

void Grab::letGo(bool bodyIntact) {
  org* c = creature_;
  creature_ = nullptr;
  counter_ = kGrabSpan;
  // Emptied rather than erased: the world may be running its hooks right now,
  // and erasing would make the hook after this one miss the step.
  for (StepHook& h : life_->stepHooks)
    if (h.fn == &Grab::stepHook && h.arg == this) h = {nullptr, nullptr};
  if (c == nullptr) return;
  if (bodyIntact) {
    auto& hooks = c->releaseHooks;
    hooks.erase(std::remove_if(hooks.begin(), hooks.end(),
                               [this](const ReleaseHook& h) { return h.fn == &Grab::bodyGone && h.arg == this; }),
                hooks.end());
    // The carrying does not count as movement.
    c->center = c->meanPosition();
    c->prevCenter = c->center;
  }
}

}  // namespace vorlund
