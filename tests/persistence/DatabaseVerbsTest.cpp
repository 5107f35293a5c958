#include "ClassTableHelpers.h"
#include "TempDir.h"
#include "cli/Commands.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

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

class DatabaseVerbs : public testing::Test {
protected:
    void SetUp() override {
        path = dir.Path() + "/db.mdb";
        CSqlFixture sql(path);
        sql.Exec(CSqlFixture::ClassTableSql("Klassen"));
        sql.Exec("CREATE TABLE alt (n INTEGER PRIMARY KEY AUTOINCREMENT)");
        sql.Exec("INSERT INTO alt DEFAULT VALUES");
        sql.Exec("CREATE TABLE Kurz (ID INTEGER, Type INTEGER, Row INTEGER, Parent INTEGER)");
        sql.Exec("INSERT INTO Kurz VALUES (1, 1, 1, -1)");
        InsertRows(sql, "Klassen", {{2, 2, 1, "f"}, {1, 1, -1, "A, \"quoted\""}});
    }
    CTempDir dir;
    std::string path;
};

TEST_F(DatabaseVerbs, TablesListsWhatTheDialogOffers) {
    const CliResult result = RunVerb({"tables", path});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "alt\nKlassen\nKurz\n");
}

TEST_F(DatabaseVerbs, DumpWritesTheLoadedStructureAsCsv) {
    const CliResult result = RunVerb({"dump", path, "Klassen"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "ID,Type,Row,Parent,Class,File,Description,VarType,Parameter\r\n"
                          "1,1,7,-1,\"A, \"\"quoted\"\"\",\"A, \"\"quoted\"\".h\",d,int,"
                          "keine Parameter\r\n"
                          "2,2,7,1,f,f.h,d,int,keine Parameter\r\n");
}

TEST_F(DatabaseVerbs, FailuresAndTheirExitStatus) {
    const std::string text = dir.Write("text.mdb", std::string(1000, 'x'));
    struct Case {
        std::vector<std::string> argv;
        int status;
        const char* err; // part of the error output
    };
    const std::vector<Case> cases = {
        {{"dump", path, "Kurz"}, 1, "could not be read completely"},
        {{"dump", path, "Fehlt"}, 2, "no table 'Fehlt'"},
        {{"dump", path, "sqlite_sequence"}, 2, "no table 'sqlite_sequence'"},
        {{"dump", text, "Klassen"}, 2, "file is not a database"},
        {{"dump", path}, 2, "usage"},
        {{"tables", text}, 2, "file is not a database"},
        {{"tables", dir.Path() + "/fehlt.mdb"}, 2, "unable to open database file"},
        {{"tables"}, 2, "usage"},
    };
    for (const Case& c : cases) {
        const CliResult result = RunVerb(c.argv);
        EXPECT_EQ(result.status, c.status) << c.argv[0] << " " << c.argv.back();
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "") << c.argv[0] << " " << c.argv.back();
    }
}

} // namespace
