#include "model/TipText.h"

#include "model/ClassRoot.h"

#include <gtest/gtest.h>

namespace {

CClassNode* AddNode(CClassNode* parent, const std::string& name, int kind, int id,
                    const std::string& type = {}, const std::string& parameters = {}) {
    auto* node = new CClassNode;
    node->SetName(name);
    node->SetKind(kind);
    node->SetId(id);
    if (!type.empty()) {
        node->SetTypeText(type);
    }
    if (!parameters.empty()) {
        node->SetParameters(parameters);
    }
    if (parent != nullptr) {
        parent->AddChild(node);
    }
    return node;
}

// root -> A (f1, f2, f3, v1) -> B (g) -> C;  root -> CView (Draw, m_n);  root -> Lone
struct TipModel {
    CClassRoot root;
    CClassNode* a = AddNode(&root, "A", KindClass, 1);
    CClassNode* b = AddNode(a, "B", KindClass, 2);
    CClassNode* c = AddNode(b, "C", KindClass, 3);
    CClassNode* view = AddNode(&root, "CView", KindClass, 4);
    CClassNode* lone = AddNode(&root, "Lone", KindClass, 5);
    CClassNode* draw = AddNode(view, "Draw", KindFunction, 6, "void", "CDC* pDC");
    CClassNode* count = AddNode(view, "m_nCount", KindVariable, 7, "int");
    CClassNode* g = AddNode(b, "g", KindFunction, 8, "void", "int");
    TipModel() {
        AddNode(a, "f1", KindFunction, 10, "void", "void");
        AddNode(a, "f2", KindFunction, 11, "int", "int n");
        AddNode(a, "f3", KindFunction, 12, "void", "void");
        AddNode(a, "v1", KindVariable, 13, "int");
    }
};

struct TipCase {
    const char* name;
    CClassNode* TipModel::*node;
    const char* expected;
};

void PrintTo(const TipCase& c, std::ostream* os) {
    *os << c.name;
}

class TreeTip : public testing::TestWithParam<TipCase> {};
class ListTip : public testing::TestWithParam<TipCase> {};

TEST_P(TreeTip, ReadsAsGiven) {
    TipModel model;
    EXPECT_EQ(TreeItemTipText(model.*GetParam().node), GetParam().expected);
}

TEST_P(ListTip, ReadsAsGiven) {
    TipModel model;
    EXPECT_EQ(MemberItemTipText(model.*GetParam().node), GetParam().expected);
}

std::string CaseName(const testing::TestParamInfo<TipCase>& info) {
    return info.param.name;
}

// A has two derived classes (C derived from B), three functions and one
// variable; the functions of B are B's own and do not count for A.
INSTANTIATE_TEST_SUITE_P(
    Examples, TreeTip,
    testing::Values(TipCase{"ClassBelowRoot", &TipModel::a, "void - A (C: 2 - F: 3 - V: 1)"},
                    TipCase{"ClassTwoLevelsDown", &TipModel::c, "A - B - C (C: 0 - F: 0 - V: 0)"},
                    TipCase{"ClassOneLevelDown", &TipModel::b, "A - B (C: 1 - F: 1 - V: 0)"},
                    TipCase{"ClassWithoutDerived", &TipModel::lone,
                            "void - Lone (C: 0 - F: 0 - V: 0)"},
                    TipCase{"MemberFunction", &TipModel::draw, ""},
                    TipCase{"MemberVariable", &TipModel::count, ""}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Examples, ListTip,
    testing::Values(TipCase{"FunctionWithClass", &TipModel::draw, "void CView::Draw(CDC* pDC);"},
                    TipCase{"FunctionOfDerivedClass", &TipModel::g, "void B::g(int);"},
                    TipCase{"Variable", &TipModel::count, "int m_nCount;"},
                    TipCase{"Class", &TipModel::view, ""}),
    CaseName);

TEST(TreeTip, RootCountsEveryClass) {
    TipModel model;
    EXPECT_EQ(TreeItemTipText(&model.root), "Anzahl Klassen: 5");
    CClassRoot empty;
    EXPECT_EQ(TreeItemTipText(&empty), "Anzahl Klassen: 0");
}

TEST(TreeTip, NoNodeOrNoParentGivesNoTip) {
    EXPECT_EQ(TreeItemTipText(nullptr), "");
    CClassNode orphan;
    orphan.SetName("Orphan");
    EXPECT_EQ(TreeItemTipText(&orphan), "");
}

TEST(ListTip, FunctionWithoutClassHasNoQualifier) {
    CClassNode free;
    free.SetKind(KindFunction);
    free.SetName("Run");
    free.SetTypeText("int");
    free.SetParameters("char* p");
    EXPECT_EQ(MemberItemTipText(&free), "int Run(char* p);");
    EXPECT_EQ(MemberItemTipText(nullptr), "");
}

TEST(ListTip, LongDeclarationIsCutToTheBuffer) {
    TipModel model;
    model.draw->SetParameters(std::string(3000, 'x'));
    const std::string tip = MemberItemTipText(model.draw);
    EXPECT_EQ(tip.size(), kInfoTipCapacity - 1);
    EXPECT_EQ(tip.substr(0, 16), "void CView::Draw");
}

struct CutCase {
    const char* name;
    const char* text;
    std::size_t capacity;
    const char* expected;
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << '\'' << c.text << "' in " << c.capacity;
}

std::string CutName(const testing::TestParamInfo<CutCase>& info) {
    return info.param.name;
}

class CutTip : public testing::TestWithParam<CutCase> {};

TEST_P(CutTip, KeepsWholeCharacters) {
    EXPECT_EQ(CutToTipCapacity(GetParam().text, GetParam().capacity), GetParam().expected);
}

// "ü" is two bytes; the capacity counts the terminating zero.
INSTANTIATE_TEST_SUITE_P(Cases, CutTip,
                         testing::Values(CutCase{"Fits", "abc", 4, "abc"},
                                         CutCase{"OneTooLong", "abcd", 4, "abc"},
                                         CutCase{"NoRoom", "abc", 0, ""},
                                         CutCase{"OnlyTerminator", "abc", 1, ""},
                                         CutCase{"BeforeUmlaut", "ab\xC3\xBC", 4, "ab"},
                                         CutCase{"AfterUmlaut",
                                                 "a\xC3\xBC"
                                                 "b",
                                                 4, "a\xC3\xBC"}),
                         CutName);

} // namespace
