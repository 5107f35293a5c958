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

TEST(FillMemberLists, MembersInOrderAndPlaceholdersDisabled) {
    CClassRoot root;
    CClassNode* cls = AddNode(&root, "A", KindClass);
    CClassNode* zeta = AddNode(cls, "zeta", KindFunction);
    AddNode(cls, "Derived", KindClass);
    CClassNode* alpha = AddNode(cls, "alpha", KindFunction);
    CRecordingMemberList functions, variables;
    cls->FillMemberLists(&functions, &variables);
    EXPECT_EQ(functions.items, (Items{{"zeta", zeta}, {"alpha", alpha}}));
    EXPECT_TRUE(functions.enabled);
    EXPECT_EQ(variables.items, (Items{{"Keine Variablen vorhanden", nullptr}}));
    EXPECT_FALSE(variables.enabled);
    EXPECT_EQ(functions.redraws + variables.redraws, 2);

    root.FillMemberLists(&functions, &variables);
    EXPECT_EQ(functions.items, (Items{{"Keine Funktionen vorhanden", nullptr}}));
    EXPECT_FALSE(functions.enabled);
    EXPECT_FALSE(variables.enabled);
    // Variables alone enable the variable list again.
    CClassNode* other = AddNode(&root, "B", KindClass);
    CClassNode* v = AddNode(other, "m_n", KindVariable);
    other->FillMemberLists(&functions, &variables);
    EXPECT_EQ(variables.items, (Items{{"m_n", v}}));
    EXPECT_TRUE(variables.enabled);
    EXPECT_FALSE(functions.enabled);
}

TEST(FillMemberLists, MissingListChangesNothing) {
    CClassRoot root;
    CClassNode* cls = AddNode(&root, "A", KindClass);
    AddNode(cls, "f", KindFunction);
    CRecordingMemberList functions;
    cls->FillMemberLists(&functions, nullptr);
    EXPECT_EQ(functions.items, (Items{{"stale", nullptr}}));
    EXPECT_EQ(functions.redraws, 0);
}

} // namespace
