// The "OpenGL" table (how the 3D world view draws) and the renderer's named
// colours with their underwater variants.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/param.h"

namespace vorlund {

constexpr int kTextureSlots = 7;

// Values of `sgl_mode`, `sgl_shape`, `sgl_style` and `sgl_blend`.
constexpr int32_t GL_MODE_RGB = 0;
constexpr int32_t GL_MODE_INDEX = 1;
constexpr int32_t STICK_BOX = 0;
constexpr int32_t STICK_CYLINDER = 1;
constexpr int32_t STYLE_POINTS = 0;
constexpr int32_t STYLE_LINES = 1;
constexpr int32_t STYLE_SILHOUETTE = 2;
constexpr int32_t STYLE_FILLED = 3;
constexpr int32_t BLEND_OFF = 0;
constexpr int32_t BLEND_FAKE = 1;
constexpr int32_t BLEND_TRUE = 2;

struct GlSettings {
  int32_t sgl_mode = GL_MODE_RGB;
  int32_t sgl_shape = STICK_BOX;
  int32_t sgl_shading = 1;
  int32_t sgl_style = STYLE_FILLED;
  int32_t sgl_shadow = 1;
  int32_t sgl_texture = 0;
  int32_t sgl_blend = BLEND_FAKE;
  double sgl_fog = 0.0;
  int32_t sgl_xtras = 1;
  int32_t sgl_drawflat = 1;
  double sgl_lia = 75.0;  // light angle, degrees
  double sgl_lih = 50.0;  // light height, degrees
  std::array<std::string, kTextureSlots> sgl_tex{
      "textures/desert256.bmp", "textures/stone256.bmp",  "textures/manystones256.bmp",
      "textures/water128.bmp",  "textures/energy128.bmp", "textures/wood128.bmp",
      "textures/teleport-w256.bmp"};
  int32_t sgl_lintex = 0;
};

// Indices of the "OpenGL" table.
constexpr int SGL_MODE = 0;
constexpr int SGL_TEXTURE = 5;
constexpr int SGL_TEX_0 = 12;
constexpr int SGL_LINTEX = 19;

// Texture slots, in the order of the table's texture rows.
enum TextureSlot { TEX_GROUND, TEX_HEIGHTS, TEX_UNDERWATER, TEX_WATER, TEX_ENERGY, TEX_BOUNDARY, TEX_TELEPORT };

const ParamTab* glParamTable();
// The display name of a texture slot's row ("Ground", "Heights", ...).
const char* textureSlotName(int slot);

// The accessor of the "OpenGL" table. `changed` runs after every assignment
// with the row index, so that the renderer can reload textures.
class GlParams : public param {
 public:
  explicit GlParams(GlSettings& s);
  std::function<void(int row)> changed;

 protected:
  int setLocal(int i, std::string_view text) override;
};

struct Rgba {
  float r, g, b, a;
  friend constexpr bool operator==(const Rgba&, const Rgba&) = default;
};

enum ColourName {
  COL_SKY,
  COL_SHADOW,
  COL_TOUCH,
  COL_MUSCLE,
  COL_SMELL,
  COL_GYROSCOPE,
  COL_GREEN,
  COL_ENERGY,
  COL_EATING,
  COL_CORPSE,
  COL_POINTER,
  COL_CHECKER_DARK,
  COL_CHECKER_LIGHT,
  COL_WATER,
  COL_TEXTURED,
  COL_TELEPORT,
  COL_FENCE,
  COL_COUNT
};

using ColourSet = std::array<Rgba, COL_COUNT>;

// The colours above water.
const ColourSet& aboveWaterColours();
// One colour as seen under water: mixed 30% with the water colour, alpha 0.3.
Rgba underwaterVariant(const Rgba& c);
// Every colour's underwater variant (the water's own is fixed).
ColourSet underwaterColours();

}  // namespace vorlund
