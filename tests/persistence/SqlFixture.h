#pragma once

#include <optional>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <vector>

// Direct access to a SQLite file for setting up and checking tables, beside
// the layer under test.
class CSqlFixture {
public:
    explicit CSqlFixture(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK) {
            throw std::runtime_error("cannot open " + path);
        }
        // Set-up writes need no durability; the layer under test has its own settings.
        Exec("PRAGMA synchronous = OFF");
    }
    ~CSqlFixture() { sqlite3_close(m_db); }
    CSqlFixture(const CSqlFixture&) = delete;
    CSqlFixture& operator=(const CSqlFixture&) = delete;

    void Exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string text = error != nullptr ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(text + " in: " + sql);
        }
    }

    // One row, every value bound as text (nullopt as NULL).
    void Insert(const std::string& quotedTable,
                const std::vector<std::optional<std::string>>& values) {
        std::string sql = "INSERT INTO " + quotedTable + " VALUES (";
        for (size_t i = 0; i < values.size(); ++i) {
            sql += i > 0 ? ", ?" : "?";
        }
        sql += ")";
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            throw std::runtime_error(sqlite3_errmsg(m_db));
        }
        for (size_t i = 0; i < values.size(); ++i) {
            if (values[i]) {
                sqlite3_bind_text(statement, static_cast<int>(i) + 1, values[i]->c_str(), -1,
                                  SQLITE_TRANSIENT);
            }
        }
        const int code = sqlite3_step(statement);
        sqlite3_finalize(statement);
        if (code != SQLITE_DONE) {
            throw std::runtime_error(sqlite3_errmsg(m_db));
        }
    }

    // Every row of a query, each column as text ("NULL" for NULL), joined by '|'.
    std::vector<std::string> Rows(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            throw std::runtime_error(sqlite3_errmsg(m_db));
        }
        std::vector<std::string> rows;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::string row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                row += (i > 0 ? "|" : "") + std::string(text != nullptr ? text : "NULL");
            }
            rows.push_back(row);
        }
        sqlite3_finalize(statement);
        return rows;
    }

    // The class table made by hand, as a user would: four integer, five text columns.
    static std::string ClassTableSql(const std::string& quotedName) {
        return "CREATE TABLE " + quotedName +
               " (ID INTEGER, Type INTEGER, Row INTEGER, Parent INTEGER, Class TEXT, File TEXT,"
               " Description TEXT, VarType TEXT, Parameter TEXT)";
    }

private:
    sqlite3* m_db = nullptr;
};
