#include "cli/ExportCommand.h"

#include "cli/ConsoleUserInterface.h"
#include "cli/ScanCommand.h"
#include "cli/TablesCommand.h"
#include "html/HtmlExport.h"
#include "model/ClassRoot.h"
#include "persistence/DaoException.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace {

struct ExportOptions {
    std::string outputDirectory;
    std::optional<std::string> database;
    std::optional<std::string> table;
    std::vector<std::string> directories;
};

std::optional<ExportOptions> ParseExportArguments(const std::vector<std::string>& args,
                                                  std::ostream& err) {
    ExportOptions options;
    bool haveOutput = false;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (!haveOutput) {
                options.outputDirectory = arg;
                haveOutput = true;
            } else {
                options.directories.push_back(arg);
            }
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--db" || arg == "--table") {
            if (i + 1 >= args.size()) {
                err << "vorlix-cli export: " << arg << " needs a value\n";
                return std::nullopt;
            }
            (arg == "--db" ? options.database : options.table) = args[++i];
        } else {
            err << "vorlix-cli export: unknown option '" << arg << "'\n";
            return std::nullopt;
        }
    }
    if (!haveOutput || options.outputDirectory.empty()) {
        err << "vorlix-cli export: no output directory given\n";
        return std::nullopt;
    }
    const bool fromTable = options.database || options.table;
    if (fromTable && (!options.database || !options.table)) {
        err << "vorlix-cli export: --db and --table go together\n";
        return std::nullopt;
    }
    if (fromTable == !options.directories.empty()) {
        err << "vorlix-cli export: give either --db FILE --table NAME or directories to scan\n";
        return std::nullopt;
    }
    return options;
}

} // namespace

int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<ExportOptions> options = ParseExportArguments(args, err);
    if (!options) {
        return 2;
    }
    // Progress only on a terminal, and only when err is the real stderr.
    CConsoleUserInterface ui(err, &err == &std::cerr && StandardErrorIsTerminal());
    std::unique_ptr<CClassRoot> root;
    if (options->database) {
        // As the dump verb: an unknown table or file is bad input, a table
        // that cannot be read completely is a failure.
        const std::string& file = *options->database;
        root = std::make_unique<CClassRoot>();
        ui.m_table = options->table;
        try {
            if (!CheckTableOffered(file, *options->table, err)) {
                return 2;
            }
            if (!root->Load(file, ui)) {
                err << "vorlix-cli: " << file << ": the table could not be read completely\n";
                return 1;
            }
        } catch (const CDaoException& error) {
            err << "vorlix-cli: " << file << ": " << error.GetErrorMessage() << '\n';
            return 2;
        }
    } else {
        root = ScanDirectories(options->directories, ui, err);
        if (!root) {
            return 2;
        }
    }
    // A script names a folder that may not exist yet; the desktop program's
    // folder browser only ever hands over existing ones. A folder that cannot
    // be made shows up as the export's own failure.
    std::error_code ignored;
    std::filesystem::create_directories(options->outputDirectory, ignored);
    ui.m_yes = true;
    ui.m_folder = options->outputDirectory;
    std::vector<std::string> notCreated;
    if (!RunHtmlExport(root.get(), ui, {}, &notCreated)) {
        return 1;
    }
    if (!notCreated.empty()) {
        for (const std::string& page : notCreated) {
            err << "vorlix-cli: the page " << page << " could not be written\n";
        }
        return 1;
    }
    out << "index.html and " << root->CountAllDescendants() << " pages written to "
        << options->outputDirectory << '\n';
    return 0;
}
