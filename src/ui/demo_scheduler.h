// The demonstration mode's timetable, free of the window toolkit: within each
// period of `int_demotimebase` seconds the world view is shown for about
// `int_demoon` per cent of the time, in showings of at most ten seconds, each
// on a creature picked at random; for the rest the view pauses ("Background
// simulation..."). Clock and random numbers are injected.
#pragma once

#include <functional>

namespace vorlund::ui {

// What a showing acts on: the individuals list, the camera and the views.
class DemoStage {
 public:
  virtual ~DemoStage() = default;
  virtual int rowCount() = 0;
  // Whether the creature of the row is already measuring its performance.
  virtual bool rowMeasuring(int row) = 0;
  virtual void newCameraMotion() = 0;
  virtual void keepCameraAboveGround() = 0;
  virtual void clearSelection() = 0;
  virtual void selectRow(int row) = 0;
  virtual int neuronCount() = 0;
  virtual void selectNeuron(int index) = 0;
  virtual void checkFollow() = 0;
  // Presses the World button when it is up (opening the world view).
  virtual void showWorld() = 0;
  // Whether nothing is selected any more (the shown creature died).
  virtual bool selectionEmpty() { return false; }
};

struct DemoSettings {
  int demoOn = 0;    // per cent of the time shown; 0: no demo
  int timeBase = 20;  // seconds per period
  int maxCreated = 1; // creatures simulated at a time
  bool advanced = true;  // camera motions
};

class DemoScheduler {
 public:
  // The longest showing, in seconds.
  static constexpr long kMaxShowingSeconds = 10;
  // A showing is at least this long before halving (shorter ones become 2 s).
  static constexpr long kMinShowingSeconds = 3;

  // `secondsClock` gives the time in whole seconds, `random` non-negative
  // numbers (the UI's generator, never the evolution's).
  DemoScheduler(std::function<long()> secondsClock, std::function<int()> random);

  // One timer tick while the run loop runs in demo mode. Returns true when
  // the world view should pause now (the pause text is to be drawn).
  bool tick(const DemoSettings& settings, DemoStage& stage);

  // True while the views are paused between showings.
  bool paused() const { return paused_; }

 private:
  std::function<long()> clock_;
  std::function<int()> random_;
  bool started_ = false;
  long periodStart_ = 0;
  long used_ = 0;  // seconds of showings in this period
  long end_ = 0;   // end of the current showing; 0: none
  bool selecting_ = false;  // the current showing follows a creature
  bool paused_ = false;
};

}  // namespace vorlund::ui
