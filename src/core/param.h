// Parameter tables and the accessor that binds a table to one object.
//
// Every configurable or inspectable object describes its fields with a static
// table of ParamEntry rows. A `param` binds such a table to one object and gives
// generic get/set/find by index; accessors chain, so that one index space (and
// one file record) can span several tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorlund {

// Flag bits of a parameter row (the high half of word 1).
constexpr int PARAM_READONLY = 0x1;  // set refuses to change the value
constexpr int PARAM_NOSTORE = 0x2;   // not written to records, not compared
constexpr int PARAM_HIDDEN = 0x10;   // never offered in the parameter dialog

// The same flags as they are written in table source (already shifted).
constexpr int32_t PF_READONLY = PARAM_READONLY << 16;
constexpr int32_t PF_NOSTORE = PARAM_NOSTORE << 16;
constexpr int32_t PF_HIDDEN = PARAM_HIDDEN << 16;
constexpr int32_t PF_COMPUTED = PF_READONLY | PF_NOSTORE;

// Set-result bits, combinable.
constexpr int PSET_RONLY = 1;    // read-only: nothing changed
constexpr int PSET_CHANGED = 2;  // the stored value changed
constexpr int PSET_HITMIN = 4;   // raised to the minimum (or replaced by a generated value)
constexpr int PSET_HITMAX = 8;   // lowered to the maximum, or text cut to its maximum length

// Answer of `member` for a group without such a member.
constexpr int PARAM_NO_MEMBER = -9999;

// One row of a parameter table. The meaning of each word depends on the row:
//   header (row 0): id = table name, groupFlags = groups | params << 16,
//                   name = file section prefix (or nullptr);
//   group rows:     id = group name, everything else 0;
//   parameter rows: id, groupFlags = group | flags << 16, display name,
//                   type text ("d 0 100", "f", "s 0 30"), field offset (negative: computed), help.
// A row with a null id ends the table.
struct ParamEntry {
  const char* id;
  int32_t groupFlags;
  const char* name;
  const char* type;
  int32_t offset;
  const char* help;
};
using ParamTab = ParamEntry;

constexpr ParamEntry paramHeader(const char* tableName, int groups, int params, const char* prefix) {
  return {tableName, static_cast<int32_t>((groups & 0xffff) | (params << 16)), prefix, nullptr, 0, nullptr};
}
constexpr ParamEntry paramGroup(const char* groupName) { return {groupName, 0, nullptr, nullptr, 0, nullptr}; }
constexpr ParamEntry paramEnd() { return {nullptr, 0, nullptr, nullptr, 0, nullptr}; }

// Checks at compile time that a table's header counts match its rows and that
// it is terminated, so that a row added without updating the header is caught:
//   static_assert(paramTableValid(kMyTab));
template <std::size_t K>
constexpr bool paramTableValid(const ParamEntry (&tab)[K]) {
  const int groups = tab[0].groupFlags & 0xffff;
  const int params = (tab[0].groupFlags >> 16) & 0xffff;
  if (groups < 1 || static_cast<std::size_t>(groups + params + 1) != K) return false;
  if (tab[K - 1].id != nullptr) return false;
  for (int i = 0; i < params; ++i) {
    const ParamEntry& row = tab[groups + i];
    if (row.id == nullptr || row.type == nullptr) return false;
    if ((row.groupFlags & 0xffff) >= groups) return false;
  }
  return true;
}

// The accessor: binds one table to one object. Owns nothing; the bound object
// and the next accessor of the chain belong to their owners.
class param {
 public:
  param(const ParamEntry* tab, void* base, param* next = nullptr) : tab_(tab), base_(base), next_(next) {}
  virtual ~param() = default;
  param(const param&) = default;
  param& operator=(const param&) = default;

  // --- the own table ---
  const ParamEntry* table() const { return tab_; }
  int groupCount() const { return tab_[0].groupFlags & 0xffff; }
  int paramCount() const { return (tab_[0].groupFlags >> 16) & 0xffff; }
  const char* tableName() const { return tab_[0].id; }
  const char* sectionPrefix() const { return tab_[0].name; }

  void* base() const { return base_; }
  void setBase(void* base) { base_ = base; }
  param* next() const { return next_; }
  void setNext(param* next) { next_ = next; }
  // Appends an accessor at the end of this chain.
  void append(param* tail);

  // --- chain-aware queries (index N + k reaches index k of the next accessor) ---
  const char* id(int i) const;  // nullptr past the end of the chain
  const char* name(int i) const;
  const char* type(int i) const;
  const char* help(int i) const;
  int flags(int i) const;
  int group(int i) const;  // group index within the table that holds i
  // Group name of group g (g at or beyond groupCount() refers to the next table).
  const char* groupName(int g) const;
  int totalParamCount() const;

  int findId(std::string_view text) const;
  int findIdPrefix(const char* text, std::size_t len) const;
  int member(int g, int k) const;

  // Field address of parameter i (computed values included), nullptr past the end.
  void* address(int i);
  // The value as text: "d" with %ld, "f" with %lg, "s" verbatim.
  std::string getText(int i);
  // The value as text cut to size - 1 characters (as a fixed buffer would hold).
  std::string getText(int i, std::size_t size);
  // Sets parameter i from text; returns set-result bits.
  int set(int i, std::string_view text);
  // Whether parameter i holds the same value here and in another accessor of the same chain shape.
  bool equal(int i, param& other);

  // Typed conveniences built on address() and set(); they keep clamping and read-only rules.
  long getInt(int i);
  double getDouble(int i);
  int setInt(int i, long value);
  int setDouble(int i, double value);
  int setString(int i, std::string_view value) { return set(i, value); }

  // The type letter of parameter i ('d', 'f', 's' or 0).
  char typeLetter(int i) const;

  // A record read from a file sets its values one after another; an accessor
  // whose values only mean something together may hold back what a change of
  // one sets off until the whole record is in. Both reach every accessor of
  // the chain; the record's reader calls them around its values.
  void beginRecord();
  void endRecord();

 protected:
  // The two overridable operations; `i` is an index in this accessor's own table.
  virtual void* fieldAddress(int i);
  virtual int setLocal(int i, std::string_view text);
  virtual void recordBegins() {}
  virtual void recordEnded() {}

  // Base behaviour of set for parameter i of the own table.
  int setBase(int i, std::string_view text);
  const ParamEntry& row(int i) const { return tab_[groupCount() + i]; }

 private:
  // The row of chain index i, or nullptr past the end.
  const ParamEntry* rowAt(int i) const;
  // Finds the accessor that holds chain index i and the local index there.
  const param* resolve(int i, int& local) const;
  param* resolve(int i, int& local);

  const ParamEntry* tab_;
  void* base_;
  param* next_;
};

// Parses a type text: letter, optional bounds and "~" labels.
struct ParamType {
  char letter = 0;
  bool bounded = false;
  double lo = 0, hi = 0;
  std::string_view labels;  // "~A~B~C" part, may be empty
};
ParamType parseParamType(const char* spec);

// Compares parameter `index` of two objects bound through `acc` (whose base is
// rebound for the comparison and restored): negative, 0 or positive;
// `descending` reverses the order. Texts are compared on their first 29 characters.
int paramCompare(param& acc, int index, void* a, void* b, bool descending);

}  // namespace vorlund
