// The main window's run loop: batches of steps on a zero-interval timer, the
// drawing they pace, the timer tick (rate, throttle, logo, demo).
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "core/message.h"
#include "ui/body_view_window.h"
#include "ui/brain_view_window.h"
#include "ui/evolution_window.h"
#include "ui/lists_window.h"
#include "ui/logo_frames.h"
#include "ui/main_window.h"
#include "ui/prompt_service.h"
#include "ui/qt_text.h"
#include "ui/world_view_window.h"

namespace vorlund::ui {

namespace {
constexpr const char* kSeedGenotype = "X";
// While a modal box is open the batch timer only looks this often whether it closed.
constexpr int kModalPollMs = 20;
// Logo: a new frame every kLogoTicksPerFrame ticks, kLogoFrameCount frames.
constexpr int kLogoTicksPerFrame = 10;
}  // namespace

bool MainWindow::modalOpen() const { return QApplication::activeModalWidget() != nullptr; }

void MainWindow::seedEmptyWorld() {
  symulator& s = sim();
  if (s.pool.size() > 0 || s.creatures.size() > 0) return;
  // The record is only the creature's template; the pool gets its own when the creature dies.
  const przodek seed(&s.geneticsContext(), kSeedGenotype, "", "");
  if (s.createCreature(seed) == nullptr) return;
  refreshStatus();
  QString text =
      "There were no genotypes nor living organisms in the simulator.\n"
      "For evolution to occur, the world has been seeded with one simplest individual.";
  // Without death no genotype is ever scored, so the promise above would not hold.
  if (s.worldRules().AutoKill == 0)
    text += "\n\nBut \"Death\" is off (Simulation > Parameters..., Simulation rules): creatures never die, so "
            "nothing evolves until you turn it on.";
  prompts().message(this, PromptKind::Information, "Information", text);
}

void MainWindow::run() {
  if (running_) return;
  seedEmptyWorld();
  if (running_) return;  // Run was pressed again while the box was open
  running_ = true;
  ctx_->setRunning(true);
  setRunFlag(true);
  refreshStatus();
  redrawRatio_ = 1;
  updateRatio_ = 1;
  readChoices();
  pacer_.start(frameClockMs(), watchRate_);
  batchTimer_->setInterval(0);
  batchTimer_->start();
}

void MainWindow::stop() {
  if (!running_) return;
  running_ = false;
  // The loop ends between steps: the batch in progress sees the flag.
  if (!inStep_) finishRun();
}

void MainWindow::finishRun() {
  running_ = false;
  stepsLeft_ = -1;
  batchTimer_->stop();
  ctx_->setRunning(false);
  individuals_->refreshRows();
  refreshStatus();
}

void MainWindow::oneStep() {
  if (running_) {
    stop();
    return;
  }
  if (inStep_) return;
  simulateOneStep();
  individuals_->refreshRows();
  emit ctx_->stepped();
  refreshStatus(true);
}

void MainWindow::runSteps(long steps) {
  if (running_ || steps <= 0) return;
  stepsLeft_ = steps;
  run();
  while (running_) QApplication::processEvents(QEventLoop::AllEvents, kBatchMs);
}

void MainWindow::runBatch() {
  if (!running_) {
    finishRun();
    return;
  }
  if (inStep_) return;
  if (modalOpen()) {
    batchTimer_->setInterval(kModalPollMs);
    return;
  }
  // The setting may have changed in its dialog since the last batch.
  const int threads = stepThreadsFor(ctx_->interface().int_threads);
  if (sim().stepThreads() != threads) sim().setStepThreads(threads);
  // runSteps wants its steps now, whatever the pace.
  if (watchRate_ > 0 && stepsLeft_ < 0) {
    runWatchedBatch();
    return;
  }
  batchTimer_->setInterval(0);
  // The choices change only while events are served, between two batches;
  // reading them (texts of two lists) once a batch rather than every few
  // steps keeps the fast worlds' steps for the simulation.
  readChoices();
  // Read once a batch too: no event can reach the toggle inside one, and the
  // button's state behind a virtual call on every step cost a fast world some
  // tenths of a per cent.
  const bool worldShown = toggleDown(MainToggle::World);
  nextListLook_ = nextUthStep(sim().stepCount, updateRatio_);
  QElapsedTimer batch;
  batch.start();
  long steps = 0;
  bool more = true;
  do {
    if (worldShown) {
      stepOnce(true);
      ++steps;
    } else {
      steps += stepQuietly(batchChecks_.stepsToNextLook(steps));
    }
    if (batchChecks_.due(steps)) more = batch.elapsed() < kBatchMs && !modalOpen();
  } while (running_ && more);
  batchChecks_.batchDone(steps);
  if (!running_) finishRun();
}

void MainWindow::runWatchedBatch() {
  QElapsedTimer batch;
  batch.start();
  long steps = 0;
  const bool worldShown = toggleDown(MainToggle::World);
  nextListLook_ = nextUthStep(sim().stepCount, updateRatio_);
  for (long due = pacer_.due(frameClockMs()); due > 0 && running_ && watchRate_ > 0; --due) {
    stepOnce(worldShown, false);
    pacer_.stepped(1);
    ++steps;
    if (batch.elapsed() >= kBatchMs || modalOpen()) break;
  }
  if (steps > 0 && worldShown) drawFrames(1, true);
  if (!running_) {
    finishRun();
    return;
  }
  // Sleep in the event loop until the next step is due, at most one frame a kWatchFrameMs.
  const double wait = std::max(pacer_.msToNext(frameClockMs()), steps > 0 ? double{kWatchFrameMs} : 0.0);
  batchTimer_->setInterval(watchRate_ > 0 ? static_cast<int>(std::ceil(wait)) : 0);
}

void MainWindow::stepOnce(bool worldShown, bool draw) {
  simulateOneStep();
  afterSteps(1);
  const long step = sim().stepCount;
  // A closed world view has no camera to move; reading the clock for it on
  // every step cost a fast world some per cent of its steps.
  if (worldShown) {
    cameraFollow();
    world_->updateCamera();
  }
  if (draw && worldShown) {
    const int frames = framesForStep(redrawRatio_, step);
    if (frames > 0) drawFrames(frames);
  }
}

long MainWindow::stepQuietly(long most) {
  symulator& s = sim();
  // A step needs nothing of the window but a look at the run flag until the
  // chart samples, the lists look at the clock or the run ends: the window's
  // own work on every step cost a fast world some per cent of its steps.
  long count = std::min(most, std::max(1L, nextListLook_ - s.stepCount));
  count = std::min(count, static_cast<long>(std::max<int64_t>(1, evolution_->samples().nextStep() - s.stepCount)));
  if (stepsLeft_ > 0) count = std::min(count, stepsLeft_);
  const long made = simulateSteps(count);
  afterSteps(made);
  return made;
}

void MainWindow::lookAtLists() {
  const long step = sim().stepCount;
  if (step < nextListLook_) return;
  nextListLook_ = nextListLook(step, updateRatio_, sim().stepRateGuess());
  const double now = frameClockMs();
  if (listRefreshDue(step, updateRatio_, now, lastListRefreshMs_)) {
    lastListRefreshMs_ = now;
    refreshStatus();
    individuals_->refreshRows();
  }
}

void MainWindow::drawFrames(int frames, bool always) {
  const double start = frameClockMs();
  if (!always && !frameBudget_.allows(redrawRatio_, start)) return;
  for (int f = 0; f < frames; ++f) {
    redrawViews();
    drawSpiedViews();
  }
  frameBudget_.drawn(start, frameClockMs());
  emit ctx_->stepped();
}

double MainWindow::frameClockMs() const {
  return static_cast<double>(frameClock_.nsecsElapsed()) / 1e6;
}

void MainWindow::simulateOneStep() { simulateSteps(1); }

long MainWindow::simulateSteps(long count) {
  inStep_ = true;
  ctx_->setStepping(true);
  long made = 0;
  // A critical message (its box opened inside the step) clears the run flag;
  // Stop pressed while such a box is open ends the run.
  do {
    sim().jedenkrok();
    ++made;
  } while (made < count && running_ && runFlag());
  ctx_->setStepping(false);
  evolution_->afterStep();
  inStep_ = false;
  return made;
}

void MainWindow::afterSteps(long made) {
  if (!runFlag()) running_ = false;
  if (stepsLeft_ > 0 && (stepsLeft_ -= made) == 0) running_ = false;
  lookAtLists();
}

void MainWindow::readChoices() {
  const std::string pace = fromQt(worldCombo_->currentText());
  redrawRatio_ = parseRedrawChoice(pace);
  updateRatio_ = parseUpdateChoice(fromQt(individuals_->updateRateText()));
  const double rate = parseWatchChoice(pace) * kWatchStepsPerSecond;
  if (rate != watchRate_) {
    watchRate_ = rate;
    pacer_.start(frameClockMs(), rate);
    if (rate <= 0 && running_) batchTimer_->setInterval(0);
  }
}

void MainWindow::drawSpiedViews() {
  std::erase_if(spied_, [](const QPointer<WorldViewWindow>& v) { return v.isNull(); });
  for (auto& v : spied_) {
    v->updateCamera();
    v->redraw();
  }
}

void MainWindow::cameraFollow() {
  // Nothing selected, nothing to follow: a fresh start (Follow is checked by
  // the default layout) must not greet the user with a box about the camera.
  if (!individuals_->followChecked() || ctx_->selectedCreatures().empty()) return;
  // The demo picks creatures itself; it switches the camera on silently
  // rather than stopping the show with a box nobody asked for.
  const bool demo = ctx_->interface().int_demoon > 0;
  if (world_->followSelection(demo) && !demo)
    prompts().message(this, PromptKind::Information, "Information",
                      "Camera following method set to 'Once' because Follow is checked");
}

void MainWindow::redrawViews() {
  const InterfaceSettings& s = ctx_->interface();
  if (s.int_demoon > 0 && demo_.paused()) return;
  if (toggleDown(MainToggle::World)) {
    // Only pictures the view really painted count: a hidden or held view paints none.
    const long before = world_->framesDrawn();
    world_->redraw();
    meter_.framesDrawn(static_cast<int>(world_->framesDrawn() - before));
  }
  if (toggleDown(MainToggle::Brain) && (running_ || brain_->showsCreature())) brain_->redraw();
  const int pause = meter_.sleepMs(s.int_maxfps);
  if (pause > 0) QThread::msleep(static_cast<unsigned long>(pause));
}

void MainWindow::animateLogo() {
  if (!running_ && logoFrame_ != -1) return;
  logoFrame_ = (logoFrame_ + 1) % (kLogoTicksPerFrame * kLogoFrameCount);
  if (logoFrame_ % kLogoTicksPerFrame == 0) logo_->setPixmap(logoFrame(logoFrame_ / kLogoTicksPerFrame));
}

void MainWindow::tick() {
  // Never inside a step (a box opened by a critical message runs its own
  // event loop) and never nested in itself.
  if (inStep_ || inTick_) return;
  inTick_ = true;
  if (sounds_) sounds_->followSetting();
  animateLogo();
  if (!running_) {
    if (toggleDown(MainToggle::Body)) body_->advanceAnimation();
    cameraFollow();
    world_->updateCamera();
  }
  if (!running_ || meter_.framesSinceMeasurement() == 0) redrawViews();
  const InterfaceSettings& s = ctx_->interface();
  if (meter_.measure(tickClock_(), s.int_maxfps) && toggleDown(MainToggle::World)) refreshStatus();
  if (s.int_demoon > 0 && running_) {
    DemoSettings d;
    d.demoOn = s.int_demoon;
    d.timeBase = s.int_demotimebase;
    d.maxCreated = sim().evol.MaxCreated;
    d.advanced = s.int_demoadv != 0;
    if (demo_.tick(d, *stage_)) world_->showOverlayText("Background simulation...");
  }
  inTick_ = false;
}

}  // namespace vorlund::ui
