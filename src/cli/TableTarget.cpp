#include "cli/TableTarget.h"

#include "cli/ConsoleUserInterface.h"
#include "cli/TablesCommand.h"
#include "model/ClassRoot.h"
#include "persistence/ClassTable.h"
#include "persistence/DaoException.h"
#include "persistence/MdbEngine.h"
#include "persistence/MdbFile.h"
#include "platform/FileServices.h"

#include <iostream>

int CheckTableTarget(const std::string& file, const std::string& table, std::ostream& err) {
    if (!FileExists(file)) {
        if (table == ClassTable::kDefaultTable) {
            return 0;
        }
        err << "vorlix-cli: no table '" << table << "' in " << file
            << " (a new file gets the table \"" << ClassTable::kDefaultTable << "\")\n";
        return 2;
    }
    if (!CheckWritableDatabase(file, err)) {
        return 2;
    }
    try {
        return CheckTableOffered(file, table, err) ? 0 : 2;
    } catch (const CDaoException& error) {
        err << "vorlix-cli: " << file << ": " << error.GetErrorMessage() << '\n';
        return 2;
    }
}

bool CheckWritableDatabase(const std::string& file, std::ostream& err) {
    if (CMdbFile::LooksLikeAccessFile(file)) {
        err << "vorlix-cli: " << file << ": " << CMdbEngine::ReadOnlyMessage(file) << '\n';
        return false;
    }
    return true;
}

int SaveToTable(CClassRoot& root, const std::string& file, const std::string& table, bool backup,
                std::ostream& err) {
    CConsoleUserInterface ui(err);
    ui.m_file = file;
    ui.m_table = table;
    try {
        if (!root.Save(backup, ui)) {
            err << "vorlix-cli: " << file << ": the structure was not saved\n";
            return 1;
        }
    } catch (const CDaoException& error) {
        err << "vorlix-cli: " << file << ": " << error.GetErrorMessage() << '\n';
        return 1;
    }
    return 0;
}
