#include "view/gl_settings.h"

#include <cstddef>
#include <type_traits>

namespace vorlund {

namespace {

#define SGL(field) static_cast<int32_t>(offsetof(GlSettings, field))
#define SGL_TEX(k) static_cast<int32_t>(offsetof(GlSettings, sgl_tex) + (k) * sizeof(std::string))

constexpr ParamTab kGlTab[] = {
    paramHeader("OpenGL", 2, 20, nullptr),
    paramGroup("OpenGL: Textures"),
    {"sgl_mode", 0, "Color mode", "d 0 1 ~RGB (True Color)~Color Index", SGL(sgl_mode),
     "Color Index is much faster\nbut some effects are not supported in this mode\n(individual sticks colours, fog, "
     "color blending)"},
    {"sgl_shape", 0, "Stick shape", "d 0 1 ~Box~Cylinder", SGL(sgl_shape), nullptr},
    {"sgl_shading", 0, "Shading", "d 0 1 ~Flat~Smooth", SGL(sgl_shading), nullptr},
    {"sgl_style", 0, "Style", "d 0 3 ~Points~Lines~Silhouette~Filled", SGL(sgl_style), nullptr},
    {"sgl_shadow", 0, "Shadows", "d 0 1", SGL(sgl_shadow), nullptr},
    {"sgl_texture", 0, "Textures", "d 0 1", SGL(sgl_texture), nullptr},
    {"sgl_blend", 0, "Color blending", "d 0 2 ~Off~Fake (pattern)~True (RGB)", SGL(sgl_blend),
     "Fake color blending is much faster"},
    {"sgl_fog", 0, "Fog density", "f 0 100", SGL(sgl_fog), nullptr},
    {"sgl_xtras", 0, "Extras", "d 0 1", SGL(sgl_xtras), "Draw stick's accessories (muscles, receptors)"},
    {"sgl_drawflat", 0, "Checker on flat ground", "d 0 1", SGL(sgl_drawflat), nullptr},
    {"sgl_lia", 0, "Light angle", "f 0 360", SGL(sgl_lia), nullptr},
    {"sgl_lih", 0, "Light height", "f 0 90", SGL(sgl_lih), "0=side, 90=top"},
    {"sgl_tex_0", 1, "Ground", "s 2 100", SGL_TEX(0), nullptr},
    {"sgl_tex_1", 1, "Heights", "s 2 100", SGL_TEX(1), nullptr},
    {"sgl_tex_2", 1, "Underwater", "s 2 100", SGL_TEX(2), nullptr},
    {"sgl_tex_3", 1, "Water surface", "s 2 100", SGL_TEX(3), nullptr},
    {"sgl_tex_4", 1, "Energy balls", "s 2 100", SGL_TEX(4), nullptr},
    {"sgl_tex_5", 1, "World boundary", "s 2 100", SGL_TEX(5), nullptr},
    {"sgl_tex_6", 1, "Teleport zone", "s 2 100", SGL_TEX(6), nullptr},
    {"sgl_lintex", 1, "Interpolation", "d 0 1", SGL(sgl_lintex), nullptr},
    paramEnd(),
};
#undef SGL
#undef SGL_TEX
static_assert(paramTableValid(kGlTab));
static_assert(std::is_standard_layout_v<GlSettings>);

constexpr Rgba kWaterColour{0.0f, 0.5f, 1.0f, 0.3f};
constexpr Rgba kWaterUnderwater{0.2f, 0.8f, 1.0f, 0.5f};
constexpr float kUnderwaterMix = 0.3f;

constexpr ColourSet kAbove = {{
    {0.7f, 0.7f, 0.6f, 1.0f},  // sky
    {0.0f, 0.0f, 0.0f, 0.5f},  // shadow
    {0.2f, 0.2f, 0.2f, 1.0f},  // touch
    {1.0f, 0.0f, 0.0f, 1.0f},  // muscle
    {1.0f, 0.6f, 0.0f, 1.0f},  // smell
    {1.0f, 1.0f, 1.0f, 1.0f},  // gyroscope
    {0.3f, 0.7f, 0.3f, 1.0f},  // green
    {1.0f, 0.7f, 0.4f, 1.0f},  // energy ball
    {1.0f, 0.8f, 0.2f, 1.0f},  // eating end
    {0.6f, 0.6f, 0.6f, 1.0f},  // corpse
    {0.2f, 0.6f, 1.0f, 1.0f},  // pointer
    {0.8f, 0.8f, 0.6f, 1.0f},  // checker dark
    {0.9f, 0.9f, 0.7f, 1.0f},  // checker light
    kWaterColour,
    {1.0f, 1.0f, 1.0f, 1.0f},  // textured
    {1.0f, 1.0f, 1.0f, 1.0f},  // teleport
    {0.7f, 0.3f, 0.1f, 1.0f},  // fence
}};

}  // namespace

const ParamTab* glParamTable() { return kGlTab; }

const char* textureSlotName(int slot) {
  if (slot < 0 || slot >= kTextureSlots) return "";
  // The header stands for the first group; the second group's row follows it.
  return kGlTab[2 + SGL_TEX_0 + slot].name;
}

GlParams::GlParams(GlSettings& s) : param(kGlTab, &s) {}

int GlParams::setLocal(int i, std::string_view text) {
  const int result = setBase(i, text);
  if (changed) changed(i);
  return result;
}

const ColourSet& aboveWaterColours() { return kAbove; }

Rgba underwaterVariant(const Rgba& c) {
  const Rgba& w = kWaterColour;
  return {(1 - kUnderwaterMix) * c.r + kUnderwaterMix * w.r, (1 - kUnderwaterMix) * c.g + kUnderwaterMix * w.g,
          (1 - kUnderwaterMix) * c.b + kUnderwaterMix * w.b, kUnderwaterMix};
}

ColourSet underwaterColours() {
  ColourSet set;
  for (int i = 0; i < COL_COUNT; ++i) set[static_cast<size_t>(i)] = underwaterVariant(kAbove[static_cast<size_t>(i)]);
  set[COL_WATER] = kWaterUnderwater;
  return set;
}

}  // namespace vorlund
