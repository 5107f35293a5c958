#include "SqlFixture.h"
#include "TempDir.h"
#include "persistence/DaoDatabase.h"
#include "persistence/DaoException.h"
#include "persistence/DaoMemoryTable.h"
#include "persistence/DaoRecordset.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

// A read-only engine as an engine that reads a file into memory would be.
class CMemoryEngine : public IDaoEngine {
public:
    std::map<std::string, std::pair<std::vector<std::string>, std::vector<CDaoMemoryTable::Row>>>
        tables;

    int GetTableDefCount() override { return static_cast<int>(tables.size()); }
    CDaoTableDefInfo GetTableDefInfo(int index) override {
        auto it = tables.begin();
        std::advance(it, index);
        return {it->first, 0};
    }
    std::unique_ptr<IDaoTable> OpenTable(const std::string& name) override {
        const auto it = tables.find(name);
        if (it == tables.end()) {
            throw CDaoException("no such table");
        }
        return std::make_unique<CDaoMemoryTable>(it->second.first, it->second.second,
                                                 "schreibgeschützt");
    }
    void BeginTrans() override { throw CDaoException("schreibgeschützt"); }
    void CommitTrans() override {}
    void Rollback() noexcept override {}
};

// Sample table T (A INTEGER, B TEXT): (1, 'x'), (NULL, 'y'), (3, NULL).
struct Backend {
    const char* name;
    std::function<void(CDaoDatabase&, const CTempDir&)> open;
};

void OpenSqliteSample(CDaoDatabase& database, const CTempDir& dir) {
    const std::string path = dir.Path() + "/sample.mdb";
    {
        CSqlFixture sql(path);
        sql.Exec("CREATE TABLE T (A INTEGER, B TEXT)");
        sql.Exec("INSERT INTO T VALUES (1, 'x'), (NULL, 'y'), (3, NULL)");
        sql.Exec("CREATE TABLE Empty (A INTEGER)");
    }
    database.Open(path);
}

void OpenMemorySample(CDaoDatabase& database, const CTempDir&) {
    auto engine = std::make_unique<CMemoryEngine>();
    engine->tables["T"] = {{"A", "B"}, {{"1", "x"}, {std::nullopt, "y"}, {"3", std::nullopt}}};
    engine->tables["Empty"] = {{"A"}, {}};
    database.Attach(std::move(engine), "memory");
}

class RecordsetReading : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override { GetParam().open(database, dir); }
    CTempDir dir;
    CDaoDatabase database;
};

TEST_P(RecordsetReading, WalksTheTableInOrderUpToEof) {
    CDaoRecordset recordset(&database);
    recordset.Open(dbOpenTable, "T");
    ASSERT_FALSE(recordset.IsBOF());
    ASSERT_FALSE(recordset.IsEOF());
    recordset.MoveFirst();
    std::vector<std::string> seen;
    while (!recordset.IsEOF()) {
        seen.push_back(std::to_string(recordset.GetFieldValue("A").AsLong()) + "/" +
                       recordset.GetFieldValue("B").AsText() + "/" +
                       (recordset.GetFieldValue("B").IsNull() ? "null" : "text"));
        recordset.MoveNext();
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"1/x/text", "0/y/text", "3//null"}));
    EXPECT_THROW(recordset.MoveNext(), CDaoException);
    EXPECT_THROW(recordset.GetFieldValue("A"), CDaoException);
    recordset.MoveFirst();
    EXPECT_EQ(recordset.GetFieldValue("A").AsLong(), 1);
}

TEST_P(RecordsetReading, EmptyTableIsAtBothEnds) {
    CDaoRecordset recordset(&database);
    recordset.Open(dbOpenTable, "Empty");
    EXPECT_TRUE(recordset.IsBOF());
    EXPECT_TRUE(recordset.IsEOF());
    EXPECT_THROW(recordset.Edit(), CDaoException);
    EXPECT_THROW(recordset.Delete(), CDaoException);
}

TEST_P(RecordsetReading, UnknownColumnAndTableRaiseErrorsWithText) {
    CDaoRecordset recordset(&database);
    recordset.Open(dbOpenTable, "T");
    try {
        recordset.GetFieldValue("Description");
        FAIL() << "no error";
    } catch (const CDaoException& error) {
        EXPECT_EQ(error.GetErrorMessage(), "Feld 'Description' nicht gefunden.");
    }
    // Column names are matched exactly.
    EXPECT_THROW(recordset.GetFieldValue("a"), CDaoException);
    CDaoRecordset missing(&database);
    EXPECT_THROW(missing.Open(dbOpenTable, "Nope"), CDaoException);
    EXPECT_FALSE(missing.IsOpen());
}

TEST(MemoryTable, RefusesEveryWriteWithItsText) {
    CTempDir dir;
    CDaoDatabase database;
    OpenMemorySample(database, dir);
    CDaoRecordset recordset(&database);
    recordset.Open(dbOpenTable, "T");
    recordset.AddNew();
    recordset.SetFieldValue("A", "5");
    try {
        recordset.Update();
        FAIL() << "no error";
    } catch (const CDaoException& error) {
        EXPECT_EQ(error.GetErrorMessage(), "schreibgeschützt");
    }
    EXPECT_THROW(recordset.Delete(), CDaoException);
    recordset.Edit();
    EXPECT_THROW(recordset.Update(), CDaoException);
    EXPECT_THROW(database.BeginTrans(), CDaoException);
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordsetReading,
                         testing::Values(Backend{"Sqlite", OpenSqliteSample},
                                         Backend{"Memory", OpenMemorySample}),
                         [](const testing::TestParamInfo<Backend>& p) {
                             return std::string(p.param.name);
                         });

class SqliteLayer : public testing::Test {
protected:
    void SetUp() override {
        path = dir.Path() + "/db.mdb";
        CSqlFixture sql(path);
        sql.Exec("CREATE TABLE Klassen (ID INTEGER, Name TEXT)");
    }
    CTempDir dir;
    std::string path;
};

TEST_F(SqliteLayer, AddNewBookmarkEditStoresTextsConvertedToTheColumnType) {
    CDaoDatabase database;
    database.Open(path);
    CDaoRecordset recordset(&database);
    recordset.Open(dbOpenTable, "Klassen");
    recordset.AddNew();
    recordset.Update();
    recordset.SetBookmark(recordset.GetLastModifiedBookmark());
    EXPECT_TRUE(recordset.GetFieldValue("ID").IsNull());
    recordset.Edit();
    recordset.SetFieldValue("ID", "42");
    recordset.SetFieldValue("Name", "ä'\"); DROP TABLE Klassen; --");
    recordset.Update();
    EXPECT_EQ(recordset.GetFieldValue("ID").AsLong(), 42);
    recordset.Close();
    database.Close();

    CSqlFixture sql(path);
    EXPECT_EQ(sql.Rows("SELECT typeof(ID), ID, Name FROM Klassen"),
              (std::vector<std::string>{"integer|42|ä'\"); DROP TABLE Klassen; --"}));
}

TEST_F(SqliteLayer, DeletingEveryRowEndsAtBothEnds) {
    {
        CSqlFixture sql(path);
        sql.Exec("INSERT INTO Klassen VALUES (1, 'a'), (2, 'b'), (3, 'c')");
    }
    CDaoDatabase database;
    database.Open(path);
    CDaoRecordset recordset(&database);
    recordset.Open(dbOpenTable, "Klassen");
    int deleted = 0;
    while (!recordset.IsBOF() && !recordset.IsEOF()) {
        recordset.MoveFirst();
        recordset.Delete();
        EXPECT_THROW(recordset.GetFieldValue("ID"), CDaoException);
        ++deleted;
    }
    EXPECT_EQ(deleted, 3);
    recordset.Close();
    database.Close();
    EXPECT_TRUE(CSqlFixture(path).Rows("SELECT * FROM Klassen").empty());
}

TEST_F(SqliteLayer, MoveNextAfterDeleteGoesOnAndWritesRestartTheScan) {
    {
        CSqlFixture sql(path);
        sql.Exec("INSERT INTO Klassen VALUES (1, 'a'), (2, 'b'), (3, 'c')");
    }
    CDaoDatabase database;
    database.Open(path);
    CDaoRecordset recordset(&database);
    recordset.Open(dbOpenTable, "Klassen");
    recordset.MoveNext();
    recordset.Delete();
    recordset.MoveNext();
    EXPECT_EQ(recordset.GetFieldValue("ID").AsLong(), 3);
    // A record added during a walk comes last in table order.
    recordset.AddNew();
    recordset.SetFieldValue("ID", "4");
    recordset.Update();
    recordset.MoveNext();
    ASSERT_FALSE(recordset.IsEOF());
    EXPECT_EQ(recordset.GetFieldValue("ID").AsLong(), 4);
    recordset.MoveNext();
    EXPECT_TRUE(recordset.IsEOF());
}

TEST_F(SqliteLayer, NamesAreQuotedIdentifiers) {
    const std::string table = "Meine \"Klassen\" [alt]; DROP";
    {
        CSqlFixture sql(path);
        sql.Exec("CREATE TABLE \"Meine \"\"Klassen\"\" [alt]; DROP\" (\"Spalte \"\"x\"\"\" TEXT)");
    }
    CDaoDatabase database;
    database.Open(path);
    CDaoRecordset recordset(&database);
    recordset.Open(dbOpenTable, table);
    recordset.AddNew();
    recordset.SetFieldValue("Spalte \"x\"", "wert");
    recordset.Update();
    recordset.MoveFirst();
    EXPECT_EQ(recordset.GetFieldValue("Spalte \"x\"").AsText(), "wert");
}

TEST_F(SqliteLayer, TableDefinitionsMarkTheEnginesOwnTablesAsSystemObjects) {
    {
        CSqlFixture sql(path);
        sql.Exec("CREATE TABLE Auto (n INTEGER PRIMARY KEY AUTOINCREMENT)");
        sql.Exec("INSERT INTO Auto DEFAULT VALUES");
    }
    CDaoDatabase database;
    database.Open(path);
    std::vector<std::string> seen;
    for (int i = 0; i < database.GetTableDefCount(); ++i) {
        CDaoTableDefInfo info;
        database.GetTableDefInfo(i, info);
        seen.push_back(info.m_strName + ":" + std::to_string(info.m_lAttributes));
    }
    EXPECT_EQ(seen,
              (std::vector<std::string>{"Klassen:0", "Auto:0", "sqlite_sequence:2147483650"}));
}

TEST_F(SqliteLayer, RollbackAndCloseUndoAnOpenTransaction) {
    CDaoDatabase database;
    database.Open(path);
    {
        CDaoTransaction transaction(database);
        transaction.Begin();
        CDaoRecordset recordset(&database);
        recordset.Open(dbOpenTable, "Klassen");
        recordset.AddNew();
        recordset.Update();
    }
    database.BeginTrans();
    {
        CDaoRecordset recordset(&database);
        recordset.Open(dbOpenTable, "Klassen");
        EXPECT_TRUE(recordset.IsEOF());
        recordset.AddNew();
        recordset.Update();
    }
    database.Close();
    EXPECT_TRUE(CSqlFixture(path).Rows("SELECT * FROM Klassen").empty());

    database.Open(path);
    database.BeginTrans();
    CDaoRecordset recordset(&database);
    recordset.Open(dbOpenTable, "Klassen");
    recordset.AddNew();
    recordset.Update();
    recordset.Close();
    database.CommitTrans();
    database.Close();
    EXPECT_EQ(CSqlFixture(path).Rows("SELECT count(*) FROM Klassen"),
              std::vector<std::string>{"1"});
}

TEST(SqliteOpen, FilesThatAreNoDatabaseGiveTheEnginesText) {
    CTempDir dir;
    struct Case {
        const char* name;
        std::string path;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"missing", dir.Path() + "/missing.mdb", "unable to open database file"},
        {"text file", dir.Write("text.mdb", std::string(600, 'x')), "file is not a database"},
        {"directory", dir.Path(), "unable to open database file"},
        {"empty name", "", "unable to open database file"},
    };
    for (const Case& c : cases) {
        CDaoDatabase database;
        try {
            database.Open(c.path);
            ADD_FAILURE() << c.name << ": opened";
        } catch (const CDaoException& error) {
            EXPECT_EQ(error.GetErrorMessage(), c.message) << c.name;
        }
        EXPECT_FALSE(database.IsOpen()) << c.name;
    }
}

TEST(SqliteOpen, CreateNeverTakesOverAnExistingFile) {
    CTempDir dir;
    const std::string path = dir.Write("x.mdb", "keep me");
    CDaoDatabase database;
    EXPECT_THROW(database.Create(path), CDaoException);
    std::string contents;
    ASSERT_TRUE(std::ifstream(path) >> contents);
    EXPECT_EQ(contents, "keep");
}

TEST(DaoException, MessageIsCutTo1023BytesOnACharacterBoundary) {
    struct Case {
        std::string message;
        size_t shown;
    };
    const std::string a1022(1022, 'a');
    const std::vector<Case> cases = {
        {"kurz", 4},
        {std::string(1023, 'a'), 1023},
        {std::string(5000, 'a'), 1023},
        {a1022 + "ä", 1022}, // 'ä' takes bytes 1023 and 1024
        {a1022.substr(1) + "ä", 1023},
    };
    for (const Case& c : cases) {
        const CDaoException error(c.message);
        EXPECT_EQ(error.GetErrorMessage(), c.message.substr(0, c.shown));
        char buffer[1024];
        ASSERT_TRUE(error.GetErrorMessage(buffer, sizeof buffer));
        EXPECT_EQ(std::string(buffer), c.message.substr(0, c.shown));
    }
    char small[4];
    CDaoException("Größe").GetErrorMessage(small, sizeof small);
    EXPECT_EQ(std::string(small), "Gr"); // 'ö' does not fit whole
}

TEST(DaoFieldValue, IntegerConversions) {
    struct Case {
        CDaoFieldValue value;
        std::optional<int> expected; // nullopt: raises
    };
    const std::vector<Case> cases = {
        {CDaoFieldValue(), 0},
        {CDaoFieldValue(std::int64_t{-1}), -1},
        {CDaoFieldValue(std::int64_t{2147483647}), 2147483647},
        {CDaoFieldValue(std::int64_t{2147483648}), std::nullopt},
        {CDaoFieldValue(std::string("12")), 12},
        {CDaoFieldValue(std::string(" -7 ")), -7},
        {CDaoFieldValue(std::string("+5")), 5},
        {CDaoFieldValue(std::string("+-5")), std::nullopt},
        {CDaoFieldValue(std::string("")), std::nullopt},
        {CDaoFieldValue(std::string("12a")), std::nullopt},
        {CDaoFieldValue(std::string("99999999999999999999")), std::nullopt},
        {CDaoFieldValue(3.0), 3},
        {CDaoFieldValue(3.5), std::nullopt},
        {CDaoFieldValue(std::optional<std::string>()), 0},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        if (cases[i].expected) {
            EXPECT_EQ(cases[i].value.AsLong(), *cases[i].expected) << "case " << i;
        } else {
            EXPECT_THROW(cases[i].value.AsLong(), CDaoException) << "case " << i;
        }
    }
    EXPECT_EQ(CDaoFieldValue(std::int64_t{-3}).AsText(), "-3");
    EXPECT_EQ(CDaoFieldValue(2.5).AsText(), "2.5");
    EXPECT_EQ(CDaoFieldValue().AsText(), "");
}

} // namespace
