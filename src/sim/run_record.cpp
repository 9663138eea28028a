#include "sim/run_record.h"

#include <filesystem>

namespace vorlund {

bool RunRecorder::openCsv(const std::string& path, bool continuing, std::string& error) {
  csv_.close();
  std::error_code ec;
  const bool append = continuing && std::filesystem::exists(path, ec) && std::filesystem::file_size(path, ec) > 0;
  csv_.open(path, append ? std::ios::app : std::ios::trunc);
  if (!csv_) {
    error = "cannot write " + path;
    return false;
  }
  if (!append) csv_ << kRunCsvHeader << '\n';
  return true;
}

void RunRecorder::add(int64_t step, const RunSummary& s) {
  if (csv_.is_open()) csv_ << csvRow(step, s) << '\n' << std::flush;
  if (keep_)
    rows_.push_back({step, s.genotypes, s.individuals, s.alive, s.balls, s.mean, s.stddev, s.best, s.avgLifespan,
                     s.avgVelocity, s.avgDistance});
}

}  // namespace vorlund
