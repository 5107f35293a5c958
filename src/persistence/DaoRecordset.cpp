#include "persistence/DaoRecordset.h"

#include "persistence/DaoDatabase.h"
#include "persistence/DaoException.h"

namespace {

const char* const kNoCurrentRecord = "Kein aktueller Datensatz.";

} // namespace

CDaoRecordset::CDaoRecordset(CDaoDatabase* database) : m_pDatabase(database) {}

CDaoRecordset::~CDaoRecordset() {
    Close();
}

void CDaoRecordset::Open(int openType, const std::string& table) {
    Close();
    if (openType != dbOpenTable) {
        throw CDaoException("Nur Tabellen-Recordsets werden unterstützt.");
    }
    if (m_pDatabase == nullptr) {
        throw CDaoException("Die Datenbank ist nicht geöffnet.");
    }
    m_table = m_pDatabase->GetEngine().OpenTable(table);
    TakeRow(m_table->FetchFirst(), true);
}

void CDaoRecordset::Close() {
    m_firstAfterDelete.reset();
    m_table.reset();
    m_bBOF = m_bEOF = true;
    m_bHasCurrent = false;
    m_bDeleted = false;
    m_currentValues.reset();
    m_editMode = EditMode::None;
    m_editBuffer.clear();
    m_lastModified.reset();
}

IDaoTable& CDaoRecordset::Table() const {
    if (!m_table) {
        throw CDaoException("Das Recordset ist nicht geöffnet.");
    }
    return *m_table;
}

// A row fetched by a move becomes the current record; none means the end.
void CDaoRecordset::TakeRow(std::optional<CDaoRow> row, bool atStart) {
    m_bDeleted = false;
    if (row) {
        m_bHasCurrent = true;
        m_currentKey = row->key;
        m_currentValues = std::move(row->values);
        m_bBOF = m_bEOF = false;
        return;
    }
    m_bHasCurrent = false;
    m_currentValues.reset();
    m_bEOF = true;
    // MoveFirst finding nothing: the table is empty, both ends at once.
    if (atStart) {
        m_bBOF = true;
    }
}

void CDaoRecordset::MoveFirst() {
    IDaoTable& table = Table();
    // Delete has just looked for the first row; the delete loop asks again at once.
    if (m_firstAfterDelete) {
        std::optional<CDaoRow> row = std::move(*m_firstAfterDelete);
        m_firstAfterDelete.reset();
        TakeRow(std::move(row), true);
        return;
    }
    TakeRow(table.FetchFirst(), true);
}

void CDaoRecordset::MoveNext() {
    m_firstAfterDelete.reset();
    IDaoTable& table = Table();
    if (m_bEOF || !m_bHasCurrent) {
        throw CDaoException(kNoCurrentRecord);
    }
    TakeRow(table.FetchNext(m_currentKey), false);
}

void CDaoRecordset::RequireCurrent() const {
    Table();
    if (m_bBOF || m_bEOF || !m_bHasCurrent || m_bDeleted) {
        throw CDaoException(kNoCurrentRecord);
    }
}

void CDaoRecordset::Delete() {
    RequireCurrent();
    m_firstAfterDelete.reset();
    m_table->DeleteRow(m_currentKey);
    m_bDeleted = true;
    m_currentValues.reset();
    std::optional<CDaoRow> first = m_table->FetchFirst();
    if (!first) {
        m_bBOF = m_bEOF = true;
    }
    m_firstAfterDelete = std::move(first);
}

void CDaoRecordset::AddNew() {
    m_firstAfterDelete.reset();
    Table();
    m_editMode = EditMode::AddNew;
    m_editBuffer.clear();
}

void CDaoRecordset::Edit() {
    m_firstAfterDelete.reset();
    RequireCurrent();
    m_editMode = EditMode::Edit;
    m_editKey = m_currentKey;
    m_editBuffer.clear();
}

// On failure the edit buffer stays, as the engine's Update leaves it.
void CDaoRecordset::Update() {
    m_firstAfterDelete.reset();
    IDaoTable& table = Table();
    switch (m_editMode) {
    case EditMode::None:
        throw CDaoException("Update ohne AddNew oder Edit.");
    case EditMode::AddNew:
        m_lastModified = table.InsertRow(m_editBuffer);
        break;
    case EditMode::Edit:
        table.UpdateRow(m_editKey, m_editBuffer);
        m_lastModified = m_editKey;
        if (m_bHasCurrent && m_currentKey == m_editKey) {
            m_currentValues.reset();
        }
        break;
    }
    m_editMode = EditMode::None;
    m_editBuffer.clear();
}

void CDaoRecordset::CancelUpdate() {
    m_editMode = EditMode::None;
    m_editBuffer.clear();
}

CDaoBookmark CDaoRecordset::GetLastModifiedBookmark() const {
    Table();
    if (!m_lastModified) {
        throw CDaoException(kNoCurrentRecord);
    }
    return CDaoBookmark{*m_lastModified};
}

// The record is read when a field is first asked for.
void CDaoRecordset::SetBookmark(const CDaoBookmark& bookmark) {
    m_firstAfterDelete.reset();
    Table();
    m_bHasCurrent = true;
    m_bDeleted = false;
    m_currentKey = bookmark.key;
    m_currentValues.reset();
    m_bBOF = m_bEOF = false;
}

int CDaoRecordset::ColumnIndex(const std::string& column) const {
    const std::vector<std::string>& columns = Table().GetColumnNames();
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] == column) {
            return static_cast<int>(i);
        }
    }
    throw CDaoException("Feld '" + column + "' nicht gefunden.");
}

const CDaoFieldValue& CDaoRecordset::GetFieldValue(const std::string& column) {
    RequireCurrent();
    const int index = ColumnIndex(column);
    if (!m_currentValues) {
        std::optional<CDaoRow> row = m_table->FetchByKey(m_currentKey);
        if (!row) {
            throw CDaoException(kNoCurrentRecord);
        }
        m_currentValues = std::move(row->values);
    }
    // An engine may deliver fewer values than columns: the rest are NULL.
    if (index >= static_cast<int>(m_currentValues->size())) {
        m_currentValues->resize(static_cast<size_t>(index) + 1);
    }
    return (*m_currentValues)[static_cast<size_t>(index)];
}

void CDaoRecordset::SetFieldValue(const std::string& column, const std::string& text) {
    if (m_editMode == EditMode::None) {
        Table();
        throw CDaoException("Kein AddNew oder Edit aktiv.");
    }
    const int index = ColumnIndex(column);
    for (CDaoFieldAssignment& assignment : m_editBuffer) {
        if (assignment.column == index) {
            assignment.text = text;
            return;
        }
    }
    m_editBuffer.push_back({index, text});
}

const std::vector<std::string>& CDaoRecordset::GetColumnNames() const {
    return Table().GetColumnNames();
}
