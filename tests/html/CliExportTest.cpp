#include "TempDir.h"
#include "cli/Commands.h"
#include "platform/FileServices.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sstream>

namespace {

const std::string kTree = std::string(VORLIX_TEST_DATA_DIR) + "/analysis/tree";

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun RunVorlixCli(const std::vector<std::string>& argv) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.status = RunCli(argv, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string ReadFile(const std::string& path) {
    std::string contents;
    EXPECT_TRUE(ReadWholeFile(path, contents)) << path;
    return contents;
}

TEST(CliExport, FreshScanOfDirectories) {
    CTempDir dir;
    const CliRun run = RunVorlixCli({"export", dir.Path(), kTree});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("pages written to " + dir.Path()), std::string::npos) << run.out;
    const std::string index = ReadFile(dir.Path() + "/index.html");
    EXPECT_NE(index.find("<a href=\"class_3.html\">CShape (2 - 4 - 2)</a><br>\r\n"),
              std::string::npos)
        << index;
    const std::string draw = ReadFile(dir.Path() + "/func_6.html");
    EXPECT_NE(draw.find("<title>virtual void CShape::Draw(CDC* pDC, const CRect& rect)</title>"),
              std::string::npos)
        << draw;
}

TEST(CliExport, UnwritableOutputDirectory) {
    CTempDir dir;
    const std::string blocker = dir.Write("blocker", "x");
    const CliRun run = RunVorlixCli({"export", blocker + "/html", kTree});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Fehler beim exportieren aufgetreten!\n\n"
                       "Einige Klassen könnten nicht vorhanden sein!\n");
    EXPECT_EQ(run.out, "");
}

TEST(CliExport, MissingScanDirectory) {
    CTempDir dir;
    const CliRun run = RunVorlixCli({"export", dir.Path(), dir.Path() + "/nothing"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("does not exist"), std::string::npos) << run.err;
    EXPECT_FALSE(FileExists(dir.Path() + "/index.html"));
}

// A class table as another program may have written it: a name that
// would end the title element, an unknown kind, text beyond Latin-1.
std::string WriteTable(const CTempDir& dir) {
    const std::string path = dir.Path() + "/klassen.mdb";
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const char* sql =
        "CREATE TABLE Klassen (ID INTEGER, Type INTEGER, Row INTEGER, Parent INTEGER,"
        " Class TEXT, File TEXT, Description TEXT, VarType TEXT, Parameter TEXT);"
        "INSERT INTO Klassen VALUES (0, 1, 3, -1, 'CZähler', 'z.h', 'Zählt in €',"
        " 'kein Rückgabewert', 'keine Parameter');"
        "INSERT INTO Klassen VALUES (1, 2, 5, 0, 'Add', 'z.h', 'd', 'void', 'int n');"
        "INSERT INTO Klassen VALUES (2, 1, 9, 0, 'X</title><script>', 'x.h', 'd', '', '');"
        "INSERT INTO Klassen VALUES (3, 7, 1, 0, 'odd', 'o.h', 'd', '', '');";
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK)
        << (message != nullptr ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
    return path;
}

TEST(CliExport, StoredTable) {
    CTempDir dir;
    const std::string db = WriteTable(dir);
    const std::string out = dir.Path() + "/html";
    std::filesystem::create_directory(out);
    const CliRun run = RunVorlixCli({"export", out, "--db", db, "--table", "Klassen"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(ReadFile(out + "/index.html")
                  .find("<a href=\"class_0.html\">CZ\xE4hler (1 - 1 - 0)</a><br>\r\n"),
              std::string::npos);
    const std::string zaehler = ReadFile(out + "/class_0.html");
    EXPECT_NE(zaehler.find("Z\xE4hlt in &#8364;"), std::string::npos) << zaehler;
    EXPECT_NE(ReadFile(out + "/func_1.html").find("<title>void CZ\xE4hler::Add(int n)</title>"),
              std::string::npos);
    const std::string x = ReadFile(out + "/class_2.html");
    EXPECT_NE(x.find("<title>class X&lt;/title&gt;&lt;script&gt;</title>"), std::string::npos) << x;
    EXPECT_EQ(x.find("<script>"), std::string::npos);
    EXPECT_TRUE(FileExists(out + "/error.html"));
}

TEST(CliExport, StoredTableFailures) {
    CTempDir dir;
    const std::string db = WriteTable(dir);
    const CliRun unknownTable = RunVorlixCli({"export", dir.Path(), "--db", db, "--table", "X"});
    EXPECT_EQ(unknownTable.status, 2);
    EXPECT_NE(unknownTable.err.find("no table 'X'"), std::string::npos) << unknownTable.err;
    const std::string blocker = dir.Write("blocker", "x");
    const CliRun unwritable =
        RunVorlixCli({"export", blocker + "/html", "--table", "Klassen", "--db", db});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("Fehler beim exportieren aufgetreten!"), std::string::npos);
    EXPECT_FALSE(FileExists(dir.Path() + "/index.html"));
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
};

void PrintTo(const UsageCase& usage, std::ostream* os) {
    *os << usage.name;
}

class CliExportUsage : public testing::TestWithParam<UsageCase> {};

TEST_P(CliExportUsage, RefusedWithStatusTwo) {
    std::vector<std::string> argv{"export"};
    argv.insert(argv.end(), GetParam().args.begin(), GetParam().args.end());
    const CliRun run = RunVorlixCli(argv);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("vorlix-cli export: "), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    CliExport, CliExportUsage,
    testing::Values(UsageCase{"Nothing", {}}, UsageCase{"OnlyOutput", {"/tmp/out"}},
                    UsageCase{"EmptyOutput", {"", "dir"}},
                    UsageCase{"DbWithoutTable", {"/tmp/out", "--db", "x.mdb"}},
                    UsageCase{"TableWithoutDb", {"/tmp/out", "--table", "Klassen"}},
                    UsageCase{"DbAndDirectories", {"/tmp/out", "--db", "x", "--table", "t", "d"}},
                    UsageCase{"OptionWithoutValue", {"/tmp/out", "--db"}},
                    UsageCase{"UnknownOption", {"/tmp/out", "--fast", "dir"}}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
