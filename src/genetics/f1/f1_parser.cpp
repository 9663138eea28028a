#include "genetics/f1/f1_parser.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "core/message.h"
#include "core/random.h"
#include "core/strutil.h"
#include "genetics/f1/f1_alphabet.h"
#include "genetics/f1/f1_random.h"
#include "genetics/f1/f1_repair.h"

namespace vorlund::f1 {

namespace {

// Connections are read with saturation here; anything this large is out of range anyway.
constexpr long kIntegerCap = 999999999L;
// A random connection for a new input or neuron: one neuron back or forward.
int randomDirection() { return (r31() & 1) ? 1 : -1; }

}  // namespace

std::string normaliseModifiers(const std::string& letters) {
  int count[256] = {};
  for (char c : letters) {
    const auto partner = static_cast<unsigned char>(oppositeCase(c));
    if (count[partner] > 0)
      --count[partner];
    else
      ++count[static_cast<unsigned char>(c)];
  }
  std::string out;
  for (char m : kModifiers)
    out.append(static_cast<std::size_t>(std::min(count[static_cast<unsigned char>(m)], kMaxSameModifier)), m);
  return out;
}

F1Parser::F1Parser(F1Mode mode, F1MutationSettings settings) : mode_(mode), settings_(settings) {
  // Mutation sites cannot work without their probabilities.
  if (mode_ == F1Mode::Mutate && (settings_.params == nullptr || settings_.normal == nullptr)) mode_ = F1Mode::Repair;
}

int F1Parser::run(std::string& text) {
  text_ = &text;
  changed_ = false;
  edits_.clear();
  intInputs_.clear();
  if (mode_ == F1Mode::Check) {
    const int r = parse();
    if (changed_) logMessage("TGeno_f1", "Check/Validate", "Code flaw", LOG_ERROR);
    return r;
  }
  trimLeadingWhiteSpace(text);
  if (balanceParentheses(text)) changed_ = true;
  if (removeEmptyGroups(text)) changed_ = true;
  squeezeWhiteSpace(text);
  const int r = parse();
  if (r != 0) return r;
  // Clamped connections leave padding behind; the repairs keep the result in their normal form.
  if (balanceParentheses(text)) changed_ = true;
  if (removeEmptyGroups(text)) changed_ = true;
  squeezeWhiteSpace(text);
  return 0;
}

int F1Parser::parse() {
  pos_ = 0;
  error_ = 0;
  neuronNumber_ = 0;
  neuronCount_ = 0;
  for (char c : *text_)
    if (c == '[') ++neuronCount_;
  body();
  return error_;
}

bool F1Parser::fail(std::size_t position) {
  if (error_ == 0) error_ = static_cast<int>(position) + 1;
  return false;
}

void F1Parser::skipWhite() {
  while (pos_ < text_->size() && isWhite((*text_)[pos_])) ++pos_;
}

bool F1Parser::body() {
  skipWhite();
  if (atEnd()) return fail(pos_);
  if (isModifier(peek()) || peek() == 'X') {
    if (!stickSequence()) return false;
    skipWhite();
  }
  if (peek() == '(' && !branching(1)) return false;
  skipWhite();
  if (!atEnd()) return fail(pos_);
  return true;
}

bool F1Parser::stickSequence() {
  const std::string& s = *text_;
  // Every group consumes at least its 'X', so the text length bounds the loop.
  while (true) {
    skipWhite();
    if (!(isModifier(peek()) || peek() == 'X')) return true;
    if (mode_ == F1Mode::Mutate) groupStartSites(pos_);

    const std::size_t runStart = pos_;
    std::size_t runEnd = pos_;
    std::string letters;
    while (isModifier(peek())) {
      if (static_cast<int>(letters.size()) >= kMaxModifierRun) {
        logMessage("TGeno_f1", "modif", "Too many modifiers in genotype", LOG_CRITICAL);
        return fail(pos_);
      }
      letters += peek();
      ++pos_;
      runEnd = pos_;
      skipWhite();
    }
    if (mode_ == F1Mode::Mutate) modifierRunSite(runStart, runEnd, letters);

    if (peek() == '(' && !letters.empty()) return true;  // the branching takes over
    if (peek() != 'X') return fail(pos_);
    const std::size_t x = pos_++;
    if (mode_ == F1Mode::Mutate && fires(settings_.params->geno_f1_sm0, false)) record(x, x + 1, "");

    bool anyNeuron = false;
    while (true) {
      const std::size_t afterPrevious = pos_;
      skipWhite();
      if (peek() != '[') {
        pos_ = afterPrevious;
        break;
      }
      const std::size_t neuronStart = pos_;
      if (!neuron()) return false;
      anyNeuron = true;
      if (mode_ == F1Mode::Mutate) afterStickSites(pos_, neuronStart, true);
    }
    if (!anyNeuron && mode_ == F1Mode::Mutate) {
      std::size_t look = pos_;
      while (look < s.size() && (isWhite(s[look]) || isModifier(s[look]))) ++look;
      if (look >= s.size() || s[look] != '(') afterStickSites(pos_, 0, false);
    }
  }
}

bool F1Parser::branching(int depth) {
  if (depth > kMaxBranchDepth) return fail(pos_);
  const std::size_t open = pos_;
  if (mode_ == F1Mode::Mutate) {
    const F1Params& p = *settings_.params;
    if (fires(p.geno_f1_sm0, false))
      record(open, open, "X");
    else if (fires(p.geno_f1_sm1, false))
      record(open, open + 1, "");
    else
      modifierRunSite(open, open, "");
  }
  ++pos_;
  skipWhite();
  if (atEnd() || peek() == ')') return fail(pos_);
  while (true) {
    skipWhite();
    if (atEnd()) return fail(pos_);
    const char c = peek();
    if (c == ')') break;
    if (c == ',') {
      if (mode_ == F1Mode::Mutate) commaSites(pos_);
      ++pos_;
    } else if (isModifier(c) || c == 'X') {
      if (!stickSequence()) return false;
    } else if (c == '(') {
      if (!branching(depth + 1)) return false;
    } else {
      return fail(pos_);
    }
  }
  const std::size_t close = pos_++;
  if (mode_ == F1Mode::Mutate && fires(settings_.params->geno_f1_sm1, false)) record(close, close + 1, "");
  // Development ignores what follows a closed branching on the same path; so does the grammar.
  const std::size_t skipStart = pos_;
  while (!atEnd() && peek() != ',' && peek() != ')') ++pos_;
  if (mode_ == F1Mode::Mutate && pos_ > skipStart) record(skipStart, pos_, "");
  return true;
}

bool F1Parser::neuron() {
  const std::size_t open = pos_++;
  const int number = ++neuronNumber_;
  skipWhite();
  if (isMuscle(peek())) {
    const std::size_t m = pos_++;
    if (mode_ == F1Mode::Mutate && fires(settings_.params->geno_f1_nm3, true))
      record(m, m + 1, std::string(1, drawChar(kMusclesOrNone, settings_.params->mut_exctl)));
  } else if (mode_ == F1Mode::Mutate && fires(settings_.params->geno_f1_nm3, true)) {
    record(open + 1, open + 1, std::string(1, drawChar(kMuscles, settings_.params->mut_exctl)));
  }
  // Every input consumes characters, so the text length bounds the loop.
  while (true) {
    if (!input(number)) return false;
    skipWhite();
    if (peek() == ']') break;
    if (peek() != ',') return fail(pos_);
    ++pos_;
  }
  const std::size_t close = pos_++;
  if (mode_ == F1Mode::Mutate && fires(settings_.params->geno_f1_nm4, true))
    record(close, close,
           ssprintf(",%d :%.3lf", randomDirection(), settings_.normal->next() * 5.0));
  return true;
}

bool F1Parser::input(int neuronNumber) {
  std::string& s = *text_;
  skipWhite();
  const std::size_t start = pos_;
  char receptor = 0;
  std::size_t numberEnd = pos_;
  long value = 0;
  if (isReceptor(peek())) {
    receptor = peek();
    ++pos_;
  } else if (peek() == '-' || isDigit(peek())) {
    const bool negative = peek() == '-';
    if (negative) ++pos_;
    if (!isDigit(peek())) return fail(pos_);
    while (isDigit(peek())) {
      value = std::min(kIntegerCap, value * 10 + (peek() - '0'));
      ++pos_;
    }
    if (negative) value = -value;
    numberEnd = pos_;
  } else {
    return fail(pos_);
  }
  skipWhite();
  if (peek() != ':') return fail(pos_);
  const std::size_t colon = pos_++;

  if (receptor == 0) {
    const long lo = 1 - neuronNumber;
    const long hi = neuronCount_ - neuronNumber;
    if (value < lo || value > hi) {
      if (mode_ == F1Mode::Check) return fail(start);
      const long bound = value < lo ? lo : hi;
      std::string fixed = formatInt(bound);
      const std::size_t room = colon - start;
      if (fixed.size() > room) return fail(start);
      fixed.append(room - fixed.size(), ' ');
      s.replace(start, room, fixed);
      numberEnd = start + formatInt(bound).size();
      value = bound;
      changed_ = true;
    }
    intInputs_.push_back(F1IntInput{neuronNumber, static_cast<int>(start), static_cast<int>(colon), value});
  }

  skipWhite();
  const std::size_t weightStart = pos_;
  double weight = 0;
  const std::size_t used = parseReal(std::string_view(s).substr(pos_), weight);
  if (used == 0) return fail(pos_);
  // Infinite or undefined weights would poison the network that develops from them.
  if (!std::isfinite(weight)) return fail(pos_);
  pos_ += used;
  const std::size_t weightEnd = pos_;

  if (mode_ == F1Mode::Mutate) {
    const F1Params& p = *settings_.params;
    if (receptor != 0) {
      if (fires(p.geno_f1_nm5, true)) record(start, start + 1, "0");
    } else if (fires(p.geno_f1_nm1, true)) {
      const long changedValue = value + (rndBelow(3) - 1);
      const bool spaceFollows = numberEnd < s.size() && s[numberEnd] == ' ';
      record(start, numberEnd, ssprintf(spaceFollows ? "%ld" : "%ld ", changedValue));
    } else if (fires(p.geno_f1_nm5, true)) {
      record(start, numberEnd, std::string(1, drawChar(kReceptors, p.mut_exrec)));
    }
    if (fires(p.geno_f1_nm0, true)) record(weightStart, weightEnd, ssprintf("%.3lf", drawWeight(receptor)));
    std::size_t look = pos_;
    while (look < s.size() && isWhite(s[look])) ++look;
    const std::size_t inputEnd = (look < s.size() && s[look] == ',') ? look + 1 : weightEnd;
    if (fires(p.geno_f1_nm4, true)) record(start, inputEnd, "");
  }
  return true;
}

bool F1Parser::fires(double probability, bool neural) {
  const F1Params& p = *settings_.params;
  const double length = static_cast<double>(text_->size());
  const double intensity = neural ? p.mut_neu : p.mut_str;
  const double x = length > 0 ? probability / length * intensity * settings_.multiplier : 0.0;
  return unitDraw() < 1.0 - 1.0 / (1.0 + x);
}

void F1Parser::record(std::size_t start, std::size_t end, std::string text) {
  edits_.push_back(F1Edit{static_cast<int>(start), static_cast<int>(end), std::move(text)});
}

void F1Parser::groupStartSites(std::size_t at) {
  const F1Params& p = *settings_.params;
  if (fires(p.geno_f1_sm1, false)) record(at, at, "(");
  if (fires(p.geno_f1_sm1, false)) record(at, at, ")");
  if (fires(p.geno_f1_sm2, false)) record(at, at, ",");
  if (fires(p.geno_f1_sm0, false)) record(at, at, "X");
}

void F1Parser::modifierRunSite(std::size_t start, std::size_t end, const std::string& letters) {
  const F1Params& p = *settings_.params;
  std::string run = letters;
  bool drawn = false;
  if (fires(p.geno_f1_sm4, false)) {
    run.insert(run.begin(), drawChar(kModifiers, p.mut_exmod));
    drawn = true;
  }
  std::string normal = normaliseModifiers(run);
  if (drawn || normal != text_->substr(start, end - start)) record(start, end, std::move(normal));
}

void F1Parser::afterStickSites(std::size_t at, std::size_t neuronStart, bool afterNeuron) {
  const F1Params& p = *settings_.params;
  if (afterNeuron && fires(p.geno_f1_nm2, true)) record(neuronStart, at, "");
  if (fires(p.geno_f1_sm1, false)) record(at, at, "(");
  if (fires(p.geno_f1_sm1, false)) record(at, at, ")");
  if (fires(p.geno_f1_sm2, false)) record(at, at, ",");
  if (fires(p.geno_f1_sm3, false)) record(at, at, "(X,X)");
  if (fires(p.geno_f1_sm0, false)) record(at, at, "X");
}

void F1Parser::commaSites(std::size_t at) {
  const F1Params& p = *settings_.params;
  if (fires(p.geno_f1_sm2, false)) record(at, at + 1, "");
  if (fires(p.geno_f1_sm0, false)) record(at, at, "X");
  if (fires(p.geno_f1_sm0, false)) record(at + 1, at + 1, "X");
}

}  // namespace vorlund::f1
