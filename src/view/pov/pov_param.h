// The "POV-Ray" settings of the scene exporter and their accessor. The
// accessor notices `pov_act` being switched on and lets the exporter start.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/param.h"

namespace vorlund {

// Indices of the "POV-Ray" table.
constexpr int POV_ACT = 0;
constexpr int POV_STICK = 1;
constexpr int POV_DUST = 2;
constexpr int POV_DIR = 3;
constexpr int POV_FILE = 4;
constexpr int POV_FR = 5;
constexpr int POV_SYS = 6;
constexpr int POV_SYSPAR = 7;
constexpr int POV_SKIP = 8;
constexpr int POV_D_AM = 9;
constexpr int POV_D_GROW = 10;

// Values of `pov_stick`: only Full looks at the muscles and receptors.
constexpr int32_t POV_STICK_LOW = 0;
constexpr int32_t POV_STICK_ATTRIBUTES = 1;
constexpr int32_t POV_STICK_FULL = 2;

struct PovSettings {
  int32_t pov_act = 0;  // recording on; never stored, so every run starts off
  int32_t pov_stick = POV_STICK_FULL;
  int32_t pov_dust = 0;
  std::string pov_dir;   // output folder, used as a prefix: ends with '/'
  std::string pov_file;  // file name pattern with at most one integer conversion
  int32_t pov_fr = 0;    // first frame number
  int32_t pov_sys = 0;   // run pov_syspar after each frame
  std::string pov_syspar;
  int32_t pov_skip = 3;  // a scene every pov_skip + 1 steps
  double pov_d_am = 3500.0;  // dust per unit of slip distance x speed
  double pov_d_grow = 0.2;   // growth of a drifting cloud per frame
};
static_assert(std::is_standard_layout_v<PovSettings>);

const ParamTab* povParamTable();

// The accessor bound to an exporter's settings. `onActivate` runs whenever
// `pov_act` is assigned a value that differs from the previous one and is on.
class pov_param : public param {
 public:
  explicit pov_param(PovSettings& s, std::function<void()> onActivate = {});

  // The previous value of `pov_act` as the accessor remembers it. The
  // exporter resets it when it switches recording off by itself, so that
  // switching on again really starts again.
  void forgetActive() { previousActive_ = 0; }

 protected:
  int setLocal(int i, std::string_view text) override;

 private:
  PovSettings* settings_;
  std::function<void()> onActivate_;
  int32_t previousActive_ = 0;
};

}  // namespace vorlund
