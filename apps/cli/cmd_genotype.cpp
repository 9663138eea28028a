// Subcommands that look at one or two genotypes: format, same, convert.
#include <CLI/CLI.hpp>

#include "cli.h"

namespace vorlund::cli {

void addGenotypeCommands(CLI::App& app, CliContext& ctx) {
  struct Options {
    std::string g1, g2;
    char toFormat = '0';
  };
  Options& o = ctx.make<Options>();
  std::string& g1 = o.g1;
  std::string& g2 = o.g2;
  char& toFormat = o.toFormat;

  CLI::App* format = app.add_subcommand("format", "Print the format character of a genotype");
  format->add_option("genotype", g1, "Genotype text, or - for standard input")->required();
  format->callback([&ctx, &o]() {
    std::string text;
    if (!ctx.genotypeArg(o.g1, text)) return;
    ctx.out << GenMan::GetFormat(text) << '\n';
  });

  CLI::App* same = app.add_subcommand("same", "Print 0 when two genotypes differ only in white space, else 1");
  same->add_option("genotype1", g1, "First genotype, or - for standard input")->required();
  same->add_option("genotype2", g2, "Second genotype")->required();
  same->callback([&ctx, &o]() {
    std::string a, b;
    if (!ctx.genotypeArg(o.g1, a) || !ctx.genotypeArg(o.g2, b)) return;
    ctx.out << GenMan::SameGenotype(a.c_str(), b.c_str()) << '\n';
  });

  CLI::App* convert = app.add_subcommand("convert", "Convert a genotype to another format");
  convert->add_option("--to", toFormat, "Wanted format character (0, 1, ...)")->required();
  convert->add_option("genotype", g1, "Genotype text, or - for standard input")->required();
  convert->callback([&ctx, &o]() {
    std::string text, result;
    if (!ctx.genotypeArg(o.g1, text)) return;
    const int ok = ctx.genman.Convert(text, o.toFormat, result);
    ctx.out << result;
    ctx.exitCode = ok == 1 ? 0 : 1;
  });
}

}  // namespace vorlund::cli
