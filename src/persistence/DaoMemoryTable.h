#pragma once

#include "persistence/DaoEngine.h"

#include <optional>
#include <string>
#include <vector>

// A table read into memory by a read-only engine: rows of optional texts
// (nullopt is NULL), in table order; the row's position is its key. Every
// write raises CDaoException with the text given at construction.
class CDaoMemoryTable : public IDaoTable {
public:
    using Row = std::vector<std::optional<std::string>>;

    CDaoMemoryTable(std::vector<std::string> columns, std::vector<Row> rows,
                    std::string readOnlyMessage);

    const std::vector<std::string>& GetColumnNames() const override { return m_columns; }
    std::optional<CDaoRow> FetchFirst() override;
    std::optional<CDaoRow> FetchNext(DaoRowKey after) override;
    std::optional<CDaoRow> FetchByKey(DaoRowKey key) override;
    DaoRowKey InsertRow(const std::vector<CDaoFieldAssignment>& values) override;
    void UpdateRow(DaoRowKey key, const std::vector<CDaoFieldAssignment>& values) override;
    void DeleteRow(DaoRowKey key) override;

private:
    std::vector<std::string> m_columns;
    std::vector<Row> m_rows;
    std::string m_strReadOnlyMessage;
};
