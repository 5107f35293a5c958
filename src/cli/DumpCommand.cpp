#include "cli/DumpCommand.h"

#include "cli/ConsoleUserInterface.h"
#include "cli/StructureCsv.h"
#include "cli/TablesCommand.h"
#include "model/ClassRoot.h"
#include "persistence/DaoException.h"

#include <ostream>

int RunDumpCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << "usage: vorlix-cli dump FILE TABLE\n";
        return 2;
    }
    const std::string& file = args[0];
    CConsoleUserInterface ui(err, StandardErrorIsTerminal());
    ui.m_table = args[1];
    CClassRoot root;
    try {
        if (!CheckTableOffered(file, args[1], err)) {
            return 2;
        }
        if (!root.Load(file, ui)) {
            err << "vorlix-cli: " << file << ": the table could not be read completely\n";
            return 1;
        }
    } catch (const CDaoException& error) {
        err << "vorlix-cli: " << file << ": " << error.GetErrorMessage() << '\n';
        return 2;
    }
    WriteStructureCsv(root, out);
    // Rows that could not be placed were named on err.
    return ui.m_messageCount > 0 ? 1 : 0;
}
