#include "cli/Commands.h"

#include "cli/DumpCommand.h"
#include "cli/ExportCommand.h"
#include "cli/ScanCommand.h"
#include "cli/SearchCommand.h"
#include "cli/TablesCommand.h"
#include "cli/UpdateCommand.h"

#include <ostream>

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> commands = {
        {"scan", "[--csv] [--db FILE [--table NAME]] DIR...", RunScanCommand},
        {"tables", "FILE", RunTablesCommand},
        {"dump", "FILE TABLE", RunDumpCommand},
        {"update", "[--drop-lost] FILE TABLE DIR...", RunUpdateCommand},
        {"export", "OUTDIR (--db FILE --table NAME | DIR...)", RunExportCommand},
        {"search", "H|C CLASS DIR | F CLASS FUNCTION DIR", RunSearchCommand},
    };
    return commands;
}

namespace {

void PrintUsage(std::ostream& err) {
    err << "usage:\n";
    for (const CliCommand& command : CliCommands()) {
        err << "  vorlix-cli " << command.verb << ' ' << command.usage << '\n';
    }
}

} // namespace

int RunCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (argv.empty() || argv[0] == "--help" || argv[0] == "-h") {
        PrintUsage(err);
        return argv.empty() ? 2 : 0;
    }
    for (const CliCommand& command : CliCommands()) {
        if (argv[0] == command.verb) {
            const std::vector<std::string> args(argv.begin() + 1, argv.end());
            return command.run(args, out, err);
        }
    }
    err << "vorlix-cli: unknown command '" << argv[0] << "'\n";
    PrintUsage(err);
    return 2;
}
