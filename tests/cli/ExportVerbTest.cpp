#include "../persistence/ClassTableHelpers.h"

#include <gtest/gtest.h>

namespace {

const char kFailure[] =
    "Fehler beim exportieren aufgetreten!\n\nEinige Klassen könnten nicht vorhanden sein!";

// A fresh scan into a folder made on the way, a table as another program may
// have written it (with an unknown kind), failures and usage errors.
TEST(CliExport, ScanOrStoredTableAndExitStatus) {
    CTempDir dir;
    const std::string tree = std::string(VORLIX_TEST_DATA_DIR) + "/analysis/tree";
    const std::string db = dir.Path() + "/klassen.mdb";
    CSqlFixture(db).Exec(ClassTableSql("Klassen") +
                         "INSERT INTO Klassen VALUES (0, 1, 3, -1, 'CZähler', 'z.h', 'Zählt in "
                         "€', '', ''), (3, 7, 1, 0, 'odd', 'o.h', 'd', '', '');");
    const std::string out = dir.Path() + "/new/html";
    const std::string blocker = dir.Write("blocker", "x");
    const std::string done = "index.html and 16 pages written to " + out + "\n";
    const std::string fromTable = "index.html and 2 pages written to " + dir.Path() + "/t\n";
    ExpectVerbs({
        {{"export", out, tree}, 0, "", done.c_str()},
        {{"export", dir.Path() + "/t", "--db", db, "--table", "Klassen"}, 0, "", fromTable.c_str()},
        {{"export", dir.Path() + "/t", "--db", db, "--table", "X"}, 2, "no table 'X'"},
        {{"export", blocker + "/html", tree}, 1, std::string(kFailure) + "\n"},
        {{"export", dir.Path(), dir.Path() + "/nothing"}, 2, "does not exist"},
        {{"export"}, 2, "vorlix-cli export: "},
        {{"export", "/tmp/out"}, 2, "vorlix-cli export: "},
        {{"export", "", "dir"}, 2, "vorlix-cli export: "},
        {{"export", "/tmp/out", "--db", "x.mdb"}, 2, "vorlix-cli export: "},
        {{"export", "/tmp/out", "--db", "x", "--table", "t", "d"}, 2, "vorlix-cli export: "},
        {{"export", "/tmp/out", "--db"}, 2, "vorlix-cli export: "},
        {{"export", "/tmp/out", "--fast", "dir"}, 2, "vorlix-cli export: "},
    });
    const std::pair<std::string, const char*> pages[] = {
        {out + "/func_6.html",
         "<title>virtual void CShape::Draw(CDC* pDC, const CRect& rect)</title>"},
        {dir.Path() + "/t/class_0.html", "Z\344hlt in &#8364;"},
        {dir.Path() + "/t/error.html", "<title></title>"}};
    for (const auto& [page, text] : pages) {
        EXPECT_NE(ReadBytes(page).find(text), std::string::npos) << page;
    }
    EXPECT_FALSE(FileExists(dir.Path() + "/index.html"));
}

} // namespace
