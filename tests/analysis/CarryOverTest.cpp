#include "ParserTestSupport.h"

#include <gtest/gtest.h>

namespace {

const char* const kHeader = "class CBase\n{\n};\n"
                            "class CView : public CBase\n{\npublic:\n"
                            "  CView();\n"
                            "  void Draw();\n"
                            "  void Draw(int n);\n"
                            "  int m_count;\n"
                            "};\n";

// A structure as a document holds it after a first scan and some editing.
std::unique_ptr<CClassRoot> OldStructure() {
    ParsedHeaders parsed(kHeader);
    parsed.parser.OrderAndNumber();
    CClassRoot& root = *parsed.root;
    root.m_strDatabase = "/data/klassen.mdb";
    root.m_strTable = "Klassen";
    root.m_bNeedsLocation = false;
    root.SetName("/data/klassen.mdb (Klassen)");
    root.SetDescription("the whole structure");
    CClassNode* view = root.FindByName("CView", KindClass);
    view->SetDescription("shows things");
    root.FindByName("CBase", KindClass)->SetDescription("base of all");
    view->GetChild(0)->SetDescription("makes a view");  // CView()
    view->GetChild(1)->SetDescription("draws");         // Draw()
    view->GetChild(2)->SetDescription("draws n times"); // Draw(int)
    view->GetChild(3)->SetDescription("how many");      // m_count
    return std::move(parsed.root);
}

TEST(CarryOver, LocationNameAndDescriptionsByKindAndName) {
    const std::unique_ptr<CClassRoot> old = OldStructure();
    // The re-scan finds CView under a new base, a new member and a variable
    // that became a function.
    ParsedHeaders parsed("class CWnd\n{\n};\n"
                         "class CView : public CWnd\n{\npublic:\n"
                         "  CView();\n  void Draw(int n);\n  void Draw();\n  int m_count();\n"
                         "  int m_new;\n};\n");
    parsed.parser.OrderAndNumber();
    parsed.parser.CarryOver(old.get());

    CClassRoot& root = *parsed.root;
    EXPECT_EQ(root.m_strDatabase + " " + root.m_strTable, "/data/klassen.mdb Klassen");
    EXPECT_FALSE(root.m_bNeedsLocation);
    EXPECT_EQ(root.GetName(), old->GetName());
    EXPECT_EQ(root.GetDescription(), "the whole structure");

    CClassNode* view = root.FindByName("CView", KindClass);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDescription(), "shows things");
    EXPECT_EQ(root.FindByName("CWnd", KindClass)->GetDescription(), "");
    // The constructor bears the class's name but takes its own description.
    EXPECT_EQ(view->GetChild(0)->GetDescription(), "makes a view");
    // Overloads all take the first old function of their name.
    EXPECT_EQ(view->GetChild(1)->GetDescription(), "draws");
    EXPECT_EQ(view->GetChild(2)->GetDescription(), "draws");
    // Kinds must match: the former variable m_count is a function now.
    EXPECT_EQ(view->GetChild(3)->GetDescription(), "");
    EXPECT_EQ(view->GetChild(4)->GetDescription(), "");
}

TEST(CarryOver, RootNamesAreNoClassesAndNothingHappensWithoutRoots) {
    std::unique_ptr<CClassRoot> old = OldStructure();
    ParsedHeaders parsed("class Unbekannt\n{\n};\n");
    parsed.parser.OrderAndNumber();
    old->SetName("Unbekannt");
    parsed.parser.CarryOver(old.get());
    EXPECT_EQ(parsed.root->GetChild(0)->GetDescription(), "");
    EXPECT_EQ(parsed.root->GetDescription(), "the whole structure");
    parsed.parser.CarryOver(nullptr);
    EXPECT_EQ(parsed.root->GetName(), "Unbekannt");
    CScriptedUserInterface ui;
    CHeaderParser empty(ui);
    empty.CarryOver(old.get());
    EXPECT_EQ(empty.m_pRoot, nullptr);
}

} // namespace
