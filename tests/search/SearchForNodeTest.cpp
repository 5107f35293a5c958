#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "cli/Commands.h"
#include "model/ClassRoot.h"
#include "search/SourceSearch.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace {

const std::string kShapes = std::string(VORLIX_TEST_DATA_DIR) + "/search/shapes";

// Shape with its member function Draw, and a member variable.
struct Model {
    CClassRoot root;
    CClassNode* shape = Add(&root, "Shape", KindClass);
    CClassNode* draw = Add(shape, "Draw", KindFunction);
    CClassNode* color = Add(shape, "m_nColor", KindVariable);
    static CClassNode* Add(CClassNode* parent, const char* name, NodeKind kind) {
        auto* node = new CClassNode;
        node->SetName(name);
        node->SetKind(kind);
        parent->AddChild(node);
        return node;
    }
};

TEST(SearchForNodeTest, NodesRunTheSequenceOrNothing) {
    Model model;
    CScriptedUserInterface ui;
    ui.folderAnswers = {kShapes, kShapes + "/"};
    CSourceSearch search;
    ASSERT_TRUE(search.SearchForNode('H', model.shape, ui));
    EXPECT_EQ(ui.folderTitles, std::vector<std::string>{"Wählen Sie ein Verzeichnis, in dem alle "
                                                        "zu durchsuchenden Quellcode-/Header-"
                                                        "Dateien zu finden sind."});
    EXPECT_EQ(ui.progressShown, 1);
    EXPECT_EQ(ui.progressTexts, std::vector<std::string>{"Parse angegebenes Verzeichnis ..."});
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_EQ(search.GetSearchDirectory(), kShapes + "/");
    EXPECT_EQ(search.Hits(), (std::vector<CSearchHit>{{"Circle", "-", kShapes + "/Circle.h"}}));
    // A member function searches with its class.
    ASSERT_TRUE(search.SearchForNode('F', model.draw, ui));
    EXPECT_EQ(search.GetClassName() + "::" + search.GetFunctionName(), "Shape::Draw");
    EXPECT_EQ(search.Hits().size(), 4u);
    EXPECT_TRUE(ui.messages.empty());
    // Nothing happens without a searchable node or a folder; the hits stay.
    CClassNode orphan;
    orphan.SetKind(KindFunction);
    const std::pair<CClassNode*, std::optional<std::string>> idle[] = {
        {nullptr, kShapes}, {model.color, kShapes}, {&model.root, kShapes},
        {&orphan, kShapes}, {model.shape, ""},      {model.shape, std::nullopt}};
    for (const auto& [node, answer] : idle) {
        CScriptedUserInterface none;
        none.folderAnswers.push_back(answer);
        EXPECT_FALSE(search.SearchForNode('C', node, none));
        EXPECT_EQ(none.folderTitles.size(), node == model.shape ? 1u : 0u);
        EXPECT_EQ(none.progressShown, 0);
    }
    EXPECT_EQ(search.LastMode(), 'F');
    EXPECT_EQ(search.Hits().size(), 4u);
}

std::string RunSearchCli(const std::vector<std::string>& args, int expectedStatus) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli(args, out, err), expectedStatus) << args.back();
    return out.str();
}

TEST(SearchCliTest, WritesHitsAsCsvAndRejectsBadUsage) {
    const std::string header = "Class,Name,File\r\n";
    EXPECT_EQ(RunSearchCli({"search", "F", "Shape", "Draw", kShapes}, 0),
              header + "Circle,Draw," + kShapes + "/Circle.cpp\r\n-,Helper," + kShapes +
                  "/Circle.cpp\r\nPanel,Paint," + kShapes + "/ui/Panel.CPP\r\nCView,OnDraw," +
                  kShapes + "/ui/View.cpp\r\n");
    // A folder given relative to here still lists full paths.
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(kShapes + "/ui");
    EXPECT_EQ(RunSearchCli({"search", "H", "Shape", "../"}, 0),
              header + "Circle,-," + kShapes + "/Circle.h\r\n");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(RunSearchCli({"search", "C", "Nowhere", kShapes}, 0), header);
    CTempDir dir;
    const std::string path = dir.Write("x.cpp", "int a, b; void f() { A x; }\n");
    EXPECT_EQ(RunSearchCli({"search", "C", "A", dir.Path()}, 0),
              header + "-,\"a, b; void f\"," + path + "\r\n");
    const std::vector<std::string> bad[] = {{"search"},
                                            {"search", "H", "Shape"},
                                            {"search", "F", "Shape", kShapes},
                                            {"search", "C", "Shape", "Draw", kShapes},
                                            {"search", "HC", "Shape", kShapes},
                                            {"search", "h", "Shape", kShapes},
                                            {"search", "H", "Shape", kShapes + "/missing"},
                                            {"search", "H", "Shape", kShapes + "/Circle.h"},
                                            {"search", "H", "Shape", ""}};
    for (const auto& args : bad) {
        EXPECT_EQ(RunSearchCli(args, 2), "");
    }
}

} // namespace
