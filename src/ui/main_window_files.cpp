// The main window's start, files, help and exit: the command line, the file
// commands, the documentation, the about box and the close query.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QShowEvent>
#include <QTimer>
#include <QUrl>
#include <fstream>

#include "core/data_folders.h"
#include "core/message.h"
#include "ui/dialog_hooks.h"
#include "ui/body_view_window.h"
#include "ui/brain_view_window.h"
#include "ui/evolution_window.h"
#include "ui/lists_window.h"
#include "ui/message_window.h"
#include "ui/world_view_window.h"
#include "ui/main_window.h"
#include "ui/prompt_service.h"
#include "ui/qt_text.h"

namespace vorlund::ui {

namespace {

constexpr const char* kGenotypesFilter = "Genotypes (*.gen);;All files (*)";
constexpr const char* kSettingsFilter = "Simulator parameters (*.sim);;All files (*)";
constexpr int kDemoPercent = 80;

// A file name the user typed without an extension gets the default one.
QString withExtension(const QString& path, const char* ext) {
  return QFileInfo(path).suffix().isEmpty() ? path + "." + ext : path;
}

bool readable(const QString& path) {
  const QFileInfo info(path);
  if (!info.isFile()) return false;
  std::ifstream probe(pathFromQt(path));
  return static_cast<bool>(probe);
}

}  // namespace

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  applyCommandLine();
}

void MainWindow::applyCommandLine() {
  logMessage("MainProgram", "Start", "Application initialized", LOG_PLAIN);
  const CommandLine cl = parseCommandLine(options_.args);
  if (cl.help)
    prompts().message(this, PromptKind::Information, "Information", QString::fromLatin1(kCommandLineHelp));
  for (const CommandLineFile& f : cl.files) {
    const QString path = pathToQt(f.path);
    if (loadFile(path, f.settings ? FILE_SETTINGS : FILE_GENOTYPES) && !f.settings)
      captionSuffix_ = QFileInfo(path).fileName();
  }
  if (cl.demo) {
    ctx_->interface().int_demoon = kDemoPercent;
    QTimer::singleShot(0, this, &MainWindow::run);
  }
  if (cl.go) {
    layoutEvolution();
    QTimer::singleShot(0, this, &MainWindow::run);
  }
  if (cl.demo || cl.go) logMessage("MainProgram", "Start", "Automatic action - command line: " + cl.text, LOG_PLAIN);
  refreshStatus();
}

bool MainWindow::loadFile(const QString& path, int what) {
  if (!readable(path)) {
    logMessage("MainProgram", "Load", "Cannot read the file " + pathFromQt(path), LOG_ERROR);
    return false;
  }
  return sim().load(pathFromQt(path), what);
}

void MainWindow::loadGenotypes() {
  const QString path = prompts().openFileName(this, "Load genotypes from:", QString(), kGenotypesFilter);
  if (path.isEmpty()) return;
  // An unreadable file must not cost the pool: check before offering to clear it.
  if (!readable(path)) {
    prompts().message(this, PromptKind::Critical, "Error", "Cannot read the file " + path);
    return;
  }
  if (sim().pool.size() > 0 &&
      prompts().question(this, "Question", "Clear current genotypes list before loading from file?",
                         PromptButtons::YesNo) == PromptAnswer::Yes) {
    genotypes_->dropFocus();
    sim().clear(CLEAR_GENOTYPES);
    refreshStatus();
  }
  if (sim().load(pathFromQt(path), FILE_GENOTYPES)) {
    captionSuffix_ = QFileInfo(path).fileName();
    evolution_->restart();  // a new pool, a new chart
  }
  refreshStatus();
}

void MainWindow::saveGenotypes() {
  QString path = prompts().saveFileName(this, "Save genotypes as:", QString(), kGenotypesFilter);
  if (path.isEmpty()) return;
  path = withExtension(path, "gen");
  if (sim().save(pathFromQt(path), FILE_GENOTYPES) != 0) {
    prompts().message(this, PromptKind::Critical, "Error", "Cannot save the genotypes to " + path);
  } else {
    captionSuffix_ = QFileInfo(path).fileName();
  }
  refreshStatus();
}

void MainWindow::loadSimParams() {
  const QString path = prompts().openFileName(this, "Load simulator parameters from:", QString(), kSettingsFilter);
  if (path.isEmpty()) return;
  if (!readable(path)) {
    prompts().message(this, PromptKind::Critical, "Error", "Cannot read the file " + path);
    return;
  }
  sim().load(pathFromQt(path), FILE_SETTINGS);
  refreshStatus();
}

void MainWindow::saveSimParams() {
  QString path = prompts().saveFileName(this, "Save simulator parameters as:", QString(), kSettingsFilter);
  if (path.isEmpty()) return;
  path = withExtension(path, "sim");
  if (sim().save(pathFromQt(path), FILE_SETTINGS) != 0)
    prompts().message(this, PromptKind::Critical, "Error", "Cannot save the simulator parameters to " + path);
}

void MainWindow::clearPerformance() {
  if (prompts().question(this, "Question", "Clear performance information for all the genotypes?",
                         PromptButtons::YesNo) != PromptAnswer::Yes)
    return;
  sim().pool.clearPerformance();
  sim().pool.changed(-1);
  evolution_->restart();
  refreshStatus();
}

void MainWindow::clearGeneticStatistics() {
  sim().genman.clearStatistics();
  prompts().message(this, PromptKind::Information, "Information", "Genetic statistics cleared.");
}

void MainWindow::editParameters(const QString& title, param& acc) {
  if (!showParameterDialog(this, title, acc))
    prompts().message(this, PromptKind::Information, "Information", "The parameter dialog is not available.");
}

void MainWindow::openDocumentation() {
  const std::string found = findDataFile(kManualFile);
  const QString path = found.empty() ? QString() : QFileInfo(QString::fromStdString(found)).absoluteFilePath();
  if (found.empty()) logMessage("MainProgram", "Help", missingDataMessage(kManualFile, dataFolders()), LOG_WARNING);
  const auto fail = [this](const QString& why) {
    prompts().message(this, PromptKind::Critical, "Error opening HTML file", why);
  };
  if (path.isEmpty()) {
    fail("File or path not found");
    return;
  }
  const bool opened = options_.openDocument ? options_.openDocument(path)
                                            : QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  if (!opened) fail("HTML Association invalid");
}

void MainWindow::showAbout() {
  prompts().message(this, PromptKind::Information, "About Vorlund",
                    "Vorlund\n\nAn artificial-life simulator: creatures of sticks, muscles and small neural "
                    "networks evolve in a three-dimensional world.\n\nDocumentation: Help > Help & documentation.");
}

void MainWindow::closeWithoutAsking() {
  askOnClose_ = false;
  close();
  askOnClose_ = true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (askOnClose_ &&
      prompts().question(this, "Question", "Exit Vorlund ?", PromptButtons::YesNo) != PromptAnswer::Yes) {
    event->ignore();
    return;
  }
  running_ = false;
  setRunFlag(false);
  if (!inStep_) finishRun();
  tickTimer_->stop();
  genotypes_->dropFocus();
  individuals_->dropFocus();
  InterfaceSettings& s = ctx_->interface();
  s.int_genoshow = genotypes_->columnsText();
  s.int_simushow = individuals_->columnsText();
  if (s.int_soe != 0) ctx_->settingsChain().write(kSettingsFileName);
  for (QWidget* w : {static_cast<QWidget*>(messages_), static_cast<QWidget*>(genotypes_),
                     static_cast<QWidget*>(individuals_), static_cast<QWidget*>(world_),
                     static_cast<QWidget*>(body_), static_cast<QWidget*>(brain_)})
    w->hide();
  for (auto& v : spied_)
    if (!v.isNull()) v->close();
  event->accept();
  emit closed();
}

}  // namespace vorlund::ui
