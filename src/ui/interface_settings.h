// The "Interface" settings: sounds, saving on exit, the frame-rate limit, the
// demonstration mode, file associations and the list columns. One object of
// this kind heads the desktop program's settings chain ("Default.par").
#pragma once

#include <cstdint>
#include <string>

#include "core/param.h"

namespace vorlund::ui {

struct InterfaceSettings {
  int32_t int_snd = 1;            // produce sounds
  int32_t int_soe = 1;            // write "Default.par" on exit
  int32_t int_maxfps = 0;         // frames per second at most; 0: no limit
  int32_t int_demoon = 0;         // demo mode, per cent of the time the world is shown; 0: off
  int32_t int_demotimebase = 20;  // seconds between two world pop-ups of the demo
  int32_t int_demoadv = 1;        // the demo also moves the camera
  int32_t int_assocext = 0;       // keep *.gen and *.sim associated with this program
  // Threads a step is split over; 0: the cores but one (this thread draws). One by
  // default: on small worlds the per-phase hand-over costs more than a second core gives.
  int32_t int_threads = 1;
  std::string int_genoshow;       // visible columns of the genotypes list
  std::string int_simushow;       // visible columns of the individuals list
  int32_t int_opengl = 1;         // the default layout and the demo open the world view in OpenGL
};

// The table, in its file order; its section prefix is "PC_Interface:".
extern const ParamEntry kInterfaceTab[];

// Parameter indexes within kInterfaceTab (after the header and group rows).
enum InterfaceParam {
  INT_SND, INT_SOE, INT_MAXFPS, INT_DEMOON, INT_DEMOTIMEBASE, INT_DEMOADV, INT_ASSOCEXT,
  INT_THREADS, INT_GENOSHOW, INT_SIMUSHOW, INT_OPENGL, INT_PARAM_COUNT
};

// The threads a step is split over for the setting (0: the cores but one, at least 1).
int stepThreadsFor(int32_t setting);

// The accessor bound to one InterfaceSettings object.
class InterfaceParams : public param {
 public:
  explicit InterfaceParams(InterfaceSettings* s) : param(kInterfaceTab, s) {}
};

}  // namespace vorlund::ui
