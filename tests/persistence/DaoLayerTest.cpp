#include "ClassTableHelpers.h"
#include "persistence/DaoDatabase.h"
#include "persistence/DaoRecordset.h"
#include "persistence/TableSelection.h"

#include <gtest/gtest.h>

namespace {

// The cursor after each operation on a table T(A) holding 1, 2, 3, written
// "operation>cursor" ("operation!>cursor" when it raises): "B" at the
// beginning, "E" at the end, then the current record's A ("-" for none).
TEST(DaoRecordset, CursorContract) {
    const std::pair<const char*, const char*> cases[] = {
        {"an edited row reads back and the cursor moves on from it",
         "first>:1 edit=9>:9 next>:2 edit=8>:8 next>:3 next>E:- next!>E:- first>:9"},
        {"a table emptied row by row is at both ends, also under a bookmark left on a deleted row",
         "first>:1 delete>:- first>:2 delete>:- next>:3 delete>BE:- first>BE:- add=5>BE:- "
         "first>:5 mark>:5 delete>BE:- mark>:- first>BE:-"},
        {"the row added last becomes current by its bookmark",
         "add=4>:1 mark>:4 next>E:- first>:1"},
    };
    for (const auto& [name, steps] : cases) {
        SCOPED_TRACE(name);
        CTempDir dir;
        const std::string path = dir.Path() + "/db.mdb";
        CSqlFixture(path).Exec("CREATE TABLE T (A INTEGER); INSERT INTO T VALUES (1), (2), (3)");
        CDaoDatabase database;
        // An existing file is never taken over as a new one: the rows stay.
        EXPECT_NE(DaoError([&] { database.Create(path); }), "");
        database.Open(path);
        CDaoRecordset recordset(&database);
        recordset.Open(dbOpenTable, "T");
        std::istringstream in(steps);
        for (std::string step; in >> step;) {
            const std::string operation = step.substr(0, step.find_first_of("!>"));
            const std::string value = operation.substr(operation.find('=') + 1);
            const std::string error = DaoError([&] {
                if (operation == "first") {
                    recordset.MoveFirst();
                } else if (operation == "next") {
                    recordset.MoveNext();
                } else if (operation == "delete") {
                    recordset.Delete();
                } else if (operation == "mark") {
                    recordset.SetBookmark(recordset.GetLastModifiedBookmark());
                } else {
                    operation[0] == 'e' ? recordset.Edit() : recordset.AddNew();
                    recordset.SetFieldValue("A", value);
                    recordset.Update();
                }
            });
            std::string current = "-";
            DaoError([&] { current = recordset.GetFieldValue("A").AsText(); });
            EXPECT_EQ(operation + (error.empty() ? ">" : "!>") + (recordset.IsBOF() ? "B" : "") +
                          (recordset.IsEOF() ? "E" : "") + ":" + current,
                      step);
        }
    }
}

// Names that differ in case only, or extend one another, as an engine that
// keeps them apart lists them; system tables are left out.
struct CNamedTables : IDaoEngine {
    std::vector<std::string> names = {"klassen2", "KLASSEN", "MSysObjects", "Klassen"};
    int GetTableDefCount() override { return static_cast<int>(names.size()); }
    CDaoTableDefInfo GetTableDefInfo(int index) override {
        const std::string& name = names[static_cast<size_t>(index)];
        return {name, name.rfind("MSys", 0) == 0 ? dbSystemObject : 0u};
    }
    std::unique_ptr<IDaoTable> OpenTable(const std::string&) override { return nullptr; }
    void BeginTrans() override {}
    void CommitTrans() override {}
    void Rollback() noexcept override {}
};

TEST(TableSelection, SortsCaseInsensitivelyAndHandsBackTheTablesIndex) {
    CDaoDatabase database;
    database.Attach(std::make_unique<CNamedTables>(), "x");
    const std::pair<const char*, int> choices[] = {{"KLASSEN", 1}, {"Klassen", 3}, {"klassen2", 0}};
    for (const auto& [name, index] : choices) {
        CScriptedUserInterface ui;
        ui.tableAnswers.push_back(name);
        CTableSelection dialog(&database);
        ASSERT_TRUE(dialog.DoModal(ui));
        EXPECT_EQ(std::make_tuple(ui.offeredTables[0], dialog.m_strTable, dialog.m_nTableIndex),
                  std::make_tuple(std::vector<std::string>{"KLASSEN", "Klassen", "klassen2"},
                                  std::string(name), index));
    }
    // An OK whose index lies past the list chooses nothing instead of reading past it.
    struct CPastTheEnd : CScriptedUserInterface {
        std::optional<int> ChooseTable(const std::vector<std::string>& tables) override {
            return static_cast<int>(tables.size());
        }
    } pastTheEnd;
    CTableSelection dialog(&database);
    ASSERT_TRUE(dialog.DoModal(pastTheEnd));
    EXPECT_EQ(dialog.m_strTable + std::to_string(dialog.m_nTableIndex), "-1");
}

TEST(DaoException, MessageIsCutTo1023BytesOnACharacterBoundary) {
    const std::string a1022(1022, 'a');
    // 'ä' takes bytes 1023 and 1024 in the third.
    const std::pair<std::string, size_t> cases[] = {{"kurz", 4},
                                                    {std::string(5000, 'a'), 1023},
                                                    {a1022 + "ä", 1022},
                                                    {a1022.substr(1) + "ä", 1023}};
    for (const auto& [message, shown] : cases) {
        const CDaoException error(message);
        EXPECT_EQ(error.GetErrorMessage(), message.substr(0, shown));
        char buffer[1024];
        ASSERT_TRUE(error.GetErrorMessage(buffer, sizeof buffer));
        EXPECT_EQ(std::string(buffer), message.substr(0, shown));
    }
}

} // namespace
