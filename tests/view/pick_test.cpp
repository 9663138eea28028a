// Picking in the 3D view: the perspective as plain arithmetic, and the
// nearest stick end under any projection.
#include "view/pick.h"

#include <gtest/gtest.h>

#include <cmath>

#include "view/camera.h"
#include "world/life_test_support.h"

namespace vorlund {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A camera 10 units from (10, 10, 0), looking along +y from 30 degrees up.
void aim(Camera& cam) {
  cam.target = {10, 10, 0};
  cam.scale = 0.1;
  cam.settings.ka_a = 0;
  cam.settings.ka_h = 30;
}

TEST(PerspectiveViewTest, ProjectsAsTheViewDrawsAndFindsTheGroundBack) {
  Camera cam;
  aim(cam);
  const PerspectiveView view(cam, 400, 200);
  double x = 0, y = 0;
  ASSERT_TRUE(view.project(cam.target, x, y));
  EXPECT_NEAR(x, 200, 1e-9);
  EXPECT_NEAR(y, 100, 1e-9);
  // A wide view narrows the vertical angle: 60 / (400 / 200) = 30 degrees. A
  // point at half of it above the target direction is on the top edge.
  EXPECT_DOUBLE_EQ(view.fieldOfViewDegrees(), 30);
  const Vec3 eye = cam.eye(), ahead = (cam.target - eye) / (cam.target - eye).length();
  const Vec3 side = cross(ahead, {0, 0, 1}) / cross(ahead, {0, 0, 1}).length(), up = cross(side, ahead);
  const double t = std::tan(15 * kPi / 180);
  ASSERT_TRUE(view.project(eye + (ahead + up * t) * 10, x, y));
  EXPECT_NEAR(y, 0, 1e-9);
  ASSERT_TRUE(view.project(eye + (ahead + side * (2 * t)) * 10, x, y));
  EXPECT_NEAR(x, 400, 1e-9);  // the right edge: the horizontal half-angle has twice the tangent
  EXPECT_FALSE(view.project(eye - ahead, x, y));  // behind the eye
  // Corners and the centre come back to the ground points they show.
  for (const auto& [px, py] : {std::pair{0.0, 200.0}, {400.0, 200.0}, {200.0, 100.0}, {10.0, 150.0}}) {
    Vec3 g;
    ASSERT_TRUE(view.groundPoint(px, py, 0.0, g)) << px << "," << py;
    EXPECT_NEAR(g.z, 0, 1e-9);
    ASSERT_TRUE(view.project(g, x, y));
    EXPECT_NEAR(x, px, 1e-6);
    EXPECT_NEAR(y, py, 1e-6);
  }
  cam.settings.ka_h = 10;
  Vec3 sky;
  EXPECT_FALSE(PerspectiveView(cam, 400, 200).groundPoint(200, 0, 0.0, sky));  // the top edge looks above the horizon
}

TEST(PickTest, NearestEndUnderTheProjectionWithinRange) {
  testing_life::World scene;
  scene.creature("p:1,1,0\np:5,1,0\nj:0,1\n");
  org* far = scene.creature("p:9,9,0\np:9,12,0\nj:0,1\n");
  // Pixels are world x, y times 10.
  const PixelProjection tenfold = [](const Vec3& p, double& x, double& y) {
    x = p.x * 10;
    y = p.y * 10;
    return p.y < 11;  // the end at y = 12 is not shown
  };
  StickEndPick pick = nearestStickEnd(scene.life, tenfold, 92, 95, 9999);
  EXPECT_EQ(pick.creature, far);
  EXPECT_EQ(pick.end, 0);
  EXPECT_EQ(pick.distance, 5);
  EXPECT_EQ(nearestStickEnd(scene.life, tenfold, 92, 118, 9999).creature, far);  // not its hidden end 1
  EXPECT_EQ(nearestStickEnd(scene.life, tenfold, 92, 95, 5).creature, nullptr);  // 5 px is out of a 5 px range
}

}  // namespace
}  // namespace vorlund
