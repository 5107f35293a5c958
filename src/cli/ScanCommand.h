#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class CClassRoot;
class IUserInterface;

// Scans the directories in order into one root, then orders and numbers it.
// nullptr, after a message on err, when a directory does not exist.
std::unique_ptr<CClassRoot> ScanDirectories(const std::vector<std::string>& directories,
                                            IUserInterface& ui, std::ostream& err);

// vorlix-cli scan [--csv] DIR...
int RunScanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
