#include "world/block_map.h"

#include <cstdint>
#include <limits>

#include "core/strutil.h"
#include "world/seeded_random.h"

namespace vorlund {

namespace {

constexpr std::string_view kSeparators = ", \t\n\r";
// Cells kept around the map's own cells on each side (the map starts at column 2).
constexpr int kRing = 2;

std::vector<std::string_view> splitTokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = text.find_first_not_of(kSeparators, pos);
    if (start == std::string_view::npos) break;
    std::size_t end = text.find_first_of(kSeparators, start);
    if (end == std::string_view::npos) end = text.size();
    tokens.push_back(text.substr(start, end - start));
    pos = end;
  }
  return tokens;
}

// The leading decimal integer of a token (optional sign, then digits); a token
// without digits reads as 0. Saturates instead of overflowing.
int64_t leadingInteger(std::string_view token) {
  constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / 10 - 9;
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
    negative = token[i] == '-';
    ++i;
  }
  int64_t value = 0;
  for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
    if (value < kLimit) value = value * 10 + (token[i] - '0');
  }
  return negative ? -value : value;
}

void fillRandom(BlockMap& map, std::string_view seedToken) {
  const int64_t seed = leadingInteger(seedToken);
  seedSeededRandom(seed < 0 ? static_cast<uint64_t>(-seed) : static_cast<uint64_t>(seed));
  for (int x = kRing; x <= map.nx + 1; ++x)
    for (int y = kRing; y <= map.ny + 1; ++y)
      map.at(x, y).height = seededRandom(kRandomMapLevels) - kMapHeightZeroDigit;
}

void fillDrawn(BlockMap& map, const std::vector<std::string_view>& tokens) {
  int column = kRing;
  int row = map.ny + 1;
  for (std::size_t t = 2; t < tokens.size() && row >= kRing; ++t) {
    for (char c : tokens[t]) {
      if (row < kRing) break;
      MapCell& cell = map.at(column, row);
      if (c >= '0' && c <= '9') {
        cell.kind = CELL_LEVEL;
        cell.height = (c - '0') - kMapHeightZeroDigit;
      } else if (c == '-') {
        cell.kind = CELL_RAMP_X;
      } else if (c == '|') {
        cell.kind = CELL_RAMP_Y;
      } else {
        continue;
      }
      if (++column > map.nx + 1) {
        column = kRing;
        --row;
      }
    }
  }
}

// A ramp takes the middle of its two neighbours and flattens when they are
// level with each other. Storage order, reading neighbours as they are by then,
// so a run of ramps settles from the low corner on.
void settleRamps(BlockMap& map) {
  for (int row = 1; row < map.rows - 1; ++row) {
    for (int column = 1; column < map.columns - 1; ++column) {
      MapCell& cell = map.at(column, row);
      double a = 0, b = 0;
      if (cell.kind == CELL_RAMP_X) {
        a = map.at(column - 1, row).height;
        b = map.at(column + 1, row).height;
      } else if (cell.kind == CELL_RAMP_Y) {
        a = map.at(column, row - 1).height;
        b = map.at(column, row + 1).height;
      } else {
        continue;
      }
      cell.height = (a + b) / 2;
      if (a == b) cell.kind = CELL_LEVEL;
    }
  }
}

}  // namespace

bool buildBlockMap(std::string_view text, BlockMap& out, std::string& problem) {
  out = BlockMap{};
  problem.clear();
  if (text.empty() || (text[0] != 'm' && text[0] != 'r')) {
    problem = "the map must start with \"m\" (drawn) or \"r\" (random)";
    return false;
  }
  const std::vector<std::string_view> tokens = splitTokens(text.substr(1));
  const int64_t nx = tokens.size() > 0 ? leadingInteger(tokens[0]) : 0;
  const int64_t ny = tokens.size() > 1 ? leadingInteger(tokens[1]) : 0;
  if (nx < 1 || ny < 1) {
    problem = "the map needs two sizes of at least 1";
    return false;
  }
  if (nx > kMapSideMax || ny > kMapSideMax) {
    problem = ssprintf("map sizes above %d are not supported", kMapSideMax);
    return false;
  }
  out.nx = static_cast<int>(nx);
  out.ny = static_cast<int>(ny);
  out.columns = out.nx + 2 * kRing;
  out.rows = out.ny + 2 * kRing;
  out.cells.assign(static_cast<std::size_t>(out.columns) * static_cast<std::size_t>(out.rows), MapCell{});
  if (text[0] == 'r')
    fillRandom(out, tokens.size() > 2 ? tokens[2] : std::string_view("0"));
  else
    fillDrawn(out, tokens);
  settleRamps(out);
  return true;
}

}  // namespace vorlund
