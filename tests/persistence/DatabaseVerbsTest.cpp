#include "ClassTableHelpers.h"
#include "platform/FileServices.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string kV1 = VORLIX_TEST_DATA_DIR "/persistence/v1";
const std::string kV2 = VORLIX_TEST_DATA_DIR "/persistence/v2";

class DatabaseVerbs : public testing::Test {
protected:
    void SetUp() override {
        path = dir.Path() + "/db.mdb";
        CSqlFixture(path).Exec(
            ClassTableSql("Klassen") +
            InsertSql("Klassen", {{2, 2, 1, "f"}, {1, 1, -1, "A, \"quoted\""}}) +
            ClassTableSql("Lose") + InsertSql("Lose", {{1, 1, -1, "A"}, {9, 1, 77, "X"}}) +
            "CREATE TABLE alt (n INTEGER PRIMARY KEY AUTOINCREMENT); INSERT INTO alt DEFAULT "
            "VALUES;"
            "CREATE TABLE Kurz (ID INTEGER, Type INTEGER, Row INTEGER, Parent INTEGER);"
            "INSERT INTO Kurz VALUES (1, 1, 1, -1);"
            "CREATE TABLE Streng (ID, Type, Row, Parent, Class CHECK (Class <> 'CCircle'), "
            "File, Description, VarType, Parameter)");
    }
    CTempDir dir;
    std::string path;
};

TEST_F(DatabaseVerbs, ScanAndUpdateReplaceOldRowsKeepingACopy) {
    ASSERT_EQ(RunVerb({"scan", kV1, "--db", path, "--table", "Klassen"}).status, 0);
    CSqlFixture sql(path);
    EXPECT_EQ(sql.One("SELECT group_concat(Class) FROM Klassen"),
              "CShape,Area,Move,m_nColor,CCircle,Area,m_dRadius");
    EXPECT_EQ(CSqlFixture(path + ".bak").One("SELECT group_concat(Class) FROM Klassen"),
              "f,A, \"quoted\"");

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
        return sql.One("SELECT group_concat(Class || '=' || Description, ';') FROM (SELECT * "
                       "FROM Klassen WHERE Description <> '' ORDER BY Class)");
    };
    EXPECT_EQ(described(),
              "Area=Fläche;CCircle=Kreis, rund\nzweite Zeile;CShape=Form;m_nColor=Farbe");

    // A renamed class and a removed function: named, and nothing changes
    // unless they may go.
    dir.Write("v3/shapes.h", "class CShape\n{\npublic:\n    virtual double Area() const;\n"
                             "    int m_nColor;\n};\nclass CRound : public CShape\n{\n};\n");
    sql.Exec("UPDATE Klassen SET Description = 'Schiebt' WHERE Class = 'Move'");
    const std::string v3 = dir.Path() + "/v3";
    const CliResult refused = RunVerb({"update", path, "Klassen", v3});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("nothing was changed (--drop-lost drops them):\n"
                               "Klasse CCircle: Kreis, rund\n"
                               "Memberfunktion CShape::Move: Schiebt\n"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(sql.One("SELECT count(*) FROM Klassen"), "10");
    EXPECT_EQ(RunVerb({"update", "--drop-lost", path, "Klassen", v3}).status, 0);
    EXPECT_EQ(described(), "Area=Fläche;CShape=Form;m_nColor=Farbe");
}

// Failures leave the file as it was; tables lists what the dialog offers.
TEST_F(DatabaseVerbs, FailuresAndTheirExitStatusLeaveTheFileAsItWas) {
    const std::string text = dir.Write("text.mdb", std::string(700, 'x'));
    const std::string missing = dir.Path() + "/neu.mdb";
    const std::string blocked = dir.Path() + "/html";
    std::filesystem::create_directories(blocked + "/class_1.html");
    const struct {
        std::vector<std::string> argv;
        int status;
        std::string err; // part of the error output
        const char* out = "";
    } cases[] = {
        {{"tables", path}, 0, "", "alt\nKlassen\nKurz\nLose\nStreng\n"},
        {{"tables", text}, 2, "ist keine Datenbank.\n\nfile is not a database"},
        {{"dump", path, "Kurz"}, 1, "could not be read completely"},
        {{"dump", path, "Lose"}, 1, "  X (ID 9, Parent 77)", nullptr},
        {{"dump", path, "sqlite_sequence"}, 2, "no table 'sqlite_sequence'"},
        {{"scan", "--db", missing, "--table", "Andere", kV1}, 2, "no table 'Andere'"},
        {{"scan", "--db", path, "--table", "Streng", kV1}, 1, "CHECK constraint failed"},
        {{"update", path, "Fehlt", kV2}, 2, "no table 'Fehlt'"},
        {{"update", path, "Kurz", kV2}, 1, "nothing was changed"},
        {{"update", path, "Lose", kV2}, 1, "X (ID 9, Parent 77)", nullptr},
        {{"update", path, "Klassen", dir.Path() + "/kein"}, 2, "does not exist"},
        {{"update", missing, "Klassen", kV2}, 2, "unable to open database file"},
        {{"export", blocked, "--db", path, "--table", "Klassen"},
         1,
         "the page " + blocked + "/class_1.html could not be written"},
    };
    for (const auto& c : cases) {
        const CliResult result = RunVerb(c.argv);
        const std::string name = c.argv[0] + " " + c.argv[1] + " " + c.argv.back();
        EXPECT_EQ(result.status, c.status) << name << ": " << result.err;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << name << ": " << result.err;
        EXPECT_TRUE(c.out == nullptr || result.out == c.out) << name << ": " << result.out;
    }
    EXPECT_FALSE(FileExists(missing));
    EXPECT_EQ(
        CSqlFixture(path).One("SELECT group_concat(Class, ';') || (SELECT count(*) FROM Kurz) "
                              "|| (SELECT count(*) FROM Lose) || (SELECT count(*) FROM Streng) "
                              "FROM Klassen"),
        "f;A, \"quoted\"120");
}

} // namespace
