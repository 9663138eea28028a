// The "Creature" table and its accessor: a living object's name, texts,
// measuring status, performance and energy account.
#pragma once

#include <string>
#include <string_view>

#include "core/param.h"

namespace vorlund {

class org;

extern const ParamEntry kCreatureTable[];

// The status text: "performance", "wait4freeze" or "wait4up", then "+growing" while growing.
std::string creatureStatus(const org& o);

class org_param : public param {
 public:
  explicit org_param(org* o = nullptr);
  void bind(org* o) { setBase(o); }

 protected:
  void* fieldAddress(int i) override;

 private:
  double number_ = 0;
  std::string text_;
};

}  // namespace vorlund
