#include "sim/symparam.h"

#include <cstddef>

#include "genepool/listaprz.h"

namespace vorlund {

namespace {

// A row's offset names its struct in the high half and the field in the low half.
constexpr int32_t TAG_EVOL = 0;
constexpr int32_t TAG_SIM = 1;
constexpr int32_t TAG_FILES = 2;
constexpr int32_t TAG_SHIFT = 16;
constexpr int32_t FIELD_MASK = (1 << TAG_SHIFT) - 1;

}  // namespace

#define EV(f) static_cast<int32_t>((TAG_EVOL << TAG_SHIFT) | offsetof(EvolSettings, f))
#define SM(f) static_cast<int32_t>((TAG_SIM << TAG_SHIFT) | offsetof(SimSettings, f))
#define FL(f) static_cast<int32_t>((TAG_FILES << TAG_SHIFT) | offsetof(FileSettings, f))

constexpr ParamEntry kSimulationRulesTable[] = {
    paramHeader("Simulation rules", SYMPARAM_GROUPS, SYMPARAM_COUNT, "sim_params:"),
    paramGroup("Selection"),
    paramGroup("Selection: Advanced"),
    paramGroup("Creation"),
    paramGroup("Energy flow"),
    paramGroup("Files"),
    {"model", 0, "Model", "d 0 1 ~Limited motion (old)~Low damping (new)", SM(model),
     "Old model - mainly for compatibility reasons\nThe new model allows fast movement"},
    {"oldneurons", 0, "Old neurons compatibility", "d 0 1", SM(oldneurons), "Don't use this for new creatures"},
    {"capacity", 0, "Simulator capacity", "d 0 2000", EV(capacity), "Max. number of genotypes"},
    {"delrule", 0, "Delete genotypes", "d 0 2 ~Randomly~Inv-proportional fitness~Only the worst", EV(delrule),
     nullptr},
    {"descol", 0, "Destructive collisions", "d 0 1", SM(descol), "Can creatures hurt and kill each other?"},
    {"debug", 0, "Internal debugger", "d 0 1", SM(debug),
     "Thorough validity checking during simulation (for developers)"},
    {"AutoKill", 0, "Death", "d 0 1", SM(AutoKill), "Creature dies after using up all its energy (should be on)"},
    {"cr_c", 1, "Constant", "f -10000 10000", EV(cr_c), "Constant value added to total fitness"},
    {"cr_life", 1, "Life span", "f -10000 10000", EV(cr_life), "Weight of life span in total fitness"},
    {"cr_v", 1, "Velocity", "f -10000 10000", EV(cr_v), "Weight of horizontal velocity in total fitness"},
    {"cr_gl", 1, "Body size", "f -100 100", EV(cr_gl), "Weight of structure size in total fitness"},
    {"cr_nnsiz", 1, "Brain size", "f -10000 10000", EV(cr_nnsiz), nullptr},
    {"cr_di", 1, "Distance", "f -10000 10000", EV(cr_di), "Weight of distance in total fitness"},
    {"cr_vpos", 1, "Vertical position", "f -10000 10000", EV(cr_vpos), nullptr},
    {"cr_vvel", 1, "Vertical velocity", "f -10000 10000", EV(cr_vvel), nullptr},
    {"cr_norm", 1, "Criteria normalization", "d 0 1", EV(cr_norm),
     "Normalize each criterion to 0..1 interval before weighting"},
    {"fitfun", 2, "Scale fitness?", "d 0 1", EV(fitfun), "Enable fitness scaling"},
    {"fitm", 2, "Shift coefficient", "f 0 10", EV(fitm),
     "Lower threshold: how many std. dev's below average?\n(avg - n * stddev) - used for fitness shifting"},
    {"fitma", 2, "Scaling coefficient", "f 1 10", EV(fitma),
     "The best genotype is as many times\nbetter than the average one"},
    {"enablestats", 2, "Calculate performance after", "d 0 2 ~creation~first move up~freezing", SM(enablestats),
     "When to start creature's performance measurement"},
    {"cr_simi", 2, "Genotype similarity", "d 0 2 ~Ignored~Linear function~Threshold function", EV(cr_simi),
     "If enabled, genotype similarity (to coexisting genotypes) will reduce its fitness"},
    {"testvel", 2, "Velocity precision", "d 2 10", SM(testvel),
     "Position testing period.\nLow values cause vibrations to be counted as velocity\nHigh values prefer "
     "smooth, straight moving"},
    {"cr_energ", 2, "Energetic efficiency", "d 0 1", EV(cr_energ),
     "Compute 'fitness ratio' instead of 'fitness'\n(fitness divided by starting energy)"},
    {"MaxCreated", 3, "Simulated creatures", "d 0 50", EV(MaxCreated), "Number of creatures simulated at a time"},
    {"p_nop", 3, "Unchanged", "f 0 100", EV(p_nop), nullptr},
    {"p_mut", 3, "Mutated", "f 0 100", EV(p_mut), nullptr},
    {"p_xov", 3, "Crossed over", "f 0 100", EV(p_xov), nullptr},
    {"xov_mins", 3, "Minimal similarity", "f 0 1", EV(xov_mins),
     "Crossover only similar genotypes\nvalue of 0 means no restrictions"},
    {"Energy0", 4, "Starting energy", "f 0 1000", SM(Energy0), "Base starting energy level (for each stick)"},
    {"grow", 4, "Growing energy", "f 0 10", SM(grow),
     "Amount of energy each stick gets\nduring the growing phase\n(0 disables growing phase)"},
    {"corpsen", 4, "Eatable corpse", "f 0 100", SM(corpsen), "Energy of one dead stick (0 to disable this feature)"},
    {"e_meta", 4, "Idle metabolism", "f 0 10", SM(e_meta),
     "Each stick consumes this amount of energy\nin 100 time steps"},
    {"aging", 4, "Aging time", "d 0 100", SM(aging), "Idle metabolism doubles after this period (x1000)"},
    {"em_stat", 4, "Muscle static work", "f 0 100", SM(em_stat),
     "Energy requirements for a muscle\nresisting an external force (in 100 time steps)"},
    {"em_dyn", 4, "Muscle dynamic work", "f 0 100", SM(em_dyn),
     "Energy requirements for a muscle\nmoving a stick (in 100 time steps)"},
    {"sun", 4, "Assimilation energy", "f 0 10", SM(sun), "Maximal energy gain produced by the specialized stick"},
    {"feed", 4, "Automatic feeding", "d 0 100", EV(feed), "Number of energy balls in the world"},
    {"feede0", 4, "Ball's energy", "f 0 1000", SM(feede0), "Ball's starting energy"},
    {"autosave", 5, "Save backup", "d 0 1000", FL(autosave),
     "Genotypes and stats are saved\nevery n-th million of simulation cycles"},
    {"overwrite", 5, "Overwrite", "d 0 1", FL(overwrite), "Overwite existing files or create backups"},
    {"filecomm", 5, "Show file comments", "d 0 1", FL(filecomm),
     "Send comments encountered in opened files to the message window"},
    paramEnd(),
};
static_assert(paramTableValid(kSimulationRulesTable));

#undef EV
#undef SM
#undef FL

symparam::symparam(EvolSettings& evol, SimSettings& sim, FileSettings& files, listaprz* pool)
    : param(kSimulationRulesTable, &evol),
      bases_{reinterpret_cast<char*>(&evol), reinterpret_cast<char*>(&sim), reinterpret_cast<char*>(&files)},
      pool_(pool) {}

void* symparam::fieldAddress(int i) {
  const int32_t offset = row(i).offset;
  if (offset < 0) return nullptr;
  const auto tag = static_cast<std::size_t>(offset >> TAG_SHIFT);
  if (tag >= bases_.size()) return nullptr;
  return bases_[tag] + (offset & FIELD_MASK);
}

int symparam::setLocal(int i, std::string_view text) {
  const int result = setBase(i, text);
  if ((result & PSET_CHANGED) == 0 || pool_ == nullptr) return result;
  const int g = row(i).groupFlags & 0xffff;
  // xov_mins is also the cut of the threshold similarity, cached per record.
  const bool touchesFitness = g == SIMGROUP_SELECTION || g == SIMGROUP_SELECTION_ADVANCED ||
                              row(i).offset == static_cast<int32_t>(offsetof(EvolSettings, xov_mins));
  if (touchesFitness) pool_->changed(-1);
  return result;
}

}  // namespace vorlund
