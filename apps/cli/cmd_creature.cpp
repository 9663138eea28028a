// Subcommands that build a body from a genotype: name, info.
#include <CLI/CLI.hpp>

#include "cli.h"
#include "core/strutil.h"
#include "genepool/make_name.h"
#include "world/org.h"
#include "world/sim_settings.h"

namespace vorlund::cli {

void addCreatureCommands(CLI::App& app, CliContext& ctx) {
  struct Options {
    std::string genotype;
    SimSettings settings;
    Genetics genetics;
  };
  Options& o = ctx.make<Options>();
  o.genetics.genman = &ctx.genman;
  o.genetics.settings = &o.settings;

  CLI::App* name = app.add_subcommand("name", "Print the generated name of a genotype");
  name->add_option("genotype", o.genotype, "Genotype text, or - for standard input")->required();
  name->callback([&ctx, &o]() {
    std::string text;
    if (!ctx.genotypeArg(o.genotype, text)) return;
    org body(&o.genetics, text);
    body.Build();
    ctx.out << makeName(body) << '\n';
  });

  CLI::App* info = app.add_subcommand("info", "Print the format, body counts and name of a genotype");
  info->add_option("genotype", o.genotype, "Genotype text, or - for standard input")->required();
  info->callback([&ctx, &o]() {
    std::string text;
    if (!ctx.genotypeArg(o.genotype, text)) return;
    // One build serves every line, so that its warnings appear once.
    org body(&o.genetics, text);
    const int built = body.Build();
    if (built != ORG_BUILD_OK) {
      ctx.err << (built == ORG_BUILD_INVALID ? "the genotype is invalid\n" : "the genotype cannot be converted\n");
      ctx.exitCode = 1;
      return;
    }
    const long sticks = body.estCount();
    long inputs = 0;
    for (const auto& n : body.l_neu) inputs += n->inputCount();
    ctx.out << "format: " << GenMan::GetFormat(text) << '\n'
            << "sticks: " << formatInt(sticks) << '\n'
            << "neurons: " << formatInt(body.neuroCount()) << '\n'
            << "stick ends: " << formatInt(body.sesCount()) << '\n'
            << "body size: " << formatReal(static_cast<double>(sticks + 1 - body.sesCount() + sticks)) << '\n'
            << "brain size: " << formatReal(static_cast<double>(inputs)) << '\n'
            << "name: " << makeName(body) << '\n';
  });
}

}  // namespace vorlund::cli
