#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// vorlix-cli update FILE TABLE DIR...: loads the table, scans the
// directories, carries the descriptions over and saves back (with ".bak").
int RunUpdateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
