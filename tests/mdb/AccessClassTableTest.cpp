#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "cli/Commands.h"
#include "cli/StructureCsv.h"
#include "model/ClassRoot.h"
#include "persistence/DaoException.h"
#include "persistence/MdbEngine.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

namespace {

std::string Fixture(const std::string& name) {
    return std::string(VORLIX_SHARED_FIXTURES_DIR) + "/access/" + name;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Csv(const CClassNode& root) {
    std::ostringstream out;
    WriteStructureCsv(root, out);
    return out.str();
}

// A row of the fixtures' class tables as stored.
struct StoredRow {
    int id;
    int kind;
    int line;
    int parent;
    const char* name;
    const char* file;
    const char* description;
    const char* type;
    const char* parameters;
};

// Compares a loaded node with its row put through the node's own setters.
void ExpectNode(const CClassNode* node, const StoredRow& row) {
    ASSERT_NE(node, nullptr) << row.name;
    CClassNode expected;
    expected.SetName(row.name);
    expected.SetHeaderFile(row.file);
    expected.SetTypeText(row.type);
    expected.SetParameters(row.parameters);
    SCOPED_TRACE(row.name);
    EXPECT_EQ(node->GetId(), row.id);
    EXPECT_EQ(node->GetKind(), row.kind);
    EXPECT_EQ(node->GetLine(), row.line);
    EXPECT_EQ(node->m_nParentId, row.parent);
    EXPECT_EQ(node->m_pParent != nullptr ? node->m_pParent->GetId() : -2, row.parent);
    EXPECT_EQ(node->GetName(), expected.GetName());
    EXPECT_EQ(node->GetHeaderFileName(), row.file);
    EXPECT_EQ(node->GetHeaderPath(), expected.GetHeaderPath());
    EXPECT_EQ(node->GetDescription(), row.description);
    EXPECT_EQ(node->GetTypeText(), expected.GetTypeText());
    EXPECT_EQ(node->GetParameters(), expected.GetParameters());
}

class AccessClassTable : public ::testing::TestWithParam<const char*> {
protected:
    std::string Path() const { return Fixture(GetParam()); }

    // A copy of the fixture in the temporary directory, for tests that would
    // notice a write.
    std::string Copy() {
        const std::string copy = m_dir.Path() + "/" + GetParam();
        std::filesystem::copy_file(Path(), copy);
        return copy;
    }

    bool Load(const std::string& path, const std::string& table) {
        m_ui.tableAnswers.push_back(table);
        return m_root.Load(path, m_ui);
    }

    CTempDir m_dir;
    CScriptedUserInterface m_ui;
    CClassRoot m_root;
};

TEST_P(AccessClassTable, TheDialogListsTheUserTablesSorted) {
    m_ui.tableAnswers.push_back(std::nullopt);
    EXPECT_FALSE(m_root.Load(Path(), m_ui));
    ASSERT_EQ(m_ui.offeredTables.size(), 1U);
    EXPECT_EQ(m_ui.offeredTables[0],
              (std::vector<std::string>{"Alt", "Klassen", "Notizen", "Übersicht"}));
    EXPECT_EQ(m_root.GetChildCount(), 0);
}

TEST_P(AccessClassTable, KlassenLoadsFieldByField) {
    ASSERT_TRUE(Load(Path(), "Klassen"));
    EXPECT_TRUE(m_ui.messages.empty());

    CClassNode expectedRoot;
    expectedRoot.SetName(Path() + " (Klassen)");
    EXPECT_EQ(m_root.GetName(), expectedRoot.GetName());
    EXPECT_EQ(m_root.GetId(), -1);
    EXPECT_EQ(m_root.GetDescription(), "keine Beschreibung vorhanden");
    EXPECT_EQ(m_root.m_strDatabase, Path());
    EXPECT_EQ(m_root.m_strTable, "Klassen");
    EXPECT_TRUE(m_root.m_bNeedsLocation);

    // Members have class parents and so come in the second pass, in table order.
    ASSERT_EQ(m_root.GetChildCount(), 2);
    const CClassNode* view = m_root.GetChild(0);
    const CClassNode* doc = m_root.GetChild(1);
    ExpectNode(view, {9, 1, -1, -1, "CView", "Unbekannt", "Basisklasse aller Ansichten",
                      "kein Rückgabewert", "keine Parameter"});
    ExpectNode(doc,
               {10, 1, 3, -1, "CDoc", "doc.h", "Dokument", "kein Rückgabewert", "keine Parameter"});
    ASSERT_EQ(view->GetChildCount(), 1);
    const CClassNode* myView = view->GetChild(0);
    ExpectNode(myView, {0, 1, 5, 9, "CMyView", "view.h", "Ansicht für Zeichnungen: zählt Einträge",
                        "kein Rückgabewert", "keine Parameter"});
    const StoredRow members[] = {
        {1, 2, 9, 0, "CMyView", "view.h", "", "constructor", ""},
        {2, 2, 10, 0, "~CMyView", "view.h", "", "destructor", ""},
        {3, 2, 11, 0, "OnDraw", "view.h", "Zeichnet die Ansicht.\r\nZweite Zeile.", "virtual void",
         "CDC* pDC"},
        {4, 3, 12, 0, "m_nCount", "view.h", "", "int", ""},
        {5, 3, 12, 0, "m_nMax", "view.h", "Größter Wert", "int", ""},
        {6, 3, 13, 0, "m_strName", "view.h", "", "CString", ""},
        {7, 2, 14, 0, "operator LPCTSTR", "view.h", "", "", ""},
        {8, 2, 16, 0, "OnPaint", "view.h", "", "afx_msg void", ""},
    };
    ASSERT_EQ(myView->GetChildCount(), static_cast<int>(std::size(members)));
    for (int i = 0; i < myView->GetChildCount(); ++i) {
        ExpectNode(myView->GetChild(i), members[i]);
        EXPECT_EQ(myView->GetChild(i)->GetChildCount(), 0);
    }
    ASSERT_EQ(doc->GetChildCount(), 1);
    ExpectNode(doc->GetChild(0),
               {11, 2, 7, 10, "Serialize", "doc.h", "", "virtual void", "CArchive& ar"});
}

TEST_P(AccessClassTable, AltLoadsInTwoPassesAndDropsTheLateClass) {
    ASSERT_TRUE(Load(Path(), "Alt"));
    ASSERT_EQ(m_root.GetChildCount(), 1);
    const CClassNode* a = m_root.GetChild(0);
    ExpectNode(a, {1, 1, 10, -1, "A", "a.h", "Wurzel", "kein Rückgabewert", "keine Parameter"});
    ASSERT_EQ(a->GetChildCount(), 2);
    ExpectNode(a->GetChild(0),
               {4, 1, 20, 1, "B", "b.h", "", "kein Rückgabewert", "keine Parameter"});
    ExpectNode(a->GetChild(1), {2, 2, 11, 1, "f", "a.h", "", "void", ""});
    EXPECT_EQ(a->GetChild(0)->GetChildCount(), 0); // C (parent B) was dropped
}

TEST_P(AccessClassTable, UmlautsInTableAndFileNames) {
    ASSERT_TRUE(Load(Path(), "Übersicht"));
    ASSERT_EQ(m_root.GetChildCount(), 1);
    ExpectNode(m_root.GetChild(0), {0, 1, 1, -1, "Straße", "straße.h", "Größe € ",
                                    "kein Rückgabewert", "keine Parameter"});
    EXPECT_EQ(m_root.m_strTable, "Übersicht");
}

TEST_P(AccessClassTable, NotAClassTableFailsWithAnEmptyStructure) {
    ASSERT_TRUE(Load(Path(), "Klassen"));
    EXPECT_FALSE(Load(Path(), "Notizen"));
    EXPECT_EQ(m_root.GetChildCount(), 0);
    EXPECT_TRUE(m_ui.messages.empty()); // rows that cannot be read are not reported
    EXPECT_EQ(m_root.m_strTable, "Notizen");
}

TEST_P(AccessClassTable, FirstSaveAsksForALocationAndWritesANewDatabase) {
    ASSERT_TRUE(Load(Path(), "Klassen"));
    const std::string target = m_dir.Path() + "/neu.mdb";
    m_ui.fileAnswers.push_back(target);
    m_ui.tableAnswers.push_back("Klassen");
    ASSERT_TRUE(m_root.Save(true, m_ui));
    EXPECT_TRUE(m_ui.messages.empty()) << m_ui.messages.front();
    ASSERT_EQ(m_ui.fileDialogs.size(), 1U);
    EXPECT_TRUE(m_ui.fileDialogs[0].save);
    EXPECT_EQ(m_ui.offeredTables.back(), (std::vector<std::string>{"Klassen"}));
    EXPECT_EQ(m_root.m_strDatabase, target);
    EXPECT_EQ(m_root.m_strTable, "Klassen");
    EXPECT_FALSE(m_root.m_bNeedsLocation);
    EXPECT_FALSE(CMdbFile::LooksLikeAccessFile(target));

    CClassRoot reloaded;
    m_ui.tableAnswers.push_back("Klassen");
    ASSERT_TRUE(reloaded.Load(target, m_ui));
    EXPECT_EQ(Csv(reloaded), Csv(m_root));
    EXPECT_FALSE(reloaded.m_bNeedsLocation);
}

// Writing into an Access file is refused with the database's text before any
// copy is made; the structure keeps asking where to go.
TEST_P(AccessClassTable, SavingIntoAnAccessFileIsRefusedAndChangesNothing) {
    const std::string copy = Copy();
    ASSERT_TRUE(Load(copy, "Klassen"));
    const std::string before = ReadBytes(copy);
    const std::size_t tableDialogs = m_ui.offeredTables.size();
    m_ui.fileAnswers.push_back(copy);
    EXPECT_FALSE(m_root.Save(true, m_ui));
    // A settled location in an Access file is refused the same way and unsettled.
    m_root.m_bNeedsLocation = false;
    EXPECT_FALSE(m_root.Save(true, m_ui));
    EXPECT_EQ(m_ui.messages, (std::vector<std::string>(2, CMdbEngine::ReadOnlyMessage(copy))));
    EXPECT_EQ(m_ui.fileDialogs.size(), 1U);
    EXPECT_EQ(m_ui.offeredTables.size(), tableDialogs);
    EXPECT_FALSE(std::filesystem::exists(copy + ".bak"));
    EXPECT_EQ(ReadBytes(copy), before);
    EXPECT_TRUE(m_root.m_bNeedsLocation);
    EXPECT_EQ(m_root.m_strDatabase, copy);
    EXPECT_EQ(m_root.m_strTable, "Klassen");
}

TEST_P(AccessClassTable, VerbsWorkAsOnSqliteAndRefuseToWrite) {
    const auto run = [](const std::vector<std::string>& argv) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(argv, out, err);
        return std::make_tuple(status, out.str(), err.str());
    };
    EXPECT_EQ(run({"tables", Path()}),
              std::make_tuple(0, std::string("Alt\nKlassen\nNotizen\nÜbersicht\n"), std::string()));
    ASSERT_TRUE(Load(Path(), "Alt"));
    EXPECT_EQ(run({"dump", Path(), "Alt"}), std::make_tuple(0, Csv(m_root), std::string()));
    const std::string cut = m_dir.Write("cut.mdb", ReadBytes(Path()).substr(0, 30000));
    const std::string copy = Copy();
    const std::string refused = "vorlix-cli: " + copy + ": " + CMdbEngine::ReadOnlyMessage(copy);
    const std::string headers = m_dir.Path() + "/src";
    m_dir.Write("src/view.h", "class CMyView : public CView\n{\npublic:\n    void OnDraw();\n};\n");
    const struct {
        std::vector<std::string> argv;
        int status;
        std::string err; // part of the error output
    } cases[] = {
        {{"dump", Path(), "Notizen"}, 1, "could not be read completely"},
        {{"dump", Path(), "MSysObjects"}, 2, "no table 'MSysObjects'"},
        {{"dump", cut, "Klassen"}, 2, "beschädigt oder unvollständig"},
        {{"tables", cut}, 2, "beschädigt oder unvollständig"},
        {{"update", copy, "Klassen", headers}, 2, refused},
        {{"scan", "--db", copy, "--table", "Alt", headers}, 2, refused},
    };
    const std::string before = ReadBytes(copy);
    for (const auto& c : cases) {
        const auto [status, out, err] = run(c.argv);
        EXPECT_EQ(status, c.status) << c.argv[0] << " " << c.argv[2];
        EXPECT_NE(err.find(c.err), std::string::npos) << err;
        EXPECT_EQ(out, "");
    }
    EXPECT_EQ(ReadBytes(copy), before);
    EXPECT_FALSE(std::filesystem::exists(copy + ".bak"));
}

INSTANTIATE_TEST_SUITE_P(Jet4, AccessClassTable,
                         ::testing::Values("klassen2000.mdb", "klassen2003.mdb"));

TEST(AccessClassTableDamage, TruncatedFileRaisesTheDatabaseErrorOutOfLoad) {
    CTempDir dir;
    const std::string intact = ReadBytes(Fixture("klassen2000.mdb"));
    const std::string path = dir.Write("cut.mdb", intact.substr(0, 27 * 4096));
    CScriptedUserInterface ui;
    ui.tableAnswers.push_back("Klassen");
    CClassRoot root;
    // The catalog is intact, the class table's data page is gone.
    EXPECT_FALSE(root.Load(path, ui));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_NE(ui.messages[0].find("beschädigt oder unvollständig"), std::string::npos)
        << ui.messages[0];
    EXPECT_EQ(root.GetChildCount(), 0);

    const std::string halved = dir.Write("half.mdb", intact.substr(0, intact.size() / 2 + 1));
    try {
        root.Load(halved, ui);
        ADD_FAILURE() << "loaded";
    } catch (const CDaoException& error) {
        EXPECT_NE(error.GetErrorMessage().find("beschädigt oder unvollständig"), std::string::npos);
    }
    EXPECT_EQ(root.GetChildCount(), 0);
    EXPECT_EQ(root.m_strDatabase, halved);
}

} // namespace
