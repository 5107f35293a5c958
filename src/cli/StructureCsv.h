#pragma once

#include <iosfwd>
#include <string>

class CClassNode;

// Writes a structure as the class table holds it: the header line, then one
// row per node below the root in pre-order (RFC 4180 quoting).
void WriteStructureCsv(const CClassNode& root, std::ostream& out);

// One CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);
