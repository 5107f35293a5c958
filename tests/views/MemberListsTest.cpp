#include "model/ClassRoot.h"
#include "model/MemberList.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

// Records what a class puts into it, in insertion order.
class CRecordingMemberList : public IMemberList {
public:
    void DeleteAllItems() override { items.clear(); }
    void InsertItem(const std::string& text, CClassNode* node) override {
        items.emplace_back(text, node);
    }
    void EnableList(bool enable) override { enabled = enable; }
    void RedrawNow() override { ++redraws; }

    std::vector<std::pair<std::string, CClassNode*>> items;
    bool enabled = true;
    int redraws = 0;
};

CClassNode* AddNode(CClassNode* parent, const std::string& name, int kind) {
    auto* node = new CClassNode;
    node->SetName(name);
    node->SetKind(kind);
    parent->AddChild(node);
    return node;
}

TEST(FillMemberLists, FunctionsWithoutVariablesGetVariablePlaceholder) {
    CClassRoot root;
    CClassNode* cls = AddNode(&root, "A", KindClass);
    CClassNode* zeta = AddNode(cls, "zeta", KindFunction);
    AddNode(cls, "Derived", KindClass);
    CClassNode* alpha = AddNode(cls, "alpha", KindFunction);
    CClassNode* beta = AddNode(cls, "Beta", KindFunction);

    CRecordingMemberList functions;
    CRecordingMemberList variables;
    functions.items.emplace_back("stale", nullptr);
    variables.items.emplace_back("stale", nullptr);
    cls->FillMemberLists(&functions, &variables);

    using Items = std::vector<std::pair<std::string, CClassNode*>>;
    EXPECT_EQ(functions.items, (Items{{"zeta", zeta}, {"alpha", alpha}, {"Beta", beta}}));
    EXPECT_TRUE(functions.enabled);
    EXPECT_EQ(variables.items, (Items{{"Keine Variablen vorhanden", nullptr}}));
    EXPECT_FALSE(variables.enabled);
    EXPECT_EQ(functions.redraws, 1);
    EXPECT_EQ(variables.redraws, 1);
}

TEST(FillMemberLists, RootShowsBothPlaceholdersDisabled) {
    CClassRoot root;
    AddNode(&root, "A", KindClass);
    CRecordingMemberList functions;
    CRecordingMemberList variables;
    root.FillMemberLists(&functions, &variables);
    ASSERT_EQ(functions.items.size(), 1u);
    EXPECT_EQ(functions.items[0].first, "Keine Funktionen vorhanden");
    EXPECT_EQ(functions.items[0].second, nullptr);
    EXPECT_FALSE(functions.enabled);
    ASSERT_EQ(variables.items.size(), 1u);
    EXPECT_EQ(variables.items[0].first, "Keine Variablen vorhanden");
    EXPECT_FALSE(variables.enabled);
}

TEST(FillMemberLists, VariablesOnlyReenablesTheVariableList) {
    CClassRoot root;
    CClassNode* cls = AddNode(&root, "A", KindClass);
    CClassNode* v = AddNode(cls, "m_n", KindVariable);
    CRecordingMemberList functions;
    CRecordingMemberList variables;
    variables.enabled = false;
    cls->FillMemberLists(&functions, &variables);
    ASSERT_EQ(variables.items.size(), 1u);
    EXPECT_EQ(variables.items[0].second, v);
    EXPECT_TRUE(variables.enabled);
    EXPECT_FALSE(functions.enabled);
}

TEST(FillMemberLists, MissingListChangesNothing) {
    CClassRoot root;
    CClassNode* cls = AddNode(&root, "A", KindClass);
    AddNode(cls, "f", KindFunction);
    CRecordingMemberList functions;
    functions.items.emplace_back("kept", nullptr);
    cls->FillMemberLists(&functions, nullptr);
    ASSERT_EQ(functions.items.size(), 1u);
    EXPECT_EQ(functions.items[0].first, "kept");
    EXPECT_EQ(functions.redraws, 0);
}

} // namespace
