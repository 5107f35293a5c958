#include "cli/ScanCommand.h"

#include "analysis/HeaderParser.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/StructureCsv.h"
#include "cli/TableTarget.h"
#include "model/ClassRoot.h"
#include "persistence/ClassTable.h"
#include "platform/FileServices.h"

#include <iostream>
#include <optional>

namespace {

struct ScanOptions {
    bool csv = false;
    std::optional<std::string> database;
    std::optional<std::string> table;
    std::vector<std::string> directories;
};

// Options first or mixed with the directories; "--" ends the options. New
// options go into the table of flags or of options with a value.
std::optional<ScanOptions> ParseScanArguments(const std::vector<std::string>& args,
                                              std::ostream& err) {
    ScanOptions options;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.directories.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--csv") {
            options.csv = true;
        } else if (arg == "--db" || arg == "--table") {
            if (i + 1 >= args.size()) {
                err << "vorlix-cli scan: " << arg << " needs a value\n";
                return std::nullopt;
            }
            (arg == "--db" ? options.database : options.table) = args[++i];
        } else {
            err << "vorlix-cli scan: unknown option '" << arg << "'\n";
            return std::nullopt;
        }
    }
    if (options.directories.empty()) {
        err << "vorlix-cli scan: no directory given\n";
        return std::nullopt;
    }
    if (options.table && !options.database) {
        err << "vorlix-cli scan: --table needs --db\n";
        return std::nullopt;
    }
    return options;
}

struct Counts {
    int classes = 0;
    int functions = 0;
    int variables = 0;
};

Counts CountEntries(const CClassNode& root) {
    Counts counts;
    std::vector<const CClassNode*> stack{&root};
    while (!stack.empty()) {
        const CClassNode* node = stack.back();
        stack.pop_back();
        for (int i = 0; i < node->GetChildCount(); ++i) {
            const CClassNode* child = node->GetChild(i);
            if (child == nullptr) {
                continue;
            }
            switch (child->GetKind()) {
            case KindClass:
                ++counts.classes;
                break;
            case KindFunction:
                ++counts.functions;
                break;
            case KindVariable:
                ++counts.variables;
                break;
            default:
                break;
            }
            stack.push_back(child);
        }
    }
    return counts;
}

struct ScanResult {
    std::unique_ptr<CClassRoot> root;
    int filesRead = 0;
    int placeholders = 0;
};

ScanResult Scan(const std::vector<std::string>& directories, IUserInterface& ui,
                std::ostream& err) {
    ScanResult result;
    if (directories.empty()) {
        err << "vorlix-cli: no directory given\n";
        return result;
    }
    for (const std::string& directory : directories) {
        if (!IsDirectory(directory)) {
            err << "vorlix-cli: directory '" << directory << "' does not exist\n";
            return result;
        }
    }
    CHeaderParser parser(ui);
    for (const std::string& directory : directories) {
        parser.ScanDirectory(directory);
    }
    parser.OrderAndNumber();
    result.root.reset(parser.m_pRoot);
    parser.m_pRoot = nullptr;
    result.filesRead = parser.GetFilesRead();
    result.placeholders = parser.GetPlaceholderCount();
    return result;
}

} // namespace

std::unique_ptr<CClassRoot> ScanDirectories(const std::vector<std::string>& directories,
                                            IUserInterface& ui, std::ostream& err) {
    return Scan(directories, ui, err).root;
}

int RunScanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<ScanOptions> options = ParseScanArguments(args, err);
    if (!options) {
        return 2;
    }
    const std::string table = options->table.value_or(ClassTable::kDefaultTable);
    // A database that cannot take the structure is told before the scan.
    const bool databaseExisted = options->database && FileExists(*options->database);
    if (options->database) {
        if (const int status = CheckTableTarget(*options->database, table, err)) {
            return status;
        }
    }
    // Progress only on a terminal, and only when err is the real stderr.
    CConsoleUserInterface ui(err, &err == &std::cerr && StandardErrorIsTerminal());
    const ScanResult result = Scan(options->directories, ui, err);
    if (!result.root) {
        return 2;
    }
    if (options->database) {
        // An existing file keeps a copy of its old rows in ".bak".
        if (const int status =
                SaveToTable(*result.root, *options->database, table, databaseExisted, err)) {
            return status;
        }
    }
    if (options->csv) {
        WriteStructureCsv(*result.root, out);
        return 0;
    }
    const Counts counts = CountEntries(*result.root);
    out << counts.classes - result.placeholders << " classes, " << counts.functions
        << " functions, " << counts.variables << " variables, " << result.placeholders
        << " placeholders, " << result.filesRead << " files read\n";
    return 0;
}
