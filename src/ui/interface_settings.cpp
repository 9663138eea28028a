#include "ui/interface_settings.h"

#include <algorithm>
#include <cstddef>
#include <thread>

#include "world/step_workers.h"

namespace vorlund::ui {

namespace {

#define IS(f) static_cast<int32_t>(offsetof(InterfaceSettings, f))

// Demo mode is a per-session choice (set by "-demo"), so it is never stored;
// the column strings are only edited through the lists' column menus.
constexpr int32_t kDemoFlags = 0x20000;
constexpr int32_t kColumnFlags = 0x100000;

}  // namespace

// Declared extern in the header, so the definition keeps external linkage.
constexpr ParamEntry kInterfaceTab[] = {
    paramHeader("Interface", 1, INT_PARAM_COUNT, "PC_Interface:"),
    {"int_snd", 0, "Sounds", "d 0 1", IS(int_snd), "Produce sounds of the artificial world?"},
    {"int_soe", 0, "Save on exit", "d 0 1", IS(int_soe), "Save settings on exit?"},
    {"int_maxfps", 0, "Prevent fast display [fps]", "d 0 100", IS(int_maxfps),
     "When >0, prevents displaying more frames per second\nthen the specified value. May slow down simulation."},
    {"int_demoon", kDemoFlags, "Demo mode [% of time]", "d 0 100", IS(int_demoon),
     "WARNING. When not zero, this turns on demonstration mode.\nIn this mode, following simulated creatures is "
     "automated.\nYou can still simulate evolution, demo does not affect it!"},
    {"int_demotimebase", 0, "Demo time base [sec]", "d 10 60", IS(int_demotimebase),
     "The time between demo window (Artificial World) pop-ups"},
    {"int_demoadv", 0, "Advanced demo", "d 0 1", IS(int_demoadv),
     "Change interface parameters when in demo mode?\n(camera zoom and position etc.)"},
    {"int_assocext", 0, "Keep extensions associated", "d 0 1", IS(int_assocext),
     "Keep GEN and SIM file extensions associated with Vorlund?"},
    {"int_threads", 0, "Simulation threads", "d 0 64", IS(int_threads),
     "Threads each simulation step is split over (the results are the same for any number)\n"
     "0: as many as the processor has cores, but one"},
    {"int_genoshow", kColumnFlags, "Genotypes columns", "s", IS(int_genoshow), "(Internal)"},
    {"int_simushow", kColumnFlags, "Simulated columns", "s", IS(int_simushow), "(Internal)"},
    {"int_opengl", 0, "3D OpenGL world view", "d 0 1", IS(int_opengl),
     "Open the world view in 3D OpenGL in the default layouts and the demo?\n(where OpenGL works; "
     "off keeps the software view)"},
    paramEnd(),
};
static_assert(paramTableValid(kInterfaceTab));
static_assert((kDemoFlags >> 16) == PARAM_NOSTORE && (kColumnFlags >> 16) == PARAM_HIDDEN);

#undef IS

int stepThreadsFor(int32_t setting) {
  if (setting > 0) return std::min<int>(setting, kMaxStepThreads);
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores - 1, 1, kMaxStepThreads);
}

}  // namespace vorlund::ui
