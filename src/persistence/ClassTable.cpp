#include "persistence/ClassTable.h"

#include "model/ClassRoot.h"
#include "persistence/DaoDatabase.h"
#include "persistence/DaoException.h"
#include "persistence/DaoRecordset.h"
#include "persistence/MdbEngine.h"
#include "persistence/MdbFile.h"
#include "persistence/RowLinker.h"
#include "persistence/SqliteEngine.h"
#include "persistence/TableSelection.h"
#include "platform/FileServices.h"
#include "platform/UserInterface.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

void ClassTable::CreateTable(CDaoDatabase& database, const std::string& name) {
    database.CreateTableDef(name, {{"ID", DaoColumnType::Long},
                                   {"Type", DaoColumnType::Long},
                                   {"Row", DaoColumnType::Long},
                                   {"Parent", DaoColumnType::Long},
                                   {"Class", DaoColumnType::Text},
                                   {"File", DaoColumnType::Text},
                                   {"Description", DaoColumnType::Text},
                                   {"VarType", DaoColumnType::Text},
                                   {"Parameter", DaoColumnType::Text}});
}

void ClassTable::CreateDatabase(const std::string& path) {
    CDaoDatabase database;
    database.Create(path);
    try {
        CreateTable(database, kDefaultTable);
    } catch (const CDaoException&) {
        database.Close();
        std::remove(path.c_str());
        throw;
    }
}

std::string ClassTable::UnplacedRowsMessage(const std::vector<std::unique_ptr<CClassNode>>& nodes) {
    constexpr size_t kNamed = 5;
    const size_t count = nodes.size();
    std::string text = count == 1 ? std::string("Ein Eintrag der Tabelle konnte")
                                  : std::to_string(count) + " Einträge der Tabelle konnten";
    text += " nicht eingeordnet werden, weil die Klasse, zu der sie gehören, in keiner Zeile "
            "steht:\n";
    for (size_t i = 0; i < count && i < kNamed; ++i) {
        text += "\n  " + nodes[i]->GetName() + " (ID " + std::to_string(nodes[i]->GetId()) +
                ", Parent " + std::to_string(nodes[i]->m_nParentId) + ")";
    }
    if (count > kNamed) {
        text += "\n  und " + std::to_string(count - kNamed) + " weitere";
    }
    return text;
}

bool CClassNode::WriteRow(CDaoRecordset* recordset, IUserInterface& ui) {
    if (recordset == nullptr) {
        return true;
    }
    try {
        recordset->AddNew();
        recordset->Update();
        recordset->SetBookmark(recordset->GetLastModifiedBookmark());
        recordset->Edit();
        recordset->SetFieldValue("ID", std::to_string(GetId()));
        recordset->SetFieldValue("Type", std::to_string(GetKind()));
        recordset->SetFieldValue("Row", std::to_string(GetLine()));
        recordset->SetFieldValue("Class", GetName());
        recordset->SetFieldValue("File", GetHeaderFileName());
        recordset->SetFieldValue("Description", GetDescription());
        recordset->SetFieldValue("VarType", GetTypeText());
        recordset->SetFieldValue("Parameter", GetParameters());
        recordset->SetFieldValue("Parent",
                                 std::to_string(m_pParent != nullptr ? m_pParent->GetId() : -1));
        recordset->Update();
    } catch (const CDaoException& error) {
        // A row the file cannot take at all ends the save (and its transaction).
        if (error.IsFatal()) {
            throw;
        }
        ui.ShowMessage(error.GetErrorMessage());
        return false;
    }
    return true;
}

// Pre-order with an explicit stack: inheritance chains can be deep.
bool CClassNode::WriteRows(CDaoRecordset* recordset, IUserInterface& ui) {
    if (recordset == nullptr) {
        return true;
    }
    std::vector<CClassNode*> stack{this};
    while (!stack.empty()) {
        CClassNode* node = stack.back();
        stack.pop_back();
        if (!node->WriteRow(recordset, ui)) {
            return false;
        }
        for (int i = node->GetChildCount() - 1; i >= 0; --i) {
            if (CClassNode* child = node->GetChild(i)) {
                stack.push_back(child);
            }
        }
    }
    return true;
}

namespace {

// Deletes every row. A round that deletes nothing would repeat for ever, so
// the first failure ends the loop; its text is returned.
std::optional<std::string> DeleteAllRows(CDaoRecordset& recordset) {
    while (!recordset.IsBOF() && !recordset.IsEOF()) {
        try {
            recordset.MoveFirst();
            if (recordset.IsBOF() || recordset.IsEOF()) {
                break;
            }
            recordset.Delete();
        } catch (const CDaoException& error) {
            return error.GetErrorMessage();
        }
    }
    return std::nullopt;
}

// Replaces the table's rows with the structure's, in one transaction: if
// anything ends the save early, the old rows stay.
bool WriteTable(CClassRoot& root, CDaoDatabase& database, IUserInterface& ui) {
    CDaoTransaction transaction(database);
    try {
        transaction.Begin();
    } catch (const CDaoException& error) {
        ui.ShowMessage(error.GetErrorMessage());
        return false;
    }
    CDaoRecordset recordset(&database);
    try {
        recordset.Open(dbOpenTable, root.m_strTable);
    } catch (const CDaoException& error) {
        ui.ShowMessage(error.GetErrorMessage());
        return false;
    }
    if (!recordset.IsBOF() && !recordset.IsEOF()) {
        recordset.MoveFirst();
    }
    if (const std::optional<std::string> error = DeleteAllRows(recordset)) {
        ui.ShowMessage(*error);
        return false;
    }
    try {
        // A row that fails is shown once and ends the save: a save that keeps
        // part of the structure would drop the rest of the descriptions.
        for (int i = 0; i < root.GetChildCount(); ++i) {
            CClassNode* child = root.GetChild(i);
            if (child != nullptr && !child->WriteRows(&recordset, ui)) {
                return false;
            }
        }
        recordset.Close();
        transaction.Commit();
    } catch (const CDaoException& error) {
        // A fatal row error or a failed commit: rolled back, reported once.
        ui.ShowMessage(error.GetErrorMessage());
        return false;
    }
    root.m_bNeedsLocation = false;
    return true;
}

// The copy's outcome is not checked, as before. A SQLite file is copied
// through the engine: a byte copy of a database in WAL mode would miss the
// changes not yet written back into it.
void MakeBackup(const std::string& path) {
    const std::string target = path + ".bak";
    std::ifstream file(path, std::ios::binary);
    std::string header(16, '\0');
    if (file.read(header.data(), static_cast<std::streamsize>(header.size())) &&
        CSqliteEngine::Recognises(header)) {
        try {
            CSqliteEngine::Backup(path, target);
        } catch (const CDaoException&) {
        }
        return;
    }
    CopyFileReplacing(path, target);
}

IUserInterface::FileDialog SaveDialog() {
    IUserInterface::FileDialog dialog;
    dialog.save = true;
    dialog.defaultExtension = "*.mdb";
    dialog.filter = "Access Datenbank (*.mdb)|*.mdb||";
    // A file that does not exist yet becomes a new database.
    dialog.fileMustExist = false;
    return dialog;
}

void ReadRow(CDaoRecordset& recordset, CClassNode& node) {
    node.SetId(recordset.GetFieldValue("ID").AsLong());
    node.SetKind(recordset.GetFieldValue("Type").AsLong());
    node.SetLine(recordset.GetFieldValue("Row").AsLong());
    node.m_nParentId = recordset.GetFieldValue("Parent").AsLong();
    node.SetName(recordset.GetFieldValue("Class").AsText());
    node.SetHeaderFile(recordset.GetFieldValue("File").AsText());
    node.SetDescription(recordset.GetFieldValue("Description").AsText());
    node.SetTypeText(recordset.GetFieldValue("VarType").AsText());
    node.SetParameters(recordset.GetFieldValue("Parameter").AsText());
}

} // namespace

bool CClassRoot::Save(bool backup, IUserInterface& ui) {
    const std::string origin = m_strDatabase;
    if (m_bNeedsLocation) {
        const std::optional<std::string> path = ui.ChooseFile(SaveDialog());
        if (!path) {
            return false;
        }
        m_strDatabase = *path;
        if (!FileExists(m_strDatabase)) {
            try {
                ClassTable::CreateDatabase(m_strDatabase);
            } catch (const CDaoException& error) {
                ui.ShowMessage(error.GetErrorMessage());
                return false;
            }
        }
    }
    // Access files are only read. Refused before the copy and the table choice,
    // so that nothing changes and the next save asks for a location again.
    if (CMdbFile::LooksLikeAccessFile(m_strDatabase)) {
        ui.ShowMessage(CMdbEngine::ReadOnlyMessage(m_strDatabase));
        m_strDatabase = origin;
        m_bNeedsLocation = true;
        return false;
    }
    if (backup) {
        MakeBackup(m_strDatabase);
    }
    CDaoDatabase database;
    database.Open(m_strDatabase);
    bool result = true;
    if (m_bNeedsLocation) {
        CTableSelection dialog(&database);
        if (dialog.DoModal(ui)) {
            m_bNeedsLocation = false;
            m_strTable = dialog.m_strTable;
        } else {
            result = false;
        }
    }
    if (result) {
        result = WriteTable(*this, database, ui);
    }
    database.Close();
    return result;
}

bool CClassRoot::Load(const std::string& path, IUserInterface& ui) {
    bool result = true;
    ClearChildren();
    m_strDatabase = path;
    CDaoDatabase database;
    database.Open(path);
    CTableSelection dialog(&database);
    if (!dialog.DoModal(ui)) {
        database.Close();
        return false;
    }
    SetId(-1);
    SetName(path + " (" + dialog.m_strTable + ")");
    SetDescription("keine Beschreibung vorhanden");
    m_strTable = dialog.m_strTable;

    CRowLinker linker(*this);
    CDaoRecordset recordset(&database);
    try {
        recordset.Open(dbOpenTable, m_strTable);
    } catch (const CDaoException& error) {
        ui.ShowMessage(error.GetErrorMessage());
        result = false;
    }
    if (!recordset.IsBOF() && !recordset.IsEOF() && result) {
        recordset.MoveFirst();
        while (!recordset.IsEOF()) {
            auto node = std::make_unique<CClassNode>();
            try {
                ReadRow(recordset, *node);
                linker.Add(std::move(node));
            } catch (const CDaoException&) {
                // The row's node is dropped; the others are still read.
                result = false;
            }
            recordset.MoveNext();
        }
    }
    recordset.Close();
    database.Close();
    if (result) {
        linker.AttachParked();
        // A structure read from an Access file has no place to be saved yet.
        m_bNeedsLocation = CMdbFile::LooksLikeAccessFile(path);
        if (!linker.Parked().empty()) {
            ui.ShowMessage(ClassTable::UnplacedRowsMessage(linker.Parked()));
        }
    }
    linker.DropParked();
    return result;
}
