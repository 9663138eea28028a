// vorlund: the desktop program.
#include <QApplication>
#include <QFileInfo>
#include <ctime>
#include <string>
#include <vector>

#include "core/message.h"
#include "core/random.h"
#include "ui/command_line.h"
#include "ui/main_window.h"
#include "ui/numeric_locale.h"

int main(int argc, char** argv) {
  // Chosen before Qt reads the arguments: the evolution's generator and the log.
  std::vector<std::string> args(argv + 1, argv + argc);
  const vorlund::ui::CommandLine cl = vorlund::ui::parseCommandLine(args);
  if (cl.seed)
    vorlund::seedRandom(*cl.seed);
  else
    vorlund::seedRandomFromClock();
  vorlund::removeLogFile();

  QApplication app(argc, argv);
  vorlund::ui::restoreFileNumberLocale();
  app.setApplicationName("Vorlund");
  app.setQuitOnLastWindowClosed(false);

  vorlund::ui::MainWindowOptions options;
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
