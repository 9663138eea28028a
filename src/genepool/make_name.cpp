#include "genepool/make_name.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>

#include "world/org.h"

namespace vorlund {

namespace {

constexpr const char* kSyllableVowels = "aeiouy";
constexpr const char* kSyllableConsonants = "bcdfghklmnprstwz";
constexpr uint32_t kSyllableRange = 96;
constexpr const char* kMassLetters = "shtkdgmr";  // by the largest mass of a run, capped at 7
constexpr int kMaxMassLetter = 7;
constexpr const char* kInputLetters = "yeaou";  // by the largest input count of a run, capped at 4
constexpr int kMaxInputLetter = 4;
constexpr int kMaxRunSplits = 4;  // at most five runs

std::string syllable(uint32_t x) {
  const uint32_t u = x % kSyllableRange;
  std::string s(1, kSyllableVowels[u % 6]);
  if (u >= 6) s += kSyllableConsonants[u / 6];
  return s;
}

void capitalize(std::string& s) {
  if (!s.empty()) s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
}

// Calls `run(first, last)` for each of splits + 1 consecutive runs over count items.
template <class F>
void forEachRun(int count, int splits, F run) {
  int first = 0;
  for (int j = 0; j <= splits; ++j) {
    const int last = static_cast<int>(static_cast<long long>(count) * (j + 1) / (splits + 1)) - 1;
    run(first, last);
    first = last + 1;
  }
}

int floorSqrtCapped(int n) {
  if (n <= 0) return 0;
  return std::min(kMaxRunSplits, static_cast<int>(std::floor(std::sqrt(static_cast<double>(n)))));
}

}  // namespace

std::string makeGenotypeNamePart(const std::string& genotype) {
  uint32_t h1 = 0, h2 = 0, h3 = 0;
  for (char ch : genotype) {
    const uint32_t c = static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(ch)));
    h1 += c;
    h2 = h2 * c + c;
    h3 = (h3 ^ c) + c;
  }
  std::string part = syllable(h1) + syllable(h2) + syllable(h3);
  capitalize(part);
  return part;
}

std::string makeBodyNamePart(const org& creature) {
  std::string consonants, vowels;
  const int ends = creature.sesCount();
  const int k = ends >= 1 ? floorSqrtCapped(ends - 1) : 0;
  if (ends >= 1) {
    forEachRun(ends, k, [&](int first, int last) {
      double m = 1.0;
      for (int i = first; i <= last; ++i) m = std::max(m, creature.getSes(i)->m);
      const int letter = m >= kMaxMassLetter ? kMaxMassLetter : static_cast<int>(std::floor(m));
      consonants += kMassLetters[letter];
    });
  }
  const int neurons = creature.neuroCount();
  if (neurons >= 1) {
    forEachRun(neurons, floorSqrtCapped(neurons), [&](int first, int last) {
      int count = 0;
      for (int i = first; i <= last; ++i) count = std::max(count, creature.getNeuro(i)->inputCount());
      vowels += kInputLetters[std::min(kMaxInputLetter, count)];
    });
  }
  if (static_cast<int>(vowels.size()) < (k + 2) / 2) vowels.resize(static_cast<std::size_t>(k / 2 + 1), 'i');

  const bool consonantsShorter = consonants.size() <= vowels.size();
  const std::string& S = consonantsShorter ? consonants : vowels;
  const std::string& L = consonantsShorter ? vowels : consonants;
  const long sn = static_cast<long>(S.size()), ln = static_cast<long>(L.size()), n = sn + ln;
  std::string out;
  long takenS = 0, takenL = 0;
  for (long t = 0; t <= n && n > 0; ++t) {
    while (takenS < sn && takenS <= t * sn / n - 1) out += S[static_cast<std::size_t>(takenS++)];
    while (takenL < ln && takenL <= t * ln / n - 1) out += L[static_cast<std::size_t>(takenL++)];
  }
  capitalize(out);
  return out;
}

std::string makeName(const org& creature) {
  return makeGenotypeNamePart(creature.genotype) + " " + makeBodyNamePart(creature);
}

}  // namespace vorlund
