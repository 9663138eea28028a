// What the desktop program's windows share: the simulator, the interface
// settings and their chain, the selection, and the way back to the main
// window (its actions, the spy command, the run state). The main window owns
// the one context and hands it to every window it creates; windows keep a
// reference and must not outlive the main window.
#pragma once

#include <QObject>
#include <memory>
#include <vector>

#include "sim/symulator.h"
#include "ui/interface_settings.h"
#include "ui/settings_chain.h"

namespace vorlund::ui {

class MainWindow;

class UiContext : public QObject {
  Q_OBJECT

 public:
  UiContext();
  ~UiContext() override;
  UiContext(const UiContext&) = delete;
  UiContext& operator=(const UiContext&) = delete;

  symulator& sim() { return *sim_; }
  InterfaceSettings& interface() { return interface_; }
  // Tables join the chain here (SettingsChain::join) from their owners'
  // constructors; see settings_chain.h for the order and the timing.
  SettingsChain& settingsChain() { return chain_; }

  // Null until the main window registered itself (always set in the program).
  MainWindow* mainWindow() const { return mainWindow_; }
  void setMainWindow(MainWindow* w) { mainWindow_ = w; }

  // --- selection: plain observers, dropped when the object leaves ---
  // The creatures selected in the individuals list (the main camera follows
  // them when Follow is checked); the first one is the one the body and
  // brain views show. Empty for none.
  const std::vector<org*>& selectedCreatures() const { return creatures_; }
  org* selectedCreature() const { return creatures_.empty() ? nullptr : creatures_.front(); }
  void selectCreatures(std::vector<org*> creatures);
  void selectCreature(org* creature) { selectCreatures(creature ? std::vector<org*>{creature} : std::vector<org*>{}); }
  przodek* selectedGenotype() const { return genotype_; }
  void selectGenotype(przodek* genotype);

  // True while the simulator is inside a step. A paint that arrives then
  // (a box opened by a critical message serves events) must not read the
  // world: draw nothing new until the step is over.
  bool stepping() const { return stepping_; }
  void setStepping(bool stepping) { stepping_ = stepping; }

  // True between Run and the end of the run loop.
  bool running() const { return running_; }
  void setRunning(bool running);

  // A short note for the main window's status bar (what a key just did).
  void note(const QString& text) { emit noted(text); }

 signals:
  void noted(const QString& text);
  void creatureSelectionChanged();
  void genotypeSelected(vorlund::przodek* genotype);
  // Sent before a creature dies (it then leaves the living list) and before an
  // object of the world is destroyed: whoever holds it must let go now.
  void orgLeaving(vorlund::org* object);
  // Sent before a record leaves the pool. A sorted pool also moves a changed
  // record by taking it out and putting it back: the record then reappears
  // through the pool's added notification (the context keeps its own
  // selection across such a move).
  void genotypeLeaving(vorlund::przodek* record);
  // After each step the main window drew (one step, or a drawn step of the
  // run loop): views that follow the simulation refresh themselves.
  void stepped();
  void runningChanged(bool running);

 private:
  void dropCreature(org* o);
  static void onCreatureLeaving(void* self, int index);
  static void onFoodLeaving(void* self, int index);
  static void onRecordLeaving(void* self, int index);
  static void onRecordAdded(void* self, int index);
  static void onRecordChanged(void* self, int index);

  std::unique_ptr<symulator> sim_;
  InterfaceSettings interface_;
  InterfaceParams interfaceParams_{&interface_};
  SettingsChain chain_{&interfaceParams_};
  MainWindow* mainWindow_ = nullptr;
  std::vector<org*> creatures_;
  przodek* genotype_ = nullptr;
  // The selected record while a sorted pool moves it, and its number (a new
  // record at the same address has another).
  przodek* movedSelection_ = nullptr;
  int32_t movedNumber_ = 0;
  bool running_ = false;
  bool stepping_ = false;
};

}  // namespace vorlund::ui
