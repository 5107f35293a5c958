#include "persistence/TableSelection.h"

#include "ScriptedUserInterface.h"
#include "SqlFixture.h"
#include "TempDir.h"
#include "persistence/DaoDatabase.h"

#include <gtest/gtest.h>

namespace {

class TableSelectionTest : public testing::Test {
protected:
    void SetUp() override { path = dir.Path() + "/db.mdb"; }

    void Make(const std::vector<std::string>& tables) {
        CSqlFixture sql(path);
        sql.Exec("PRAGMA user_version = 1");
        for (const std::string& table : tables) {
            sql.Exec("CREATE TABLE \"" + table + "\" (n INTEGER PRIMARY KEY AUTOINCREMENT)");
            sql.Exec("INSERT INTO \"" + table + "\" DEFAULT VALUES");
        }
        database.Open(path);
    }

    CTempDir dir;
    std::string path;
    CDaoDatabase database;
    CScriptedUserInterface ui;
};

TEST_F(TableSelectionTest, OffersUserTablesSortedWithoutSystemTables) {
    // AUTOINCREMENT makes the engine's own sqlite_sequence table.
    Make({"Klassen", "Alt"});
    CTableSelection dialog(&database);
    ui.tableAnswers.push_back("Klassen");
    ASSERT_TRUE(dialog.DoModal(ui));
    EXPECT_EQ(ui.offeredTables, (std::vector<std::vector<std::string>>{{"Alt", "Klassen"}}));
    EXPECT_EQ(dialog.m_strTable, "Klassen");
    // Its position among all definitions: Klassen, sqlite_sequence, Alt.
    EXPECT_EQ(dialog.m_nTableIndex, 0);
    ui.tableAnswers.push_back("Alt");
    ASSERT_TRUE(dialog.DoModal(ui));
    EXPECT_EQ(dialog.m_nTableIndex, 2);
}

TEST_F(TableSelectionTest, SortsCaseInsensitively) {
    Make({"beta", "Alpha", "alpha2", "Gamma", "ÄRGER", "_x", "B"});
    const std::vector<CTableSelection::Entry> entries =
        CTableSelection(&database).ReadOfferedTables();
    std::vector<std::string> names;
    for (const auto& entry : entries) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"_x", "Alpha", "alpha2", "B", "beta", "Gamma", "ÄRGER"}));
}

TEST_F(TableSelectionTest, EmptyListOkGivesEmptyNameAndIndexMinusOne) {
    Make({});
    CTableSelection dialog(&database);
    ui.tableAnswers.push_back("");
    ASSERT_TRUE(dialog.DoModal(ui));
    EXPECT_EQ(dialog.m_strTable, "");
    EXPECT_EQ(dialog.m_nTableIndex, -1);
}

TEST_F(TableSelectionTest, CancelLeavesTheFieldsAlone) {
    Make({"Klassen"});
    CTableSelection dialog(&database);
    EXPECT_FALSE(dialog.DoModal(ui));
    EXPECT_EQ(dialog.m_strTable, "");
    EXPECT_EQ(dialog.m_nTableIndex, 0);
}

TEST(TableSelection, WithoutDatabaseTheListIsEmpty) {
    CTableSelection dialog(nullptr);
    CScriptedUserInterface ui;
    ui.tableAnswers.push_back("");
    ASSERT_TRUE(dialog.DoModal(ui));
    EXPECT_EQ(ui.offeredTables, (std::vector<std::vector<std::string>>{{}}));
    EXPECT_EQ(dialog.m_nTableIndex, -1);
}

} // namespace
