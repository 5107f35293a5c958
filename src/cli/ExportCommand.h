#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// vorlix-cli export OUTDIR (--db FILE --table NAME | DIR...): the HTML pages
// of a stored table or of a fresh scan of the directories.
int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
