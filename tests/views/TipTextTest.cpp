#include "model/TipText.h"

#include "Nodes.h"

#include <gtest/gtest.h>

namespace {

TEST(TipText, TreeAndListTipsReadAsGiven) {
    // root -> A (f1, f2, f3, v1) -> B (g) -> C;  root -> CView (Draw, m_nCount)
    CClassRoot root;
    CClassNode* a = AddNode(&root, "A", KindClass);
    CClassNode* b = AddNode(a, "B", KindClass);
    CClassNode* c = AddNode(b, "C", KindClass);
    CClassNode* view = AddNode(&root, "CView", KindClass);
    CClassNode* draw = AddNode(view, "Draw", KindFunction, 0, "void", "CDC* pDC");
    CClassNode* count = AddNode(view, "m_nCount", KindVariable, 0, "int");
    CClassNode* g = AddNode(b, "g", KindFunction, 0, "void", "int");
    AddNode(a, "f1", KindFunction, 0, "void", "void");
    AddNode(a, "f2", KindFunction, 0, "int", "int n");
    AddNode(a, "f3", KindFunction, 0, "void", "void");
    AddNode(a, "v1", KindVariable, 0, "int");
    // The functions of B are B's own and do not count for A.
    const std::pair<const CClassNode*, const char*> treeTips[] = {
        {&root, "Anzahl Klassen: 4"},
        {a, "void - A (C: 2 - F: 3 - V: 1)"},
        {b, "A - B (C: 1 - F: 1 - V: 0)"},
        {c, "A - B - C (C: 0 - F: 0 - V: 0)"},
        {view, "void - CView (C: 0 - F: 1 - V: 1)"},
        {count, ""},
        {nullptr, ""}};
    for (const auto& [node, tip] : treeTips) {
        EXPECT_EQ(TreeItemTipText(node), tip) << (node ? node->GetName() : "none");
    }
    const std::pair<const CClassNode*, const char*> listTips[] = {
        {draw, "void CView::Draw(CDC* pDC);"},
        {g, "void B::g(int);"},
        {count, "int m_nCount;"},
        {view, ""},
        {nullptr, ""}};
    for (const auto& [node, tip] : listTips) {
        EXPECT_EQ(MemberItemTipText(node), tip) << (node ? node->GetName() : "none");
    }
    CClassNode free; // no class: no qualifier; no parent: no tree tip
    free.SetKind(KindFunction);
    free.SetName("Run");
    free.SetTypeText("int");
    free.SetParameters("char* p");
    EXPECT_EQ(MemberItemTipText(&free), "int Run(char* p);");
    free.SetKind(KindClass);
    EXPECT_EQ(TreeItemTipText(&free), "");
    // A long declaration is cut to the tip's buffer.
    draw->SetParameters(std::string(3000, 'x'));
    EXPECT_EQ(MemberItemTipText(draw),
              ("void CView::Draw(" + std::string(3000, 'x')).substr(0, kInfoTipCapacity - 1));
}

TEST(TipText, CutKeepsWholeCharacters) {
    // "ü" is two bytes; the capacity counts the terminating zero.
    const std::tuple<const char*, std::size_t, const char*> cases[] = {
        {"abc", 4, "abc"},  {"abcd", 4, "abc"},      {"abc", 0, ""},
        {"abc", 1, ""},     {"ab\303\274", 4, "ab"}, {"a\303\274b", 4, "a\303\274"},
        {"\303\274", 2, ""}};
    for (const auto& [text, capacity, expected] : cases) {
        EXPECT_EQ(CutToTipCapacity(text, capacity), expected) << text << " in " << capacity;
    }
}

} // namespace
