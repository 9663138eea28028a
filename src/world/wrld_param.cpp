#include "world/wrld_param.h"

#include <cstddef>

#include "world/world_map.h"

namespace vorlund {

namespace {

constexpr ParamTab kWorldTab[] = {
    paramHeader("World", 1, 5, nullptr),
    {"wrldtyp", 0, "Type", "d 0 1 ~Flat surface~Blocks", offsetof(WorldSettings, wrldtyp), nullptr},
    {"wrldsiz", 0, "Size", "f 10 200", offsetof(WorldSettings, wrldsiz), "Side length of the world"},
    {"wrldwat", 0, "Water level", "f -20 30", offsetof(WorldSettings, wrldwat), nullptr},
    {"wrldbnd", 0, "Boundaries", "d 0 2 ~None~Fence~Teleport", offsetof(WorldSettings, wrldbnd), nullptr},
    {"wrldmap", 0, "Map", "s 1 300", offsetof(WorldSettings, wrldmap),
     "Description of the world (Type: Blocks). Format:\nr <sizex> <sizey> [seed]\n or \nm <sizex> <sizey> digits"},
    paramEnd(),
};
static_assert(paramTableValid(kWorldTab));

}  // namespace

const ParamTab* worldParamTable() { return kWorldTab; }

wrld_param::wrld_param(world& w) : param(kWorldTab, &w.vars), world_(&w) {}

int wrld_param::setLocal(int i, std::string_view text) {
  const int result = setBase(i, text);
  // Water and boundaries are read at every query; the rest shapes the terrain.
  if (i == WRLD_TYP || i == WRLD_SIZ || i == WRLD_MAP) {
    if (records_ > 0)
      changePending_ = true;
    else
      world_->settingsChanged();
  }
  return result;
}

void wrld_param::recordBegins() { ++records_; }

void wrld_param::recordEnded() {
  if (records_ > 0) --records_;
  if (records_ == 0 && changePending_) {
    changePending_ = false;
    world_->settingsChanged();
  }
}

}  // namespace vorlund
