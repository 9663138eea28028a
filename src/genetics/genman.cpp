#include "genetics/genman.h"

#include <cstddef>

#include "core/message.h"
#include "core/strutil.h"
#include "genetics/genoconv.h"

namespace vorlund {

namespace {

constexpr ParamTab kGenManTab[] = {
    paramHeader("Genetics", 2, 6, nullptr),
    paramGroup("Genetics: Statistics"),
    {"gen_hist", 0, "Remember history of genetic operations?", "d 0 1", offsetof(GenManFields, gen_hist),
     "Required for phylogenetic analysis"},
    {"gen_count", 1 | PF_READONLY, "Number of genetic operations so far", "d", offsetof(GenManFields, gen_count),
     "(Internal)"},
    {"gen_failm", 1 | PF_READONLY, "Failed mutations", "d", offsetof(GenManFields, gen_failm), "(Internal)"},
    {"gen_failxo", 1 | PF_READONLY, "Failed crossovers", "d", offsetof(GenManFields, gen_failxo), "(Internal)"},
    {"gen_invlm", 1 | PF_READONLY, "Invalid mutations", "d", offsetof(GenManFields, gen_invlm), "(Internal)"},
    {"gen_invlxo", 1 | PF_READONLY, "Invalid crossovers", "d", offsetof(GenManFields, gen_invlxo), "(Internal)"},
    paramEnd(),
};
static_assert(paramTableValid(kGenManTab));

bool hasMarker(std::string_view text) { return text.size() >= 2 && text[0] == '/' && (text[1] == '*' || text[1] == '/'); }

bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The operator's repair accepts a child when it is valid (possibly after repair).
// An encoding without a repair step (encoding 2) accepts every child as it is;
// otherwise none of its mutants could ever be accepted.
bool validated(TGeno_fx& op, std::string& body) {
  const int v = op.Validate(body);
  return v == 0 || v == -1 || v == GENOPER_NOT_PROVIDED;
}

}  // namespace

GenMan::GenMan() : params_(kGenManTab, &vars) {}

GenMan::~GenMan() = default;

void GenMan::registerOperator(char format, std::unique_ptr<TGeno_fx> oper) {
  param* p = oper->parameters();
  if (p != nullptr) params_.append(p);
  opers_.push_back(GenoOper{std::move(oper), p, format});
}

const GenoOper* GenMan::findOper(char format) const {
  for (const GenoOper& o : opers_)
    if (o.format == format) return &o;
  return nullptr;
}

TGeno_fx* GenMan::findOperator(char format) const {
  const GenoOper* o = findOper(format);
  return o ? o->oper.get() : nullptr;
}

char GenMan::GetFormat(std::string_view text) {
  if (!hasMarker(text)) return '1';
  return text.size() > 2 ? text[2] : '\0';
}

std::size_t GenMan::SkipMarker(std::string_view text) {
  if (!hasMarker(text)) return 0;
  if (text[1] == '*') {
    const std::size_t close = text.find("*/", 2);
    return close == std::string_view::npos ? text.size() : close + 2;
  }
  const std::size_t eol = text.find('\n', 2);
  return eol == std::string_view::npos ? text.size() : eol + 1;
}

std::string GenMan::marker(char format) const {
  if (format == '1') return {};
  std::string m = "/*";
  m += format;
  m += "*/";
  const GenoOper* o = findOper(format);
  if (o == nullptr || o->oper->MarkerNewline()) m += '\n';
  return m;
}

std::string GenMan::wrap(char format, const std::string& body) const { return marker(format) + body; }

int GenMan::CheckValidity(const std::string& text) const {
  const char f = GetFormat(text);
  const GenoOper* o = findOper(f);
  if (o == nullptr) return GENMAN_NO_OPERATOR;
  const std::size_t skip = SkipMarker(text);
  const int r = o->oper->CheckValidity(text.substr(skip));
  return r > 0 ? r + static_cast<int>(skip) : r;
}

int GenMan::Validate(std::string& text) {
  const char f = GetFormat(text);
  const GenoOper* o = findOper(f);
  if (o == nullptr) return GENMAN_NO_OPERATOR;
  const std::string original = text.substr(SkipMarker(text));
  std::string body = original;
  const int r = o->oper->Validate(body);
  if (r != 0 && r != -1) return GENMAN_FAILED;
  // A body the operator left alone keeps its own marker: wrapping it again
  // would add another line break behind the marker of an encoding that wants one.
  if (body != original) text = wrap(f, body);
  return GENMAN_OK;
}

int GenMan::Mutate(const std::string& parentName, std::string& text, std::string& info) {
  const std::string parent = text;
  const char f = GetFormat(parent);
  const GenoOper* o = findOper(f);
  if (o == nullptr) return GENMAN_NO_OPERATOR;
  const std::string parentBody = parent.substr(SkipMarker(parent));
  const int start = vars.gen_count;
  float change = GENMAN_INITIAL_MUTATION_CHANGE;
  std::string mutant;
  while (true) {
    mutant = parentBody;
    bool accepted = false;
    if (o->oper->Mutate(mutant, change) != 0) {
      ++vars.gen_failm;
    } else if (validated(*o->oper, mutant) && mutant != parentBody) {
      accepted = true;
    } else {
      ++vars.gen_invlm;
    }
    ++vars.gen_count;
    if (accepted) break;
    if (vars.gen_count - start >= GENMAN_MAX_ATTEMPTS) {
      logMessage("GenMan", "Mutate", "Tried 100x and failed: " + parent, LOG_ERROR);
      return GENMAN_FAILED;
    }
  }
  text = wrap(f, mutant);
  info = ssprintf("[%.2f%% mutation of '%s']", change * 100.0, parentName.c_str());
  if (vars.gen_hist == 1) history_.push_back(GenoLink{vars.gen_count, parent, text, change, 0.0f});
  return GENMAN_OK;
}

int GenMan::CrossOver(const std::string& name1, std::string& text1, std::string& info1, const std::string& name2,
                      std::string& text2, std::string& info2) {
  const char f = GetFormat(text1);
  if (f != GetFormat(text2)) return GENMAN_NO_OPERATOR;
  const std::string parent1 = text1, parent2 = text2;
  const GenoOper* o = findOper(f);
  if (o == nullptr) return GENMAN_NO_OPERATOR;
  const std::string body1 = parent1.substr(SkipMarker(parent1));
  const std::string body2 = parent2.substr(SkipMarker(parent2));
  const int start = vars.gen_count;
  float change1 = GENMAN_INITIAL_CROSSOVER_CHANGE, change2 = GENMAN_INITIAL_CROSSOVER_CHANGE;
  std::string child1, child2;
  while (true) {
    child1 = body1;
    child2 = body2;
    bool accepted = false;
    if (o->oper->CrossOver(child1, child2, change1, change2) != 0) {
      ++vars.gen_failxo;
    } else {
      // Both children are validated (and so repaired) in every successful attempt.
      const bool good1 = validated(*o->oper, child1) && child1 != body1;
      const bool good2 = validated(*o->oper, child2) && child2 != body2;
      accepted = good1 || good2;
      if (!accepted) ++vars.gen_invlxo;
    }
    ++vars.gen_count;
    if (accepted) break;
    if (vars.gen_count - start >= GENMAN_MAX_ATTEMPTS) {
      logMessage("GenMan", "CrossOver", "Tried 100x and failed: " + parent1 + " and " + parent2, LOG_ERROR);
      return GENMAN_FAILED;
    }
  }
  text1 = wrap(f, child1);
  text2 = wrap(f, child2);
  info1 = ssprintf("[Crossing over of '%s' (%.2f%%) and '%s' (%.2f%%)]", name1.c_str(), change1 * 100.0,
                   name2.c_str(), (1.0 - change1) * 100.0);
  info2 = ssprintf("[Crossing over of '%s' (%.2f%%) and '%s' (%.2f%%)]", name2.c_str(), change2 * 100.0,
                   name1.c_str(), (1.0 - change2) * 100.0);
  if (vars.gen_hist == 1) {
    history_.push_back(GenoLink{vars.gen_count, parent1, text1, change1, 0.0f});
    history_.push_back(GenoLink{vars.gen_count, parent2, text2, change2, 0.0f});
  }
  return GENMAN_OK;
}

float GenMan::Similarity(const std::string& text1, const std::string& text2) const {
  const char f = GetFormat(text1);
  if (f != GetFormat(text2)) return static_cast<float>(GENMAN_NO_OPERATOR);
  const GenoOper* o = findOper(f);
  if (o == nullptr) return static_cast<float>(GENMAN_NO_OPERATOR);
  return o->oper->Similarity(text1, text2);
}

uint32_t GenMan::Style(const std::string& text, int position) const {
  if (position >= 0 && static_cast<std::size_t>(position) < SkipMarker(text)) return GENSTYLE_MARKER;
  const GenoOper* o = findOper(GetFormat(text));
  return o ? o->oper->Style(text, position) : 0;
}

int GenMan::SameGenotype(const char* text1, const char* text2) {
  if (text1 == nullptr || text2 == nullptr) {
    logMessage("GenMan", "SkipWS", "NULL reference!", LOG_ERROR);
    return 1;
  }
  const char* a = text1;
  const char* b = text2;
  while (true) {
    while (isWhite(*a)) ++a;
    while (isWhite(*b)) ++b;
    if (*a != *b) return 1;
    if (*a == 0) return 0;
    ++a;
    ++b;
  }
}

int GenMan::Convert(const std::string& text, char format, std::string& out) const {
  if (converters_ == nullptr) {
    out = kConverterNotFound;
    return 0;
  }
  return converters_->Convert(text, format, out);
}

void GenMan::clearStatistics() {
  vars.gen_count = vars.gen_failm = vars.gen_failxo = vars.gen_invlm = vars.gen_invlxo = 0;
  history_.clear();
}

}  // namespace vorlund
