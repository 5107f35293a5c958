#include "ClassTableHelpers.h"
#include "TempDir.h"
#include "cli/Commands.h"
#include "platform/FileServices.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace {

const std::string kV1 = VORLIX_TEST_DATA_DIR "/persistence/v1";
const std::string kV2 = VORLIX_TEST_DATA_DIR "/persistence/v2";

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

CliResult RunVerb(const std::vector<std::string>& argv) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(argv, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> SortedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

class ScanUpdateVerbs : public testing::Test {
protected:
    void SetUp() override { path = dir.Path() + "/klassen.mdb"; }
    CTempDir dir;
    std::string path;
};

TEST_F(ScanUpdateVerbs, ScanIntoANewFileStoresWhatScanShows) {
    const std::vector<std::pair<std::string, size_t>> trees = {
        {kV1, 8u}, {VORLIX_TEST_DATA_DIR "/analysis/tree", 0u}};
    for (const auto& [tree, rows] : trees) {
        const std::string file = dir.Path() + "/" + std::to_string(rows) + ".mdb";
        const CliResult scan = RunVerb({"scan", "--db", file, tree});
        ASSERT_EQ(scan.status, 0) << scan.err;
        EXPECT_FALSE(FileExists(file + ".bak"));
        const CliResult csv = RunVerb({"scan", "--csv", tree});
        const CliResult dump = RunVerb({"dump", file, "Klassen"});
        ASSERT_EQ(dump.status, 0) << dump.err;
        // Loading puts derived classes before members; the rows are the same.
        EXPECT_EQ(SortedLines(dump.out), SortedLines(csv.out)) << tree;
        if (rows > 0) {
            EXPECT_EQ(SortedLines(dump.out).size(), rows);
        }
    }
}

TEST_F(ScanUpdateVerbs, ScanIntoAnExistingTableReplacesItsRowsAndKeepsACopy) {
    {
        CSqlFixture sql(path);
        sql.Exec(CSqlFixture::ClassTableSql("Alt"));
        InsertRows(sql, "Alt", {{1, 1, -1, "Weg"}});
    }
    const CliResult scan = RunVerb({"scan", kV1, "--db", path, "--table", "Alt"});
    ASSERT_EQ(scan.status, 0) << scan.err;
    CSqlFixture sql(path);
    EXPECT_EQ(sql.Rows("SELECT count(*) FROM Alt WHERE Class = 'Weg'"),
              std::vector<std::string>{"0"});
    EXPECT_EQ(sql.Rows("SELECT count(*) FROM Alt"), std::vector<std::string>{"7"});
    CSqlFixture backup(path + ".bak");
    EXPECT_EQ(backup.Rows("SELECT Class FROM Alt"), std::vector<std::string>{"Weg"});
}

TEST_F(ScanUpdateVerbs, UpdateCarriesDescriptionsOverAndKeepsACopy) {
    ASSERT_EQ(RunVerb({"scan", "--db", path, kV1}).status, 0);
    {
        CSqlFixture sql(path);
        sql.Exec("UPDATE Klassen SET Description = 'Form' WHERE Class = 'CShape'");
        sql.Exec("UPDATE Klassen SET Description = 'Kreis, rund' WHERE Class = 'CCircle'");
        sql.Exec("UPDATE Klassen SET Description = 'Fläche' WHERE Class = 'Area' AND "
                 "VarType = 'virtual double'");
    }
    const CliResult update = RunVerb({"update", path, "Klassen", kV2});
    ASSERT_EQ(update.status, 0) << update.err;
    EXPECT_EQ(update.out, "10 entries saved in Klassen of " + path + "\n");

    CSqlFixture sql(path);
    EXPECT_EQ(sql.Rows("SELECT Class, Description FROM Klassen WHERE Description <> '' "
                       "ORDER BY Class, Description"),
              (std::vector<std::string>{"Area|Fläche", "CCircle|Kreis, rund", "CShape|Form"}));
    EXPECT_EQ(sql.Rows("SELECT count(*) FROM Klassen WHERE Class IN ('CSquare', 'Perimeter')"),
              std::vector<std::string>{"2"});
    CSqlFixture backup(path + ".bak");
    EXPECT_EQ(backup.Rows("SELECT count(*) FROM Klassen"), std::vector<std::string>{"7"});
}

TEST_F(ScanUpdateVerbs, FailuresLeaveTheFileAsItWas) {
    const std::string text = dir.Write("text.mdb", std::string(700, 'x'));
    {
        CSqlFixture sql(path);
        sql.Exec(CSqlFixture::ClassTableSql("Klassen"));
        InsertRows(sql, "Klassen", {{1, 1, -1, "Alt"}});
        sql.Exec("CREATE TABLE Kurz (ID INTEGER, Type INTEGER)");
        sql.Exec("INSERT INTO Kurz VALUES (1, 1)");
        sql.Exec("CREATE TABLE Streng (ID INTEGER, Type INTEGER, Row INTEGER, Parent INTEGER, "
                 "Class TEXT CHECK (Class <> 'CCircle'), File TEXT, Description TEXT, "
                 "VarType TEXT, Parameter TEXT)");
    }
    const std::string missing = dir.Path() + "/neu.mdb";
    struct Case {
        std::vector<std::string> argv;
        int status;
        const char* err; // part of the error output
    };
    const std::vector<Case> cases = {
        {{"scan", "--db", path, "--table", "Fehlt", kV1}, 2, "no table 'Fehlt'"},
        {{"scan", "--db", missing, "--table", "Andere", kV1}, 2, "no table 'Andere'"},
        {{"scan", "--db", text, kV1}, 2, "file is not a database"},
        {{"scan", "--table", "Klassen", kV1}, 2, "--table needs --db"},
        {{"scan", kV1, "--db"}, 2, "--db needs a value"},
        {{"scan", "--db", path, "--table", "Streng", kV1}, 1, "CHECK constraint failed"},
        {{"update", path, "Fehlt", kV2}, 2, "no table 'Fehlt'"},
        {{"update", path, "Kurz", kV2}, 1, "nothing was changed"},
        {{"update", path, "Klassen", dir.Path() + "/kein"}, 2, "does not exist"},
        {{"update", missing, "Klassen", kV2}, 2, "unable to open database file"},
        {{"update", text, "Klassen", kV2}, 2, "file is not a database"},
        {{"update", path, "Klassen"}, 2, "usage"},
    };
    for (const Case& c : cases) {
        const CliResult result = RunVerb(c.argv);
        std::string name;
        for (const std::string& arg : c.argv) {
            name += arg + " ";
        }
        EXPECT_EQ(result.status, c.status) << name << ": " << result.err;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << name << ": " << result.err;
    }
    EXPECT_FALSE(FileExists(missing));
    CSqlFixture sql(path);
    EXPECT_EQ(sql.Rows("SELECT Class FROM Klassen"), std::vector<std::string>{"Alt"});
    EXPECT_EQ(sql.Rows("SELECT count(*) FROM Kurz"), std::vector<std::string>{"1"});
    // The row error kept the save going: six full rows and the abandoned one.
    EXPECT_EQ(sql.Rows("SELECT count(*), count(Class) FROM Streng"),
              std::vector<std::string>{"7|6"});
}

} // namespace
