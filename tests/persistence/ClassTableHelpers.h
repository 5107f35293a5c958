#pragma once

#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "cli/Commands.h"
#include "cli/StructureCsv.h"
#include "model/ClassRoot.h"
#include "persistence/DaoException.h"
#include "platform/FileServices.h"

#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// Direct access to a SQLite file beside the layer under test.
class CSqlFixture {
public:
    explicit CSqlFixture(const std::string& path) { sqlite3_open(path.c_str(), &m_db); }
    ~CSqlFixture() { sqlite3_close(m_db); }
    CSqlFixture(const CSqlFixture&) = delete;
    CSqlFixture& operator=(const CSqlFixture&) = delete;

    void Exec(const std::string& sql) const { Rows(sql); }
    // The first row of a query, "" for none.
    std::string One(const std::string& sql) const {
        const std::vector<std::string> rows = Rows(sql);
        return rows.empty() ? "" : rows[0];
    }

    // Every row of a query, each column as text ("NULL" for NULL), joined by '|'.
    std::vector<std::string> Rows(const std::string& sql) const {
        std::vector<std::string> rows;
        char* error = nullptr;
        const auto collect = [](void* out, int count, char** values, char**) {
            std::string row;
            for (int i = 0; i < count; ++i) {
                row += (i > 0 ? "|" : "") + std::string(values[i] != nullptr ? values[i] : "NULL");
            }
            static_cast<std::vector<std::string>*>(out)->push_back(row);
            return 0;
        };
        if (sqlite3_exec(m_db, sql.c_str(), collect, &rows, &error) != SQLITE_OK) {
            const std::string text = error != nullptr ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(text + " in: " + sql);
        }
        return rows;
    }

private:
    sqlite3* m_db = nullptr;
};

// The class table made by hand, as a user would: four integer, five text columns.
inline std::string ClassTableSql(const std::string& quotedName, const std::string& idType = "") {
    return "CREATE TABLE " + quotedName + " (ID INTEGER" + idType +
           ", Type INTEGER, Row INTEGER, Parent INTEGER, Class TEXT, File TEXT,"
           " Description TEXT, VarType TEXT, Parameter TEXT);";
}

// One row of the class table: ID, Type, Parent and name.
struct TableRow {
    int id, type, parent;
    std::string name;
};

inline std::string InsertSql(const std::string& quotedTable, const std::vector<TableRow>& rows) {
    std::string sql = "BEGIN;";
    for (const TableRow& row : rows) {
        sql += "INSERT INTO " + quotedTable + " VALUES (" + std::to_string(row.id) + ", " +
               std::to_string(row.type) + ", 7, " + std::to_string(row.parent) + ", " + "'" +
               row.name + "', '" + row.name + ".h', 'd', 'int', 'keine Parameter');";
    }
    return sql + "COMMIT;";
}

// A node appended to parent, with the fields a class table stores.
inline CClassNode* AddNode(CClassNode& parent, int kind, int id, const std::string& name,
                           int line = 1) {
    auto* node = new CClassNode;
    node->SetAll(id, name, "Beschreibung von " + name, "");
    node->SetKind(kind);
    node->SetLine(line);
    node->SetHeaderFile("/src/include/" + name + ".h");
    node->SetTypeText(kind == KindClass ? "" : "int");
    node->SetParameters(kind == KindFunction ? "int a,char* b" : "");
    parent.AddChild(node);
    return node;
}

// The tree's names: "A{B f v} C".
inline std::string Shape(const CClassNode& node) {
    std::string text;
    for (int i = 0; i < node.GetChildCount(); ++i) {
        const CClassNode* child = node.GetChild(i);
        text += (i > 0 ? " " : "") + child->GetName();
        if (child->GetChildCount() > 0) {
            text += "{" + Shape(*child) + "}";
        }
    }
    return text;
}

// Every stored field of every node, pre-order.
inline std::string Csv(const CClassNode& root) {
    std::ostringstream out;
    WriteStructureCsv(root, out);
    return out.str();
}

// The database error an operation raises; "" when it raises none.
inline std::string DaoError(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const CDaoException& error) {
        return error.GetErrorMessage();
    }
    return {};
}

inline std::string Fixture(const std::string& name) {
    return std::string(VORLIX_SHARED_FIXTURES_DIR) + "/access/" + name;
}

inline std::string ReadBytes(const std::string& path) {
    std::string contents;
    ReadWholeFile(path, contents);
    return contents;
}

struct CliResult {
    int status;
    std::string out, err;
};

inline CliResult RunVerb(const std::vector<std::string>& argv) {
    std::ostringstream out, err;
    const int status = RunCli(argv, out, err);
    return {status, out.str(), err.str()};
}

// A command line and what it must give: the exit status, a part of the error
// output and the whole standard output (nullptr: not looked at).
struct VerbCase {
    std::vector<std::string> argv;
    int status;
    std::string err;
    const char* out = "";
};

inline void ExpectVerbs(const std::vector<VerbCase>& cases) {
    for (const VerbCase& c : cases) {
        const CliResult result = RunVerb(c.argv);
        const std::string name = testing::PrintToString(c.argv) + ": ";
        EXPECT_EQ(result.status, c.status) << name << result.err;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << name << result.err;
        EXPECT_TRUE(c.out == nullptr || result.out == c.out) << name << result.out;
    }
}
