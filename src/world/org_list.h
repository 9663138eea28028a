// A list of simulated objects that owns them: the living creatures and the
// food of the world are two of these. Removing an object destroys it unless it
// is taken out with `release` (how an object moves from one list to the other).
#pragma once

#include <memory>

#include "core/lists.h"
#include "world/org.h"

namespace vorlund {

class OrgList : public lista2<org> {
 public:
  OrgList() = default;
  ~OrgList() override { clear(); }

  // Takes ownership of `o` and appends it (at its sorted place when sorted).
  org* adopt(std::unique_ptr<org> o) {
    org* raw = o.release();
    lista2<org>::add(raw);
    return raw;
  }
  // lista2's entry point; the list takes ownership of `x`.
  void add(org* x) override { adopt(std::unique_ptr<org>(x)); }

  // Takes object i out (with notifications) and hands it over.
  std::unique_ptr<org> release(int i) {
    org* x = get(i);
    if (x == nullptr) return nullptr;
    lista2<org>::removeAt(i);
    return std::unique_ptr<org>(x);
  }
  // Removes and destroys object i.
  void removeAt(int i) override { release(i); }
};

}  // namespace vorlund
