#include "view/pov_binding.h"

#include "view/camera.h"
#include "view/grab.h"
#include "view/pov/pov_exporter.h"

namespace vorlund {

void bindPovExporter(PovExporter& pov, const Camera& camera, const Grab* grab) {
  pov.setCameraSource([&camera] { return PovViewpoint{camera.target, camera.eye()}; });
  if (grab == nullptr) {
    pov.setGrabSource({});
    return;
  }
  pov.setGrabSource([grab] { return PovGrab{grab->pointer(), grab->active() ? grab->counter() : kPovGrabIdle}; });
}

}  // namespace vorlund
