// What the "Evolution" window costs a run: steps per second of the desktop
// program's run loop with the window closed and open (drawn as it samples),
// alternating so that a busy machine hurts both alike.
// Usage: vorlund_gui_speed [STEPS] [ROUNDS] [U]  (QT_QPA_PLATFORM=offscreen works)
#include <QApplication>
#include <QElapsedTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/random.h"
#include "ui/evolution_window.h"
#include "ui/main_window.h"

namespace {

double stepsPerSecond(vorlund::ui::MainWindow& w, long steps) {
  QElapsedTimer t;
  t.start();
  w.runSteps(steps);
  return static_cast<double>(steps) * 1000.0 / static_cast<double>(std::max<qint64>(1, t.elapsed()));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  const long steps = argc > 1 ? std::atol(argv[1]) : 20000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  const int every = argc > 3 ? std::atoi(argv[3]) : 1000;
  const std::string examples = std::string(VORLUND_SOURCE_DIR) + "/examples/";
  const auto work = std::filesystem::temp_directory_path() / "vorlund_gui_speed";
  std::filesystem::create_directories(work);
  std::filesystem::current_path(work);
  vorlund::ui::MainWindowOptions o;
  o.associateFiles = false;
  vorlund::ui::MainWindow w(o);
  vorlund::seedRandom(7);
  w.sim().load(examples + "walkers.sim", vorlund::FILE_SETTINGS);
  w.sim().load(examples + "seeds.gen", vorlund::FILE_GENOTYPES);
  w.show();
  w.layoutEvolution();  // the fastest layout: views and lists closed
  vorlund::ui::EvolutionWindow& e = *w.evolutionWindow();
  e.settings().U = every;
  e.restart();
  double closed = 0, open = 0;
  for (int r = 0; r < rounds; ++r) {
    e.hide();
    const double c = stepsPerSecond(w, steps);
    e.show();
    const double s = stepsPerSecond(w, steps);
    std::printf("round %d: closed %.0f steps/s, open %.0f steps/s\n", r + 1, c, s);
    closed += c;
    open += s;
  }
  std::printf("U=%d, %ld steps a round: open runs at %.1f %% of closed (%zu samples, spacing %lld)\n", every, steps,
              100.0 * open / closed, e.samples().size(), static_cast<long long>(e.samples().spacing()));
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(work);
  return 0;
}
