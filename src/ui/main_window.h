// The main window: the desktop program's root. It owns the context (and so
// the simulator), creates every other window, drives the simulation in
// batches of steps on a zero-interval timer, paces the drawing, runs the
// demonstration mode, shows the status, and keeps the interface settings
// ("Default.par") between runs.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/command_line.h"
#include "ui/demo_scheduler.h"
#include "ui/run_pacing.h"
#include "ui/sound/sound_player.h"
#include "ui/ui_random.h"
#include "ui/ui_context.h"
#include "view/pov/pov_exporter.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QTimer;
class QToolButton;

namespace vorlund::ui {

class BodyViewWindow;
class BrainViewWindow;
class EvolutionWindow;
class ListsWindow;
class MessageWindow;
class WorldViewWindow;

// The main window's commands, in menu order.
enum class MainAction {
  LoadGenotypes, SaveGenotypes, LoadSimParams, SaveSimParams, Exit,
  Stop, OneStep, Run, Parameters, Statistics, ClearPerformance, AnalyzePhylogeny, ClearGeneticStatistics,
  EvolutionChart,
  Options, LayoutDefault, LayoutDefaultBodyBrain, LayoutEvolution,
  Help, About,
};
constexpr int kMainActionCount = static_cast<int>(MainAction::About) + 1;

// The toggle buttons of the main form.
enum class MainToggle { World, OpenGL, Body, Brain, Messages, Genotypes, Individuals, Evolution };
constexpr int kMainToggleCount = static_cast<int>(MainToggle::Evolution) + 1;

struct MainWindowOptions {
  // The command line after the program name (applied when first shown).
  std::vector<std::string> args;
  // The running program, for the file associations' open command.
  std::string programPath;
  // Register the file types with the desktop at start-up.
  bool associateFiles = true;
  // Clocks: milliseconds (wraps) and whole seconds. Real clocks when empty.
  std::function<uint32_t()> tickClock;
  std::function<long()> secondsClock;
  // Opens a local HTML file with the desktop's handler; false when it failed.
  // Empty: "xdg-open", whose failure is reported when it ends.
  std::function<bool(const QString& path)> openDocument;
  // Seed of the UI's own random numbers (demo, flicker); never the evolution's.
  uint64_t uiSeed = 1;
  // Whether the world view can draw with OpenGL; when empty, a context is
  // tried once (never on the offscreen platform, which has no screen).
  std::function<bool()> openGLAvailable;
  // The audio output of the world's sounds; Qt Multimedia's default device when empty.
  std::function<std::unique_ptr<AudioBackend>()> audioBackend;
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The period of the status/animation/demo timer.
  static constexpr int kTickMs = 51;
  // How long one batch of steps may take before events are served again.
  static constexpr int kBatchMs = 8;
  // The refresh-rate choices, in their order.
  static const std::array<const char*, 12> kRefreshChoices;
  // The choice of the default layout: a pace a person can follow.
  static constexpr const char* kWatchingChoice = "Watch: 1x speed";
  // In the watching paces a frame is drawn at most this often (ms).
  static constexpr int kWatchFrameMs = 15;

  explicit MainWindow(MainWindowOptions options = {});
  ~MainWindow() override;

  UiContext& context() { return *ctx_; }
  symulator& sim() { return ctx_->sim(); }

  QAction* action(MainAction a) const { return actions_[static_cast<int>(a)]; }
  QAbstractButton* toggle(MainToggle t) const;
  QComboBox* refreshChoice() const { return worldCombo_; }

  WorldViewWindow* worldView() const { return world_; }
  BodyViewWindow* bodyView() const { return body_; }
  BrainViewWindow* brainView() const { return brain_; }
  ListsWindow* genotypesList() const { return genotypes_; }
  ListsWindow* individualsList() const { return individuals_; }
  MessageWindow* messageWindow() const { return messages_; }
  EvolutionWindow* evolutionWindow() const { return evolution_; }
  UiRandom& uiRandom() { return random_; }
  // The scene exporter (Shift+E in the world view toggles it) and the sounds.
  PovExporter& povExporter() { return *pov_; }
  SoundSystem& sounds() { return *sounds_; }

  bool running() const { return running_; }
  // Status texts, list captions and enablement; `redraw` also draws the views once.
  void refreshStatus(bool redraw = false);
  // Draws the views once (skipped while the demo pauses them).
  void redrawViews();
  // Opens a spied world view on `creature` (the individuals list's "Spy individual").
  void spyOn(org* creature);
  int spiedViewCount() const;

  // --- commands (menus, tool bar, posted from the command line) ---
  void run();
  void stop();
  void oneStep();
  void layoutDefault();
  void layoutDefaultBodyBrain();
  void layoutEvolution();
  // File commands; the file name comes from the prompt service.
  void loadGenotypes();
  void saveGenotypes();
  void loadSimParams();
  void saveSimParams();
  // Ends the program as after "Exit" answered Yes, without the question.
  void closeWithoutAsking();

  // Steps a running loop would do, synchronously: for tests and scripts that
  // need an exact number of steps (a batch stops at the count).
  void runSteps(long steps);
  // The caption suffix: the genotype file last loaded or saved.
  const QString& captionSuffix() const { return captionSuffix_; }
  const FrameRateMeter& meter() const { return meter_; }
  bool demoPaused() const { return demo_.paused(); }
  // The status bar texts (panel 0 and 1) and the video-rate label.
  QString statusText(int panel) const;
  QString videoText() const;

 signals:
  // The close query was accepted and the settings written: the program ends.
  void closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  class Stage;
  friend class Stage;

  void buildControls();
  void buildMenus();
  void watchMessages();
  void connectToggle(MainToggle t, QWidget* window);
  void setToggle(MainToggle t, bool down);
  bool toggleDown(MainToggle t) const;
  void applyLayout(const struct WindowLayout& layout);
  void applyCommandLine();
  // The world view's mode for the default layouts and the demo: OpenGL when
  // it works and "int_opengl" asks for it.
  bool wantOpenGL() const;
  void seedEmptyWorld();
  void runBatch();
  // A batch at the watching pace: the steps due by the clock, then one frame.
  void runWatchedBatch();
  // One step of the loop; `worldShown` is the World toggle as the batch
  // began, `draw` false leaves the frames to the caller.
  void stepOnce(bool worldShown, bool draw = true);
  // Steps with no view to draw, up to `most` and back to back up to the next
  // one that the chart, the lists or the end of the run looks at; returns
  // how many it made.
  long stepQuietly(long most);
  void simulateOneStep();
  // Up to `count` steps back to back, fewer when the run stops inside one;
  // returns how many it made.
  long simulateSteps(long count);
  // After steps of the run: its end, and the lists' look at the clock when due.
  void afterSteps(long made);
  void lookAtLists();
  // Draws the views `frames` times after a step, unless the frame budget says
  // wait (`always`: the pace asked for this frame).
  void drawFrames(int frames, bool always = false);
  // Milliseconds on a steady clock started with the window.
  double frameClockMs() const;
  void finishRun();
  void tick();
  void cameraFollow();
  void readChoices();
  void drawSpiedViews();
  void animateLogo();
  bool modalOpen() const;
  // Loads one file for `what`; the reason (also logged as an error) when it did not.
  QString loadFile(const QString& path, int what);
  void openDocumentation();
  void showAbout();
  void clearPerformance();
  void clearGeneticStatistics();
  void editParameters(const QString& title, param& acc);
  void onOrgLeaving(org* o);

  MainWindowOptions options_;
  std::unique_ptr<UiContext> ctx_;
  UiRandom random_;
  std::function<uint32_t()> tickClock_;

  MessageWindow* messages_ = nullptr;
  ListsWindow* genotypes_ = nullptr;
  ListsWindow* individuals_ = nullptr;
  WorldViewWindow* world_ = nullptr;
  BodyViewWindow* body_ = nullptr;
  BrainViewWindow* brain_ = nullptr;
  EvolutionWindow* evolution_ = nullptr;
  std::vector<QPointer<WorldViewWindow>> spied_;

  std::array<QAction*, kMainActionCount> actions_{};
  std::array<QToolButton*, kMainToggleCount> toggles_{};
  QComboBox* worldCombo_ = nullptr;
  QLabel* videoSpeed_ = nullptr;
  QLabel* logo_ = nullptr;
  std::array<QLabel*, 2> statusPanels_{};
  QTimer* batchTimer_ = nullptr;
  QTimer* tickTimer_ = nullptr;

  int errorPresenter_ = -1;
  bool running_ = false;
  bool askOnClose_ = true;
  bool inStep_ = false;
  bool inTick_ = false;
  bool shownOnce_ = false;
  bool settingsRead_ = false;  // "Default.par" read: the OpenGL choice is known
  long stepsLeft_ = -1;  // runSteps: steps still to do; -1 unlimited
  int redrawRatio_ = 1;  // D
  double watchRate_ = 0;  // steps a second at a watching pace; 0: as fast as the ratio lets
  StepPacer pacer_;
  long updateRatio_ = 1;  // U
  int logoFrame_ = -1;
  QString captionSuffix_;
  FrameRateMeter meter_;
  FrameBudget frameBudget_;
  BatchChecks batchChecks_;
  QElapsedTimer frameClock_;
  double lastListRefreshMs_ = -kListRefreshMinMs;
  long nextListLook_ = 0;  // the step on which the lists next look at the clock
  DemoScheduler demo_;
  std::unique_ptr<DemoStage> stage_;
  // After ctx_: both hang on the simulator's hook lists and go first.
  std::unique_ptr<PovExporter> pov_;
  std::unique_ptr<SoundSystem> sounds_;
};

}  // namespace vorlund::ui
