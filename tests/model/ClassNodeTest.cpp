#include "model/ClassNode.h"

#include "RecordingTreeControl.h"
#include "model/ClassRoot.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

CClassNode* MakeNode(const std::string& name, int kind, int id) {
    auto* node = new CClassNode;
    node->SetName(name);
    node->SetKind(kind);
    node->SetId(id);
    return node;
}

// root -> A; A -> B (class), f (function), v (variable); B -> C (class)
struct SmallModel {
    CClassRoot root;
    CClassNode* a = MakeNode("A", KindClass, 1);
    CClassNode* b = MakeNode("B", KindClass, 2);
    CClassNode* f = MakeNode("f", KindFunction, 3);
    CClassNode* v = MakeNode("v", KindVariable, 4);
    CClassNode* c = MakeNode("C", KindClass, 5);
    SmallModel() {
        root.AddChild(a);
        a->AddChild(b);
        a->AddChild(f);
        a->AddChild(v);
        b->AddChild(c);
    }
};

struct SpacingCase {
    const char* input;
    const char* expected;
};

void PrintTo(const SpacingCase& c, std::ostream* os) {
    *os << '\'' << c.input << "' -> '" << c.expected << '\'';
}

class NameRule : public testing::TestWithParam<SpacingCase> {};
class TypeRule : public testing::TestWithParam<SpacingCase> {};
class ParameterRule : public testing::TestWithParam<SpacingCase> {};

TEST_P(NameRule, InsertsBlanksAndIsStable) {
    CClassNode node;
    node.SetName(GetParam().input);
    EXPECT_EQ(node.GetName(), GetParam().expected);
    node.SetName(node.GetName());
    EXPECT_EQ(node.GetName(), GetParam().expected);
}

TEST_P(TypeRule, InsertsBlanksAndIsStable) {
    CClassNode node;
    node.SetTypeText(GetParam().input);
    EXPECT_EQ(node.GetTypeText(), GetParam().expected);
    node.SetTypeText(node.GetTypeText());
    EXPECT_EQ(node.GetTypeText(), GetParam().expected);
}

TEST_P(ParameterRule, InsertsBlanksAndIsStable) {
    CClassNode node;
    node.SetParameters(GetParam().input);
    EXPECT_EQ(node.GetParameters(), GetParam().expected);
    node.SetParameters(node.GetParameters());
    EXPECT_EQ(node.GetParameters(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Model, NameRule,
    testing::Values(SpacingCase{"a==b", "a== b"}, SpacingCase{"operator==", "operator=="},
                    SpacingCase{"operator+=", "operator+ ="},
                    SpacingCase{"operator->", "operator- >"},
                    SpacingCase{"C:\\my-db\\x.mdb (Klassen)", "C:\\my- db\\x.mdb (Klassen)"},
                    SpacingCase{"", ""}, SpacingCase{"-", "-"}));

INSTANTIATE_TEST_SUITE_P(Model, TypeRule,
                         testing::Values(SpacingCase{"const char*", "const char*"},
                                         SpacingCase{"char**", "char* *"},
                                         SpacingCase{"CMap<int,int>", "CMap<int, int>"},
                                         SpacingCase{"a==b", "a= = b"}));

INSTANTIATE_TEST_SUITE_P(Model, ParameterRule,
                         testing::Values(SpacingCase{"int a=0,char*p", "int a = 0, char* p"},
                                         SpacingCase{"x=y", "x = y"},
                                         SpacingCase{"int a==b", "int a = = b"},
                                         SpacingCase{"=", "="}, SpacingCase{"a=", "a ="}));

TEST(ClassNode, NewNodeHasDefaults) {
    CClassNode node;
    EXPECT_EQ(node.GetKind(), KindClass);
    EXPECT_EQ(node.GetId(), 0);
    EXPECT_EQ(node.GetLine(), 0);
    EXPECT_EQ(node.m_strBaseName, "");
    EXPECT_EQ(node.GetHeaderFileName(), "");
    EXPECT_EQ(node.GetHeaderPath(), "Headerfile unbekannt");
    EXPECT_EQ(node.GetDescription(), "Klasse unbekannt");
    EXPECT_EQ(node.GetName(), "Name unbekannt");
    EXPECT_EQ(node.GetParameters(), "keine Parameter");
    EXPECT_EQ(node.GetTypeText(), "kein R\xC3\xBC"
                                  "ckgabewert");
    EXPECT_EQ(node.m_pParent, nullptr);
    EXPECT_EQ(node.GetChildCount(), 0);
}

TEST(ClassNode, HeaderFileNameFollowsLastSeparator) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\inc\\foo.h", "foo.h"}, {"D:foo.h", "foo.h"},        {"foo.h", "foo.h"},
        {"C:\\inc\\", ""},           {"/usr/include/a.h", "a.h"}, {"inc/sub\\b.h", "b.h"},
    };
    for (const auto& [path, file] : cases) {
        CClassNode node;
        node.SetHeaderFile(path);
        EXPECT_EQ(node.GetHeaderPath(), path);
        EXPECT_EQ(node.GetHeaderFileName(), file) << path;
    }
}

TEST(ClassNode, SetAllSkipsSpacingAndFileName) {
    CClassNode node;
    node.SetHeaderFile("x/old.h");
    node.SetAll(7, "a==b", "text", "new/path.h");
    EXPECT_EQ(node.GetId(), 7);
    EXPECT_EQ(node.GetName(), "a==b");
    EXPECT_EQ(node.GetDescription(), "text");
    EXPECT_EQ(node.GetHeaderPath(), "new/path.h");
    EXPECT_EQ(node.GetHeaderFileName(), "old.h");
}

TEST(ClassNode, AncestryListsClassesBelowRoot) {
    SmallModel m;
    EXPECT_EQ(m.a->GetAncestry(), "");
    EXPECT_EQ(m.c->GetAncestry(), "A - B - ");
    EXPECT_EQ(m.f->GetAncestry(), "A - ");
    CClassNode loose;
    EXPECT_EQ(loose.GetAncestry(), "");
}

TEST(ChildList, AddGetRemove) {
    CClassNode parent;
    parent.AddChild(nullptr);
    EXPECT_EQ(parent.GetChildCount(), 0);

    CClassNode other;
    auto* child = new CClassNode;
    other.AddChild(child);
    parent.AddChild(child); // a move: added first, removed from the old list after
    EXPECT_EQ(child->m_pParent, &parent);
    other.RemoveChild(child, false);
    EXPECT_EQ(other.GetChildCount(), 0);
    EXPECT_EQ(parent.GetChild(0), child);
    EXPECT_EQ(parent.GetChild(-1), nullptr);
    EXPECT_EQ(parent.GetChild(1), nullptr);

    CClassNode stranger;
    parent.RemoveChild(&stranger, true); // not in the list: nothing happens
    EXPECT_EQ(parent.GetChildCount(), 1);

    parent.RemoveChild(child, false);
    EXPECT_EQ(parent.GetChildCount(), 0);
    std::unique_ptr<CClassNode> keep(child); // still alive, ours now
    EXPECT_EQ(keep->m_pParent, &parent);     // parent link left as it was
}

TEST(ChildList, RemoveWithDeleteAndNotOwnedClear) {
    CClassNode parent;
    auto* child = new CClassNode;
    child->AddChild(new CClassNode); // its subtree goes with it
    parent.AddChild(child);
    parent.RemoveChild(child, true);
    EXPECT_EQ(parent.GetChildCount(), 0);

    CClassNode holder;
    CClassNode kept;
    holder.SetChildrenNotOwned(true);
    EXPECT_TRUE(holder.GetChildrenNotOwned());
    holder.AddChild(&kept);
    holder.ClearChildren();
    EXPECT_EQ(holder.GetChildCount(), 0);
    EXPECT_EQ(kept.GetName(), "Name unbekannt"); // still alive
}

TEST(Counts, FollowChainsOfOneKind) {
    SmallModel m;
    EXPECT_EQ(m.root.CountDescendants(KindClass), 3);
    EXPECT_EQ(m.root.CountAllDescendants(), 5);
    EXPECT_EQ(m.a->CountDescendants(KindClass), 2);
    EXPECT_EQ(m.a->CountDescendants(KindFunction), 1);
    EXPECT_EQ(m.a->CountDescendants(KindVariable), 1);
    EXPECT_EQ(m.root.CountDescendants(KindFunction), 0);
    EXPECT_EQ(m.a->CountChildren(KindClass), 1);
}

TEST(Searches, TestSelfFirstThenChildren) {
    SmallModel m;
    EXPECT_EQ(m.root.FindByName("C", KindClass), m.c);
    EXPECT_EQ(m.root.FindByName("f", KindFunction), nullptr);
    EXPECT_EQ(m.a->FindChildByName("f", KindFunction), m.f);
    EXPECT_EQ(m.a->FindChildByName("f", KindVariable), nullptr);
    EXPECT_EQ(m.root.FindById(3), m.f);
    EXPECT_EQ(m.root.FindByIdAndKind(3, KindClass), nullptr);
    EXPECT_EQ(m.root.FindByIdAndKind(5, KindClass), m.c);
    EXPECT_EQ(m.root.FindByIdAndKind(-1, KindFunction), &m.root);
    EXPECT_EQ(m.a->FindChildById(2), m.b);
    EXPECT_EQ(m.a->FindChildById(5), nullptr); // grandchild
    EXPECT_EQ(m.a->FindChildByIdAndKind(4, KindVariable), m.v);
    // The node itself matches whatever kind was asked for.
    EXPECT_EQ(m.a->FindChildByName("A", KindVariable), m.a);
    EXPECT_EQ(m.a->FindChildByIdAndKind(1, KindFunction), m.a);
    m.c->SetTreeItem(42);
    EXPECT_EQ(m.root.FindByTreeItem(42), m.c);
    EXPECT_EQ(m.b->FindChildByTreeItem(42), m.c);
    EXPECT_EQ(m.a->FindChildByTreeItem(42), nullptr);
}

TEST(TreeFilling, HierarchyAndFlatPresentations) {
    SmallModel m;
    CRecordingTreeControl tree;
    m.a->InsertIntoTreeFlat(&tree, 100);
    EXPECT_EQ(tree.ChildTexts(100), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(tree.sortCalls, 0);
    EXPECT_EQ(m.f->GetTreeItem(), 0u);

    CRecordingTreeControl hier;
    m.a->InsertIntoTree(&hier, 100);
    ASSERT_EQ(hier.ChildTexts(100), (std::vector<std::string>{"A"}));
    EXPECT_EQ(hier.ChildTexts(m.a->GetTreeItem()), (std::vector<std::string>{"B"}));
    EXPECT_EQ(hier.ChildTexts(m.b->GetTreeItem()), (std::vector<std::string>{"C"}));
    EXPECT_EQ(m.root.FindByTreeItem(m.c->GetTreeItem()), m.c);
    EXPECT_EQ(m.v->GetTreeItem(), 0u);

    m.a->InsertIntoTree(nullptr, 0); // ignored
}

TEST(TreeFilling, DerivedClassesSortedByName) {
    CClassNode parent;
    parent.SetName("P");
    parent.AddChild(MakeNode("Zeta", KindClass, 1));
    parent.AddChild(MakeNode("Alpha", KindClass, 2));
    CRecordingTreeControl tree;
    parent.InsertIntoTree(&tree, 0);
    EXPECT_EQ(tree.ChildTexts(parent.GetTreeItem()), (std::vector<std::string>{"Alpha", "Zeta"}));
}

TEST(TreeFilling, FillTreeItemUsesGivenItem) {
    SmallModel m;
    CRecordingTreeControl tree;
    const TreeItemHandle item = tree.InsertItem("given", 0);
    m.a->FillTreeItem(&tree, item);
    EXPECT_EQ(m.a->GetTreeItem(), item);
    EXPECT_EQ(tree.ChildTexts(item), (std::vector<std::string>{"B"}));
}

TEST(TreeFilling, ExpandAllVisitsChildrenThenSelf) {
    SmallModel m;
    CRecordingTreeControl tree;
    m.root.InsertIntoTree(&tree, 0);
    m.root.ExpandAll(&tree, kTreeExpand);
    EXPECT_EQ(tree.expanded.size(), 4u); // root, A, B, C: members have no items
    m.root.CollapseAll(&tree);
    for (const auto& [item, code] : tree.expanded) {
        EXPECT_EQ(code, kTreeCollapse) << item;
    }
}

TEST(ClassRoot, NewRootDefaults) {
    CClassRoot root;
    EXPECT_EQ(root.GetId(), -1);
    EXPECT_EQ(root.GetKind(), KindRoot);
    EXPECT_EQ(root.GetName(), "Unbekannt");
    EXPECT_EQ(root.GetDescription(), "keine Beschreibung vorhanden");
    EXPECT_EQ(root.m_strDatabase, "Unbekannt");
    EXPECT_EQ(root.m_strTable, "Unbekannt");
    EXPECT_TRUE(root.m_bNeedsLocation);
    EXPECT_EQ(root.GetChildCount(), 0);
    EXPECT_EQ(root.CountDescendants(KindClass), 0);
}

TEST(ClassRoot, FlatFillingSortsAllClassesUnderRootItem) {
    SmallModel m;
    m.root.SetName("root");
    m.root.AddChild(MakeNode("Aa", KindClass, 9));
    CRecordingTreeControl tree;
    m.root.InsertIntoTreeFlat(&tree, 0);
    ASSERT_EQ(tree.ChildTexts(0), (std::vector<std::string>{"root"}));
    EXPECT_EQ(tree.ChildTexts(m.root.GetTreeItem()),
              (std::vector<std::string>{"A", "Aa", "B", "C"}));

    CRecordingTreeControl hier;
    m.root.InsertIntoTree(&hier, 0);
    EXPECT_EQ(hier.ChildTexts(m.root.GetTreeItem()), (std::vector<std::string>{"A", "Aa"}));
}

} // namespace

namespace {

TEST(ChildList, DeepChainIsDestroyedWithoutRecursion) {
    auto root = std::make_unique<CClassRoot>();
    CClassNode* tip = root.get();
    for (int i = 0; i < 300000; ++i) {
        auto* next = new CClassNode;
        tip->AddChild(next);
        tip = next;
    }
    // A not-owning node deep down keeps its children alive.
    CClassNode kept;
    tip->SetChildrenNotOwned(true);
    tip->AddChild(&kept);
    root.reset();
    EXPECT_EQ(kept.GetName(), "Name unbekannt");
}

} // namespace
