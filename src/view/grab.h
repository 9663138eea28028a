// Carrying a creature to another place: the grab lifts it by one stick end,
// holds it under the pointer while the button is down, lets it settle for a
// while after the release and then lets go. One grab exists for the program;
// the 3D view draws its pointer. It runs from the world's after-step hook and
// lets go at once when the creature's body goes away.
#pragma once

#include "world/vec3.h"

namespace vorlund {

class Life;
class org;

// The counter runs from -kGrabSpan (lifting) through 0 (held while the button
// is down) up to kGrabSpan (let go); at kGrabSpan or more the grab is idle.
constexpr int kGrabSpan = 50;
// The pointer rises this much per step while the creature is low.
constexpr double kGrabLiftStep = 0.02;
// The grabbed end moves this share of the way to the pointer, times the
// steps left (50 - |counter|), per step.
constexpr double kGrabPull = 0.02;
// Clearance above the water (and the terrain test's depth) for the lift.
constexpr double kGrabClearance = 1.0;

class Grab {
 public:
  explicit Grab(Life& life);
  ~Grab();
  Grab(const Grab&) = delete;
  Grab& operator=(const Grab&) = delete;

  // Starts carrying `creature` by its stick end `end`; a grab already running ends first.
  void start(org& creature, int end);
  // Moves the pointer (world units) while the button is held.
  void movePointer(double dx, double dy);
  // The button went up: the creature settles and is let go.
  void releaseButton();
  // Lets go at once (focus lost, view closed).
  void stop();

  bool active() const { return creature_ != nullptr; }
  const org* creature() const { return creature_; }
  int counter() const { return counter_; }
  const Vec3& pointer() const { return pointer_; }

  // One step after the world's step; the after-step hook calls it.
  void step();

 private:
  static void stepHook(void* self);
  static void bodyGone(void* self);
  void letGo(bool bodyIntact);

  Life* life_;
  org* creature_ = nullptr;
  int end_ = 0;
  int counter_ = kGrabSpan;
  Vec3 pointer_;
};

}  // namespace vorlund
