#include "sim/run_inputs.h"

#include <cctype>
#include <filesystem>
#include <fstream>

#include "genepool/pool_files.h"
#include "sim/symulator.h"

namespace vorlund {

int inputFileKind(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".sim" ? FILE_SETTINGS : ext == ".gen" ? FILE_GENOTYPES : 0;
}

bool loadRunInput(symulator& sim, const std::string& path, std::string& error) {
  const int kind = inputFileKind(path);
  if (kind == 0) {
    error = "not a settings (.sim) or genotype (.gen) file: " + path;
    return false;
  }
  std::error_code ec;
  std::ifstream probe(path);
  if (!probe || std::filesystem::is_directory(path, ec)) {
    error = "cannot read " + path;
    return false;
  }
  probe.close();
  if (!sim.load(path, kind)) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

bool startFromSeedGenotype(symulator& sim) {
  if (sim.pool.size() != 0 || sim.all.size() != 0) return false;
  return sim.createCreature(przodek(&sim.geneticsContext(), kSeedGenotype, "", "")) != nullptr;
}

}  // namespace vorlund
