#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The tables the table dialog offers for a database file, in its order;
// raises CDaoException when the file cannot be opened.
std::vector<std::string> OfferedTables(const std::string& path);

// True when the table is offered; otherwise says so on err.
bool CheckTableOffered(const std::string& path, const std::string& table, std::ostream& err);

// vorlix-cli tables FILE: the tables the table dialog offers, in its order.
int RunTablesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
