// vorlund: the desktop program.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "core/data_folders.h"
#include "core/message.h"
#include "core/random.h"
#include "ui/command_line.h"
#include "ui/main_window.h"
#include "ui/numeric_locale.h"
#include "ui/sound/sound_player.h"
#include "view/gl_settings.h"

int main(int argc, char** argv) {
  // Chosen before Qt reads the arguments: the evolution's generator and the log.
  std::vector<std::string> args(argv + 1, argv + argc);
  const vorlund::ui::CommandLine cl = vorlund::ui::parseCommandLine(args);
  if (cl.usage) {
    std::printf("%s\n", vorlund::ui::kCommandLineHelp);
    return 0;
  }
  if (cl.seed)
    vorlund::seedRandom(*cl.seed);
  else
    vorlund::seedRandomFromClock();
  vorlund::removeLogFile();

  QApplication app(argc, argv);
  vorlund::ui::restoreFileNumberLocale();
  app.setApplicationName("Vorlund");
  app.setQuitOnLastWindowClosed(false);

  // Says at once which shipped file is missing and where it was looked for.
  const vorlund::GlSettings defaults;
  std::vector<std::string> shipped(defaults.sgl_tex.begin(), defaults.sgl_tex.end());
  for (const char* sound : vorlund::kSoundFiles) shipped.push_back(std::string(vorlund::kSoundFolder) + sound);
  shipped.push_back(vorlund::kManualFile);
  vorlund::checkDataFiles(shipped, vorlund::dataFolders());

  vorlund::ui::MainWindowOptions options;
  // Run from its build folder the program registers its file types itself;
  // an installed one has the packaged desktop entry and type package.
  options.associateFiles = vorlund::runsFromBuildTree();
  options.args = std::move(args);
  options.programPath = QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath().toStdString();
  options.uiSeed = static_cast<uint64_t>(std::time(nullptr));
  int code = 0;
  {
    vorlund::ui::MainWindow window(std::move(options));
    QObject::connect(&window, &vorlund::ui::MainWindow::closed, &app, &QApplication::quit);
    window.show();
    code = app.exec();
  }
  return code;
}
