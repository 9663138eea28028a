#include "genetics/genoconv.h"

#include <cstddef>

#include "core/strutil.h"
#include "genetics/converters.h"
#include "genetics/genman.h"

namespace vorlund {

namespace {

constexpr int32_t enabledOffset(int i) {
  return static_cast<int32_t>(offsetof(GenoConvManager::Entries, items) + i * sizeof(ConverterEntry) +
                              offsetof(ConverterEntry, enabled));
}

constexpr ParamTab kGenoConvTab[] = {
    paramHeader("Genetics: Conversions", 1, GENOCONV_COUNT, "gkparam:"),
    {"genkonw0", 0, "f1 -> f0", "d 0 1", enabledOffset(0), "Standard Vorlund converter"},
    {"genkonw1", 0, "f2 -> f1", "d 0 1", enabledOffset(1), "Standard Vorlund converter"},
    {"genkonw2", 0, "Tovi: f4->f0", "d 0 1", enabledOffset(2), "Custom converter by Tovi"},
    {"genkonw3", 0, "Tovi: f4->f1", "d 0 1", enabledOffset(3), "Custom converter by Tovi"},
    {"genkonw4", 0, "Tovi: f1->f0", "d 0 1", enabledOffset(4), "Custom converter by Tovi"},
    paramEnd(),
};
static_assert(paramTableValid(kGenoConvTab));

}  // namespace

GenoConvManager::GenoConvManager() : params_(kGenoConvTab, &entries_) {
  entries_.items = {{
      {"f1 -> f0", '1', '0', convertF1ToF0, "Standard Vorlund converter", 1},
      {"f2 -> f1", '2', '1', convertF2ToF1, "Standard Vorlund converter", 1},
      {"Tovi: f4->f0", '4', '0', convertF4ToF0, "Custom converter by Tovi", 1},
      {"Tovi: f4->f1", '4', '1', convertF4ToF1, "Custom converter by Tovi", 1},
      {"Tovi: f1->f0", '1', '0', convertF1ToF0ViaF4, "Custom converter by Tovi", 1},
  }};
}

bool GenoConvManager::search(char from, char to, int limit, std::vector<int>& chain) const {
  if (limit <= 0) return false;
  for (int i = 0; i < GENOCONV_COUNT; ++i) {
    const ConverterEntry& e = entries_.items[i];
    if (!e.enabled || e.from != from) continue;
    chain.push_back(i);
    if (e.to == to || search(e.to, to, limit - 1, chain)) return true;
    chain.pop_back();
  }
  return false;
}

std::vector<int> GenoConvManager::findChain(char from, char to) const {
  std::vector<int> chain;
  for (int limit = 1; limit <= GENOCONV_MAX_CHAIN; ++limit) {
    chain.clear();
    if (search(from, to, limit, chain)) return chain;
  }
  return {};
}

int GenoConvManager::Convert(const std::string& text, char format, std::string& out) const {
  const char from = GenMan::GetFormat(text);
  if (from == format) {
    out = text;
    return 1;
  }
  const std::vector<int> chain = findChain(from, format);
  if (chain.empty()) {
    out = kConverterNotFound;
    return 0;
  }
  std::string current = text.substr(GenMan::SkipMarker(text));
  for (int i : chain) {
    const ConverterEntry& e = entries_.items[i];
    std::string next;
    if (e.convert == nullptr || e.convert(current, next) == 0) {
      out = ssprintf("/* f%c->f%c conversion failed (%s) */", e.from, e.to, e.name);
      return 0;
    }
    current.swap(next);
  }
  if (format == '1') {
    out = current;
  } else {
    out = ssprintf("/*%c*/\n", format);
    out += current;
  }
  return 1;
}

}  // namespace vorlund
