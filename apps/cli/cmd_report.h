// The run report's command and the writer `run --report` shares with it.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace vorlund {
class symulator;
}

namespace vorlund::cli {

struct CliContext;
struct RunTable;

void addReportCommands(CLI::App& app, CliContext& ctx);

// Writes the report page of `table` (rows from `source`), with the best
// genotypes of `pool`'s gene pool when given and the family tree in
// `treeFile` when named; false after a message on ctx.err.
bool writeRunReport(CliContext& ctx, const RunTable& table, const std::string& source, symulator* pool,
                    const std::string& treeFile, const std::string& output);

}  // namespace vorlund::cli
