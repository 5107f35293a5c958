#pragma once

#include "persistence/DaoEngine.h"
#include "persistence/SqliteEngine.h"

#include <memory>
#include <string>
#include <vector>

// An open database file. The engine is chosen by the file's first bytes
// (DaoEngine.h); every failure raises CDaoException.
class CDaoDatabase {
public:
    CDaoDatabase() = default;
    CDaoDatabase(const CDaoDatabase&) = delete;
    CDaoDatabase& operator=(const CDaoDatabase&) = delete;
    ~CDaoDatabase();

    // Not exclusive, not read-only, no connect string.
    void Open(const std::string& path);
    // A new, empty SQLite database file; raises CDaoException when the file
    // exists or cannot be created.
    void Create(const std::string& path);
    // An engine opened elsewhere (another engine's own entry point, tests).
    void Attach(std::unique_ptr<IDaoEngine> engine, const std::string& name);
    // Rolls back a transaction still open.
    void Close();
    bool IsOpen() const { return m_engine != nullptr; }
    const std::string& GetName() const { return m_strName; }

    int GetTableDefCount();
    void GetTableDefInfo(int index, CDaoTableDefInfo& info);
    // Only for databases made by Create (or any SQLite file).
    void CreateTableDef(const std::string& name, const std::vector<CDaoColumnDef>& columns);

    void BeginTrans();
    void CommitTrans();
    void Rollback() noexcept;

    IDaoEngine& GetEngine();

private:
    std::unique_ptr<IDaoEngine> m_engine;
    std::string m_strName;
};

// Rolls back unless committed: a Save that ends by an error leaves the old rows.
class CDaoTransaction {
public:
    explicit CDaoTransaction(CDaoDatabase& database) : m_database(database) {}
    CDaoTransaction(const CDaoTransaction&) = delete;
    CDaoTransaction& operator=(const CDaoTransaction&) = delete;
    ~CDaoTransaction() {
        if (m_bOpen) {
            m_database.Rollback();
        }
    }

    void Begin() {
        m_database.BeginTrans();
        m_bOpen = true;
    }
    void Commit() {
        m_database.CommitTrans();
        m_bOpen = false;
    }

private:
    CDaoDatabase& m_database;
    bool m_bOpen = false;
};
