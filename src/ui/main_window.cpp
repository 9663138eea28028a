// The main window: construction, controls, menus, status and layouts.
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "core/message.h"
#include "ui/body_view_window.h"
#include "ui/dialog_hooks.h"
#include "ui/phylogeny_window.h"
#include "ui/sound/qt_audio_backend.h"
#include "view/pov_binding.h"
#include "ui/brain_view_window.h"
#include "ui/evolution_window.h"
#include "ui/file_associations.h"
#include "ui/gl_world_widget.h"
#include "ui/lists_window.h"
#include "ui/logo_frames.h"
#include "ui/message_window.h"
#include "ui/prompt_service.h"
#include "ui/qt_text.h"
#include "ui/status_texts.h"
#include "ui/termination_watcher.h"
#include "ui/window_layouts.h"
#include "ui/world_view_window.h"

namespace vorlund::ui {

const std::array<const char*, 12> MainWindow::kRefreshChoices = {
    "Watch: 1x speed", "Watch: 4x speed", "8x slow-down", "4x slow-down", "2x slow-down", "Every frame", "1:2", "1:3", "1:4", "1:10", "1:100", "1:1000"};

namespace {

constexpr const char* kDefaultSimFile = "Default.sim";
constexpr int kStatusPanelWidths[2] = {140, 220};
// The status panels are sized for texts this long: steps and steps per second.
constexpr long kLongestStepCount = 9'999'999'999;
constexpr long kLongestStepRate = 9'999'999;
// Room beside a panel's longest text [px], both sides together.
constexpr int kStatusPanelPadding = 16;
constexpr int kToggleMinWidth = 30;
// How long the status bar names the latest error or a key's note [ms].
constexpr int kStatusNoteMs = 6000;

struct ToggleRow {
  const char* caption;
  const char* hint;
};
constexpr ToggleRow kToggleRows[kMainToggleCount] = {
    {"World", "Show artificial world window?"},
    {"OpenGL", "Turn on/off 3D OpenGL view"},
    {"Body", "Show morphology window?"},
    {"Brain", "Show neural network window?"},
    {"Messages", "Show message window?"},
    {"Genotypes", "Show the genotypes list?"},
    {"Individuals", "Show the simulated creatures list?"},
    {"Evolution", "Show the evolution chart?"},
};

struct MenuRow {
  MainAction action;
  const char* menu;      // a new menu starts where this is not null
  const char* caption;
  const char* shortcut;  // "" for none
  const char* hint;      // status tip / tool-bar hint, "" for none
};
constexpr MenuRow kMenuRows[] = {
    {MainAction::LoadGenotypes, "&File", "&Load genotypes from...", "F3", "Load genotypes from file..."},
    {MainAction::SaveGenotypes, nullptr, "&Save genotypes as...", "F2", "Save genotypes to file..."},
    {MainAction::LoadSimParams, nullptr, "L&oad simulator parameters from...", "Ctrl+F3", ""},
    {MainAction::SaveSimParams, nullptr, "S&ave simulator parameters as...", "Ctrl+F2", ""},
    {MainAction::Exit, nullptr, "Exit", "", ""},
    {MainAction::Stop, "&Simulation", "&Stop", "Ctrl+S", "Stop the simulation"},
    {MainAction::OneStep, nullptr, "One st&ep", "Ctrl+E", "Step"},
    {MainAction::Run, nullptr, "&Run", "Ctrl+R", "Run"},
    {MainAction::Parameters, nullptr, "&Parameters...", "Ctrl+P", "Parameters..."},
    {MainAction::Statistics, nullptr, "&Statistics...", "", "Statistics..."},
    {MainAction::ClearPerformance, nullptr, "&Clear genotypes performance info", "", ""},
    {MainAction::AnalyzePhylogeny, nullptr, "&Analyze phylogeny...", "", ""},
    {MainAction::ClearGeneticStatistics, nullptr, "Clear genetic statistics", "", ""},
    {MainAction::EvolutionChart, nullptr, "E&volution chart", "Ctrl+K", "Show the evolution chart"},
    {MainAction::Options, "&Interface", "&Options...", "Ctrl+I", "Interface options..."},
    {MainAction::LayoutDefault, nullptr, "Layout: default", "F4", ""},
    {MainAction::LayoutDefaultBodyBrain, nullptr, "Layout: default - body && brain", "F5", ""},
    {MainAction::LayoutEvolution, nullptr, "Layout: evolution (optimized)", "F9", ""},
    {MainAction::Help, "&Help", "&Help && documentation (in HTML)", "F1", "Off-line docs"},
    {MainAction::About, nullptr, "&About", "", ""},
};
static_assert(std::size(kMenuRows) == kMainActionCount, "one menu row per action");
constexpr bool menuRowsInOrder() {
  for (int i = 0; i < kMainActionCount; ++i)
    if (static_cast<int>(kMenuRows[i].action) != i) return false;
  return true;
}
static_assert(menuRowsInOrder(), "menu rows follow the MainAction order");

// The tool bar, in its order; null separates groups.
constexpr MainAction kToolBarRows[] = {MainAction::LoadGenotypes, MainAction::SaveGenotypes, MainAction::Stop,
                                       MainAction::OneStep,       MainAction::Run,           MainAction::Parameters,
                                       MainAction::Statistics,    MainAction::Options};

QStyle::StandardPixmap toolIcon(MainAction a) {
  switch (a) {
    case MainAction::LoadGenotypes: return QStyle::SP_DialogOpenButton;
    case MainAction::SaveGenotypes: return QStyle::SP_DialogSaveButton;
    case MainAction::Stop: return QStyle::SP_MediaStop;
    case MainAction::OneStep: return QStyle::SP_MediaSkipForward;
    case MainAction::Run: return QStyle::SP_MediaPlay;
    case MainAction::Parameters: return QStyle::SP_FileDialogDetailedView;
    case MainAction::Statistics: return QStyle::SP_FileDialogInfoView;
    default: return QStyle::SP_DesktopIcon;
  }
}

bool openGLWorks() {
  static const bool works = [] {
    if (QGuiApplication::platformName() == "offscreen") return false;
    QOffscreenSurface surface;
    surface.setFormat(GlWorldWidget::surfaceFormat());
    surface.create();
    QOpenGLContext context;
    context.setFormat(GlWorldWidget::surfaceFormat());
    if (!context.create() || !context.makeCurrent(&surface)) return false;
    context.doneCurrent();
    return true;
  }();
  return works;
}

std::function<uint32_t()> realTickClock() {
  auto timer = std::make_shared<QElapsedTimer>();
  timer->start();
  return [timer] { return static_cast<uint32_t>(timer->elapsed()); };
}

}  // namespace

// What the demo scheduler acts on: this window's lists, views and camera.
class MainWindow::Stage : public DemoStage {
 public:
  explicit Stage(MainWindow& w) : w_(w) {}
  int rowCount() override { return w_.individuals_->rowCount(); }
  bool rowMeasuring(int row) override {
    const org* o = w_.individuals_->rowCreature(row);
    return o != nullptr && (o->flags & ORG_STATS) != 0;
  }
  void newCameraMotion() override { w_.world_->newDemoMotion(w_.random_); }
  void keepCameraAboveGround() override { w_.world_->keepCameraAboveGround(); }
  void clearSelection() override { w_.individuals_->clearSelection(); }
  void selectRow(int row) override { w_.individuals_->selectRow(row); }
  int neuronCount() override { return w_.brain_->neuronCount(); }
  void selectNeuron(int index) override { w_.brain_->selectNeuron(index); }
  void checkFollow() override { w_.individuals_->setFollowChecked(true); }
  void showWorld() override { w_.setToggle(MainToggle::World, true); }
  bool selectionEmpty() override { return w_.ctx_->selectedCreatures().empty(); }

 private:
  MainWindow& w_;
};

MainWindow::MainWindow(MainWindowOptions options)
    : options_(std::move(options)),
      ctx_(std::make_unique<UiContext>()),
      random_(options_.uiSeed),
      tickClock_(options_.tickClock ? options_.tickClock : realTickClock()),
      meter_(tickClock_()),
      demo_(options_.secondsClock ? options_.secondsClock : [] { return static_cast<long>(QDateTime::currentSecsSinceEpoch()); },
            [this] { return static_cast<int>(random_.next()); }),
      stage_(std::make_unique<Stage>(*this)) {
  ctx_->setMainWindow(this);
  frameClock_.start();
  setWindowTitle("Vorlund");

  messages_ = new MessageWindow(*ctx_, this);
  messages_->attachToMessageSink();
  genotypes_ = new ListsWindow(*ctx_, ListKind::Genotypes, this);
  individuals_ = new ListsWindow(*ctx_, ListKind::Individuals, this);
  world_ = new WorldViewWindow(*ctx_, this);
  body_ = new BodyViewWindow(*ctx_, this);
  brain_ = new BrainViewWindow(*ctx_, this);
  evolution_ = new EvolutionWindow(*ctx_, this);
  installPhylogenyDialog(&runPhylogenyAnalysis);
  pov_ = std::make_unique<PovExporter>(sim());
  bindPovExporter(*pov_, world_->camera(), world_->grab());
  // The chart's table rides behind the exporter's, at the end of the chain.
  pov_->parameters().setNext(&evolution_->parameters());
  ctx_->settingsChain().join(ChainSlot::PovRay, &pov_->parameters());

  buildControls();
  buildMenus();
  layoutDefault();
  watchMessages();

  connect(ctx_.get(), &UiContext::orgLeaving, this, &MainWindow::onOrgLeaving);
  setCriticalHandler([this](const std::string& text) {
    prompts().message(this, PromptKind::Critical, "CRITICAL ERROR", toQt(text));
  });
  setAlertHandler([](int) { QApplication::beep(); });

  // A first start has no "Default.sim": the built-in settings stay, silently.
  if (std::filesystem::is_regular_file(kDefaultSimFile)) sim().load(kDefaultSimFile, FILE_SETTINGS);
  ctx_->settingsChain().read(kSettingsFileName);
  settingsRead_ = true;

  InterfaceSettings& s = ctx_->interface();
  setToggle(MainToggle::OpenGL, wantOpenGL());
  if (options_.associateFiles) {
    FileAssociations assoc(XdgFolders::fromEnvironment());
    assoc.apply(s.int_assocext, pathToQt(options_.programPath));
  }
  genotypes_->setColumnsText(s.int_genoshow);
  individuals_->setColumnsText(s.int_simushow);
  sounds_ = makeDesktopSoundSystem(s.int_snd, options_.audioBackend);
  sounds_->attach(sim());

  batchTimer_ = new QTimer(this);
  batchTimer_->setInterval(0);
  connect(batchTimer_, &QTimer::timeout, this, &MainWindow::runBatch);
  tickTimer_ = new QTimer(this);
  tickTimer_->setInterval(kTickMs);
  connect(tickTimer_, &QTimer::timeout, this, &MainWindow::tick);
  tickTimer_->start();
  // A logout or `kill` ends the program as "Exit" would, without asking anyone.
  connect(new TerminationWatcher(this), &TerminationWatcher::terminationRequested, this,
          &MainWindow::closeWithoutAsking);
  refreshStatus();
}

MainWindow::~MainWindow() {
  removeMessagePresenter(errorPresenter_);
  errorPresenter_ = -1;
  running_ = false;
  setRunFlag(false);
  batchTimer_->stop();
  tickTimer_->stop();
  for (auto& v : spied_) delete v.data();
  spied_.clear();
  // The exporter looks through the main view's camera: it goes before the view.
  sounds_.reset();
  ctx_->settingsChain().leave(ChainSlot::PovRay);
  pov_.reset();
  // The windows hold the context: they go before it does (children would
  // otherwise be deleted by QWidget after the members).
  delete world_;
  delete body_;
  delete brain_;
  delete evolution_;
  delete messages_;
  delete genotypes_;
  delete individuals_;
  world_ = nullptr;
  body_ = nullptr;
  brain_ = nullptr;
  evolution_ = nullptr;
  messages_ = nullptr;
  genotypes_ = nullptr;
  individuals_ = nullptr;
  setCriticalHandler({});
  setAlertHandler({});
  logMessage("MainProgram", "Finish", "Application ends", LOG_PLAIN);
}

void MainWindow::buildControls() {
  auto* central = new QWidget(this);
  // A pressed toggle must read as "window shown" at a glance.
  central->setStyleSheet(
      "QToolButton { padding: 3px; } "
      "QToolButton:checked { background: #b4d0ea; border: 1px solid #5884ab; border-radius: 3px; }");
  auto* grid = new QGridLayout(central);
  for (int i = 0; i < kMainToggleCount; ++i) {
    auto* b = new QToolButton(central);
    b->setText(kToggleRows[i].caption);
    b->setToolTip(kToggleRows[i].hint);
    b->setCheckable(true);
    // Small screens give the main window a third of their width: let captions be clipped.
    b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    b->setMinimumWidth(kToggleMinWidth);
    toggles_[i] = b;
  }
  // World and OpenGL side by side, then the other views, then the lists.
  grid->addWidget(toggles_[0], 0, 0);
  grid->addWidget(toggles_[1], 0, 1);
  grid->addWidget(toggles_[2], 1, 0);
  grid->addWidget(toggles_[3], 1, 1);
  grid->addWidget(toggles_[4], 2, 0);
  grid->addWidget(toggles_[7], 2, 1);
  grid->addWidget(toggles_[5], 3, 0);
  grid->addWidget(toggles_[6], 3, 1);

  worldCombo_ = new QComboBox(central);
  for (const char* c : kRefreshChoices) worldCombo_->addItem(c);
  worldCombo_->setToolTip("Video refresh rate");
  // A new pace holds from the next step, not ten steps later (a second at the watching pace).
  connect(worldCombo_, &QComboBox::currentTextChanged, this, [this] { readChoices(); });
  grid->addWidget(worldCombo_, 4, 0, 1, 2);
  videoSpeed_ = new QLabel(central);
  grid->addWidget(videoSpeed_, 5, 0, 1, 2);

  logo_ = new QLabel(central);
  logo_->setFixedSize(kLogoSize, kLogoSize);
  logo_->setToolTip("Evolve with Vorlund!");
  logo_->setPixmap(logoFrame(0));
  grid->addWidget(logo_, 0, 2, 6, 1, Qt::AlignCenter);
  grid->setRowStretch(6, 1);
  setCentralWidget(central);

  // The panels have a fixed size, wide enough for their longest text: a new
  // text in a panel of fixed size repaints the panel only, while one that may
  // change its size lays out the whole status bar again, about a millisecond
  // on each refresh of a fast run.
  const std::array<QStringList, 2> texts = {
      QStringList{toQt(runStatusText(true)), toQt(runStatusText(false))},
      QStringList{toQt(stepsText(kLongestStepCount, kLongestStepRate))}};
  for (int i = 0; i < 2; ++i) {
    auto* panel = new QLabel(this);
    panel->setAlignment(Qt::AlignCenter);
    QSize fit(kStatusPanelWidths[i] - kStatusPanelPadding, 0);
    for (const QString& t : texts[static_cast<std::size_t>(i)]) {
      panel->setText(t);
      fit = fit.expandedTo(panel->sizeHint());
    }
    panel->setFixedSize(fit.width() + kStatusPanelPadding, fit.height());
    panel->clear();
    statusPanels_[static_cast<std::size_t>(i)] = panel;
    statusBar()->addWidget(panel);
  }

  connectToggle(MainToggle::World, world_);
  connectToggle(MainToggle::Body, body_);
  connectToggle(MainToggle::Brain, brain_);
  connectToggle(MainToggle::Messages, messages_);
  connectToggle(MainToggle::Genotypes, genotypes_);
  connectToggle(MainToggle::Individuals, individuals_);
  connectToggle(MainToggle::Evolution, evolution_);
  connect(toggles_[static_cast<int>(MainToggle::OpenGL)], &QToolButton::toggled, this,
          [this](bool on) { world_->setOpenGLMode(on); });
  connect(world_, &WorldViewWindow::openGLModeChanged, this, [this](bool on) { setToggle(MainToggle::OpenGL, on); });
}

void MainWindow::watchMessages() {
  // The Messages button tells what arrived while the window was closed.
  QToolButton* button = toggles_[static_cast<int>(MainToggle::Messages)];
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  connect(messages_, &MessageWindow::unseenChanged, this, [this, button](int count) {
    button->setText(count > 0 ? QString("Messages (%1)").arg(count) : QString("Messages"));
    button->setIcon(count > 0 ? MessageWindow::levelIcon(messages_->worstUnseen()) : QIcon());
    button->setToolTip(count > 0 ? QString("Show message window? (%1 new warnings or errors)").arg(count)
                                 : QString(kToggleRows[static_cast<int>(MainToggle::Messages)].hint));
  });
  // The latest error is named where the person is looking.
  // The same error again is no news: it must not keep the status panels covered.
  errorPresenter_ = addMessagePresenter([this, lastShown = QString()](const LogEntry& e) mutable {
    if (e.level < LOG_ERROR) return;
    const QString text = toQt(e.module + ": " + e.message);
    if (text == lastShown) return;
    lastShown = text;
    statusBar()->showMessage(text, kStatusNoteMs);
  });
  connect(ctx_.get(), &UiContext::noted, this,
          [this](const QString& text) { statusBar()->showMessage(text, kStatusNoteMs); });
}

void MainWindow::connectToggle(MainToggle t, QWidget* window) {
  QToolButton* b = toggles_[static_cast<int>(t)];
  connect(b, &QToolButton::toggled, window, [window](bool on) { window->setVisible(on); });
  connect(b, &QToolButton::clicked, this, [this] {
    if (isVisible()) activateWindow();
  });
  connect(static_cast<ToolWindow*>(window), &ToolWindow::shownChanged, b, [b](bool shown) {
    const QSignalBlocker block(b);
    b->setChecked(shown);
  });
}

QAbstractButton* MainWindow::toggle(MainToggle t) const { return toggles_[static_cast<int>(t)]; }

void MainWindow::setToggle(MainToggle t, bool down) { toggles_[static_cast<int>(t)]->setChecked(down); }

bool MainWindow::toggleDown(MainToggle t) const { return toggles_[static_cast<int>(t)]->isChecked(); }

void MainWindow::buildMenus() {
  QMenu* menu = nullptr;
  for (const MenuRow& row : kMenuRows) {
    if (row.menu != nullptr) menu = menuBar()->addMenu(row.menu);
    auto* a = new QAction(row.caption, this);
    if (row.shortcut[0] != '\0') {
      a->setShortcut(QKeySequence(row.shortcut));
      // Ctrl+R, F2 ... work from the lists and views too, not only here (a
      // modal dialog still keeps them out).
      a->setShortcutContext(Qt::ApplicationShortcut);
    }
    if (row.hint[0] != '\0') {
      a->setToolTip(row.hint);
      a->setStatusTip(row.hint);
    }
    menu->addAction(a);
    actions_[static_cast<int>(row.action)] = a;
  }
  QToolBar* bar = addToolBar("Tools");
  bar->setMovable(false);
  bar->setIconSize(QSize(20, 20));
  for (MainAction a : kToolBarRows) {
    QAction* act = action(a);
    act->setIcon(style()->standardIcon(toolIcon(a)));
    bar->addAction(act);
    if (a == MainAction::SaveGenotypes || a == MainAction::Run) bar->addSeparator();
  }

  const auto on = [this](MainAction a, auto fn) { connect(action(a), &QAction::triggered, this, fn); };
  on(MainAction::LoadGenotypes, [this] { loadGenotypes(); });
  on(MainAction::SaveGenotypes, [this] { saveGenotypes(); });
  on(MainAction::LoadSimParams, [this] { loadSimParams(); });
  on(MainAction::SaveSimParams, [this] { saveSimParams(); });
  on(MainAction::Exit, [this] { close(); });
  on(MainAction::Stop, [this] { stop(); });
  on(MainAction::OneStep, [this] { oneStep(); });
  on(MainAction::Run, [this] { run(); });
  on(MainAction::Parameters, [this] {
    editParameters("Simulation Parameters", sim().parameters());
    refreshStatus(true);
  });
  on(MainAction::Statistics, [this] { editParameters("Statistics", sim().stats); });
  on(MainAction::ClearPerformance, [this] { clearPerformance(); });
  on(MainAction::AnalyzePhylogeny, [this] {
    if (!showPhylogenyDialog(this, *ctx_))
      prompts().message(this, PromptKind::Information, "Information", "The phylogeny analysis is not available.");
  });
  on(MainAction::ClearGeneticStatistics, [this] { clearGeneticStatistics(); });
  on(MainAction::EvolutionChart, [this] {
    setToggle(MainToggle::Evolution, true);
    evolution_->raise();
  });
  on(MainAction::Options, [this] {
    editParameters("Options", ctx_->settingsChain().head());
    refreshStatus(true);
  });
  on(MainAction::LayoutDefault, [this] { layoutDefault(); });
  on(MainAction::LayoutDefaultBodyBrain, [this] { layoutDefaultBodyBrain(); });
  on(MainAction::LayoutEvolution, [this] { layoutEvolution(); });
  on(MainAction::Help, [this] { openDocumentation(); });
  on(MainAction::About, [this] { showAbout(); });
}

void MainWindow::refreshStatus(bool redraw) {
  const InterfaceSettings& s = ctx_->interface();
  setWindowTitle(toQt(windowCaption(fromQt(captionSuffix_), s.int_demoon > 0)));
  statusPanels_[0]->setText(toQt(runStatusText(running_)));
  statusPanels_[1]->setText(toQt(stepsText(sim().stepCount, sim().stepsPerSecond)));
  videoSpeed_->setText(QString::fromStdString(
      ui::videoText(meter_.rate(), meter_.throttle(), spiedViewCount(), random_.below(2) == 0)));
  genotypes_->setWindowTitle(toQt(genotypesCaption(sim().pool.size())));
  individuals_->setWindowTitle(toQt(individualsCaption(sim().creatures.size())));
  if (redraw) redrawViews();
  action(MainAction::SaveGenotypes)->setEnabled(genotypes_->rowCount() > 0);
  action(MainAction::Stop)->setEnabled(running_);
  action(MainAction::Run)->setEnabled(!running_);
}

QString MainWindow::statusText(int panel) const { return statusPanels_[static_cast<std::size_t>(panel)]->text(); }

QString MainWindow::videoText() const { return videoSpeed_->text(); }

void MainWindow::applyLayout(const WindowLayout& l) {
  const auto place = [](QWidget* w, const LayoutRect& r) {
    const QSize frame = w->frameGeometry().size() - w->geometry().size();
    w->setWindowState(Qt::WindowNoState);
    w->move(r.x, r.y);
    w->resize(std::max(1, r.w - frame.width()), std::max(1, r.h - frame.height()));
  };
  place(this, l.main);
  place(genotypes_, l.genotypes);
  place(individuals_, l.individuals);
  place(world_, l.world);
  place(body_, l.body);
  place(brain_, l.brain);
  place(messages_, l.messages);
  place(evolution_, l.evolution);
}

namespace {
QSize screenSize(const QWidget* w) {
  const QScreen* screen = w->screen() != nullptr ? w->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry().size() : QSize(1024, 768);
}
}  // namespace

void MainWindow::layoutDefault() {
  const QSize s = screenSize(this);
  applyLayout(defaultLayout(s.width(), s.height()));
  worldCombo_->setCurrentText(kWatchingChoice);
  individuals_->setUpdateRateText("1:100");
  for (MainToggle t : {MainToggle::Genotypes, MainToggle::Individuals, MainToggle::World, MainToggle::Body,
                       MainToggle::Brain})
    setToggle(t, true);
  individuals_->setFollowChecked(true);
  // The 3D view is what a newcomer should see; the software view stays for
  // machines without OpenGL and for those who chose it.
  setToggle(MainToggle::OpenGL, wantOpenGL());
  setToggle(MainToggle::Messages, false);
  setToggle(MainToggle::Evolution, false);
  ctx_->interface().int_demoon = 0;
  refreshStatus();
}

void MainWindow::layoutDefaultBodyBrain() {
  layoutDefault();
  const QSize s = screenSize(this);
  const QSize frame = body_->frameGeometry().size() - body_->geometry().size();
  applyLayout(bodyBrainLayout(s.width(), s.height(), frame.width(), frame.height()));
}

void MainWindow::layoutEvolution() {
  worldCombo_->setCurrentText("1:1000");
  individuals_->setUpdateRateText("1:10000");
  for (MainToggle t : {MainToggle::Genotypes, MainToggle::Individuals, MainToggle::World, MainToggle::Body,
                       MainToggle::Brain, MainToggle::Messages})
    setToggle(t, false);
  setToggle(MainToggle::Evolution, false);
  individuals_->setFollowChecked(false);
  setToggle(MainToggle::OpenGL, false);
  ctx_->interface().int_demoon = 0;
  refreshStatus();
}

bool MainWindow::wantOpenGL() const {
  // Before the settings are read the choice is unknown: a software view chosen
  // there must not load the OpenGL libraries at all.
  if (!settingsRead_ || ctx_->interface().int_opengl == 0) return false;
  return options_.openGLAvailable ? options_.openGLAvailable() : openGLWorks();
}

int MainWindow::spiedViewCount() const {
  int n = 0;
  for (const auto& v : spied_) n += v.isNull() ? 0 : 1;
  return n;
}

void MainWindow::spyOn(org* creature) {
  if (creature == nullptr) return;
  auto* view = new WorldViewWindow(*ctx_, this, creature);
  view->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  view->setAttribute(Qt::WA_DeleteOnClose);
  const QPoint origin = world_->frameGeometry().topLeft();
  const int shift = 20 * (spiedViewCount() + 1);
  view->resize(world_->size());
  view->move(origin + QPoint(shift, shift));
  view->show();
  spied_.emplace_back(view);
  refreshStatus();
}

void MainWindow::onOrgLeaving(org*) {
  // Spied views mark their lost target themselves; nothing else holds creatures here.
}

}  // namespace vorlund::ui
