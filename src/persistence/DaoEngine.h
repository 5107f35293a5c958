#pragma once

// The seam between the DAO-style classes (CDaoDatabase, CDaoRecordset) and a
// database engine. CDaoDatabase::Open reads the file's first bytes and takes
// the first engine in DaoEngineTypes() (DaoEngines.cpp) that recognises them;
// SQLite is the last entry and takes everything else, so a file that is no
// database gets SQLite's own error text.
//
// An engine only lists its tables and hands out a table as keyed rows in
// table order; CDaoRecordset keeps the cursor rules (BOF/EOF, current record,
// edit buffer, bookmarks) for every engine alike:
//   IDaoEngine  table definitions (name, attributes), OpenTable, transactions
//   IDaoTable   column names; FetchFirst/FetchNext/FetchByKey give a row with
//               its key (the key is also the bookmark); InsertRow, UpdateRow,
//               DeleteRow by key
// A read-only engine (one that reads a file into memory) puts its rows into a
// CDaoMemoryTable (DaoMemoryTable.h: texts, NULL as nullopt), which refuses
// writes, and raises CDaoException from BeginTrans so that a Save reports the
// text and changes nothing. Every failure is a CDaoException with a text.

#include "persistence/DaoFieldValue.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Attribute bits of a table definition that mark the engine's own tables.
inline constexpr std::uint32_t dbSystemObject = 0x80000002u;

struct CDaoTableDefInfo {
    std::string m_strName;
    std::uint32_t m_lAttributes = 0;
};

using DaoRowKey = std::int64_t;

struct CDaoRow {
    DaoRowKey key = 0;
    std::vector<CDaoFieldValue> values; // one per column, in column order
};

// A value to store: column position and text; the engine converts the text
// to the column's type.
struct CDaoFieldAssignment {
    int column = 0;
    std::string text;
};

class IDaoTable {
public:
    virtual ~IDaoTable() = default;

    virtual const std::vector<std::string>& GetColumnNames() const = 0;

    // Rows in table order; nullopt past the last one.
    virtual std::optional<CDaoRow> FetchFirst() = 0;
    // The row after the given key, also when that row has been deleted.
    virtual std::optional<CDaoRow> FetchNext(DaoRowKey after) = 0;
    virtual std::optional<CDaoRow> FetchByKey(DaoRowKey key) = 0;

    // Writes; a read-only engine raises CDaoException.
    virtual DaoRowKey InsertRow(const std::vector<CDaoFieldAssignment>& values) = 0;
    // Raises CDaoException when no row has that key.
    virtual void UpdateRow(DaoRowKey key, const std::vector<CDaoFieldAssignment>& values) = 0;
    virtual void DeleteRow(DaoRowKey key) = 0;
};

class IDaoEngine {
public:
    virtual ~IDaoEngine() = default;

    virtual int GetTableDefCount() = 0;
    virtual CDaoTableDefInfo GetTableDefInfo(int index) = 0;
    // Raises CDaoException when the table does not exist or cannot be read.
    virtual std::unique_ptr<IDaoTable> OpenTable(const std::string& name) = 0;

    // One write transaction at a time. BeginTrans raises CDaoException when
    // the database cannot be written (read-only file, locked, read-only
    // engine); Rollback never raises.
    virtual void BeginTrans() = 0;
    virtual void CommitTrans() = 0;
    virtual void Rollback() noexcept = 0;
};

// One kind of database file.
struct CDaoEngineType {
    const char* name;
    // header: the file's first bytes (fewer when the file is shorter).
    bool (*recognises)(const std::string& header);
    // Opens an existing file, not exclusive; raises CDaoException.
    std::unique_ptr<IDaoEngine> (*open)(const std::string& path);
};

// The engines in the order they are asked; the last takes every file.
const std::vector<CDaoEngineType>& DaoEngineTypes();
