#include "sim/symulator.h"

#include <algorithm>
#include <chrono>

#include "core/message.h"

namespace vorlund {

namespace {

long nowMs() {
  using namespace std::chrono;
  return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

symulator::symulator()
    : SimCore(),
      Evol(this, &genetics),
      Life(simRules, &pool),
      fitness(pool, evol, simRules, &genman),
      params(evol, simRules, files, &pool),
      stats(fitness) {
  registerStandardOperators(genman);
  genman.setConverters(&converters);
  genetics.genman = &genman;
  genetics.settings = &simRules;
  genetics.fitness = &fitness;
  params.append(&world.parameters());
  params.append(&genman.parameters());
  params.append(&converters.parameters());
  world.setInhabitants(this);
}

symulator::~symulator() {
  // Objects and records go while the genetics they point to still exist.
  clear(CLEAR_OBJECTS | CLEAR_GENOTYPES);
}

void symulator::jedenkrok() {
  creator();
  check("jedenkrok() #1");
  deleteOverCapacity();
  go();
  check("jedenkrok() #2");
  updateNetworks();
  check("jedenkrok() #3");
  bookkeeping();
}

void symulator::bookkeeping() {
  ++stepCount;
  if (rate_.step(nowMs)) stepsPerSecond = rate_.perSecond();
  if (files.autosave != 0) {
    ++fileState.backupSteps;
    if (fileState.backupSteps >= static_cast<long>(files.autosave) * kAutosaveStepUnit) {
      fileState.backupSteps = 0;
      save(fileState.fileName, FILE_GENOTYPES | FILE_BACKUP);
    }
  }
}

void symulator::clear(int mask) {
  fileState.changeFlags |= static_cast<uint32_t>(mask);
  if (mask & CLEAR_OBJECTS) removeAllObjects();
  if (mask & CLEAR_GENOTYPES) pool.clear();
}

SimFileTarget symulator::fileTarget() { return SimFileTarget{pool, &genetics, &params, &stats, files, fileState}; }

bool symulator::load(const std::string& path, int what) {
  SimFileTarget t = fileTarget();
  return loadSimFile(t, path, what);
}

int symulator::save(const std::string& path, int what) {
  SimFileTarget t = fileTarget();
  return saveSimFile(t, path, what);
}

}  // namespace vorlund
