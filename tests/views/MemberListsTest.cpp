#include "Nodes.h"
#include "model/MemberList.h"

#include <gtest/gtest.h>
#include <tuple>
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
        EXPECT_EQ(std::tuple(functions.items, functions.enabled, functions.redraws),
                  std::tuple(test.functions, test.functions != noFunctions, 1));
        EXPECT_EQ(std::tuple(variables.items, variables.enabled, variables.redraws),
                  std::tuple(test.variables, test.variables != noVariables, 1));
        CRecordingMemberList alone;
        test.node->FillMemberLists(&alone, nullptr);
        test.node->FillMemberLists(nullptr, &alone);
        EXPECT_EQ(std::pair(alone.items, alone.redraws), std::pair(Items{{"stale", nullptr}}, 0));
    }
}

} // namespace
