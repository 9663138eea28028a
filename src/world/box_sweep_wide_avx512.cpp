// Built for AVX-512. No header with inline functions here but the lanes' own
// (see box_sweep_avx.h).
#include "world/box_sweep_lanes.h"

namespace vorlund {

int laterOverlapsAvx512(const SweepColumns& c, int a, int* later, int room) {
  return laterOverlapsLanes<EightLanes>(c, a, later, room);
}

}  // namespace vorlund
