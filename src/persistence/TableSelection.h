#pragma once

#include <string>
#include <vector>

class CDaoDatabase;
class IUserInterface;

// The logic of the table dialog: the database's tables without the system
// tables, sorted as the list box sorts them, and what OK and cancel give.
// The dialog itself is the user interface's ChooseTable.
class CTableSelection {
public:
    struct Entry {
        std::string name;
        int tableIndex = 0; // position among all table definitions
    };

    // database may be null: the list is then empty.
    explicit CTableSelection(CDaoDatabase* database) : m_pDatabase(database) {}

    // Reads the table definitions (database errors pass to the caller).
    std::vector<Entry> ReadOfferedTables() const;

    // Shows the dialog. OK (true) sets m_strTable and m_nTableIndex, to ""
    // and -1 when nothing was chosen; cancel (false) leaves them unchanged.
    bool DoModal(IUserInterface& ui);

    CDaoDatabase* m_pDatabase = nullptr;
    int m_nTableIndex = 0;
    std::string m_strTable;
};

// The list box's order: case-insensitive, ties byte-wise.
bool TableNameLess(const std::string& a, const std::string& b);
