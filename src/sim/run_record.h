// The rows a headless run reports every so many steps: written to a CSV file
// as they come and, when asked, kept for the caller (scripts read them as
// columns).
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "sim/run_summary.h"

namespace vorlund {

// One reported row: the numbers of a RunSummary at a step.
struct RunRow {
  int64_t step = 0;
  int genotypes = 0;
  long individuals = 0;
  int alive = 0;
  int balls = 0;
  double mean = 0, stddev = 0, best = 0;
  double avgLifespan = 0, avgVelocity = 0, avgDistance = 0;
};

class RunRecorder {
 public:
  // Opens the CSV file; a continued run appends to rows already there,
  // otherwise the file is started with its header. False, with `error`.
  bool openCsv(const std::string& path, bool continuing, std::string& error);
  bool writesCsv() const { return csv_.is_open(); }
  void closeCsv() { csv_.close(); }

  // Rows are kept in memory only when asked (a long terminal run needs none).
  void keepRows(bool keep) { keep_ = keep; }
  const std::vector<RunRow>& rows() const { return rows_; }
  void clearRows() { rows_.clear(); }

  // Reports one row: a CSV line (flushed) and, when kept, a row.
  void add(int64_t step, const RunSummary& s);

 private:
  std::ofstream csv_;
  bool keep_ = false;
  std::vector<RunRow> rows_;
};

}  // namespace vorlund
