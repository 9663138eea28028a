// `report`: a run's CSV (with its pool and family tree, when given) as one
// self-contained HTML page; also what `run --report` writes.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "cli.h"
#include "cmd_report.h"
#include "run_report.h"
#include "run_table.h"
#include "sim/symulator.h"

namespace vorlund::cli {

namespace {

constexpr const char* kReportDefaultSettings = "Default.sim";

struct ReportOptions {
  std::string csv;
  std::string pool;
  std::string phylogeny;
  std::string output;
};

void reportCommand(CliContext& ctx, const ReportOptions& o) {
  ctx.exitCode = 1;
  RunTable table;
  std::string error;
  if (!readRunCsv(o.csv, table, error, ctx.err)) {
    ctx.err << error << '\n';
    return;
  }
  bool havePool = false;
  if (!o.pool.empty()) {
    // Fitness is weighed by the settings a run would use: Default.sim, then --sim.
    if (std::filesystem::exists(kReportDefaultSettings)) ctx.sim->load(kReportDefaultSettings, FILE_SETTINGS);
    if (!ctx.simFile.empty()) ctx.sim->load(ctx.simFile, FILE_SETTINGS);
    if (!std::ifstream(o.pool) || !ctx.sim->load(o.pool, FILE_GENOTYPES)) {
      ctx.err << "cannot read the gene pool " << o.pool << '\n';
      return;
    }
    havePool = true;
  }
  if (!writeRunReport(ctx, table, o.csv, havePool ? ctx.sim.get() : nullptr, o.phylogeny, o.output)) return;
  ctx.exitCode = 0;
}

}  // namespace

bool writeRunReport(CliContext& ctx, const RunTable& table, const std::string& source, symulator* pool,
                    const std::string& treeFile, const std::string& output) {
  ReportInputs in;
  in.source = std::filesystem::path(source).filename().string();
  in.table = &table;
  std::string error;
  if (!treeFile.empty() && !readTreeSvg(treeFile, in.treeSvg, error)) {
    ctx.err << error << '\n';
    return false;
  }
  if (pool != nullptr) {
    in.havePool = true;
    in.best = bestGenotypes(*pool, kReportBestGenotypes);
  }
  if (!writeReportFile(output, reportHtml(in), error)) {
    ctx.err << error << '\n';
    return false;
  }
  ctx.out << "Report: " << output << " (" << table.rows() << " rows)\n";
  return true;
}

void addReportCommands(CLI::App& app, CliContext& ctx) {
  ReportOptions& o = ctx.make<ReportOptions>();
  CLI::App* sub = app.add_subcommand("report", "Write a run's CSV as one HTML page of curves and tables");
  sub->add_option("csv", o.csv, "The run's CSV file (run --csv)")->required();
  sub->add_option("--pool", o.pool, "Gene pool (*.gen) whose best genotypes the page lists (fitness as --sim weighs it)");
  sub->add_option("--phylogeny", o.phylogeny, "Family tree (SVG, run --phylogeny) shown on the page");
  sub->add_option("-o,--output", o.output, "The HTML file to write")->required();
  sub->callback([&ctx, &o]() { reportCommand(ctx, o); });
}

}  // namespace vorlund::cli
