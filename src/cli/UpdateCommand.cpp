#include "cli/UpdateCommand.h"

#include "analysis/HeaderParser.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/TableTarget.h"
#include "cli/TablesCommand.h"
#include "model/ClassRoot.h"
#include "model/LostDescriptions.h"
#include "persistence/DaoException.h"
#include "platform/FileServices.h"

#include <iostream>
#include <memory>

int RunUpdateCommand(const std::vector<std::string>& arguments, std::ostream& out,
                     std::ostream& err) {
    std::vector<std::string> args;
    bool dropLost = false;
    for (const std::string& argument : arguments) {
        if (argument == "--drop-lost") {
            dropLost = true;
        } else {
            args.push_back(argument);
        }
    }
    if (args.size() < 3) {
        err << "usage: vorlix-cli update [--drop-lost] FILE TABLE DIR...\n";
        return 2;
    }
    const std::string& file = args[0];
    const std::string& table = args[1];
    const std::vector<std::string> directories(args.begin() + 2, args.end());
    for (const std::string& directory : directories) {
        if (!IsDirectory(directory)) {
            err << "vorlix-cli: directory '" << directory << "' does not exist\n";
            return 2;
        }
    }

    // Refused before the scan: the result could not be written back.
    if (!CheckWritableDatabase(file, err)) {
        return 2;
    }

    CConsoleUserInterface ui(err, &err == &std::cerr && StandardErrorIsTerminal());
    ui.m_table = table;
    CClassRoot old;
    try {
        if (!CheckTableOffered(file, table, err)) {
            return 2;
        }
        // Without every old row the descriptions of the missing ones would go.
        if (!old.Load(file, ui)) {
            err << "vorlix-cli: " << file << ": the table could not be read completely; "
                << "nothing was changed\n";
            return 1;
        }
        // Rows that could not be placed were named; their descriptions would go.
        if (ui.m_messageCount > 0) {
            err << "vorlix-cli: " << file << ": nothing was changed\n";
            return 1;
        }
    } catch (const CDaoException& error) {
        err << "vorlix-cli: " << file << ": " << error.GetErrorMessage() << '\n';
        return 2;
    }

    CHeaderParser parser(ui);
    for (const std::string& directory : directories) {
        parser.ScanDirectory(directory);
    }
    parser.OrderAndNumber();
    if (parser.m_pRoot == nullptr) {
        parser.m_pRoot = new CClassRoot;
    }
    parser.CarryOver(&old);
    std::unique_ptr<CClassRoot> root(parser.m_pRoot);
    parser.m_pRoot = nullptr;
    const std::vector<CLostDescription> lost = FindLostDescriptions(old, *root);
    if (!lost.empty() && !dropLost) {
        err << "vorlix-cli: " << file << ": these descriptions have no entry in the new scan; "
            << "nothing was changed (--drop-lost drops them):\n"
            << LostDescriptionLines(lost, lost.size());
        return 1;
    }

    const int status = SaveToTable(*root, file, table, true, err);
    if (status == 0) {
        out << root->CountAllDescendants() << " entries saved in " << table << " of " << file
            << '\n';
    }
    return status;
}
