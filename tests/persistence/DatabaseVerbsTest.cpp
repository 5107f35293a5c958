#include "ClassTableHelpers.h"
#include "platform/FileServices.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string kShapes = VORLIX_TEST_DATA_DIR "/analysis/tree";

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

// Update carries the descriptions of classes, functions and variables over;
// a renamed class and a removed function are named, and nothing changes
// unless they may go.
TEST_F(DatabaseVerbs, ScanAndUpdateReplaceOldRowsKeepingACopy) {
    ASSERT_EQ(RunVerb({"scan", kShapes, "--db", path, "--table", "Klassen"}).status, 0);
    CSqlFixture sql(path);
    EXPECT_EQ(sql.One("SELECT group_concat(Class) FROM Klassen"),
              "CShape,CSquare,Draw,m_side,CShape,~CShape,Draw,GetX,m_x,m_y,CCircle,m_radius,CView,"
              "CMyView,OnDraw,m_title");
    EXPECT_EQ(CSqlFixture(path + ".bak").One("SELECT group_concat(Class) FROM Klassen"),
              "f,A, \"quoted\"");
    sql.Exec("UPDATE Klassen SET Description = 'Form' WHERE Class = 'CShape' AND Type = 1;"
             "UPDATE Klassen SET Description = 'Kreis, rund\nzweite Zeile' WHERE Class = 'CCircle';"
             "UPDATE Klassen SET Description = 'Lage' WHERE Class = 'm_x';"
             "UPDATE Klassen SET Description = 'Gibt x' WHERE Class = 'GetX';"
             "UPDATE Klassen SET Description = 'Zeichnet' WHERE Class = 'Draw' AND "
             "VarType = 'virtual void'");
    dir.Write("v3/shapes.h", "class CShape\n{\npublic:\n    virtual void Draw() const = 0;\n"
                             "    int m_x;\n};\nclass CRound : public CShape\n{\n};\n");
    const std::string v3 = dir.Path() + "/v3";
    const CliResult refused = RunVerb({"update", path, "Klassen", v3});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("nothing was changed (--drop-lost drops them):\n"
                               "Klasse CCircle: Kreis, rund\n"
                               "Memberfunktion CShape::GetX: Gibt x\n"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(sql.One("SELECT count(*) FROM Klassen"), "16");
    EXPECT_EQ(RunVerb({"update", "--drop-lost", path, "Klassen", v3}).out,
              "4 entries saved in Klassen of " + path + "\n");
    EXPECT_EQ(sql.One("SELECT group_concat(Class || '=' || Description, ';') FROM Klassen"),
              "CShape=Form;Draw=Zeichnet;m_x=Lage;CRound=");
}

// Failures leave the file as it was; tables lists what the dialog offers.
TEST_F(DatabaseVerbs, FailuresAndTheirExitStatusLeaveTheFileAsItWas) {
    const std::string text = dir.Write("text.mdb", std::string(700, 'x'));
    const std::string missing = dir.Path() + "/neu.mdb";
    const std::string blocked = dir.Path() + "/html";
    std::filesystem::create_directories(blocked + "/class_1.html");
    ExpectVerbs({
        {{"tables", path}, 0, "", "alt\nKlassen\nKurz\nLose\nStreng\n"},
        {{"tables", text}, 2, "ist keine Datenbank.\n\nfile is not a database"},
        {{"dump", path, "Kurz"}, 1, "could not be read completely"},
        {{"dump", path, "Lose"},
         1,
         "Ein Eintrag der Tabelle konnte nicht eingeordnet werden, weil die Klasse, zu der sie "
         "gehören, in keiner Zeile steht:\n\n  X (ID 9, Parent 77)",
         nullptr},
        {{"dump", path, "sqlite_sequence"}, 2, "no table 'sqlite_sequence'"},
        {{"scan", "--db", missing, "--table", "Andere", kShapes}, 2, "no table 'Andere'"},
        {{"scan", "--db", path, "--table", "Streng", kShapes}, 1, "CHECK constraint failed"},
        {{"update", path, "Fehlt", kShapes}, 2, "no table 'Fehlt'"},
        {{"update", path, "Kurz", kShapes}, 1, "nothing was changed"},
        {{"update", path, "Lose", kShapes}, 1, "X (ID 9, Parent 77)", nullptr},
        {{"update", path, "Klassen", dir.Path() + "/kein"}, 2, "does not exist"},
        {{"update", missing, "Klassen", kShapes}, 2, "unable to open database file"},
        {{"export", blocked, "--db", path, "--table", "Klassen"},
         1,
         "the page " + blocked + "/class_1.html could not be written"},
    });
    EXPECT_FALSE(FileExists(missing));
    EXPECT_EQ(
        CSqlFixture(path).One("SELECT group_concat(Class, ';') || (SELECT count(*) FROM Kurz) "
                              "|| (SELECT count(*) FROM Lose) || (SELECT count(*) FROM Streng) "
                              "FROM Klassen"),
        "f;A, \"quoted\"120");
}

} // namespace
