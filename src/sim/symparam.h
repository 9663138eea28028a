// The "Simulation rules" table (section "sim_params:") and its accessor. The
// rows bind to three setting structs (evolution, world-side rules, files);
// selection changes re-mark the pool so fitness is recomputed.
#pragma once

#include <array>
#include <string_view>

#include "core/param.h"
#include "genepool/evol_settings.h"
#include "genepool/file_settings.h"
#include "world/sim_settings.h"

namespace vorlund {

class listaprz;

constexpr int SYMPARAM_COUNT = 41;
constexpr int SYMPARAM_GROUPS = 6;

// Groups of the table.
constexpr int SIMGROUP_RULES = 0;
constexpr int SIMGROUP_SELECTION = 1;
constexpr int SIMGROUP_SELECTION_ADVANCED = 2;
constexpr int SIMGROUP_CREATION = 3;
constexpr int SIMGROUP_ENERGY = 4;
constexpr int SIMGROUP_FILES = 5;

extern const ParamEntry kSimulationRulesTable[];

class symparam : public param {
 public:
  // All observed; `pool` (may be null) is re-marked on selection changes.
  symparam(EvolSettings& evol, SimSettings& sim, FileSettings& files, listaprz* pool);

 protected:
  void* fieldAddress(int i) override;
  int setLocal(int i, std::string_view text) override;

 private:
  // The bound structs in tag order (evolution, world-side rules, files).
  std::array<char*, 3> bases_;
  listaprz* pool_;
};

}  // namespace vorlund
