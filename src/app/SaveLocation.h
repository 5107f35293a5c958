#pragma once

#include <optional>
#include <string>

class CClassRoot;
class IUserInterface;

// Where a structure is to be saved: database file and table, and whether the
// file was made just now (it then gets no ".bak").
struct SSaveLocation {
    std::string database;
    std::string table;
    bool createdFile = false;
};

// Asks for the file and the table of a first save or a "Speichern unter":
// a new file becomes a database, a new table name a class table. A table
// other than the structure's own that holds rows is replaced only after the
// user agreed. nullopt when the user cancelled or a message was shown.
std::optional<SSaveLocation> ChooseSaveLocation(const CClassRoot& root, IUserInterface& ui);
