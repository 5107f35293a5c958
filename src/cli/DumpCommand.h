#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// vorlix-cli dump FILE TABLE: loads the table as the program does and writes
// the structure as CSV; exit 1 when the load fails.
int RunDumpCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
