#include "cli/TablesCommand.h"

#include "persistence/DaoDatabase.h"
#include "persistence/DaoException.h"
#include "persistence/TableSelection.h"

#include <algorithm>
#include <ostream>

std::vector<std::string> OfferedTables(const std::string& path) {
    CDaoDatabase database;
    database.Open(path);
    std::vector<std::string> names;
    for (const CTableSelection::Entry& entry : CTableSelection(&database).ReadOfferedTables()) {
        names.push_back(entry.name);
    }
    return names;
}

bool CheckTableOffered(const std::string& path, const std::string& table, std::ostream& err) {
    const std::vector<std::string> tables = OfferedTables(path);
    if (std::find(tables.begin(), tables.end(), table) != tables.end()) {
        return true;
    }
    err << "vorlix-cli: no table '" << table << "' in " << path << '\n';
    return false;
}

int RunTablesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: vorlix-cli tables FILE\n";
        return 2;
    }
    try {
        for (const std::string& name : OfferedTables(args[0])) {
            out << name << '\n';
        }
    } catch (const CDaoException& error) {
        err << "vorlix-cli: " << args[0] << ": " << error.GetErrorMessage() << '\n';
        return 2;
    }
    return 0;
}
