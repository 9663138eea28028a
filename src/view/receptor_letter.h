// The letter that marks an input's receptor in the brain and world views.
#pragma once

#include "world/body.h"

namespace vorlund {

inline const char* receptorLetter(int typ) {
  switch (typ) {
    case WEJ_CONSTANT:
      return "*";
    case WEJ_TOUCH:
      return "T";
    case WEJ_EQUILIBRIUM:
      return "G";
    case WEJ_SMELL:
      return "S";
    default:
      return "?";
  }
}

}  // namespace vorlund
