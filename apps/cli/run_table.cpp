#include "run_table.h"

#include <ostream>
#include <string_view>

#include "core/strutil.h"
#include "sim/run_summary.h"

namespace vorlund::cli {

namespace {

std::vector<std::string> splitCommas(std::string_view line) {
  std::vector<std::string> out;
  std::size_t from = 0;
  while (true) {
    const std::size_t comma = line.find(',', from);
    out.emplace_back(line.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from));
    if (comma == std::string_view::npos) return out;
    from = comma + 1;
  }
}

// Parses one row into `row`; false when a field is not a whole number text or the count is wrong.
bool parseRow(std::string_view line, std::size_t count, std::vector<double>& row) {
  row.clear();
  std::size_t from = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t comma = i + 1 < count ? line.find(',', from) : line.size();
    if (comma == std::string_view::npos) return false;
    const std::string_view field = line.substr(from, comma - from);
    double v = 0;
    if (field.empty() || parseReal(field, v) != field.size()) return false;
    row.push_back(v);
    from = comma + 1;
  }
  return from == line.size() + 1;
}

}  // namespace

int RunTable::column(const std::string& name) const {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (columns[i] == name) return static_cast<int>(i);
  return -1;
}

RunTable RunTable::forRun() {
  RunTable t;
  t.columns = splitCommas(kRunCsvHeader);
  t.values.resize(t.columns.size());
  return t;
}

void RunTable::addRow(int64_t step, const RunSummary& s) {
  // The same texts the CSV gets, so that a report of a run equals the report of its CSV.
  const std::vector<std::string> fields = splitCommas(csvRow(step, s));
  for (std::size_t i = 0; i < values.size() && i < fields.size(); ++i) {
    double v = 0;
    parseReal(fields[i], v);
    values[i].push_back(v);
  }
}

bool readRunCsv(const std::string& path, RunTable& table, std::string& error, std::ostream& warnings) {
  std::string text;
  if (!readWholeFile(path, text)) {
    error = "cannot read " + path;
    return false;
  }
  std::string_view rest(text);
  auto nextLine = [&rest]() {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  };
  const std::vector<std::string> header = splitCommas(nextLine());
  if (header.empty() || header.front() != "step") {
    error = path + " is not a run's CSV: its first line is not a header beginning with \"step\"";
    return false;
  }
  table = RunTable{};
  table.columns = header;
  std::string missing;
  for (const std::string& want : RunTable::forRun().columns)
    if (table.column(want) < 0) missing += (missing.empty() ? "" : ", ") + want;
  if (!missing.empty()) {
    error = path + " lacks the run's columns " + missing;
    return false;
  }
  table.values.assign(header.size(), {});
  std::vector<double> row;
  row.reserve(header.size());
  for (std::size_t lineNo = 2; !rest.empty(); ++lineNo) {
    const bool lastLine = rest.find('\n') == std::string_view::npos;
    const std::string_view line = nextLine();
    if (line.empty()) continue;
    if (!parseRow(line, header.size(), row)) {
      if (lastLine) {
        warnings << path << ": line " << lineNo << " is cut short and left out\n";
        break;
      }
      error = path + ", line " + std::to_string(lineNo) + ": not " + std::to_string(header.size()) +
              " numbers separated by commas";
      return false;
    }
    for (std::size_t i = 0; i < row.size(); ++i) table.values[i].push_back(row[i]);
  }
  if (table.rows() == 0) {
    error = path + " holds no rows";
    return false;
  }
  return true;
}

}  // namespace vorlund::cli
