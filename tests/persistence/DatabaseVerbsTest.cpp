#include "ClassTableHelpers.h"
#include "platform/FileServices.h"

#include <algorithm>
#include <filesystem>
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
        CreateClassTable(sql, "Lose");
        InsertRows(sql, "Lose", {{1, 1, -1, "A"}, {9, 1, 77, "X"}});
        sql.Exec("CREATE TABLE alt (n INTEGER PRIMARY KEY AUTOINCREMENT);"
                 "INSERT INTO alt DEFAULT VALUES;"
                 "CREATE TABLE Kurz (ID INTEGER, Type INTEGER, Row INTEGER, Parent INTEGER);"
                 "INSERT INTO Kurz VALUES (1, 1, 1, -1);"
                 "CREATE TABLE Streng (ID, Type, Row, Parent, Class CHECK (Class <> 'CCircle'), "
                 "File, Description, VarType, Parameter)");
    }
    CTempDir dir;
    std::string path;
};

TEST_F(DatabaseVerbs, TablesListsWhatTheDialogOffersAndDumpWhatLoadGives) {
    const CliResult tables = RunVerb({"tables", path});
    EXPECT_EQ(tables.status, 0);
    EXPECT_EQ(tables.out, "alt\nKlassen\nKurz\nLose\nStreng\n");
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
    // Loading puts derived classes before members; the rows are the same.
    EXPECT_EQ(SortedLines(RunVerb({"dump", file, "Klassen"}).out),
              SortedLines(RunVerb({"scan", "--csv", kV1}).out));
    ASSERT_EQ(RunVerb({"scan", kV1, "--db", path, "--table", "Klassen"}).status, 0);
    CSqlFixture sql(path);
    EXPECT_EQ(sql.Rows("SELECT group_concat(Class) FROM Klassen"),
              std::vector<std::string>{"CShape,Area,Move,m_nColor,CCircle,Area,m_dRadius"});
    EXPECT_EQ(CSqlFixture(path + ".bak").Rows("SELECT group_concat(Class) FROM Klassen"),
              std::vector<std::string>{"f,A, \"quoted\""});

    // Update carries descriptions of classes, functions and variables over.
    sql.Exec("UPDATE Klassen SET Description = 'Form' WHERE Class = 'CShape';"
             "UPDATE Klassen SET Description = 'Kreis, rund\nzweite Zeile' WHERE Class = 'CCircle';"
             "UPDATE Klassen SET Description = 'Farbe' WHERE Class = 'm_nColor';"
             "UPDATE Klassen SET Description = 'Fläche' WHERE Class = 'Area' AND "
             "VarType = 'virtual double'");
    const CliResult update = RunVerb({"update", path, "Klassen", kV2});
    ASSERT_EQ(update.status, 0) << update.err;
    EXPECT_EQ(update.out, "10 entries saved in Klassen of " + path + "\n");
    const auto described = [&sql] {
        return sql.Rows("SELECT group_concat(Class || '=' || Description, ';') FROM (SELECT * "
                        "FROM Klassen WHERE Description <> '' ORDER BY Class)")[0];
    };
    EXPECT_EQ(described(),
              "Area=Fläche;CCircle=Kreis, rund\nzweite Zeile;CShape=Form;m_nColor=Farbe");

    // A renamed class and a removed function: named, and nothing changes
    // unless they may go.
    const std::string renamed =
        dir.Write("v3/shapes.h", "class CShape\n{\npublic:\n    virtual double Area() const;\n"
                                 "    int m_nColor;\n};\nclass CRound : public CShape\n{\n};\n");
    sql.Exec("UPDATE Klassen SET Description = 'Schiebt' WHERE Class = 'Move'");
    const std::string v3 = std::filesystem::path(renamed).parent_path().string();
    const CliResult refused = RunVerb({"update", path, "Klassen", v3});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("nothing was changed (--drop-lost drops them):\n"
                               "Klasse CCircle: Kreis, rund\n"
                               "Memberfunktion CShape::Move: Schiebt\n"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(sql.Rows("SELECT count(*) FROM Klassen"), std::vector<std::string>{"10"});
    EXPECT_EQ(RunVerb({"update", "--drop-lost", path, "Klassen", v3}).status, 0);
    EXPECT_EQ(described(), "Area=Fläche;CShape=Form;m_nColor=Farbe");
}

TEST_F(DatabaseVerbs, FailuresAndTheirExitStatusLeaveTheFileAsItWas) {
    const std::string text = dir.Write("text.mdb", std::string(700, 'x'));
    const std::string missing = dir.Path() + "/neu.mdb";
    const std::string blocked = dir.Path() + "/html";
    std::filesystem::create_directories(blocked + "/class_1.html");
    const struct {
        std::vector<std::string> argv;
        int status;
        std::string err; // part of the error output
    } cases[] = {
        {{"tables", text}, 2, "ist keine Datenbank.\n\nfile is not a database"},
        {{"dump", path, "Kurz"}, 1, "could not be read completely"},
        {{"dump", path, "Lose"}, 1, "  X (ID 9, Parent 77)"},
        {{"dump", path, "Fehlt"}, 2, "no table 'Fehlt'"},
        {{"dump", path, "sqlite_sequence"}, 2, "no table 'sqlite_sequence'"},
        {{"scan", "--db", path, "--table", "Fehlt", kV1}, 2, "no table 'Fehlt'"},
        {{"scan", "--db", missing, "--table", "Andere", kV1}, 2, "no table 'Andere'"},
        {{"scan", "--db", path, "--table", "Streng", kV1}, 1, "CHECK constraint failed"},
        {{"update", path, "Fehlt", kV2}, 2, "no table 'Fehlt'"},
        {{"update", path, "Kurz", kV2}, 1, "nothing was changed"},
        {{"update", path, "Lose", kV2}, 1, "X (ID 9, Parent 77)"},
        {{"update", path, "Klassen", dir.Path() + "/kein"}, 2, "does not exist"},
        {{"update", missing, "Klassen", kV2}, 2, "unable to open database file"},
        {{"update", path, "Klassen"}, 2, "usage"},
        {{"export", blocked, "--db", path, "--table", "Klassen"},
         1,
         "the page " + blocked + "/class_1.html could not be written"},
    };
    for (const auto& c : cases) {
        const CliResult result = RunVerb(c.argv);
        const std::string name = c.argv[0] + " " + c.argv[1] + " " + c.argv.back();
        EXPECT_EQ(result.status, c.status) << name << ": " << result.err;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << name << ": " << result.err;
        if (c.argv[0] == "tables" || c.argv[1] == "Kurz") {
            EXPECT_EQ(result.out, "") << name;
        }
    }
    EXPECT_FALSE(FileExists(missing));
    CSqlFixture sql(path);
    EXPECT_EQ(sql.Rows("SELECT group_concat(Class, ';') FROM Klassen"),
              std::vector<std::string>{"f;A, \"quoted\""});
    EXPECT_EQ(sql.Rows("SELECT (SELECT count(*) FROM Kurz) || (SELECT count(*) FROM Lose) || "
                       "(SELECT count(*) FROM Streng)"),
              std::vector<std::string>{"120"});
}

} // namespace
