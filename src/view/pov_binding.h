// Ties the scene exporter to the views' main camera and the grab tool, so
// that scenes are seen as the world view sees them and show the pointer.
#pragma once

namespace vorlund {

class Camera;
class Grab;
class PovExporter;

// Both must outlive the exporter's use of them; `grab` may be null.
void bindPovExporter(PovExporter& pov, const Camera& camera, const Grab* grab);

}  // namespace vorlund
