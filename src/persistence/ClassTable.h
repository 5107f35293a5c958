#pragma once

#include <memory>
#include <string>
#include <vector>

class CClassNode;
class CDaoDatabase;

// The class table: one row per node below the root.
namespace ClassTable {

inline constexpr const char* kDefaultTable = "Klassen";

// The columns, in the order the rows are read.
inline constexpr const char* kColumns[] = {"ID",   "Type",        "Row",     "Parent",   "Class",
                                           "File", "Description", "VarType", "Parameter"};

// A new database file holding one empty class table "Klassen"; raises
// CDaoException when the file exists or cannot be made (nothing is left
// behind then).
void CreateDatabase(const std::string& path);

// An empty class table with the nine columns in an open database.
void CreateTable(CDaoDatabase& database, const std::string& name);

// The one message of a load that could not place some rows: how many, and
// the first few by name, ID and parent ID.
std::string UnplacedRowsMessage(const std::vector<std::unique_ptr<CClassNode>>& nodes);

} // namespace ClassTable
