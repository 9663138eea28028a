// The main window's start, files, help and exit: the command line, the file
// commands, the documentation, the about box and the close query.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QShowEvent>
#include <QTimer>

#include "core/data_folders.h"
#include "core/message.h"
#include "genepool/pool_files.h"
#include "ui/dialog_hooks.h"
#include "ui/document_opener.h"
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

// Why `path` cannot be loaded for `what`, or an empty text when it can. Asked
// before anything is cleared, so a wrong file costs nothing.
QString loadRefusal(const QString& path, int what) {
  const int kinds = QFileInfo(path).isFile() ? fileRecordKinds(pathFromQt(path)) : -1;
  if (kinds < 0)
    return "Cannot read the file " + path + ": " + (QFileInfo::exists(path) ? "not a readable file." : "no such file.");
  if ((kinds & what) != 0) return {};
  return what == FILE_GENOTYPES
             ? path + " holds no genotypes (no \"org:\" record): nothing was loaded."
             : path + " holds no simulator parameters (no \"sim_params:\" record): nothing was changed.";
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
  QStringList refused;
  for (const CommandLineFile& f : cl.files) {
    const QString path = pathToQt(f.path);
    const QString why = loadFile(path, f.settings ? FILE_SETTINGS : FILE_GENOTYPES);
    if (!why.isEmpty())
      refused << why;
    else if (!f.settings)
      captionSuffix_ = QFileInfo(path).fileName();
  }
  if (!refused.isEmpty())
    prompts().message(this, PromptKind::Warning, "Warning",
                      "Not every file of the command line was loaded:\n\n" + refused.join("\n"));
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

QString MainWindow::loadFile(const QString& path, int what) {
  QString why = loadRefusal(path, what);
  if (why.isEmpty() && !sim().load(pathFromQt(path), what)) why = "Cannot read the file " + path;
  if (!why.isEmpty()) logMessage("MainProgram", "Load", fromQt(why), LOG_ERROR);
  return why;
}

void MainWindow::loadGenotypes() {
  const QString path = prompts().openFileName(this, "Load genotypes from:", QString(), kGenotypesFilter);
  if (path.isEmpty()) return;
  // A file that cannot be loaded must not cost the pool: check before offering to clear it.
  if (const QString why = loadRefusal(path, FILE_GENOTYPES); !why.isEmpty()) {
    logMessage("MainProgram", "Load", fromQt(why), LOG_ERROR);
    prompts().message(this, PromptKind::Critical, "Error", why);
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
  if (const QString why = loadFile(path, FILE_SETTINGS); !why.isEmpty()) {
    prompts().message(this, PromptKind::Critical, "Error", why);
    return;
  }
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
  const auto fail = [this, path](const QString& why) {
    logMessage("MainProgram", "Help", "Error opening HTML file: " + fromQt(why), LOG_ERROR);
    // Where the manual is, so it can still be read with any browser.
    prompts().message(this, PromptKind::Critical, "Error opening HTML file",
                      path.isEmpty() ? why : why + "\n\nThe manual: " + path);
  };
  if (path.isEmpty()) {
    fail("File or path not found");
    return;
  }
  if (!options_.openDocument) {
    openWithDesktop(this, path, fail);
    return;
  }
  if (!options_.openDocument(path)) fail("HTML Association invalid");
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
