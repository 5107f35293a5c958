#include "Nodes.h"
#include "model/MemberList.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

using Items = std::vector<std::pair<std::string, CClassNode*>>;

// Records what a class puts into it, in insertion order.
class CRecordingMemberList : public IMemberList {
public:
    void DeleteAllItems() override { items.clear(); }
    void InsertItem(const std::string& text, CClassNode* node) override {
        items.emplace_back(text, node);
    }
    void EnableList(bool enable) override { enabled = enable; }
    void RedrawNow() override { ++redraws; }

    Items items{{"stale", nullptr}};
    bool enabled = true;
    int redraws = 0;
};

// Members in the class's order, a placeholder in a list without any, and
// with a list missing nothing changes at all.
TEST(FillMemberLists, MembersInOrderAndPlaceholdersDisabled) {
    CClassRoot root;
    CClassNode* cls = AddNode(&root, "A", KindClass);
    CClassNode* zeta = AddNode(cls, "zeta", KindFunction);
    AddNode(cls, "Derived", KindClass);
    CClassNode* alpha = AddNode(cls, "alpha", KindFunction);
    CClassNode* other = AddNode(&root, "B", KindClass);
    CClassNode* v = AddNode(other, "m_n", KindVariable);
    const Items noFunctions{{"Keine Funktionen vorhanden", nullptr}};
    const Items noVariables{{"Keine Variablen vorhanden", nullptr}};
    const struct {
        CClassNode* node;
        Items functions, variables;
    } cases[] = {{cls, {{"zeta", zeta}, {"alpha", alpha}}, noVariables},
                 {&root, noFunctions, noVariables},
                 {other, noFunctions, {{"m_n", v}}}};
    for (const auto& test : cases) {
        CRecordingMemberList functions, variables;
        test.node->FillMemberLists(&functions, &variables);
        EXPECT_EQ(functions.items, test.functions) << test.node->GetName();
        EXPECT_EQ(variables.items, test.variables) << test.node->GetName();
        EXPECT_EQ(functions.enabled, test.functions != noFunctions);
        EXPECT_EQ(variables.enabled, test.variables != noVariables);
        EXPECT_EQ(functions.redraws + variables.redraws, 2);
        CRecordingMemberList alone;
        test.node->FillMemberLists(&alone, nullptr);
        test.node->FillMemberLists(nullptr, &alone);
        EXPECT_EQ(alone.items, (Items{{"stale", nullptr}}));
        EXPECT_EQ(alone.redraws, 0);
    }
}

} // namespace
