#include "ClassTableHelpers.h"
#include "platform/FileServices.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

const std::string kV1 = VORLIX_TEST_DATA_DIR "/persistence/v1";
const std::string kV2 = VORLIX_TEST_DATA_DIR "/persistence/v2";

std::vector<std::string> SortedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

class DatabaseVerbs : public testing::Test {
protected:
    void SetUp() override {
        path = dir.Path() + "/db.mdb";
        CSqlFixture sql(path);
        CreateClassTable(sql, "Klassen");
        InsertRows(sql, "Klassen", {{2, 2, 1, "f"}, {1, 1, -1, "A, \"quoted\""}});
        sql.Exec("CREATE TABLE alt (n INTEGER PRIMARY KEY AUTOINCREMENT)");
        sql.Exec("INSERT INTO alt DEFAULT VALUES");
        sql.Exec("CREATE TABLE Kurz (ID INTEGER, Type INTEGER, Row INTEGER, Parent INTEGER)");
        sql.Exec("INSERT INTO Kurz VALUES (1, 1, 1, -1)");
        sql.Exec("CREATE TABLE Streng (ID INTEGER, Type INTEGER, Row INTEGER, Parent INTEGER, "
                 "Class TEXT CHECK (Class <> 'CCircle'), File TEXT, Description TEXT, "
                 "VarType TEXT, Parameter TEXT)");
    }
    CTempDir dir;
    std::string path;
};

TEST_F(DatabaseVerbs, TablesListsWhatTheDialogOffersAndDumpWhatLoadGives) {
    const CliResult tables = RunVerb({"tables", path});
    EXPECT_EQ(tables.status, 0);
    EXPECT_EQ(tables.out, "alt\nKlassen\nKurz\nStreng\n");
    const CliResult dump = RunVerb({"dump", path, "Klassen"});
    EXPECT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(dump.out, "ID,Type,Row,Parent,Class,File,Description,VarType,Parameter\r\n"
                        "1,1,7,-1,\"A, \"\"quoted\"\"\",\"A, \"\"quoted\"\".h\",d,int,"
                        "keine Parameter\r\n"
                        "2,2,7,1,f,f.h,d,int,keine Parameter\r\n");
}

TEST_F(DatabaseVerbs, ScanAndUpdateReplaceOldRowsKeepingACopy) {
    const std::string file = dir.Path() + "/new.mdb";
    const CliResult scan = RunVerb({"scan", "--db", file, kV1});
    ASSERT_EQ(scan.status, 0) << scan.err;
    EXPECT_FALSE(FileExists(file + ".bak"));
    const CliResult dump = RunVerb({"dump", file, "Klassen"});
    ASSERT_EQ(dump.status, 0) << dump.err;
    // Loading puts derived classes before members; the rows are the same.
    EXPECT_EQ(SortedLines(dump.out), SortedLines(RunVerb({"scan", "--csv", kV1}).out));
    ASSERT_EQ(RunVerb({"scan", kV1, "--db", path, "--table", "Klassen"}).status, 0);
    CSqlFixture sql(path);
    EXPECT_EQ(sql.Rows("SELECT count(*) FROM Klassen WHERE Class IN ('f', 'A, \"quoted\"')"),
              std::vector<std::string>{"0"});
    EXPECT_EQ(sql.Rows("SELECT count(*) FROM Klassen"), std::vector<std::string>{"7"});
    EXPECT_EQ(CSqlFixture(path + ".bak").Rows("SELECT Class FROM Klassen ORDER BY rowid"),
              (std::vector<std::string>{"f", "A, \"quoted\""}));

    // Update carries the descriptions over and keeps a copy.
    sql.Exec("UPDATE Klassen SET Description = 'Form' WHERE Class = 'CShape';"
             "UPDATE Klassen SET Description = 'Kreis, rund' WHERE Class = 'CCircle';"
             "UPDATE Klassen SET Description = 'Fläche' WHERE Class = 'Area' AND "
             "VarType = 'virtual double'");
    const CliResult update = RunVerb({"update", path, "Klassen", kV2});
    ASSERT_EQ(update.status, 0) << update.err;
    EXPECT_EQ(update.out, "10 entries saved in Klassen of " + path + "\n");
    EXPECT_EQ(sql.Rows("SELECT Class, Description FROM Klassen WHERE Description <> '' "
                       "ORDER BY Class, Description"),
              (std::vector<std::string>{"Area|Fläche", "CCircle|Kreis, rund", "CShape|Form"}));
    EXPECT_EQ(sql.Rows("SELECT count(*) FROM Klassen WHERE Class IN ('CSquare', 'Perimeter')"),
              std::vector<std::string>{"2"});
    EXPECT_EQ(CSqlFixture(path + ".bak").Rows("SELECT count(*) FROM Klassen"),
              std::vector<std::string>{"7"});
}

TEST_F(DatabaseVerbs, FailuresAndTheirExitStatusLeaveTheFileAsItWas) {
    const std::string text = dir.Write("text.mdb", std::string(700, 'x'));
    const std::string missing = dir.Path() + "/neu.mdb";
    const struct {
        std::vector<std::string> argv;
        int status;
        const char* err; // part of the error output
    } cases[] = {
        {{"tables", text}, 2, "file is not a database"},
        {{"dump", path, "Kurz"}, 1, "could not be read completely"},
        {{"dump", path, "Fehlt"}, 2, "no table 'Fehlt'"},
        {{"dump", path, "sqlite_sequence"}, 2, "no table 'sqlite_sequence'"},
        {{"scan", "--db", path, "--table", "Fehlt", kV1}, 2, "no table 'Fehlt'"},
        {{"scan", "--db", missing, "--table", "Andere", kV1}, 2, "no table 'Andere'"},
        {{"scan", "--db", path, "--table", "Streng", kV1}, 1, "CHECK constraint failed"},
        {{"update", path, "Fehlt", kV2}, 2, "no table 'Fehlt'"},
        {{"update", path, "Kurz", kV2}, 1, "nothing was changed"},
        {{"update", path, "Klassen", dir.Path() + "/kein"}, 2, "does not exist"},
        {{"update", missing, "Klassen", kV2}, 2, "unable to open database file"},
        {{"update", text, "Klassen", kV2}, 2, "file is not a database"},
        {{"update", path, "Klassen"}, 2, "usage"},
    };
    for (const auto& c : cases) {
        const CliResult result = RunVerb(c.argv);
        const std::string name = c.argv[0] + " " + c.argv[1] + " " + c.argv.back();
        EXPECT_EQ(result.status, c.status) << name << ": " << result.err;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << name << ": " << result.err;
        if (c.argv[0] == "tables" || c.argv[0] == "dump") {
            EXPECT_EQ(result.out, "") << name;
        }
    }
    EXPECT_FALSE(FileExists(missing));
    CSqlFixture sql(path);
    EXPECT_EQ(sql.Rows("SELECT Class FROM Klassen ORDER BY rowid"),
              (std::vector<std::string>{"f", "A, \"quoted\""}));
    EXPECT_EQ(sql.Rows("SELECT count(*) FROM Kurz"), std::vector<std::string>{"1"});
    // The row error kept the save going: six full rows and the abandoned one.
    EXPECT_EQ(sql.Rows("SELECT count(*), count(Class) FROM Streng"),
              std::vector<std::string>{"7|6"});
}

} // namespace
