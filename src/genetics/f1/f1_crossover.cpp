// Two-point crossover of encoding-1 genotypes.
#include <algorithm>
#include <vector>

#include "core/message.h"
#include "core/random.h"
#include "genetics/f1/geno_f1.h"

namespace vorlund {

namespace {

// A cut inside a neuron would split its inputs: scanning forward, the first
// structural character met is then its closing bracket. Found for every
// position at once (from the end), since a cut may be drawn many times.
std::vector<bool> positionsInsideNeurons(const std::string& text) {
  std::vector<bool> inside(text.size() + 1, false);
  for (std::size_t i = text.size(); i-- > 0;) {
    const char c = text[i];
    if (c == '[' || c == 'X' || c == '(' || c == ')')
      inside[i] = false;
    else
      inside[i] = c == ']' || inside[i + 1];
  }
  return inside;
}

// A cut position in 0 .. range - 1 that is not inside a neuron; false when none was found.
bool drawCut(const std::vector<bool>& inside, int range, int& cut) {
  for (int attempt = 0; attempt <= kF1CutPointRedraws; ++attempt) {
    cut = rndBelow(range);
    if (!inside[static_cast<std::size_t>(cut)]) return true;
  }
  return false;
}

bool drawSegment(const std::string& text, long& start, long& end) {
  const int length = static_cast<int>(text.size());
  const std::vector<bool> inside = positionsInsideNeurons(text);
  int a = 0, b = 0;
  if (!drawCut(inside, length, a) || !drawCut(inside, length + 1, b)) return false;
  start = std::min(a, b);
  end = std::max(a, b);
  return true;
}

float keptShare(long insertedLength, const std::string& child) {
  if (child.empty()) return 0.0f;
  return 1.0f - static_cast<float>(insertedLength) / static_cast<float>(child.size());
}

}  // namespace

int TGeno_f1::CrossOver(std::string& body1, std::string& body2, float& change1, float& change2) {
  if (body1.empty() || body2.empty()) {
    logMessage("TGeno_f1", "CrossOver", "Invalid parameter(s)", LOG_ERROR);
    return F1_FAILED;
  }
  long s1 = 0, e1 = 0, s2 = 0, e2 = 0;
  if (!drawSegment(body1, s1, e1) || !drawSegment(body2, s2, e2)) return F1_FAILED;
  const long len1 = static_cast<long>(body1.size());
  const long len2 = static_cast<long>(body2.size());
  if (vars.gm_xosegm == 1) {
    if (len2 < len1) {
      s2 = len2 * s1 / len1;
      e2 = len2 * e1 / len1;
    } else {
      s1 = len1 * s2 / len2;
      e1 = len1 * e2 / len2;
    }
  }
  const auto u = [](long v) { return static_cast<std::size_t>(v); };
  std::string child1 = body1.substr(0, u(s1)) + body2.substr(u(s2), u(e2 - s2)) + body1.substr(u(e1));
  std::string child2 = body2.substr(0, u(s2)) + body1.substr(u(s1), u(e1 - s1)) + body2.substr(u(e2));
  const float share1 = keptShare(e2 - s2, child1);
  const float share2 = keptShare(e1 - s1, child2);
  if (CheckValidity(child1) > 0 && CheckValidity(child2) > 0) return F1_FAILED;
  body1 = std::move(child1);
  body2 = std::move(child2);
  change1 = share1;
  change2 = share2;
  return 0;
}

}  // namespace vorlund
