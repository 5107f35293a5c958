#include "persistence/TableSelection.h"

#include "ClassTableHelpers.h"
#include "persistence/DaoDatabase.h"

#include <gtest/gtest.h>

namespace {

TEST(TableSelection, OffersUserTablesSortedCaseInsensitivelyWithTheirPosition) {
    CTempDir dir;
    const std::string path = dir.Path() + "/db.mdb";
    {
        CSqlFixture sql(path);
        // AUTOINCREMENT makes the engine's own sqlite_sequence table, second of all.
        for (const char* table : {"beta", "Alpha", "alpha2", "Gamma", "ÄRGER", "_x", "B"}) {
            sql.Exec("CREATE TABLE \"" + std::string(table) +
                     "\" (n INTEGER PRIMARY KEY AUTOINCREMENT)");
            sql.Exec("INSERT INTO \"" + std::string(table) + "\" DEFAULT VALUES");
        }
    }
    CDaoDatabase database;
    database.Open(path);
    CTableSelection dialog(&database);
    CScriptedUserInterface ui;
    ui.tableAnswers = {"Alpha", std::nullopt};
    ASSERT_TRUE(dialog.DoModal(ui));
    EXPECT_EQ(ui.offeredTables, (std::vector<std::vector<std::string>>{
                                    {"_x", "Alpha", "alpha2", "B", "beta", "Gamma", "ÄRGER"}}));
    EXPECT_EQ(dialog.m_strTable, "Alpha");
    EXPECT_EQ(dialog.m_nTableIndex, 2); // beta, sqlite_sequence, Alpha
    // Cancel leaves the fields alone.
    EXPECT_FALSE(dialog.DoModal(ui));
    EXPECT_EQ(dialog.m_strTable, "Alpha");
    EXPECT_EQ(dialog.m_nTableIndex, 2);
}

} // namespace
