#include "world/sim_settings_param.h"

#include <cstddef>

namespace vorlund {

namespace {

#define SIM_FIELD(f) static_cast<int32_t>(offsetof(SimSettings, f))

constexpr ParamTab kSimSettingsTab[] = {
    paramHeader("Simulation rules", 1, 16, "sim_params:"),
    {"model", 0, "Model", "d 0 1 ~Limited motion (old)~Low damping (new)", SIM_FIELD(model),
     "Old model - mainly for compatibility reasons\nThe new model allows fast movement"},
    {"oldneurons", 0, "Old neurons compatibility", "d 0 1", SIM_FIELD(oldneurons), "Don't use this for new creatures"},
    {"descol", 0, "Destructive collisions", "d 0 1", SIM_FIELD(descol), "Can creatures hurt and kill each other?"},
    {"debug", 0, "Internal debugger", "d 0 1", SIM_FIELD(debug),
     "Thorough validity checking during simulation (for developers)"},
    {"AutoKill", 0, "Death", "d 0 1", SIM_FIELD(AutoKill), "Creature dies after using up all its energy (should be on)"},
    {"enablestats", 0, "Calculate performance after", "d 0 2 ~creation~first move up~freezing",
     SIM_FIELD(enablestats), "When to start creature's performance measurement"},
    {"testvel", 0, "Velocity precision", "d 2 10", SIM_FIELD(testvel),
     "Position testing period.\nLow values cause vibrations to be counted as velocity\nHigh values prefer smooth, "
     "straight moving"},
    {"Energy0", 0, "Starting energy", "f 0 1000", SIM_FIELD(Energy0), "Base starting energy level (for each stick)"},
    {"grow", 0, "Growing energy", "f 0 10", SIM_FIELD(grow),
     "Amount of energy each stick gets\nduring the growing phase\n(0 disables growing phase)"},
    {"corpsen", 0, "Eatable corpse", "f 0 100", SIM_FIELD(corpsen), "Energy of one dead stick (0 to disable this feature)"},
    {"e_meta", 0, "Idle metabolism", "f 0 10", SIM_FIELD(e_meta),
     "Each stick consumes this amount of energy\nin 100 time steps"},
    {"aging", 0, "Aging time", "d 0 100", SIM_FIELD(aging), "Idle metabolism doubles after this period (x1000)"},
    {"em_stat", 0, "Muscle static work", "f 0 100", SIM_FIELD(em_stat),
     "Energy requirements for a muscle\nresisting an external force (in 100 time steps)"},
    {"em_dyn", 0, "Muscle dynamic work", "f 0 100", SIM_FIELD(em_dyn),
     "Energy requirements for a muscle\nmoving a stick (in 100 time steps)"},
    {"sun", 0, "Assimilation energy", "f 0 10", SIM_FIELD(sun), "Maximal energy gain produced by the specialized stick"},
    {"feede0", 0, "Ball's energy", "f 0 1000", SIM_FIELD(feede0), "Ball's starting energy"},
    paramEnd(),
};
static_assert(paramTableValid(kSimSettingsTab));

#undef SIM_FIELD

}  // namespace

const ParamTab* simSettingsParamTable() { return kSimSettingsTab; }

simsettings_param::simsettings_param(SimSettings& s, param* next) : param(kSimSettingsTab, &s, next) {}

}  // namespace vorlund
