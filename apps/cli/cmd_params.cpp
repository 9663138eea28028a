// `params`: the simulator's whole "sim_params:" record, as a settings file holds it.
#include <CLI/CLI.hpp>

#include "cli.h"
#include "core/record.h"
#include "sim/symulator.h"

namespace vorlund::cli {

void addParamsCommands(CLI::App& app, CliContext& ctx) {
  struct Options {
    std::string sim;
  };
  Options& o = ctx.make<Options>();
  CLI::App* sub = app.add_subcommand("params", "Print the simulator settings record (defaults, or from --sim)");
  sub->add_option("--sim", o.sim, "Settings file (*.sim) to load first")->check(CLI::ExistingFile);
  sub->callback([&ctx, &o]() {
    if (!o.sim.empty() && !ctx.loadSettings(o.sim)) {
      ctx.exitCode = 1;
      return;
    }
    if (writeRecord(ctx.sim->parameters(), ctx.out) != 0) ctx.exitCode = 1;
  });
}

}  // namespace vorlund::cli
