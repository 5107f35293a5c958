#include "cli/SearchCommand.h"

#include "cli/ConsoleUserInterface.h"
#include "cli/StructureCsv.h"
#include "platform/FileServices.h"
#include "search/SourceSearch.h"

#include <filesystem>
#include <ostream>

namespace {

int Usage(std::ostream& err) {
    err << "usage: vorlix-cli search H|C CLASS DIR\n"
           "       vorlix-cli search F CLASS FUNCTION DIR\n";
    return 2;
}

} // namespace

int RunSearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0].size() != 1) {
        return Usage(err);
    }
    const char mode = args[0][0];
    std::string className;
    std::string functionName;
    std::string directory;
    if ((mode == 'H' || mode == 'C') && args.size() == 3) {
        className = args[1];
        directory = args[2];
    } else if (mode == 'F' && args.size() == 4) {
        className = args[1];
        functionName = args[2];
        directory = args[3];
    } else {
        return Usage(err);
    }
    if (directory.empty() || !IsDirectory(directory)) {
        err << "vorlix-cli: '" << directory << "' is no directory\n";
        return 2;
    }
    // Hits name their files in full, as the chosen folder of the GUI gives
    // them, also when the folder is given relative to here.
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(directory, ec).lexically_normal();
    if (!ec) {
        directory = full.string();
    }
    CConsoleUserInterface ui(err, StandardErrorIsTerminal());
    ui.ShowProgress();
    ui.SetProgressText("Parse angegebenes Verzeichnis ...");
    CSourceSearch search;
    search.Search(className, functionName, WithTrailingSlash(directory), mode);
    ui.HideProgress();
    out << "Class,Name,File\r\n";
    for (const CSearchHit& hit : search.HitsFor(mode)) {
        out << CsvField(hit.GetClass()) << ',' << CsvField(hit.GetName()) << ','
            << CsvField(hit.GetFile()) << "\r\n";
    }
    return 0;
}
