// The desktop program's resident memory over a long run with every window
// open: the demonstration (-demo) or a seeded run, stepped as fast as the
// loop goes (a stand-in for hours of watching), the views drawn at a given
// refresh choice. Prints the step count, seconds, RSS, the heap in use, and the
// steps and the frames drawn per second over the chunk after every chunk.
// Usage: vorlund_long_run_memory demo|seed [STEPS] [CHUNKS] [CHOICE] [software]
// (under a real X display the world view opens in OpenGL unless "software").
// VORLUND_WINDOWS_OFF=56 closes the windows of those main toggles (digits in the
// order of MainToggle: 5 genotypes, 6 individuals ...), to find which one grows.
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QString>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/random.h"
#include "ui/main_window.h"
#include "ui/world_view_window.h"

namespace {

double residentMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// What the program holds on the heap, apart from what the allocator keeps free:
// when resident memory grows and this does not, the growth is fragmentation.
double heapInUseMb() { return static_cast<double>(mallinfo2().uordblks) / (1024.0 * 1024.0); }

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  const bool demo = argc > 1 && std::string(argv[1]) == "demo";
  const long steps = argc > 2 ? std::atol(argv[2]) : 1000000;
  const int chunks = argc > 3 ? std::atoi(argv[3]) : 20;
  const QString choice = argc > 4 ? QString(argv[4]) : QString("1:4");
  const std::string examples = std::string(VORLUND_SOURCE_DIR) + "/examples/";
  const auto work = std::filesystem::temp_directory_path() / ("vorlund_long_run_memory_" + std::to_string(getpid()));
  std::filesystem::create_directories(work);
  std::filesystem::current_path(work);
  vorlund::ui::MainWindowOptions o;
  o.associateFiles = false;
  if (demo) o.args = {"-demo", examples + "walkers.sim", examples + "seeds.gen"};
  vorlund::ui::MainWindow w(o);
  if (argc > 5 && std::string(argv[5]) == "software") {
    w.context().interface().int_opengl = 0;
    w.layoutDefault();
  }
  if (!demo) {
    vorlund::seedRandom(3);
    w.sim().load(examples + "walkers.sim", vorlund::FILE_SETTINGS);
    w.sim().load(examples + "seeds.gen", vorlund::FILE_GENOTYPES);
  }
  w.show();
  // Every window open, as a curious user leaves them.
  for (auto t : {vorlund::ui::MainToggle::Messages, vorlund::ui::MainToggle::Evolution})
    w.toggle(t)->setChecked(true);
  if (const char* off = std::getenv("VORLUND_WINDOWS_OFF"))
    for (const char* p = off; *p != '\0'; ++p)
      if (*p >= '0' && *p < '0' + vorlund::ui::kMainToggleCount)
        w.toggle(static_cast<vorlund::ui::MainToggle>(*p - '0'))->setChecked(false);
  QElapsedTimer clock;
  clock.start();
  // The demo starts itself; let it pick its first creature.
  while (demo && !w.running() && clock.elapsed() < 5000) QApplication::processEvents();
  w.stop();
  QApplication::processEvents();
  w.refreshChoice()->setCurrentText(choice);
  std::printf("%s, every window open, %s: steps seconds rss_mb heap_mb steps/s frames/s\n", demo ? "demo" : "seed 3",
              choice.toUtf8().constData());
  std::printf("%ld %.1f %.1f %.1f\n", w.sim().stepCount, clock.elapsed() / 1000.0, residentMb(), heapInUseMb());
  for (int c = 0; c < chunks; ++c) {
    const long frames0 = w.worldView()->framesDrawn(), steps0 = w.sim().stepCount;
    QElapsedTimer chunk;
    chunk.start();
    w.runSteps(steps / chunks);
    const double s = std::max<qint64>(1, chunk.elapsed()) / 1000.0;
    std::printf("%ld %.1f %.1f %.1f %.0f %.1f\n", w.sim().stepCount, clock.elapsed() / 1000.0, residentMb(), heapInUseMb(),
                (w.sim().stepCount - steps0) / s, (w.worldView()->framesDrawn() - frames0) / s);
    std::fflush(stdout);
  }
  w.closeWithoutAsking();
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(work);
  return 0;
}
