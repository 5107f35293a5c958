#include "cli/Commands.h"

#include "cli/ConsoleUserInterface.h"
#include "cli/DumpCommand.h"
#include "cli/ExportCommand.h"
#include "cli/ScanCommand.h"
#include "cli/SearchCommand.h"
#include "cli/TablesCommand.h"
#include "cli/UpdateCommand.h"

#include <ostream>

#ifndef VORLIX_VERSION
#error "VORLIX_VERSION comes from the project version in CMake"
#endif

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

void PrintUsage(std::ostream& stream) {
    stream << "usage: vorlix-cli [--quiet] COMMAND ARGUMENT...\n"
              "       vorlix-cli [COMMAND] --help | --version\n"
              "commands:\n";
    for (const CliCommand& command : CliCommands()) {
        stream << "  " << command.verb << ' ' << command.usage << '\n';
    }
    stream << "options:\n"
              "  --quiet    no progress line on the terminal\n"
              "  --help     this text, or the usage of one command\n"
              "  --version  the version\n"
              "exit status: 0 done, 1 the work failed, 2 bad usage or input\n"
              "See vorlix-cli(1).\n";
}

} // namespace

int RunCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    // --quiet may stand anywhere before "--"; the commands never see it.
    std::vector<std::string> args;
    bool quiet = false;
    bool optionsEnded = false;
    for (const std::string& arg : argv) {
        if (!optionsEnded && arg == "--quiet") {
            quiet = true;
            continue;
        }
        optionsEnded = optionsEnded || arg == "--";
        args.push_back(arg);
    }
    SetProgressAllowed(!quiet);

    if (args.empty()) {
        PrintUsage(err);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintUsage(out);
        return 0;
    }
    if (args[0] == "--version") {
        out << "Vorlix " VORLIX_VERSION "\n";
        return 0;
    }
    for (const CliCommand& command : CliCommands()) {
        if (args[0] != command.verb) {
            continue;
        }
        if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h")) {
            out << "usage: vorlix-cli " << command.verb << ' ' << command.usage << '\n';
            return 0;
        }
        return command.run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    }
    err << "vorlix-cli: unknown command '" << args[0] << "'\n";
    PrintUsage(err);
    return 2;
}
