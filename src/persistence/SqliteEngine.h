#pragma once

#include "persistence/DaoEngine.h"

#include <memory>
#include <string>
#include <vector>

struct CSqliteConnection;

// The German text of an engine error: what happened to the file at path,
// then the engine's own text.
std::string SqliteErrorText(const std::string& path, int code, const std::string& engineText);

// Column types of a new table.
enum class DaoColumnType { Long, Text };

struct CDaoColumnDef {
    std::string name;
    DaoColumnType type = DaoColumnType::Text;
};

// The SQLite engine: tables in rowid order, names always quoted as
// identifiers, texts stored as UTF-8 TEXT, one write transaction at a time.
class CSqliteEngine : public IDaoEngine {
public:
    // An existing file, read-write where the file system allows it.
    static std::unique_ptr<IDaoEngine> Open(const std::string& path);
    // A new, empty database file; raises CDaoException when the file exists.
    static std::unique_ptr<CSqliteEngine> Create(const std::string& path);

    int GetTableDefCount() override;
    CDaoTableDefInfo GetTableDefInfo(int index) override;
    std::unique_ptr<IDaoTable> OpenTable(const std::string& name) override;
    void BeginTrans() override;
    void CommitTrans() override;
    void Rollback() noexcept override;

    void CreateTable(const std::string& name, const std::vector<CDaoColumnDef>& columns);

    // A consistent copy of the database at source (pending changes of a WAL
    // included) in target, replacing it; one file in rollback-journal mode.
    // Raises CDaoException; an old target stays when the copy fails.
    static void Backup(const std::string& source, const std::string& target);
    // A file starting with the SQLite signature.
    static bool Recognises(const std::string& header);

    // "name" as an SQL identifier, quotes doubled.
    static std::string QuoteIdentifier(const std::string& name);

private:
    explicit CSqliteEngine(std::shared_ptr<CSqliteConnection> connection);
    std::vector<std::string> ReadTableNames();

    std::shared_ptr<CSqliteConnection> m_connection;
};
