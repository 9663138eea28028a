// The rows of a run's CSV as columns of numbers, read from the file the
// runner writes or gathered while a run goes, for the run report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace vorlund {
struct RunSummary;
}

namespace vorlund::cli {

struct RunTable {
  std::vector<std::string> columns;          // "step" first
  std::vector<std::vector<double>> values;   // one vector per column, all of rows() values

  std::size_t rows() const { return values.empty() ? 0 : values.front().size(); }
  // The index of a column, or -1.
  int column(const std::string& name) const;
  // A table with the runner's columns and no rows.
  static RunTable forRun();
  void addRow(int64_t step, const RunSummary& s);
};

// Reads a run's CSV. False, with a message naming the file (and the line),
// when it cannot be read, is not a run's CSV, lacks any of the runner's
// columns, has a malformed row or no row at all. A last line cut short (a
// run killed while writing) is left out with a warning to `warnings`.
bool readRunCsv(const std::string& path, RunTable& table, std::string& error, std::ostream& warnings);

}  // namespace vorlund::cli
