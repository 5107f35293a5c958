#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "cli/Commands.h"
#include "model/ClassRoot.h"
#include "search/SourceSearch.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

using Hits = std::vector<CSearchHit>;

const std::string kShapes = std::string(VORLIX_TEST_DATA_DIR) + "/search/shapes";
const char* const kTitle = "Wählen Sie ein Verzeichnis, in dem alle zu durchsuchenden "
                           "Quellcode-/Header-Dateien zu finden sind.";

// Shape with its member function Draw, and a member variable.
struct Model {
    CClassRoot root;
    CClassNode* shape = new CClassNode;
    CClassNode* draw = new CClassNode;
    CClassNode* color = new CClassNode;
    Model() {
        shape->SetName("Shape");
        draw->SetName("Draw");
        draw->SetKind(KindFunction);
        color->SetName("m_nColor");
        color->SetKind(KindVariable);
        root.AddChild(shape);
        shape->AddChild(draw);
        shape->AddChild(color);
    }
};

TEST(SearchForNodeTest, ClassNodeRunsTheSequence) {
    Model model;
    CScriptedUserInterface ui;
    ui.folderAnswers.push_back(kShapes);
    CSourceSearch search;
    ASSERT_TRUE(search.SearchForNode('H', model.shape, ui));
    EXPECT_EQ(ui.folderTitles, std::vector<std::string>{kTitle});
    EXPECT_EQ(ui.progressShown, 1);
    EXPECT_EQ(ui.progressTexts, std::vector<std::string>{"Parse angegebenes Verzeichnis ..."});
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(search.GetClassName(), "Shape");
    EXPECT_EQ(search.GetFunctionName(), "");
    EXPECT_EQ(search.GetSearchDirectory(), kShapes + "/");
    EXPECT_EQ(search.LastMode(), 'H');
    EXPECT_EQ(search.Hits(), (Hits{{"Circle", "-", kShapes + "/Circle.h"}}));
    EXPECT_EQ(CSourceSearch::Columns(search.LastMode()),
              (std::vector<SearchColumn>{{"Klasse", 100}, {"Dateiname", 340}}));
}

TEST(SearchForNodeTest, MemberFunctionSearchesWithItsClass) {
    Model model;
    CScriptedUserInterface ui;
    ui.folderAnswers.push_back(kShapes + "/");
    CSourceSearch search;
    ASSERT_TRUE(search.SearchForNode('F', model.draw, ui));
    EXPECT_EQ(search.GetClassName(), "Shape");
    EXPECT_EQ(search.GetFunctionName(), "Draw");
    EXPECT_EQ(search.Hits().size(), 4u);
    EXPECT_EQ(search.Hits().front(), CSearchHit("Circle", "Draw", kShapes + "/Circle.cpp"));
    EXPECT_EQ(CSourceSearch::Columns('F'),
              (std::vector<SearchColumn>{{"Klasse", 100}, {"Name", 100}, {"Dateiname", 240}}));
}

TEST(SearchForNodeTest, NothingHappensWithoutASearchableNodeOrFolder) {
    Model model;
    CClassNode orphan;
    orphan.SetKind(KindFunction);
    CSourceSearch search;
    search.Search("Shape", "", kShapes, 'H');
    ASSERT_FALSE(search.Hits().empty());
    for (CClassNode* node : {static_cast<CClassNode*>(nullptr), model.color,
                             static_cast<CClassNode*>(&model.root), &orphan}) {
        CScriptedUserInterface ui;
        ui.folderAnswers.push_back(kShapes);
        EXPECT_FALSE(search.SearchForNode('C', node, ui));
        EXPECT_TRUE(ui.folderTitles.empty()); // not even asked
    }
    for (const std::optional<std::string>& answer :
         {std::optional<std::string>(), std::optional<std::string>("")}) {
        CScriptedUserInterface ui;
        ui.folderAnswers.push_back(answer);
        EXPECT_FALSE(search.SearchForNode('C', model.shape, ui));
        EXPECT_EQ(ui.folderTitles.size(), 1u);
        EXPECT_EQ(ui.progressShown, 0);
    }
    // The last search's hits stay.
    EXPECT_EQ(search.LastMode(), 'H');
    EXPECT_EQ(search.Hits().size(), 1u);
}

TEST(SearchForNodeTest, SearchThatFindsNothingStillRan) {
    Model model;
    model.shape->SetName("Nowhere");
    CScriptedUserInterface ui;
    ui.folderAnswers.push_back(kShapes);
    CSourceSearch search;
    EXPECT_TRUE(search.SearchForNode('C', model.shape, ui));
    EXPECT_TRUE(search.Hits().empty());
    EXPECT_TRUE(CSourceSearch::Columns('X').empty());
}

std::string RunSearchCli(const std::vector<std::string>& args, int& status) {
    std::ostringstream out;
    std::ostringstream err;
    status = RunCli(args, out, err);
    return out.str();
}

TEST(SearchCliTest, WritesHitsAsCsv) {
    int status = -1;
    EXPECT_EQ(RunSearchCli({"search", "F", "Shape", "Draw", kShapes}, status),
              "Class,Name,File\r\n"
              "Circle,Draw," +
                  kShapes +
                  "/Circle.cpp\r\n"
                  "-,Helper," +
                  kShapes +
                  "/Circle.cpp\r\n"
                  "Panel,Paint," +
                  kShapes +
                  "/ui/Panel.CPP\r\n"
                  "CView,OnDraw," +
                  kShapes + "/ui/View.cpp\r\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(RunSearchCli({"search", "H", "Shape", kShapes + "/"}, status),
              "Class,Name,File\r\nCircle,-," + kShapes + "/Circle.h\r\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(RunSearchCli({"search", "C", "Nowhere", kShapes}, status), "Class,Name,File\r\n");
    EXPECT_EQ(status, 0);
}

TEST(SearchCliTest, QuotesFieldsThatNeedIt) {
    CTempDir dir;
    const std::string path = dir.Write("x.cpp", "int a, b; void f() { A x; }\n");
    int status = -1;
    EXPECT_EQ(RunSearchCli({"search", "C", "A", dir.Path()}, status),
              "Class,Name,File\r\n-,\"a, b; void f\"," + path + "\r\n");
    EXPECT_EQ(status, 0);
}

TEST(SearchCliTest, BadUsageAndMissingDirectory) {
    const std::vector<std::vector<std::string>> bad = {
        {"search"},
        {"search", "H", "Shape"},
        {"search", "F", "Shape", kShapes},
        {"search", "C", "Shape", "Draw", kShapes},
        {"search", "X", "Shape", kShapes},
        {"search", "HC", "Shape", kShapes},
        {"search", "h", "Shape", kShapes},
        {"search", "H", "Shape", kShapes + "/missing"},
        {"search", "H", "Shape", kShapes + "/Shape.h"},
        {"search", "H", "Shape", ""},
    };
    for (const auto& args : bad) {
        int status = -1;
        EXPECT_EQ(RunSearchCli(args, status), "") << args.size();
        EXPECT_EQ(status, 2) << args.back();
    }
}

} // namespace
