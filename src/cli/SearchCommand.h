#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// vorlix-cli search H|C CLASS DIR, search F CLASS FUNCTION DIR: the hits in
// the order found as CSV "Class,Name,File".
int RunSearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
