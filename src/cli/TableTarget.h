#pragma once

#include <iosfwd>
#include <string>

class CClassRoot;

// Before a long scan: can FILE/TABLE take a structure? An existing database
// must offer the table; a file that does not exist yet is made by the save,
// with the one table "Klassen". 0, or 2 after a message on err.
int CheckTableTarget(const std::string& file, const std::string& table, std::ostream& err);

// Saves the structure as the program's Save does, the file and table dialogs
// answered with file and table. 0; 1 when the save failed or a row could not
// be written (the messages are on err).
int SaveToTable(CClassRoot& root, const std::string& file, const std::string& table, bool backup,
                std::ostream& err);
