#include "view/pov/pov_param.h"

#include <cstddef>
#include <utility>

namespace vorlund {

namespace {

constexpr ParamTab kPovTab[] = {
    paramHeader("POV-Ray", 3, 11, nullptr),
    paramGroup("POV-Ray: Files"),
    paramGroup("POV-Ray: Advanced"),
    {"pov_act", 0 | PF_NOSTORE, "Active", "d 0 1", offsetof(PovSettings, pov_act), "Starts/stops scene generation"},
    {"pov_stick", 0, "Stick object quality", "d 0 2 ~Low~Attributes~Full", offsetof(PovSettings, pov_stick), nullptr},
    {"pov_dust", 0, "Make dust", "d 0 1", offsetof(PovSettings, pov_dust), nullptr},
    {"pov_dir", 1, "Output directory", "s 3 100", offsetof(PovSettings, pov_dir),
     "Don't forget / or \\ at the end - file name will be appended to this"},
    {"pov_file", 1, "File format", "s 0 100", offsetof(PovSettings, pov_file),
     "Frame number replaces %d (eg. 'scene%03d.pov')"},
    {"pov_fr", 1, "First frame", "d", offsetof(PovSettings, pov_fr), nullptr},
    {"pov_sys", 1, "Call system()?", "d 0 1", offsetof(PovSettings, pov_sys), nullptr},
    {"pov_syspar", 1, "system() parameters", "s 0 100", offsetof(PovSettings, pov_syspar),
     "You can pass 2 parameters as %s (directory and filename)"},
    {"pov_skip", 2, "Skip frames", "d 0 20", offsetof(PovSettings, pov_skip),
     "POV module generates a scene\neach (n+1) simulation cycles\n(low value means more frames\nand smooth animation)"},
    {"pov_d_am", 2, "Dust amount", "f 0 10000", offsetof(PovSettings, pov_d_am), nullptr},
    {"pov_d_grow", 2, "Dust grow", "f 0 1", offsetof(PovSettings, pov_d_grow), nullptr},
    paramEnd(),
};
static_assert(paramTableValid(kPovTab));

}  // namespace

const ParamTab* povParamTable() { return kPovTab; }

pov_param::pov_param(PovSettings& s, std::function<void()> onActivate)
    : param(kPovTab, &s), settings_(&s), onActivate_(std::move(onActivate)), previousActive_(s.pov_act) {}

int pov_param::setLocal(int i, std::string_view text) {
  const int result = setBase(i, text);
  if (i == POV_ACT && settings_->pov_act != previousActive_) {
    previousActive_ = settings_->pov_act;
    if (settings_->pov_act != 0 && onActivate_) onActivate_();
  }
  return result;
}

}  // namespace vorlund
