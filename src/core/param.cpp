#include "core/param.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "core/strutil.h"

namespace vorlund {

namespace {

// Width of the scratch text that numbers are formatted into before cutting.
constexpr std::size_t kNumberScratch = 30;
// Characters of each value that a sort comparison looks at.
constexpr std::size_t kCompareChars = 29;

// "%ld" into a 32-bit field: leading blanks skipped, no number gives 0, values
// beyond the 32-bit range saturate instead of wrapping.
long readLong(const std::string& text) {
  long long v = 0;
  if (parseInteger(text, v) == 0) return 0;
  if (v > INT32_MAX) v = INT32_MAX;
  if (v < INT32_MIN) v = INT32_MIN;
  return static_cast<long>(v);
}

double readDouble(const std::string& text) {
  double v = 0;
  if (parseReal(text, v) == 0) return 0.0;
  // A NaN would poison every comparison the clamping makes.
  if (std::isnan(v)) return 0.0;
  return v;
}

}  // namespace

ParamType parseParamType(const char* spec) {
  ParamType t;
  if (spec == nullptr || spec[0] == 0) return t;
  t.letter = spec[0];
  const std::string_view rest(spec + 1);
  if (t.letter == 'd' || t.letter == 's') {
    long long la = 0, lb = 0;
    const std::size_t used = parseInteger(rest, la);
    if (used > 0 && parseInteger(rest.substr(used), lb) > 0) {
      t.bounded = true;
      t.lo = static_cast<double>(la);
      t.hi = static_cast<double>(lb);
    }
  } else if (t.letter == 'f') {
    double a = 0, b = 0;
    const std::size_t used = parseReal(rest, a);
    if (used > 0 && parseReal(rest.substr(used), b) > 0) {
      t.bounded = true;
      t.lo = a;
      t.hi = b;
    }
  }
  if (const char* tilde = std::strchr(spec, '~')) t.labels = tilde;
  return t;
}

void param::append(param* tail) {
  param* p = this;
  while (p->next_ != nullptr) p = p->next_;
  p->next_ = tail;
}

void param::beginRecord() {
  for (param* p = this; p != nullptr; p = p->next_) p->recordBegins();
}

void param::endRecord() {
  for (param* p = this; p != nullptr; p = p->next_) p->recordEnded();
}

const param* param::resolve(int i, int& local) const {
  const param* p = this;
  while (p != nullptr && i >= 0) {
    const int n = p->paramCount();
    if (i < n) {
      local = i;
      return p;
    }
    i -= n;
    p = p->next_;
  }
  local = -1;
  return nullptr;
}

param* param::resolve(int i, int& local) {
  return const_cast<param*>(static_cast<const param*>(this)->resolve(i, local));
}

const ParamEntry* param::rowAt(int i) const {
  int k;
  const param* p = resolve(i, k);
  return p ? &p->row(k) : nullptr;
}

const char* param::id(int i) const {
  const ParamEntry* r = rowAt(i);
  return r ? r->id : nullptr;
}
const char* param::name(int i) const {
  const ParamEntry* r = rowAt(i);
  return r ? r->name : nullptr;
}
const char* param::type(int i) const {
  const ParamEntry* r = rowAt(i);
  return r ? r->type : nullptr;
}
const char* param::help(int i) const {
  const ParamEntry* r = rowAt(i);
  return r ? r->help : nullptr;
}
int param::flags(int i) const {
  const ParamEntry* r = rowAt(i);
  return r ? (r->groupFlags >> 16) & 0xffff : 0;
}
int param::group(int i) const {
  const ParamEntry* r = rowAt(i);
  return r ? r->groupFlags & 0xffff : 0;
}

const char* param::groupName(int g) const {
  const param* p = this;
  while (p != nullptr && g >= 0) {
    if (g < p->groupCount()) return p->tab_[g].id;
    g -= p->groupCount();
    p = p->next_;
  }
  return nullptr;
}

int param::totalParamCount() const {
  int n = 0;
  for (const param* p = this; p != nullptr; p = p->next_) n += p->paramCount();
  return n;
}

int param::findId(std::string_view text) const {
  int base = 0;
  for (const param* p = this; p != nullptr; p = p->next_) {
    for (int k = 0; k < p->paramCount(); ++k)
      if (text == p->row(k).id) return base + k;
    base += p->paramCount();
  }
  return -1;
}

int param::findIdPrefix(const char* text, std::size_t len) const {
  int base = 0;
  for (const param* p = this; p != nullptr; p = p->next_) {
    for (int k = 0; k < p->paramCount(); ++k) {
      const char* id = p->row(k).id;
      if (std::strlen(id) >= len && std::strncmp(id, text, len) == 0) return base + k;
    }
    base += p->paramCount();
  }
  return -1;
}

int param::member(int g, int k) const {
  const int groups = groupCount();
  const int n = paramCount();
  if (g >= groups) {
    if (next_ == nullptr) return PARAM_NO_MEMBER;
    const int m = next_->member(g - groups, k);
    return m == PARAM_NO_MEMBER ? m : m + n;
  }
  if (groups < 2 && g == 0) return (k >= 0 && k < n) ? k : PARAM_NO_MEMBER;
  int seen = 0;
  // The scan stops at the terminating row (empty id), as the table ends there.
  for (int i = 0; i < n && tab_[groups + i].id != nullptr; ++i) {
    if ((tab_[groups + i].groupFlags & 0xffff) == g) {
      if (seen == k) return i;
      ++seen;
    }
  }
  return PARAM_NO_MEMBER;
}

void* param::fieldAddress(int i) {
  const ParamEntry& r = row(i);
  if (r.offset < 0 || base_ == nullptr) return nullptr;
  return static_cast<char*>(base_) + r.offset;
}

void* param::address(int i) {
  int k;
  param* p = resolve(i, k);
  return p ? p->fieldAddress(k) : nullptr;
}

char param::typeLetter(int i) const {
  const char* t = type(i);
  return t ? t[0] : 0;
}

std::string param::getText(int i) {
  void* a = address(i);
  if (a == nullptr) return {};
  switch (typeLetter(i)) {
    case 'd':
      return formatInt(*static_cast<int32_t*>(a));
    case 'f':
      return formatReal(*static_cast<double*>(a));
    case 's':
      return *static_cast<std::string*>(a);
    default:
      return {};
  }
}

std::string param::getText(int i, std::size_t size) {
  if (size == 0) return {};
  std::string s = getText(i);
  const char letter = typeLetter(i);
  // Numbers are formatted into a fixed scratch first, then cut.
  if ((letter == 'd' || letter == 'f') && s.size() > kNumberScratch - 1) s.resize(kNumberScratch - 1);
  if (s.size() > size - 1) s.resize(size - 1);
  return s;
}

int param::set(int i, std::string_view text) {
  int k;
  param* p = resolve(i, k);
  return p ? p->setLocal(k, text) : 0;
}

int param::setLocal(int i, std::string_view text) { return setBase(i, text); }

int param::setBase(int i, std::string_view text) {
  const ParamEntry& r = row(i);
  if (((r.groupFlags >> 16) & PARAM_READONLY) != 0) return PSET_RONLY;
  void* a = fieldAddress(i);
  if (a == nullptr) return 0;
  const ParamType t = parseParamType(r.type);
  const std::string value(text);
  int result = 0;
  switch (t.letter) {
    case 'd': {
      long v = readLong(value);
      if (t.bounded) {
        if (v < t.lo) {
          v = static_cast<long>(t.lo);
          result |= PSET_HITMIN;
        } else if (v > t.hi) {
          v = static_cast<long>(t.hi);
          result |= PSET_HITMAX;
        }
      }
      int32_t& field = *static_cast<int32_t*>(a);
      if (field != static_cast<int32_t>(v)) {
        field = static_cast<int32_t>(v);
        result |= PSET_CHANGED;
      }
      return result;
    }
    case 'f': {
      double v = readDouble(value);
      if (t.bounded) {
        if (v < t.lo) {
          v = t.lo;
          result |= PSET_HITMIN;
        } else if (v > t.hi) {
          v = t.hi;
          result |= PSET_HITMAX;
        }
      }
      double& field = *static_cast<double*>(a);
      if (field != v) {
        field = v;
        result |= PSET_CHANGED;
      }
      return result;
    }
    case 's': {
      std::string& field = *static_cast<std::string*>(a);
      if (field == value) return 0;
      result = PSET_CHANGED;
      if (t.bounded && t.hi >= 0 && value.size() > static_cast<std::size_t>(t.hi)) {
        field = value.substr(0, static_cast<std::size_t>(t.hi));
        result |= PSET_HITMAX;
      } else {
        field = value;
      }
      return result;
    }
    default:
      return 0;
  }
}

bool param::equal(int i, param& other) {
  void* a = address(i);
  void* b = other.address(i);
  if (a == nullptr || b == nullptr) return false;
  switch (typeLetter(i)) {
    case 'd':
      return *static_cast<int32_t*>(a) == *static_cast<int32_t*>(b);
    case 'f':
      return *static_cast<double*>(a) == *static_cast<double*>(b);
    case 's':
      return *static_cast<std::string*>(a) == *static_cast<std::string*>(b);
    default:
      return false;
  }
}

long param::getInt(int i) {
  void* a = address(i);
  if (a == nullptr) return 0;
  switch (typeLetter(i)) {
    case 'd':
      return *static_cast<int32_t*>(a);
    case 'f':
      return static_cast<long>(*static_cast<double*>(a));
    case 's':
      return readLong(*static_cast<std::string*>(a));
    default:
      return 0;
  }
}

double param::getDouble(int i) {
  void* a = address(i);
  if (a == nullptr) return 0;
  switch (typeLetter(i)) {
    case 'd':
      return *static_cast<int32_t*>(a);
    case 'f':
      return *static_cast<double*>(a);
    case 's':
      return readDouble(*static_cast<std::string*>(a));
    default:
      return 0;
  }
}

int param::setInt(int i, long value) { return set(i, formatInt(value)); }

int param::setDouble(int i, double value) { return set(i, formatRealExact(value)); }

int paramCompare(param& acc, int index, void* a, void* b, bool descending) {
  void* saved = acc.base();
  acc.setBase(a);
  std::string ta = acc.getText(index, kCompareChars + 1);
  acc.setBase(b);
  std::string tb = acc.getText(index, kCompareChars + 1);
  acc.setBase(saved);
  int r = 0;
  switch (acc.typeLetter(index)) {
    case 'd': {
      const long long d = static_cast<long long>(readLong(ta)) - readLong(tb);
      r = d < 0 ? -1 : (d > 0 ? 1 : 0);
      break;
    }
    case 'f': {
      const double d = readDouble(ta) - readDouble(tb);
      r = d < 0 ? -1 : (d > 0 ? 1 : 0);
      break;
    }
    case 's':
      r = std::strcmp(ta.c_str(), tb.c_str());
      r = r < 0 ? -1 : (r > 0 ? 1 : 0);
      break;
    default:
      r = 0;
  }
  return descending ? -r : r;
}

}  // namespace vorlund
