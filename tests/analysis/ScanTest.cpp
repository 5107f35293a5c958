#include "../persistence/ClassTableHelpers.h"
#include "ParserTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace {

namespace fs = std::filesystem;
const std::string kTree = std::string(VORLIX_TEST_DATA_DIR) + "/analysis/tree";
// The fixture tree as "scan --csv" gives it.
const char* const kTreeCsv =
    "ID,Type,Row,Parent,Class,File,Description,VarType,Parameter\r\n"
    "3,1,6,-1,CShape,shapes.h,,kein Rückgabewert,keine Parameter\r\n"
    "0,1,3,3,CSquare,square.h,,kein Rückgabewert,keine Parameter\r\n"
    "1,2,5,0,Draw,square.h,,void,\"CDC* pDC, const CRect& rect\"\r\n"
    "2,3,7,0,m_side,square.h,,double,\r\n"
    "4,2,9,3,CShape,shapes.h,,constructor,\r\n"
    "5,2,10,3,~CShape,shapes.h,,destructor,\r\n"
    "6,2,11,3,Draw,shapes.h,,virtual void,\"CDC* pDC, const CRect& rect\"\r\n"
    "7,2,13,3,GetX,shapes.h,,int,\r\n"
    "8,3,16,3,m_x,shapes.h,,int,\r\n"
    "9,3,16,3,m_y,shapes.h,,int,\r\n"
    "10,1,1,3,CCircle,circle.h,,kein Rückgabewert,keine Parameter\r\n"
    "11,3,3,10,m_radius,circle.h,,double,\r\n"
    "15,1,-1,-1,CView,Unbekannt,,kein Rückgabewert,keine Parameter\r\n"
    "12,1,1,15,CMyView,MyView.H,,kein Rückgabewert,keine Parameter\r\n"
    "13,2,5,12,OnDraw,MyView.H,,virtual void,CDC* pDC\r\n"
    "14,3,6,12,m_title,MyView.H,,CString,\r\n";

struct Scanned : ParsedHeaders {
    explicit Scanned(const std::string& directory) { parser.ScanDirectory(directory); }
    // Names and header paths of the top-level classes, in order.
    Lines Classes() const {
        Lines out;
        for (int i = 0; i < root->GetChildCount(); ++i) {
            const CClassNode& node = *root->GetChild(i);
            if (node.GetKind() == KindClass) {
                out.push_back(node.GetName() + " " + node.GetHeaderPath());
            }
        }
        return out;
    }
};

// The fixture tree beside a dangling link (cannot be opened, not even by
// root), links back into the tree (not walked again), a link out of it
// (followed); a missing directory adds nothing.
TEST(ScanDirectory, WalksTheTreeOnceInNameOrderAndReportsUnreadableFiles) {
    CTempDir dir;
    CTempDir other;
    const auto path = [&](const std::string& relative) { return dir.Path() + "/" + relative; };
    fs::copy(kTree, dir.Path(), fs::copy_options::recursive);
    dir.Write("f.h.bak", "class NotAHeader {};\n");
    other.Write("o.h", "class O {};\n");
    fs::create_symlink(path("missing.h"), path("broken.h"));
    fs::create_directory_symlink(dir.Path(), path("views/back"));
    fs::create_directory_symlink(path("views"), path("views/deep/er/up"));
    fs::create_directory_symlink(other.Path(), path("outside"));
    for (const std::string& start : {dir.Path(), dir.Path() + "/"}) {
        Scanned scanned(start);
        EXPECT_EQ(scanned.Classes(),
                  (Lines{"CSquare " + path("inc.h/square.h"), "O " + path("outside/o.h"),
                         "CShape " + path("shapes.h"), "CCircle " + path("views/deep/er/circle.h"),
                         "CMyView " + path("views/MyView.H")}));
        EXPECT_EQ(scanned.parser.GetFilesRead(), 5);
        EXPECT_EQ(scanned.ui.messages,
                  (Lines{"Datei " + path("broken.h") + " konnte nicht geöffnet werden!"}));
        Lines texts;
        std::istringstream walked("broken.h f.h.bak inc.h inc.h/square.h notes.hpp outside "
                                  "outside/o.h README shapes.h views views/back views/deep "
                                  "views/deep/er views/deep/er/circle.h views/deep/er/up "
                                  "views/MyView.H");
        for (std::string name; walked >> name;) {
            texts.push_back("Parse " + path(name) + " ...");
        }
        EXPECT_EQ(scanned.ui.progressTexts, texts);
        EXPECT_TRUE(scanned.ui.progressShown == 1 && !scanned.ui.progressVisible);
    }
    Scanned missing(path("nowhere"));
    EXPECT_TRUE(missing.root->GetChildCount() == 0 && missing.ui.messages.empty() &&
                missing.ui.progressTexts.empty());
}

// The CSV rows in pre-order and the summary, also over a second directory
// (CView is declared there, CShape was found in the first already; the file
// that cannot be opened is reported and the scan goes on). Every directory is
// looked at before anything is written.
TEST(ScanCommand, CsvRowsSummaryAndErrors) {
    CTempDir extra;
    extra.Write("view.h", "class CView : public CWnd\n{\n};\nclass CShape\n{\n};\n");
    std::filesystem::create_symlink(extra.Path() + "/gone.h", extra.Path() + "/b.h");
    ExpectVerbs({
        {{"scan", "--csv", kTree}, 0, "", kTreeCsv},
        {{"scan", kTree},
         0,
         "",
         "4 classes, 6 functions, 5 variables, 1 placeholders, 4 files read\n"},
        {{"scan", kTree, extra.Path()},
         0,
         "Datei " + extra.Path() + "/b.h konnte nicht geöffnet werden!\n",
         "5 classes, 6 functions, 5 variables, 1 placeholders, 5 files read\n"},
        {{"scan"}, 2, "no directory given"},
        {{"scan", "--xml", kTree}, 2, "unknown option '--xml'"},
        {{"scan", "--csv", kTree, kTree + "/nowhere"}, 2, "/nowhere' does not exist"},
        {{"scan", kTree + "/shapes.h"}, 2, "shapes.h' does not exist"},
    });
}

} // namespace
