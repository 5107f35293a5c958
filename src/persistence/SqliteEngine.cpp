#include "persistence/SqliteEngine.h"

#include "persistence/DaoException.h"

#include <cstdio>
#include <limits>
#include <map>
#include <sqlite3.h>
#include <strings.h>

namespace {

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

} // namespace

// The German sentence names the file; the engine's own words follow, so that
// nothing it said is lost.
std::string SqliteErrorText(const std::string& path, int code, const std::string& engineText) {
    std::string text;
    const std::string file = Quoted(path);
    switch (code & 0xFF) {
    case SQLITE_NOTADB:
        text = "Die Datei " + file + " ist keine Datenbank.";
        break;
    case SQLITE_CANTOPEN:
        text = "Die Datenbank " + file + " kann nicht geöffnet werden.";
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        text = "Die Datenbank " + file + " ist von einem anderen Programm gesperrt.";
        break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        text = "In die Datenbank " + file +
               " kann nicht geschrieben werden: die Datei oder ihr Ordner ist schreibgeschützt.";
        break;
    case SQLITE_FULL:
        text = "In die Datenbank " + file +
               " kann nicht geschrieben werden: der Datenträger ist voll.";
        break;
    case SQLITE_IOERR:
        text = "Beim Lesen oder Schreiben der Datenbank " + file +
               " ist ein Fehler aufgetreten; ist der Datenträger voll?";
        break;
    case SQLITE_CORRUPT:
        text = "Die Datenbank " + file + " ist beschädigt.";
        break;
    case SQLITE_INTERRUPT:
        text = "Ein Befehl in der Datenbank " + file +
               " wurde abgebrochen, weil er nicht zu Ende kam.";
        break;
    case SQLITE_CONSTRAINT:
        text = "Die Datenbank " + file + " nimmt die Zeile nicht an.";
        break;
    default:
        text = "Fehler in der Datenbank " + file + ".";
        break;
    }
    return text + "\n\n" + engineText;
}

// Shared by the engine and its open tables, so that a table outliving its
// database never touches a closed handle (sqlite3_close_v2 waits for the
// last statement).
struct CSqliteConnection {
    sqlite3* db = nullptr;
    std::string path;
    bool inTransaction = false;
    // Bumped by every write, so that an open scan knows it must seek again.
    std::int64_t writeGeneration = 0;
    // Progress callbacks of the statement running now (see Step).
    int ticks = 0;

    ~CSqliteConnection() { sqlite3_close_v2(db); }

    // Errors after which the transaction cannot go on: the file cannot be
    // written, or the engine has rolled the transaction back itself.
    bool IsFatal(int code) const {
        switch (code & 0xFF) {
        case SQLITE_IOERR:
        case SQLITE_FULL:
        case SQLITE_NOMEM:
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_PROTOCOL:
        case SQLITE_INTERRUPT:
            return true;
        default:
            return inTransaction && sqlite3_get_autocommit(db) != 0;
        }
    }

    [[noreturn]] void Fail(int code) const {
        throw CDaoException(SqliteErrorText(path, code, sqlite3_errmsg(db)), code, IsFatal(code));
    }

    // The message is taken before the reset, which may replace it.
    [[noreturn]] void Fail(sqlite3_stmt* statement, int code) const {
        std::string message = sqlite3_errmsg(db);
        sqlite3_reset(statement);
        throw CDaoException(SqliteErrorText(path, code, message), code, IsFatal(code));
    }

    // Every statement starts with a fresh budget for the progress handler.
    int Step(sqlite3_stmt* statement) {
        ticks = 0;
        return sqlite3_step(statement);
    }

    void Execute(const char* sql) {
        ticks = 0;
        const int code = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
        if (code != SQLITE_OK) {
            Fail(code);
        }
    }

    sqlite3_stmt* Prepare(const std::string& sql) const {
        sqlite3_stmt* statement = nullptr;
        const int code =
            sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr);
        if (code != SQLITE_OK) {
            Fail(code);
        }
        return statement;
    }
};

namespace {

constexpr int kLockTimeoutMs = 1000;
// A statement may run this many times kProgressInterval engine steps (some
// seconds); our own statements need a few thousand steps per row.
constexpr int kProgressInterval = 1000;
constexpr int kProgressTicks = 500000;

const char* const kNoCurrentRecord = "Kein aktueller Datensatz.";

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// Relative paths get "./" so that a name like "file:x" is never read as a URI.
std::string PathForSqlite(const std::string& path) {
    if (!path.empty() && path[0] != '/') {
        return "./" + path;
    }
    return path;
}

std::shared_ptr<CSqliteConnection> Connect(const std::string& path, int flags) {
    if (path.empty()) {
        // SQLite would open a temporary database for the empty name.
        throw CDaoException(SqliteErrorText(path, SQLITE_CANTOPEN, sqlite3_errstr(SQLITE_CANTOPEN)),
                            SQLITE_CANTOPEN);
    }
    auto connection = std::make_shared<CSqliteConnection>();
    const int code = sqlite3_open_v2(PathForSqlite(path).c_str(), &connection->db, flags, nullptr);
    if (code != SQLITE_OK) {
        const std::string message =
            connection->db != nullptr ? sqlite3_errmsg(connection->db) : sqlite3_errstr(code);
        throw CDaoException(SqliteErrorText(path, code, message), code);
    }
    connection->path = path;
    sqlite3_extended_result_codes(connection->db, 1);
    sqlite3_busy_timeout(connection->db, kLockTimeoutMs);
    // The file may come from anyone: no schema code outside the innocuous
    // functions, no writes to the schema by hand, and no statement that runs
    // without end.
    sqlite3_db_config(connection->db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(connection->db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_progress_handler(
        connection->db, kProgressInterval,
        [](void* data) -> int {
            return ++static_cast<CSqliteConnection*>(data)->ticks > kProgressTicks ? 1 : 0;
        },
        connection.get());
    // A file that is no database fails here, not at the first table access.
    connection->Execute("SELECT count(*) FROM sqlite_master");
    return connection;
}

bool IsSystemTableName(const std::string& name) {
    return name.size() >= 7 && strncasecmp(name.c_str(), "sqlite_", 7) == 0;
}

class CSqliteTable : public IDaoTable {
public:
    CSqliteTable(std::shared_ptr<CSqliteConnection> connection, const std::string& name)
        : m_connection(std::move(connection)), m_strName(name),
          m_strTable(CSqliteEngine::QuoteIdentifier(name)) {
        Statement probe(PrepareOnTable("SELECT * FROM " + m_strTable));
        const int count = sqlite3_column_count(probe.get());
        for (int i = 0; i < count; ++i) {
            m_columns.emplace_back(sqlite3_column_name(probe.get(), i));
        }
        m_strKey = ChooseKeyName();
        Statement triggers(m_connection->Prepare(
            "SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND tbl_name = ?1 "
            "COLLATE NOCASE"));
        sqlite3_bind_text(triggers.get(), 1, name.data(), static_cast<int>(name.size()),
                          SQLITE_STATIC);
        if (m_connection->Step(triggers.get()) == SQLITE_ROW) {
            m_bHasTriggers = sqlite3_column_int(triggers.get(), 0) > 0;
        }
        const std::string select = "SELECT " + m_strKey + ", * FROM " + m_strTable;
        m_scan.reset(
            m_connection->Prepare(select + " WHERE " + m_strKey + " >= ?1 ORDER BY " + m_strKey));
        m_byKey.reset(m_connection->Prepare(select + " WHERE " + m_strKey + " = ?1"));
    }

    const std::vector<std::string>& GetColumnNames() const override { return m_columns; }

    std::optional<CDaoRow> FetchFirst() override {
        return StartScan(std::numeric_limits<DaoRowKey>::min());
    }

    std::optional<CDaoRow> FetchNext(DaoRowKey after) override {
        if (m_bScanning && m_scanKey == after &&
            m_scanGeneration == m_connection->writeGeneration) {
            return StepScan();
        }
        if (after == std::numeric_limits<DaoRowKey>::max()) {
            return std::nullopt;
        }
        return StartScan(after + 1);
    }

    std::optional<CDaoRow> FetchByKey(DaoRowKey key) override {
        sqlite3_stmt* statement = m_byKey.get();
        sqlite3_bind_int64(statement, 1, key);
        const int code = m_connection->Step(statement);
        if (code == SQLITE_DONE) {
            sqlite3_reset(statement);
            return std::nullopt;
        }
        if (code != SQLITE_ROW) {
            m_connection->Fail(statement, code);
        }
        CDaoRow row = ReadRow(statement);
        sqlite3_reset(statement);
        return row;
    }

    DaoRowKey InsertRow(const std::vector<CDaoFieldAssignment>& values) override {
        RefuseIfTriggers();
        sqlite3_stmt* statement = CachedStatement(m_inserts, values, true);
        Run(statement, values);
        return sqlite3_last_insert_rowid(m_connection->db);
    }

    void UpdateRow(DaoRowKey key, const std::vector<CDaoFieldAssignment>& values) override {
        RefuseIfTriggers();
        if (values.empty()) {
            if (!FetchByKey(key)) {
                throw CDaoException(kNoCurrentRecord);
            }
            return;
        }
        sqlite3_stmt* statement = CachedStatement(m_updates, values, false);
        sqlite3_bind_int64(statement, static_cast<int>(values.size()) + 1, key);
        Run(statement, values);
        if (sqlite3_changes(m_connection->db) == 0) {
            throw CDaoException(kNoCurrentRecord);
        }
    }

    void DeleteRow(DaoRowKey key) override {
        RefuseIfTriggers();
        if (!m_delete) {
            m_delete.reset(m_connection->Prepare("DELETE FROM " + m_strTable + " WHERE " +
                                                 m_strKey + " = ?1"));
        }
        sqlite3_bind_int64(m_delete.get(), 1, key);
        Run(m_delete.get(), {});
        if (sqlite3_changes(m_connection->db) == 0) {
            throw CDaoException(kNoCurrentRecord);
        }
    }

private:
    // A trigger runs whatever its author wrote, for as long as it likes, and
    // may change other tables behind the user's back.
    void RefuseIfTriggers() const {
        if (m_bHasTriggers) {
            throw CDaoException("In die Tabelle " + Quoted(m_strName) + " der Datenbank " +
                                Quoted(m_connection->path) +
                                " wird nicht geschrieben: sie hat Trigger, die beim Speichern "
                                "eigene Befehle in der Datenbank ausführen würden.");
        }
    }

    sqlite3_stmt* PrepareOnTable(const std::string& sql) const {
        sqlite3_stmt* statement = nullptr;
        const int code = sqlite3_prepare_v2(m_connection->db, sql.c_str(),
                                            static_cast<int>(sql.size()), &statement, nullptr);
        if (code == SQLITE_OK) {
            return statement;
        }
        const std::string engineText = sqlite3_errmsg(m_connection->db);
        if (engineText.rfind("no such table", 0) == 0) {
            throw CDaoException("Die Tabelle " + Quoted(m_strName) + " gibt es in der Datenbank " +
                                    Quoted(m_connection->path) + " nicht.\n\n" + engineText,
                                code);
        }
        m_connection->Fail(code);
    }

    // The rowid under a name that no column of the table hides.
    std::string ChooseKeyName() const {
        for (const char* candidate : {"rowid", "_rowid_", "oid"}) {
            bool hidden = false;
            for (const std::string& column : m_columns) {
                hidden = hidden || strcasecmp(column.c_str(), candidate) == 0;
            }
            if (!hidden) {
                return candidate;
            }
        }
        throw CDaoException("Die Tabelle hat keinen erreichbaren Satzschlüssel.");
    }

    std::optional<CDaoRow> StartScan(DaoRowKey from) {
        sqlite3_reset(m_scan.get());
        sqlite3_bind_int64(m_scan.get(), 1, from);
        m_bScanning = true;
        m_scanGeneration = m_connection->writeGeneration;
        return StepScan();
    }

    std::optional<CDaoRow> StepScan() {
        const int code = m_connection->Step(m_scan.get());
        if (code == SQLITE_ROW) {
            CDaoRow row = ReadRow(m_scan.get());
            m_scanKey = row.key;
            return row;
        }
        m_bScanning = false;
        if (code != SQLITE_DONE) {
            m_connection->Fail(m_scan.get(), code);
        }
        sqlite3_reset(m_scan.get());
        return std::nullopt;
    }

    // Column 0 is the key, the table's columns follow.
    CDaoRow ReadRow(sqlite3_stmt* statement) const {
        CDaoRow row;
        row.key = sqlite3_column_int64(statement, 0);
        const int count = sqlite3_column_count(statement);
        row.values.reserve(static_cast<size_t>(count - 1));
        for (int i = 1; i < count; ++i) {
            switch (sqlite3_column_type(statement, i)) {
            case SQLITE_INTEGER:
                row.values.emplace_back(
                    static_cast<std::int64_t>(sqlite3_column_int64(statement, i)));
                break;
            case SQLITE_FLOAT:
                row.values.emplace_back(sqlite3_column_double(statement, i));
                break;
            case SQLITE_NULL:
                row.values.emplace_back();
                break;
            default: {
                // Text and blob alike: their bytes.
                const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, i));
                const int size = sqlite3_column_bytes(statement, i);
                row.values.emplace_back(
                    std::string(bytes != nullptr ? bytes : "", static_cast<size_t>(size)));
                break;
            }
            }
        }
        return row;
    }

    // Insert and update statements, one per list of columns.
    sqlite3_stmt* CachedStatement(std::map<std::vector<int>, Statement>& cache,
                                  const std::vector<CDaoFieldAssignment>& values, bool insert) {
        std::vector<int> columns;
        columns.reserve(values.size());
        for (const CDaoFieldAssignment& value : values) {
            columns.push_back(value.column);
        }
        auto it = cache.find(columns);
        if (it != cache.end()) {
            return it->second.get();
        }
        std::string sql;
        if (insert && columns.empty()) {
            sql = "INSERT INTO " + m_strTable + " DEFAULT VALUES";
        } else if (insert) {
            std::string names;
            std::string parameters;
            for (size_t i = 0; i < columns.size(); ++i) {
                names += (i > 0 ? ", " : "") + ColumnName(columns[i]);
                parameters += (i > 0 ? ", ?" : "?") + std::to_string(i + 1);
            }
            sql = "INSERT INTO " + m_strTable + " (" + names + ") VALUES (" + parameters + ")";
        } else {
            std::string assignments;
            for (size_t i = 0; i < columns.size(); ++i) {
                assignments +=
                    (i > 0 ? ", " : "") + ColumnName(columns[i]) + " = ?" + std::to_string(i + 1);
            }
            sql = "UPDATE " + m_strTable + " SET " + assignments + " WHERE " + m_strKey + " = ?" +
                  std::to_string(columns.size() + 1);
        }
        Statement statement(m_connection->Prepare(sql));
        return cache.emplace(std::move(columns), std::move(statement)).first->second.get();
    }

    std::string ColumnName(int column) const {
        if (column < 0 || column >= static_cast<int>(m_columns.size())) {
            throw CDaoException("Unbekannte Spalte.");
        }
        return CSqliteEngine::QuoteIdentifier(m_columns[static_cast<size_t>(column)]);
    }

    // Runs a write with its texts bound from position 1 on.
    void Run(sqlite3_stmt* statement, const std::vector<CDaoFieldAssignment>& values) {
        // A pending read would keep its own view of the table; writes start afresh.
        if (m_bScanning) {
            sqlite3_reset(m_scan.get());
            m_bScanning = false;
        }
        ++m_connection->writeGeneration;
        for (size_t i = 0; i < values.size(); ++i) {
            sqlite3_bind_text(statement, static_cast<int>(i) + 1, values[i].text.data(),
                              static_cast<int>(values[i].text.size()), SQLITE_STATIC);
        }
        const int code = m_connection->Step(statement);
        if (code != SQLITE_DONE) {
            sqlite3_clear_bindings(statement);
            m_connection->Fail(statement, code);
        }
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }

    std::shared_ptr<CSqliteConnection> m_connection;
    std::string m_strName;
    std::string m_strTable; // quoted
    std::string m_strKey;
    std::vector<std::string> m_columns;
    Statement m_scan;
    Statement m_byKey;
    Statement m_delete;
    std::map<std::vector<int>, Statement> m_inserts;
    std::map<std::vector<int>, Statement> m_updates;
    bool m_bScanning = false;
    bool m_bHasTriggers = false;
    DaoRowKey m_scanKey = 0;
    std::int64_t m_scanGeneration = 0;
};

} // namespace

CSqliteEngine::CSqliteEngine(std::shared_ptr<CSqliteConnection> connection)
    : m_connection(std::move(connection)) {}

std::unique_ptr<IDaoEngine> CSqliteEngine::Open(const std::string& path) {
    return std::unique_ptr<IDaoEngine>(
        new CSqliteEngine(Connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX)));
}

std::unique_ptr<CSqliteEngine> CSqliteEngine::Create(const std::string& path) {
    // Exclusive creation first: an existing file is never taken over.
    const std::string sqlitePath = PathForSqlite(path);
    FILE* file = path.empty() ? nullptr : std::fopen(sqlitePath.c_str(), "wx");
    if (file == nullptr) {
        throw CDaoException(SqliteErrorText(path, SQLITE_CANTOPEN, sqlite3_errstr(SQLITE_CANTOPEN)),
                            SQLITE_CANTOPEN);
    }
    std::fclose(file);
    return std::unique_ptr<CSqliteEngine>(
        new CSqliteEngine(Connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX)));
}

bool CSqliteEngine::Recognises(const std::string& header) {
    return header.compare(0, 16, std::string("SQLite format 3\0", 16)) == 0;
}

void CSqliteEngine::Backup(const std::string& source, const std::string& target) {
    const std::shared_ptr<CSqliteConnection> from = Connect(source, SQLITE_OPEN_READONLY);
    // Written beside the target first, so that a failed copy leaves the old one.
    const std::string fresh = target + "-neu";
    std::remove(PathForSqlite(fresh).c_str());
    {
        const std::shared_ptr<CSqliteConnection> to =
            Connect(fresh, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        sqlite3_backup* backup = sqlite3_backup_init(to->db, "main", from->db, "main");
        if (backup == nullptr) {
            to->Fail(sqlite3_errcode(to->db));
        }
        int code = SQLITE_OK;
        for (int wait = 0; wait * 20 < kLockTimeoutMs; ++wait) {
            code = sqlite3_backup_step(backup, -1);
            if (code != SQLITE_OK && code != SQLITE_BUSY && code != SQLITE_LOCKED) {
                break;
            }
            sqlite3_sleep(20);
        }
        sqlite3_backup_finish(backup);
        if (code != SQLITE_DONE) {
            std::remove(PathForSqlite(fresh).c_str());
            to->Fail(code);
        }
        // A copy of a WAL database would otherwise need its own -wal file.
        to->Execute("PRAGMA journal_mode = DELETE");
    }
    if (std::rename(PathForSqlite(fresh).c_str(), PathForSqlite(target).c_str()) != 0) {
        std::remove(PathForSqlite(fresh).c_str());
        throw CDaoException(
            SqliteErrorText(target, SQLITE_CANTOPEN, sqlite3_errstr(SQLITE_CANTOPEN)),
            SQLITE_CANTOPEN);
    }
}

std::vector<std::string> CSqliteEngine::ReadTableNames() {
    Statement statement(m_connection->Prepare(
        "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid"));
    std::vector<std::string> names;
    int code = SQLITE_OK;
    while ((code = m_connection->Step(statement.get())) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0));
        names.emplace_back(text != nullptr ? text : "");
    }
    if (code != SQLITE_DONE) {
        m_connection->Fail(statement.get(), code);
    }
    return names;
}

int CSqliteEngine::GetTableDefCount() {
    return static_cast<int>(ReadTableNames().size());
}

CDaoTableDefInfo CSqliteEngine::GetTableDefInfo(int index) {
    const std::vector<std::string> names = ReadTableNames();
    if (index < 0 || index >= static_cast<int>(names.size())) {
        throw CDaoException("Element in dieser Auflistung nicht gefunden.");
    }
    CDaoTableDefInfo info;
    info.m_strName = names[static_cast<size_t>(index)];
    info.m_lAttributes = IsSystemTableName(info.m_strName) ? dbSystemObject : 0u;
    return info;
}

std::unique_ptr<IDaoTable> CSqliteEngine::OpenTable(const std::string& name) {
    return std::make_unique<CSqliteTable>(m_connection, name);
}

void CSqliteEngine::BeginTrans() {
    if (m_connection->inTransaction) {
        throw CDaoException("Es ist bereits eine Transaktion offen.");
    }
    // SQLite opens an unwritable file read-only without complaint; say so now
    // rather than at the first row.
    if (sqlite3_db_readonly(m_connection->db, "main") == 1) {
        throw CDaoException(
            SqliteErrorText(m_connection->path, SQLITE_READONLY, sqlite3_errstr(SQLITE_READONLY)),
            SQLITE_READONLY, true);
    }
    m_connection->Execute("BEGIN IMMEDIATE");
    m_connection->inTransaction = true;
}

void CSqliteEngine::CommitTrans() {
    if (!m_connection->inTransaction) {
        throw CDaoException("Es ist keine Transaktion offen.");
    }
    m_connection->Execute("COMMIT");
    m_connection->inTransaction = false;
}

void CSqliteEngine::Rollback() noexcept {
    if (!m_connection->inTransaction) {
        return;
    }
    m_connection->inTransaction = false;
    if (sqlite3_get_autocommit(m_connection->db) == 0) {
        m_connection->ticks = 0; // the statement that failed may have used up its budget
        sqlite3_exec(m_connection->db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void CSqliteEngine::CreateTable(const std::string& name,
                                const std::vector<CDaoColumnDef>& columns) {
    std::string sql = "CREATE TABLE " + QuoteIdentifier(name) + " (";
    for (size_t i = 0; i < columns.size(); ++i) {
        sql += (i > 0 ? ", " : "") + QuoteIdentifier(columns[i].name) +
               (columns[i].type == DaoColumnType::Long ? " INTEGER" : " TEXT");
    }
    sql += ")";
    m_connection->Execute(sql.c_str());
}

std::string CSqliteEngine::QuoteIdentifier(const std::string& name) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    quoted += '"';
    return quoted;
}
