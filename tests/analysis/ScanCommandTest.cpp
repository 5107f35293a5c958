#include "cli/ScanCommand.h"

#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "cli/Commands.h"
#include "model/ClassRoot.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace {

const std::string kTree = std::string(VORLIX_TEST_DATA_DIR) + "/analysis/tree";

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun RunScan(const std::vector<std::string>& argv) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.status = RunCli(argv, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(ScanCommand, CsvRowsInPreOrder) {
    const CliRun run = RunScan({"scan", "--csv", kTree});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "ID,Type,Row,Parent,Class,File,Description,VarType,Parameter\r\n"
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
                       "14,3,6,12,m_title,MyView.H,,CString,\r\n");
}

TEST(ScanCommand, SummaryOverSeveralDirectoriesAndUsageErrors) {
    EXPECT_EQ(RunScan({"scan", kTree}).out,
              "4 classes, 6 functions, 5 variables, 1 placeholders, 4 files read\n");
    CTempDir extra;
    extra.Write("view.h", "class CView : public CWnd\n{\n};\nclass CShape\n{\n};\n");
    // CView is declared now; CShape was found in the first tree already.
    EXPECT_EQ(RunScan({"scan", kTree, extra.Path()}).out,
              "5 classes, 6 functions, 5 variables, 1 placeholders, 5 files read\n");
    const CliRun missing = RunScan({"scan", "--csv", kTree, kTree + "/nowhere"});
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find(kTree + "/nowhere' does not exist"), std::string::npos)
        << missing.err;
    // After "--" everything is a directory, even a name like an option.
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"scan"},
                                               {"scan", "--xml", kTree},
                                               {"scan", "--", "--csv"},
                                               {"scan", kTree + "/shapes.h"}}) {
        const CliRun run = RunScan(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_FALSE(run.err.empty()) << args.back();
    }
}

TEST(ScanCommand, OpenFailureGoesToErrorAndTheScanGoesOn) {
    CTempDir dir;
    dir.Write("a.h", "class A\n{\n};\n");
    std::filesystem::create_symlink(dir.Path() + "/gone.h", dir.Path() + "/b.h");
    const CliRun run = RunScan({"scan", dir.Path()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "Datei " + dir.Path() + "/b.h konnte nicht geöffnet werden!\n");
    EXPECT_EQ(run.out, "1 classes, 0 functions, 0 variables, 0 placeholders, 1 files read\n");
}

TEST(ScanDirectories, ReturnsTheOrderedRootOrNothing) {
    CScriptedUserInterface ui;
    std::ostringstream err;
    const std::unique_ptr<CClassRoot> root = ScanDirectories({kTree}, ui, err);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetChildCount(), 2); // CShape and the placeholder CView
    EXPECT_EQ(ui.progressTexts.back(), "Sortiere Einträge nach Abhängigkeiten ...");
    EXPECT_EQ(ui.progressShown, 2); // the scan, then the ordering
    EXPECT_EQ(err.str(), "");

    EXPECT_EQ(ScanDirectories({kTree + "/nowhere"}, ui, err), nullptr);
    EXPECT_NE(err.str().find("nowhere"), std::string::npos);
}

} // namespace
