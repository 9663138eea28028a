// Holds an observing pointer to one creature and lets go of it when the
// creature goes: when its body is cleared (destroyed, split) and, given the
// world, when it leaves the list of living creatures (dies). The callback runs
// inside the simulation step, so owners only drop pointers and ask for a
// repaint there.
#pragma once

#include <functional>

namespace vorlund {

class org;
class Life;

class CreatureWatch {
 public:
  explicit CreatureWatch(std::function<void()> onLost = {}) : onLost_(std::move(onLost)) {}
  ~CreatureWatch() { stop(); }
  CreatureWatch(const CreatureWatch&) = delete;
  CreatureWatch& operator=(const CreatureWatch&) = delete;

  void setOnLost(std::function<void()> onLost) { onLost_ = std::move(onLost); }
  // Starts watching `o` (null: nothing); `life`, when given, must hold it
  // among its living creatures for the death to be noticed.
  void watch(org* o, Life* life = nullptr);
  // Stops watching without calling back.
  void stop();
  org* get() const { return org_; }

 private:
  static void released(void* self);
  static void removing(void* self, int index);
  void lost();

  std::function<void()> onLost_;
  org* org_ = nullptr;
  Life* life_ = nullptr;
};

}  // namespace vorlund
