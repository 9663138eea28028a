// The "World" parameter table and its accessor. Setting the type, size or map
// through the accessor rebuilds the terrain (and clears the creatures off it
// when it really changed); water level and boundaries take effect at once.
// Within a record read from a file the terrain is rebuilt once, at its end.
#pragma once

#include <string_view>

#include "core/param.h"

namespace vorlund {

class world;

// Indices of the "World" table.
constexpr int WRLD_TYP = 0;
constexpr int WRLD_SIZ = 1;
constexpr int WRLD_WAT = 2;
constexpr int WRLD_BND = 3;
constexpr int WRLD_MAP = 4;

const ParamTab* worldParamTable();

class wrld_param : public param {
 public:
  // Binds the table to the world's settings; the world must outlive the accessor.
  explicit wrld_param(world& w);

 protected:
  int setLocal(int i, std::string_view text) override;
  void recordBegins() override;
  void recordEnded() override;

 private:
  world* world_;
  // Records being read, and whether one of them set the type, size or map:
  // the type alone comes before the map, and a blocks world without its map
  // is no terrain to build or complain about.
  int records_ = 0;
  bool changePending_ = false;
};

}  // namespace vorlund
