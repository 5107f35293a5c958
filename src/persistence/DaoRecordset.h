#pragma once

#include "persistence/DaoEngine.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDaoDatabase;

// Open types of a recordset; only the table type is offered.
inline constexpr int dbOpenTable = 1;

// A record's position, valid while the recordset is open.
struct CDaoBookmark {
    DaoRowKey key = 0;
};

// A table-type recordset: the table's records in table order with one current
// record. Changes go through an edit buffer (AddNew or Edit, SetFieldValue,
// Update). Every failure raises CDaoException.
class CDaoRecordset {
public:
    explicit CDaoRecordset(CDaoDatabase* database);
    CDaoRecordset(const CDaoRecordset&) = delete;
    CDaoRecordset& operator=(const CDaoRecordset&) = delete;
    ~CDaoRecordset();

    void Open(int openType, const std::string& table);
    void Close();
    bool IsOpen() const { return m_table != nullptr; }

    // Before the first record / after the last one; both on an empty table.
    bool IsBOF() const { return m_bBOF; }
    bool IsEOF() const { return m_bEOF; }
    void MoveFirst();
    void MoveNext();

    // Deletes the current record; there is no current record until the next
    // move, and an emptied table is at both ends at once.
    void Delete();
    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();

    CDaoBookmark GetLastModifiedBookmark() const;
    void SetBookmark(const CDaoBookmark& bookmark);

    // Valid until the recordset moves or changes.
    const CDaoFieldValue& GetFieldValue(const std::string& column);
    void SetFieldValue(const std::string& column, const std::string& text);

    const std::vector<std::string>& GetColumnNames() const;

private:
    enum class EditMode { None, AddNew, Edit };

    IDaoTable& Table() const;
    int ColumnIndex(const std::string& column) const;
    void TakeRow(std::optional<CDaoRow> row, bool atStart);
    void RequireCurrent() const;

    CDaoDatabase* m_pDatabase;
    std::unique_ptr<IDaoTable> m_table;
    bool m_bBOF = true;
    bool m_bEOF = true;
    // The current record: its key, its values once read, whether deleted.
    bool m_bHasCurrent = false;
    bool m_bDeleted = false;
    DaoRowKey m_currentKey = 0;
    std::optional<std::vector<CDaoFieldValue>> m_currentValues;
    EditMode m_editMode = EditMode::None;
    DaoRowKey m_editKey = 0;
    std::vector<CDaoFieldAssignment> m_editBuffer;
    std::optional<DaoRowKey> m_lastModified;
    // The first row as Delete found it, until the next operation.
    std::optional<std::optional<CDaoRow>> m_firstAfterDelete;
};
