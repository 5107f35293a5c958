#include "ClassTableHelpers.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace {

// A path as the root's name shows it: a blank after every '-'.
std::string ShownPath(std::string path) {
    for (size_t i = path.find('-'); i != std::string::npos; i = path.find('-', i + 2)) {
        path.insert(i + 1, " ");
    }
    return path;
}

class LoadTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.Path() + "/my-db");
        path = dir.Path() + "/my-db/db.mdb";
        sql = std::make_unique<CSqlFixture>(path);
        CreateClassTable(*sql, "Klassen");
    }

    bool Load(const std::string& table = "Klassen") {
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
// f = 2 and v = 3 members of A, B = 4 derived from A, C = 5 derived from B.
TEST_F(LoadTest, OrdersOfRowsAndTheTreesTheyGive) {
    const struct {
        std::vector<TableRow> rows;
        const char* shape;
    } cases[] = {
        {{{1, 1, -1, "A"}, {4, 1, 1, "B"}, {2, 2, 1, "f"}, {3, 3, 1, "v"}}, "A{B f v}"}, // as saved
        // Derived classes come before members in the first pass.
        {{{1, 1, -1, "A"}, {2, 2, 1, "f"}, {4, 1, 1, "B"}, {3, 3, 1, "v"}}, "A{B f v}"},
        {{{2, 2, 1, "f"}, {1, 1, -1, "A"}}, "A{f}"}, // member parked, attached later
        {{{2, 2, -1, "f"}, {1, 1, -1, "A"}}, "f A"}, // member with Parent -1 under the root
        {{{5, 1, 4, "C"}, {4, 1, 1, "B"}, {1, 1, -1, "A"}}, "A{B}"},    // one parked pass only
        {{{1, 1, -1, "A"}, {9, 1, 77, "X"}, {8, 2, 78, "g"}}, "A"},     // parents not found
        {{{1, 1, -1, "A"}, {2, 2, 1, "f"}, {6, 3, 2, "w"}}, "A{f}"},    // a member is no parent
        {{{2, 2, 4, "f"}, {4, 1, 1, "B"}, {1, 1, -1, "A"}}, "A{B}"},    // parked before its class
        {{{4, 1, 1, "B"}, {2, 2, 4, "f"}, {1, 1, -1, "A"}}, "A{B{f}}"}, // parked after its class
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        sql->Exec("DELETE FROM Klassen");
        InsertRows(*sql, "Klassen", c.rows);
        EXPECT_TRUE(Load());
        EXPECT_EQ(Shape(root), c.shape);
        EXPECT_FALSE(root.m_bNeedsLocation);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LoadTest, StoresEveryColumnNullsAndTheRootsLocation) {
    sql->Exec("INSERT INTO Klassen VALUES (1, 1, 12, -1, 'a==b', 'dir\\x.h', " +
              Quote("Größe, \"ä\"\r\nzwei") + ", 'int*x', 'int a,char*b=0'), " +
              "(2, 2, NULL, 1, 'g', NULL, NULL, NULL, NULL)");
    AddNode(root, KindClass, 99, "Alt");
    ASSERT_TRUE(Load());
    ASSERT_EQ(Shape(root), "a== b{g}");
    const CClassNode* a = root.GetChild(0);
    EXPECT_EQ(a->GetId(), 1);
    EXPECT_EQ(a->GetLine(), 12);
    EXPECT_EQ(a->m_nParentId, -1);
    EXPECT_EQ(a->GetHeaderFileName(), "x.h");
    EXPECT_EQ(a->GetDescription(), "Größe, \"ä\"\r\nzwei");
    EXPECT_EQ(a->GetTypeText(), "int* x");
    EXPECT_EQ(a->GetParameters(), "int a, char* b = 0");
    // NULLs read as zero and empty text.
    EXPECT_EQ(a->GetChild(0)->GetLine(), 0);
    EXPECT_EQ(a->GetChild(0)->GetDescription(), "");
    EXPECT_EQ(root.GetId(), -1);
    EXPECT_EQ(root.GetName(), ShownPath(path) + " (Klassen)");
    EXPECT_EQ(root.GetDescription(), "keine Beschreibung vorhanden");
    EXPECT_EQ(root.m_strDatabase, path);
    EXPECT_EQ(root.m_strTable, "Klassen");
    EXPECT_EQ(ui.offeredTables, (std::vector<std::vector<std::string>>{{"Klassen"}}));
}

// Rows that cannot be read fail the load without a message: a table lacking
// a column loses every row, a bad row ends the first pass and drops the parked.
TEST_F(LoadTest, UnreadableRowsFailTheLoadSilently) {
    sql->Exec("CREATE TABLE Kurz (ID INTEGER, Type INTEGER, Row INTEGER, Parent INTEGER, "
              "Class TEXT, File TEXT, VarType TEXT, Parameter TEXT)");
    sql->Exec("INSERT INTO Kurz VALUES (1, 1, 1, -1, 'A', 'a.h', 'x', 'y'), "
              "(2, 2, 1, 1, 'f', 'a.h', 'x', 'y')");
    EXPECT_FALSE(Load("Kurz"));
    EXPECT_EQ(root.GetChildCount(), 0);
    EXPECT_TRUE(root.m_bNeedsLocation);
    EXPECT_EQ(root.m_strTable, "Kurz");
    InsertRows(*sql, "Klassen", {{1, 1, -1, "A"}, {2, 2, 1, "f"}, {4, 1, 1, "B"}});
    sql->Exec("INSERT INTO Klassen VALUES ('zwölf', 1, 1, -1, 'X', '', '', '', '')");
    EXPECT_FALSE(Load());
    EXPECT_EQ(Shape(root), "A{B}");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LoadTest, CancelOrAnEmptyTableListEmptiesTheTreeAndReturnsFalse) {
    AddNode(root, KindClass, 5, "Alt");
    ui.tableAnswers.push_back(std::nullopt);
    EXPECT_FALSE(root.Load(path, ui));
    EXPECT_EQ(root.GetChildCount(), 0);
    EXPECT_EQ(root.m_strDatabase, path);
    EXPECT_EQ(root.m_strTable, "Unbekannt");
    EXPECT_EQ(root.GetName(), "Unbekannt");
    // OK on an empty list gives the empty name, which cannot be opened.
    CTempDir other;
    path = other.Path() + "/leer.mdb";
    CSqlFixture(path).Exec("PRAGMA user_version = 1");
    AddNode(root, KindClass, 5, "Alt");
    EXPECT_FALSE(Load(""));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"no such table: "});
    EXPECT_EQ(root.GetChildCount(), 0);
    EXPECT_EQ(root.m_strTable, "");
    EXPECT_EQ(ui.offeredTables.back(), std::vector<std::string>{});
}

// The loader looks parents up through an index; this is the algorithm
// written out with the tree search, run on random tables with repeated IDs,
// odd kinds and missing parents.
std::string LiteralLoad(const std::vector<TableRow>& rows) {
    CClassRoot root;
    root.SetId(-1);
    CClassNode holder;
    for (const TableRow& row : rows) {
        auto* node = new CClassNode;
        node->SetId(row.id);
        node->SetKind(row.type);
        node->m_nParentId = row.parent;
        node->SetName(row.name);
        node->SetHeaderFile(row.name + ".h");
        node->SetLine(7);
        node->SetDescription("d");
        node->SetTypeText("int");
        node->SetParameters("keine Parameter");
        if (CClassNode* parent = root.FindByIdAndKind(node->m_nParentId, node->GetKind())) {
            parent->AddChild(node);
        } else {
            holder.AddChild(node);
        }
    }
    int i = 0;
    while (i < holder.GetChildCount()) {
        CClassNode* node = holder.GetChild(i);
        if (CClassNode* parent = root.FindByIdAndKind(node->m_nParentId, KindClass)) {
            parent->AddChild(node);
            holder.RemoveChild(node, false);
        } else {
            ++i;
        }
    }
    return Csv(root);
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
        sql->Exec("DELETE FROM Klassen");
        InsertRows(*sql, "Klassen", rows);
        ASSERT_TRUE(Load());
        ASSERT_EQ(Csv(root), LiteralLoad(rows)) << "round " << round;
    }
}

} // namespace
