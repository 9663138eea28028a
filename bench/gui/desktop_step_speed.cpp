// The desktop program's own step with no view open, for comparing with
// vorlund-cli run on the same steps: the main window's run loop from the same
// seed and files, in the fastest layout (views and lists closed).
// Usage: vorlund_desktop_speed SIM GEN SEED STEPS [THREADS]
// Prints "STEPS steps in MS ms" (QT_QPA_PLATFORM=offscreen works).
#include <QApplication>
#include <QElapsedTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/random.h"
#include "ui/evolution_window.h"
#include "ui/interface_settings.h"
#include "ui/main_window.h"
#include "ui/ui_context.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s SIM GEN SEED STEPS [THREADS]\n", argv[0]);
    return 2;
  }
  const std::string sim = std::filesystem::absolute(argv[1]).string();
  const std::string gen = std::filesystem::absolute(argv[2]).string();
  const long steps = std::atol(argv[4]);
  const auto work = std::filesystem::temp_directory_path() / ("vorlund_desktop_speed_" + std::to_string(::getpid()));
  std::filesystem::create_directories(work);
  std::filesystem::current_path(work);
  // As the program's own start does it: the seed first, then the window,
  // which applies the files when first shown.
  vorlund::seedRandom(std::strtoull(argv[3], nullptr, 10));
  vorlund::ui::MainWindowOptions o;
  o.associateFiles = false;
  o.args = {sim, gen};
  vorlund::ui::MainWindow w(o);
  w.context().interface().int_threads = argc > 5 ? std::atoi(argv[5]) : 1;
  w.show();
  w.layoutEvolution();
  w.evolutionWindow()->hide();
  // The window is on the screen before Run can be pressed: its first layout
  // and painting are the program's start, as loading is the terminal tool's,
  // and stay out of the step's time.
  QApplication::processEvents();
  QElapsedTimer t;
  t.start();
  w.runSteps(steps);
  std::printf("%ld steps in %lld ms\n", steps, static_cast<long long>(t.elapsed()));
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(work);
  return 0;
}
