#include "../persistence/ClassTableHelpers.h"
#include "persistence/MdbEngine.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string kHead = "ID,Type,Row,Parent,Class,File,Description,VarType,Parameter\r\n";
const std::string kNone = ",kein Rückgabewert,keine Parameter\r\n";

// Each table as loaded (pre-order, every stored field). Members have class
// parents and so come after derived classes; Alt's rows come derived first.
const std::pair<const char*, std::string> kTables[] = {
    {"Klassen",
     kHead + "9,1,-1,-1,CView,Unbekannt,Basisklasse aller Ansichten" + kNone +
         "0,1,5,9,CMyView,view.h,Ansicht für Zeichnungen: zählt Einträge" + kNone +
         "1,2,9,0,CMyView,view.h,,constructor,\r\n2,2,10,0,~CMyView,view.h,,destructor,\r\n"
         "3,2,11,0,OnDraw,view.h,\"Zeichnet die Ansicht.\r\nZweite Zeile.\",virtual void,"
         "CDC* pDC\r\n4,3,12,0,m_nCount,view.h,,int,\r\n5,3,12,0,m_nMax,view.h,Größter Wert,"
         "int,\r\n6,3,13,0,m_strName,view.h,,CString,\r\n7,2,14,0,operator LPCTSTR,view.h,,,"
         "\r\n8,2,16,0,OnPaint,view.h,,afx_msg void,\r\n10,1,3,-1,CDoc,doc.h,Dokument" +
         kNone + "11,2,7,10,Serialize,doc.h,,virtual void,CArchive& ar\r\n"},
    {"Alt", kHead + "1,1,10,-1,A,a.h,Wurzel" + kNone + "4,1,20,1,B,b.h," + kNone +
                "5,1,30,4,C,c.h," + kNone + "2,2,11,1,f,a.h,,void,\r\n"},
    {"Übersicht", kHead + "0,1,1,-1,Straße,straße.h,Größe € " + kNone},
};

class AccessClassTable : public ::testing::TestWithParam<const char*> {
protected:
    std::string Path() const { return Fixture(GetParam()); }

    bool Load(const std::string& path, const std::string& table) {
        m_ui.tableAnswers = {table}; // none left over from a load that raised
        return m_root.Load(path, m_ui);
    }

    CTempDir m_dir;
    CScriptedUserInterface m_ui;
    CClassRoot m_root;
};

TEST_P(AccessClassTable, TablesLoadFieldByFieldWhateverTheRowOrder) {
    for (const auto& [table, csv] : kTables) {
        ASSERT_TRUE(Load(Path(), table)) << table;
        EXPECT_EQ(Csv(m_root), csv);
        EXPECT_TRUE(m_root.m_bNeedsLocation);
    }
    EXPECT_EQ(m_ui.offeredTables[0],
              (std::vector<std::string>{"Alt", "Klassen", "Notizen", "Übersicht"}));
    // Not a class table: rows that cannot be read, reported by the result only.
    EXPECT_FALSE(Load(Path(), "Notizen"));
    EXPECT_EQ(m_root.GetChildCount(), 0);
    EXPECT_TRUE(m_ui.messages.empty());
    // A copy cut short (whole pages, or a page cut in half) loads whole or
    // fails saying so (out of Load, or as a message when only a data page is
    // gone), never a table cut short. (Flipped bytes are the fuzz targets'.)
    // An empty file is an empty SQLite database.
    const std::string intact = ReadBytes(Path());
    int failures = 0;
    for (std::size_t step = 0; step < 2 * intact.size() / 4096; ++step) {
        const std::string cut =
            m_dir.Write("cut.mdb", intact.substr(0, step / 2 * 4096 + step % 2 * 2065));
        for (const auto& [table, csv] : kTables) {
            bool loaded = false;
            m_ui.messages.clear();
            const std::string error = DaoError([&] { loaded = Load(cut, table); });
            failures += loaded ? 0 : 1;
            EXPECT_TRUE(loaded
                            ? Csv(m_root) == csv
                            : step == 0 || (error + (m_ui.messages.empty() ? "" : m_ui.messages[0]))
                                                   .find("beschädigt oder unvollständig") !=
                                               std::string::npos)
                << table << " cut after step " << step;
        }
    }
    EXPECT_GT(failures, 0); // a reader that never failed would not be looking
}

// Writing into an Access file is refused with the database's text before any
// copy is made, by the program and by the verbs; the structure keeps asking
// where to go, and a new location takes a SQLite database.
TEST_P(AccessClassTable, AccessFilesAreOnlyRead) {
    const std::string copy = m_dir.Path() + "/" + GetParam();
    std::filesystem::copy_file(Path(), copy);
    const std::string before = ReadBytes(copy);
    ASSERT_TRUE(Load(copy, "Klassen"));
    m_ui.fileAnswers.push_back(copy);
    EXPECT_FALSE(m_root.Save(true, m_ui));
    m_root.m_bNeedsLocation = false;
    EXPECT_FALSE(m_root.Save(true, m_ui));
    EXPECT_EQ(m_ui.messages, (std::vector<std::string>(2, CMdbEngine::ReadOnlyMessage(copy))));
    EXPECT_EQ(m_ui.offeredTables.size(), 1U);
    EXPECT_TRUE(m_root.m_bNeedsLocation);
    EXPECT_EQ(m_root.m_strDatabase, copy);
    const std::string target = m_dir.Path() + "/neu.mdb";
    m_ui.fileAnswers.push_back(target);
    m_ui.tableAnswers = {"Klassen", "Klassen"};
    ASSERT_TRUE(m_root.Save(true, m_ui));
    EXPECT_FALSE(m_root.m_bNeedsLocation || CMdbFile::LooksLikeAccessFile(target));
    EXPECT_EQ(m_ui.messages.size(), 2U);

    const std::string cut = m_dir.Write("cut.mdb", ReadBytes(Path()).substr(0, 30000));
    const std::string refused = "vorlix-cli: " + copy + ": " + CMdbEngine::ReadOnlyMessage(copy);
    const std::string headers = m_dir.Path() + "/src";
    m_dir.Write("src/view.h", "class CMyView : public CView\n{\npublic:\n    void OnDraw();\n};\n");
    ExpectVerbs({
        {{"tables", copy}, 0, "", "Alt\nKlassen\nNotizen\nÜbersicht\n"},
        {{"dump", copy, "Alt"}, 0, "", kTables[1].second.c_str()},
        {{"dump", copy, "MSysObjects"}, 2, "no table 'MSysObjects'"},
        {{"dump", cut, "Klassen"}, 2, "beschädigt oder unvollständig"},
        {{"update", copy, "Klassen", headers}, 2, refused},
        {{"scan", "--db", copy, "--table", "Alt", headers}, 2, refused},
    });
    EXPECT_EQ(ReadBytes(copy), before);
    EXPECT_FALSE(std::filesystem::exists(copy + ".bak"));
}

INSTANTIATE_TEST_SUITE_P(Jet4, AccessClassTable,
                         ::testing::Values("klassen2000.mdb", "klassen2003.mdb"));

} // namespace
