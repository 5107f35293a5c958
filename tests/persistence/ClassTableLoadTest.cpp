#include "ClassTableHelpers.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace {

class LoadTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.Path() + "/my-db");
        path = dir.Path() + "/my-db/db.mdb";
        sql = std::make_unique<CSqlFixture>(path);
        sql->Exec(ClassTableSql("Klassen"));
    }

    bool Load(const std::optional<std::string>& table = "Klassen") {
        ui.tableAnswers.push_back(table);
        return root.Load(path, ui);
    }

    CTempDir dir;
    std::string path;
    std::unique_ptr<CSqlFixture> sql;
    CScriptedUserInterface ui;
    CClassRoot root;
};

// Rows in table order and the tree they load into. A = 1 under the root,
// f = 2 and v = 3 members of A, B = 4 derived from A. (Derived classes
// first: the keyed and the Access tables; the random tables below pin the
// rest of the placing rule.)
TEST_F(LoadTest, RowsInAnyOrderGiveTheTreeAndUnplacedOnesAreNamed) {
    const std::string unplaced = "2 Einträge der Tabelle konnten nicht eingeordnet werden, weil "
                                 "die Klasse, zu der sie gehören, in keiner Zeile steht:\n\n";
    // Rows, the tree and the end of the message ("" = none).
    const std::tuple<std::vector<TableRow>, const char*, std::string> cases[] = {
        // clang-format off
        // Members have class parents: attached after the first pass.
        {{{1, 1, -1, "A"}, {2, 2, 1, "f"}, {4, 1, 1, "B"}, {3, 3, 1, "v"}}, "A{B f v}", ""},
        // Later children of one class in table order, whenever their class came.
        {{{2, 2, 4, "f"}, {4, 1, 1, "B"}, {3, 2, 4, "g"}, {1, 1, -1, "A"}}, "A{B{f g}}", ""},
        // A member is never a parent.
        {{{1, 1, -1, "A"}, {2, 2, 1, "f"}, {6, 3, 2, "w"}, {7, 1, 7, "S"}}, "A{f}",
         unplaced + "  w (ID 6, Parent 2)\n  S (ID 7, Parent 7)"},
        // More than five unplaced: the rest are counted.
        {{{10, 1, 99, "X0"}, {11, 1, 99, "X1"}, {12, 1, 99, "X2"}, {13, 1, 99, "X3"},
          {14, 1, 99, "X4"}, {15, 1, 99, "X5"}, {16, 1, 99, "X6"}}, "",
         ":\n\n  X0 (ID 10, Parent 99)\n  X1 (ID 11, Parent 99)\n  X2 (ID 12, Parent 99)\n"
         "  X3 (ID 13, Parent 99)\n  X4 (ID 14, Parent 99)\n  und 2 weitere"},
        // clang-format on
    };
    for (const auto& [rows, shape, message] : cases) {
        ui.messages.clear();
        sql->Exec("DELETE FROM Klassen;" + InsertSql("Klassen", rows));
        EXPECT_TRUE(Load() && !root.m_bNeedsLocation) << shape;
        EXPECT_EQ(Shape(root), shape);
        EXPECT_EQ(ui.messages.size(), message.empty() ? 0U : 1U) << shape;
        EXPECT_TRUE(message.empty() || ui.messages[0].ends_with(message)) << ui.messages[0];
    }
}

// A table keyed by ID delivers its rows in ID order; a scan numbers derived
// classes before their bases. (The dump verb's CSV: the Access tests.)
TEST_F(LoadTest, KeyedTableWithDerivedClassesFirstLoadsWhole) {
    sql->Exec(
        ClassTableSql("Keyed", " PRIMARY KEY") +
        InsertSql("Keyed", {{4, 1, -1, "A"}, {3, 1, 4, "B"}, {1, 1, 3, "C"}, {2, 3, 1, "c"}}));
    EXPECT_TRUE(Load("Keyed"));
    EXPECT_EQ(Shape(root), "A{B{C{c}}}");
    EXPECT_TRUE(ui.messages.empty());
}

// Every column, NULLs, and as CSV a field is quoted for a comma, a line
// break or a quote alone.
TEST_F(LoadTest, StoresEveryColumnNullsAndTheRootsLocation) {
    sql->Exec("INSERT INTO Klassen VALUES (1, 1, 12, -1, 'a==b', 'dir\\x.h', 'Größe, \"ä\"' || "
              "char(13, 10) || 'zwei', 'int*x', 'int a,char*b=0'), (2, 2, NULL, 1, 'g', NULL, "
              "NULL, NULL, '\"q\"')");
    AddNode(root, KindClass, 99, "Alt");
    ASSERT_TRUE(Load());
    EXPECT_EQ(Csv(root), "ID,Type,Row,Parent,Class,File,Description,VarType,Parameter\r\n"
                         "1,1,12,-1,a== b,x.h,\"Größe, \"\"ä\"\"\r\nzwei\",int* x,"
                         "\"int a, char* b = 0\"\r\n2,2,0,1,g,,,,\"\"\"q\"\"\"\r\n");
    // The path as the root's name shows it: a blank after every '-'.
    std::string shown = path + " (Klassen)";
    for (size_t i = shown.find('-'); i != std::string::npos; i = shown.find('-', i + 2)) {
        shown.insert(i + 1, " ");
    }
    EXPECT_EQ(std::vector<std::string>(
                  {root.GetChild(0)->GetHeaderPath(), std::to_string(root.GetId()), root.GetName(),
                   root.GetDescription(), root.m_strDatabase, root.m_strTable}),
              std::vector<std::string>(
                  {"dir\\x.h", "-1", shown, "keine Beschreibung vorhanden", path, "Klassen"}));
}

// A value that is no 32-bit integer ends the first pass and drops the parked
// rows: the load fails without a message. (A table lacking a column: the
// verbs' and the Access tests.)
TEST_F(LoadTest, UnreadableRowsFailTheLoadSilently) {
    for (const char* bad : {"'zwölf'", "2147483648", "'+-5'", "'12a'", "3.5"}) {
        sql->Exec("DELETE FROM Klassen;" +
                  InsertSql("Klassen", {{1, 1, -1, "A"}, {2, 2, 1, "f"}, {4, 1, 1, "B"}}) +
                  "INSERT INTO Klassen VALUES (1, 1, 1, " + bad + ", 'X', '', '', '', '')");
        EXPECT_FALSE(Load()) << bad;
        EXPECT_EQ(Shape(root), "A{B}") << bad;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LoadTest, CancelOrAnEmptyTableListEmptiesTheTreeAndReturnsFalse) {
    AddNode(root, KindClass, 5, "Alt");
    EXPECT_FALSE(Load(std::nullopt));
    EXPECT_EQ(std::to_string(root.GetChildCount()) + root.m_strDatabase + root.m_strTable +
                  root.GetName(),
              "0" + path + "UnbekanntUnbekannt");
    // OK on an empty list gives the empty name, which cannot be opened.
    path = dir.Path() + "/leer.mdb";
    CSqlFixture(path).Exec("PRAGMA user_version = 1");
    AddNode(root, KindClass, 5, "Alt");
    EXPECT_FALSE(Load(""));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Die Tabelle '' gibt es in der Datenbank '" +
                                                    path + "' nicht.\n\nno such table: "});
    EXPECT_EQ(root.GetChildCount(), 0);
    EXPECT_EQ(ui.offeredTables.back(), std::vector<std::string>{});
}

// The loader looks parents up through indexes; this is the rule written out
// with the tree search (the first pass by the row's own kind, then always the
// first parked row in table order whose class is in the tree), run on random
// tables with repeated IDs, odd kinds and missing parents.
std::string LiteralLoad(const std::vector<TableRow>& rows) {
    CClassRoot root;
    std::vector<CClassNode*> parked;
    for (const TableRow& row : rows) {
        auto* node = new CClassNode;
        node->SetAll(row.id, row.name, "", "");
        node->SetKind(row.type);
        node->m_nParentId = row.parent;
        CClassNode* parent = root.FindByIdAndKind(row.parent, row.type);
        parent != nullptr ? parent->AddChild(node) : parked.push_back(node);
    }
    for (size_t i = 0; i < parked.size();) {
        CClassNode* parent = root.FindByIdAndKind(parked[i]->m_nParentId, KindClass);
        if (parent != nullptr) {
            parent->AddChild(parked[i]);
            parked.erase(parked.begin() + static_cast<long>(i));
        }
        i = parent != nullptr ? 0 : i + 1;
    }
    for (CClassNode* node : parked) {
        delete node;
    }
    return Shape(root);
}

TEST_F(LoadTest, IndexedParentLookupMatchesTheTreeSearch) {
    std::mt19937 random(20240607);
    for (int round = 0; round < 40; ++round) {
        std::uniform_int_distribution<int> id(-2, round % 2 == 0 ? 12 : 60);
        std::uniform_int_distribution<int> kind(0, 4);
        std::vector<TableRow> rows;
        for (int i = 0; i < 150; ++i) {
            // Mostly classes and members, now and then other kinds.
            const int k = kind(random);
            rows.push_back({id(random), k == 4 && i % 3 != 0 ? KindClass : k, id(random),
                            "n" + std::to_string(i)});
        }
        sql->Exec("DELETE FROM Klassen;" + InsertSql("Klassen", rows));
        ASSERT_TRUE(Load());
        ASSERT_EQ(Shape(root), LiteralLoad(rows)) << "round " << round;
    }
}

} // namespace
