// The random draws of encoding-1 mutation: the site die, neuron weights from
// their distribution tables, the polar normal draw and characters picked from
// a set minus an exclusion list. All of them use the process-wide generator.
#pragma once

#include <string_view>

namespace vorlund::f1 {

// Uniform in [0, 1) with 15 bits of resolution.
double unitDraw();

// A weight for an input whose receptor character is `receptor` ('!', '=', '/'
// choose their own tables; anything else, an integer input included, the general one).
double drawWeight(char receptor);

// Standard normal values by the polar method; every second value comes from
// the pair computed for the previous one.
class NormalDraw {
 public:
  double next();
  // The value kept for the next call, if any (saved with a run).
  bool hasSaved() const { return hasSaved_; }
  double saved() const { return saved_; }
  void restore(bool hasSaved, double saved) {
    hasSaved_ = hasSaved;
    saved_ = saved;
  }

 private:
  bool hasSaved_ = false;
  double saved_ = 0.0;
};

// A character of `set` that is not in `excluded`, uniformly. When every one of
// the allowed attempts falls in the exclusion list, reports it and returns the
// last character drawn.
char drawChar(std::string_view set, std::string_view excluded);

}  // namespace vorlund::f1
