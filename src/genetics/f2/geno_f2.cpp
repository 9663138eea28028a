#include "genetics/f2/geno_f2.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "core/random.h"
#include "genetics/f2/f2_alphabet.h"

namespace vorlund {

namespace {

constexpr ParamTab kGenoF2Tab[] = {
    paramHeader("Genetics: f2", 1, 3, nullptr),
    {"geno_f2_pro", 0, "XO prob.", "f 0 1", offsetof(GenoF2Fields, geno_f2_pro), ""},
    {"geno_f2_min", 0, "Min", "f 0 10", offsetof(GenoF2Fields, geno_f2_min), ""},
    {"geno_f2_max", 0, "Max", "f 0 10", offsetof(GenoF2Fields, geno_f2_max), ""},
    paramEnd(),
};
static_assert(paramTableValid(kGenoF2Tab));

constexpr const char* kReceptorsOrNone = "GTS*=/! ";  // the blank removes a receptor
constexpr const char* kMusclesOrNone = "|@ ";
constexpr const char* kDigits = "0123456789";
constexpr const char* kMutable = "0123456789|@GTS*=/!";

// Kinds 1 and 2 each happen once in this many mutations (kind 2 of the rest).
constexpr int kRareKindOdds = 30;
// A receptor or muscle of a line changes (or appears) once in this many mutations.
constexpr int kLineChangeOdds = 10;
// Counted character replacements of the second pass.
constexpr int kSecondPassChanges = 5;
// The second pass gives up after this many picks per character of the text;
// with at least one changeable character this is practically never reached.
constexpr std::size_t kSecondPassPicksPerChar = 50;

constexpr const char* kAllowed = "0123456789(),-\n stickconnGTS*=/!|@";
constexpr const char* kPlain = "()stickconn ";
constexpr uint32_t kRecordValueStyle = genStyleRgb(200, 0, 0);

using f2::inSet;
using f2::kMuscles;
using f2::kReceptors;

char drawFrom(const char* set) { return set[rndBelow(static_cast<int>(std::strlen(set)))]; }

// A random line or character of a non-empty list.
std::size_t pickBelow(std::size_t n) { return static_cast<std::size_t>(rndBelow(static_cast<int>(n))); }

bool chance(int odds) { return rndBelow(odds) == 0; }

// The lines of a text; a closing line break is kept apart so that it never
// counts as a line of its own.
struct Lines {
  std::vector<std::string> items;
  bool closingBreak = false;

  explicit Lines(const std::string& text) {
    std::string rest = text;
    if (!rest.empty() && rest.back() == '\n') {
      closingBreak = true;
      rest.pop_back();
    }
    std::size_t start = 0;
    while (true) {
      const std::size_t eol = rest.find('\n', start);
      if (eol == std::string::npos) {
        items.push_back(rest.substr(start));
        break;
      }
      items.push_back(rest.substr(start, eol - start));
      start = eol + 1;
    }
  }

  // The lines put back together as they came.
  std::string text() const {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i > 0) out += '\n';
      out += items[i];
    }
    if (closingBreak) out += '\n';
    return out;
  }

  // As text(), with carriage returns blanked.
  std::string join() const {
    std::string out = text();
    for (char& c : out)
      if (c == '\r') c = ' ';
    return out;
  }
};

bool isConnectionLine(const std::string& line) { return !line.empty() && line[0] == 'c'; }

void changeLine(std::string& line) {
  const bool conn = isConnectionLine(line);
  const std::size_t p = line.find_first_of("GTS*=/!(");
  if (p != std::string::npos) {
    if (line[p] != '(') {
      if (chance(kLineChangeOdds)) line[p] = drawFrom(kReceptorsOrNone);
    } else if (conn && chance(kLineChangeOdds)) {
      line.insert(p, std::string(1, drawFrom(kReceptors)) + " ");
    }
  }
  const std::size_t open = line.find('(');
  if (open == std::string::npos) return;
  const std::size_t m = line.find_first_of(kMuscles, open + 1);
  if (m != std::string::npos) {
    if (chance(kLineChangeOdds)) line[m] = drawFrom(kMusclesOrNone);
  } else if (conn && chance(kLineChangeOdds)) {
    // In front of the second list the muscle becomes that list's class character.
    const std::size_t second = line.find('(', open + 1);
    const std::size_t at = second != std::string::npos ? second : open + 1;
    line.insert(at, std::string(1, drawFrom(kMuscles)) + " ");
  }
}

}  // namespace

TGeno_f2::TGeno_f2() : params_(kGenoF2Tab, &vars) {}

int TGeno_f2::CheckValidity(const std::string&) { return 0; }

int TGeno_f2::Mutate(std::string& body, float& change) {
  last_ = F2MutationReport{};
  if (chance(kRareKindOdds)) {
    dropLine(body);
  } else if (chance(kRareKindOdds)) {
    repeatLine(body);
  } else {
    changeCharacters(body);
  }
  change = F2_MUTATION_CHANGE;
  return 0;
}

void TGeno_f2::dropLine(std::string& body) {
  last_.kind = 1;
  Lines lines(body);
  if (lines.items.size() < 2) return;
  lines.items.erase(lines.items.begin() + static_cast<std::ptrdiff_t>(pickBelow(lines.items.size())));
  body = lines.join();
}

void TGeno_f2::repeatLine(std::string& body) {
  last_.kind = 2;
  Lines lines(body);
  const std::size_t i = pickBelow(lines.items.size());
  const std::string copy = lines.items[i];
  if (isConnectionLine(copy))
    lines.items.push_back(copy);
  else
    lines.items.insert(lines.items.begin() + static_cast<std::ptrdiff_t>(i), copy);
  body = lines.join();
}

void TGeno_f2::changeCharacters(std::string& body) {
  last_.kind = 3;
  Lines lines(body);
  for (std::string& line : lines.items) changeLine(line);
  std::string text = lines.text();

  if (text.find_first_of(kMutable) != std::string::npos) {
    const std::size_t maxPicks = kSecondPassPicksPerChar * text.size();
    for (std::size_t picks = 0; picks < maxPicks && last_.replacements < kSecondPassChanges; ++picks) {
      char& c = text[pickBelow(text.size())];
      if (inSet(c, kDigits)) {
        c = drawFrom(kDigits);
      } else if (inSet(c, kMuscles)) {
        c = drawFrom(kMuscles);
      } else if (inSet(c, kReceptors)) {
        c = drawFrom(kReceptors);
      } else {
        continue;
      }
      ++last_.replacements;
    }
  }
  body = text;
}

uint32_t TGeno_f2::Style(const std::string& text, int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= text.size()) return 0;
  const char c = text[static_cast<std::size_t>(position)];
  if (!inSet(c, kAllowed)) return GENSTYLE_INVALID;
  if (inSet(c, kPlain)) return 0;
  return kRecordValueStyle;
}

}  // namespace vorlund
