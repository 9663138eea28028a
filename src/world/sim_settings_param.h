// The world-side rows of the "Simulation rules" table (section "sim_params:")
// bound to a SimSettings: enough to read and write the rules the creatures,
// the physics step and the energy account follow. Rows of the other parts of
// the simulator's record are skipped by a reader that uses only this table.
#pragma once

#include "core/param.h"
#include "world/sim_settings.h"

namespace vorlund {

const ParamTab* simSettingsParamTable();

class simsettings_param : public param {
 public:
  explicit simsettings_param(SimSettings& s, param* next = nullptr);
};

}  // namespace vorlund
