#include "app/SaveLocation.h"

#include "app/DesktopQuestions.h"
#include "model/ClassRoot.h"
#include "persistence/ClassTable.h"
#include "persistence/DaoDatabase.h"
#include "persistence/DaoException.h"
#include "persistence/DaoRecordset.h"
#include "persistence/MdbEngine.h"
#include "persistence/MdbFile.h"
#include "persistence/SqliteEngine.h"
#include "persistence/TableSelection.h"
#include "platform/FileServices.h"
#include "platform/UserInterface.h"

#include <algorithm>
#include <filesystem>

namespace {

struct SRowCount {
    int rows = 0;
    int described = 0;
};

// Rows and non-empty descriptions of a table; a table without the
// description column counts its rows only.
SRowCount CountRows(CDaoDatabase& database, const std::string& table) {
    SRowCount count;
    CDaoRecordset recordset(&database);
    recordset.Open(dbOpenTable, table);
    const std::vector<std::string>& columns = recordset.GetColumnNames();
    const bool described =
        std::find(columns.begin(), columns.end(), "Description") != columns.end();
    if (!recordset.IsBOF() && !recordset.IsEOF()) {
        recordset.MoveFirst();
        while (!recordset.IsEOF()) {
            ++count.rows;
            if (described && !recordset.GetFieldValue("Description").AsText().empty()) {
                ++count.described;
            }
            recordset.MoveNext();
        }
    }
    recordset.Close();
    return count;
}

std::string ReplaceQuestion(const std::string& database, const std::string& table,
                            SRowCount count) {
    const std::string entries =
        count.rows == 1 ? "1 Eintrag" : std::to_string(count.rows) + " Einträge";
    return "Die Tabelle \"" + table + "\" in\n" + database + "\nenthält bereits " + entries +
           ", davon " + std::to_string(count.described) +
           " mit Beschreibung!\n\nSoll sie trotzdem durch die aktuelle Klassenstruktur ersetzt "
           "werden?";
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return a == b || std::filesystem::equivalent(a, b, error);
}

// The table dialog; the desktop's own one can also name a new table.
std::optional<std::string> ChooseTable(CDaoDatabase& database, IUserInterface& ui) {
    auto* desktop = dynamic_cast<IDesktopQuestions*>(&ui);
    if (desktop == nullptr) {
        CTableSelection dialog(&database);
        if (!dialog.DoModal(ui)) {
            return std::nullopt;
        }
        return dialog.m_strTable;
    }
    std::vector<std::string> names;
    for (const CTableSelection::Entry& entry : CTableSelection(&database).ReadOfferedTables()) {
        names.push_back(entry.name);
    }
    std::optional<std::string> table = desktop->ChooseOrNameTable(names);
    if (table && !table->empty() && std::find(names.begin(), names.end(), *table) == names.end()) {
        ClassTable::CreateTable(database, *table);
    }
    return table;
}

IUserInterface::FileDialog SaveDialog() {
    IUserInterface::FileDialog dialog;
    dialog.save = true;
    dialog.defaultExtension = "*.mdb";
    dialog.filter = "Access Datenbank (*.mdb)|*.mdb||";
    return dialog;
}

} // namespace

std::optional<SSaveLocation> ChooseSaveLocation(const CClassRoot& root, IUserInterface& ui) {
    const std::optional<std::string> path = ui.ChooseFile(SaveDialog());
    if (!path) {
        return std::nullopt;
    }
    SSaveLocation location{*path, {}, !FileExists(*path)};
    if (!location.createdFile && CMdbFile::LooksLikeAccessFile(location.database)) {
        ui.ShowMessage(CMdbEngine::ReadOnlyMessage(location.database));
        return std::nullopt;
    }
    try {
        if (location.createdFile) {
            ClassTable::CreateDatabase(location.database);
        }
        CDaoDatabase database;
        database.Open(location.database);
        const std::optional<std::string> table = ChooseTable(database, ui);
        if (!table) {
            return std::nullopt;
        }
        location.table = *table;
        const bool ownTable = !root.m_bNeedsLocation && root.m_strTable == location.table &&
                              SameFile(root.m_strDatabase, location.database);
        if (!ownTable && !location.table.empty()) {
            const SRowCount count = CountRows(database, location.table);
            if (count.rows > 0 &&
                !ui.AskYesNo(ReplaceQuestion(location.database, location.table, count))) {
                return std::nullopt;
            }
        }
    } catch (const CDaoException& error) {
        ui.ShowMessage(error.GetErrorMessage());
        return std::nullopt;
    }
    return location;
}
