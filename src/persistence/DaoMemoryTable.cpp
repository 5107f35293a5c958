#include "persistence/DaoMemoryTable.h"

#include "persistence/DaoException.h"

CDaoMemoryTable::CDaoMemoryTable(std::vector<std::string> columns, std::vector<Row> rows,
                                 std::string readOnlyMessage)
    : m_columns(std::move(columns)), m_rows(std::move(rows)),
      m_strReadOnlyMessage(std::move(readOnlyMessage)) {}

std::optional<CDaoRow> CDaoMemoryTable::FetchFirst() {
    return FetchByKey(0);
}

std::optional<CDaoRow> CDaoMemoryTable::FetchNext(DaoRowKey after) {
    return FetchByKey(after < 0 ? 0 : after + 1);
}

std::optional<CDaoRow> CDaoMemoryTable::FetchByKey(DaoRowKey key) {
    if (key < 0 || key >= static_cast<DaoRowKey>(m_rows.size())) {
        return std::nullopt;
    }
    const Row& source = m_rows[static_cast<size_t>(key)];
    CDaoRow row;
    row.key = key;
    row.values.reserve(m_columns.size());
    for (size_t i = 0; i < m_columns.size(); ++i) {
        // A short row reads as NULL in its missing columns.
        row.values.emplace_back(i < source.size() ? source[i] : std::nullopt);
    }
    return row;
}

DaoRowKey CDaoMemoryTable::InsertRow(const std::vector<CDaoFieldAssignment>&) {
    throw CDaoException(m_strReadOnlyMessage);
}

void CDaoMemoryTable::UpdateRow(DaoRowKey, const std::vector<CDaoFieldAssignment>&) {
    throw CDaoException(m_strReadOnlyMessage);
}

void CDaoMemoryTable::DeleteRow(DaoRowKey) {
    throw CDaoException(m_strReadOnlyMessage);
}
