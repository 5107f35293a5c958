#include "model/ClassNode.h"

#include "RecordingTreeControl.h"
#include "model/ClassRoot.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using Texts = std::vector<std::string>;

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
        for (CClassNode* child : {b, f, v}) {
            a->AddChild(child);
        }
        b->AddChild(c);
    }
};

// Each rule's worked examples; applying a rule twice changes nothing more.
TEST(SpacingRules, WorkedExamplesPerRule) {
    using Examples = std::vector<std::pair<const char*, const char*>>;
    // clang-format off
    const Examples name = {{"a==b", "a== b"}, {"operator==", "operator=="},
        {"operator+=", "operator+ ="}, {"operator->", "operator- >"},
        {"C:\\my-db\\x.mdb (Klassen)", "C:\\my- db\\x.mdb (Klassen)"}, {"", ""}, {"-", "-"}};
    const Examples type = {{"const char*", "const char*"}, {"char**", "char* *"},
        {"CMap<int,int>", "CMap<int, int>"}, {"a==b", "a= = b"}};
    const Examples parameters = {{"int a=0,char*p", "int a = 0, char* p"}, {"x=y", "x = y"},
        {"int a==b", "int a = = b"}, {"=", "="}, {"a=", "a ="}};
    // clang-format on
    using Setter = void (CClassNode::*)(const std::string&);
    using Getter = const std::string& (CClassNode::*)() const;
    const std::tuple<Setter, Getter, const Examples&> rules[] = {
        {&CClassNode::SetName, &CClassNode::GetName, name},
        {&CClassNode::SetTypeText, &CClassNode::GetTypeText, type},
        {&CClassNode::SetParameters, &CClassNode::GetParameters, parameters}};
    for (const auto& [set, get, examples] : rules) {
        for (const auto& [input, expected] : examples) {
            CClassNode node;
            (node.*set)(input);
            EXPECT_EQ((node.*get)(), expected) << input;
            (node.*set)(std::string((node.*get)()));
            EXPECT_EQ((node.*get)(), expected) << input;
        }
    }
}

TEST(ClassNode, DefaultsHeaderFileNameAndSetAll) {
    CClassNode node;
    EXPECT_EQ(node.GetKind(), KindClass);
    EXPECT_EQ(node.GetId() + node.GetLine() + node.GetChildCount(), 0);
    EXPECT_EQ(node.m_pParent, nullptr);
    EXPECT_EQ(node.m_strBaseName + node.GetHeaderFileName(), "");
    EXPECT_EQ(Texts({node.GetHeaderPath(), node.GetDescription(), node.GetName(),
                     node.GetParameters(), node.GetTypeText()}),
              Texts({"Headerfile unbekannt", "Klasse unbekannt", "Name unbekannt",
                     "keine Parameter", "kein Rückgabewert"}));
    const std::pair<const char*, const char*> files[] = {
        {"C:\\inc\\foo.h", "foo.h"}, {"D:foo.h", "foo.h"},        {"foo.h", "foo.h"},
        {"C:\\inc\\", ""},           {"/usr/include/a.h", "a.h"}, {"inc/sub\\b.h", "b.h"},
    };
    for (const auto& [path, file] : files) {
        node.SetHeaderFile(path);
        EXPECT_EQ(node.GetHeaderPath(), path);
        EXPECT_EQ(node.GetHeaderFileName(), file) << path;
    }
    // SetAll skips the spacing rule and keeps the old file name.
    node.SetAll(7, "a==b", "text", "new/path.h");
    EXPECT_EQ(Texts({std::to_string(node.GetId()), node.GetName(), node.GetDescription(),
                     node.GetHeaderPath(), node.GetHeaderFileName()}),
              Texts({"7", "a==b", "text", "new/path.h", "b.h"}));
}

TEST(ClassNode, AncestryListsClassesBelowRoot) {
    SmallModel m;
    EXPECT_EQ(m.a->GetAncestry(), "");
    EXPECT_EQ(m.c->GetAncestry(), "A - B - ");
    EXPECT_EQ(m.f->GetAncestry(), "A - ");
    EXPECT_EQ(CClassNode().GetAncestry(), "");
}

TEST(ChildList, AddMoveRemoveAndOwnership) {
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
    // Removing with delete takes the subtree along (the sanitizer sees leaks).
    keep->AddChild(new CClassNode);
    parent.AddChild(keep.release());
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

TEST(ChildList, DeepChainIsDestroyedWithoutRecursion) {
    auto root = std::make_unique<CClassRoot>();
    CClassNode* tip = root.get();
    for (int i = 0; i < 300000; ++i) {
        tip->AddChild(new CClassNode);
        tip = tip->GetChild(0);
    }
    // A not-owning node deep down keeps its children alive.
    CClassNode kept;
    tip->SetChildrenNotOwned(true);
    tip->AddChild(&kept);
    root.reset();
    EXPECT_EQ(kept.GetName(), "Name unbekannt");
}

TEST(SearchesAndCounts, SelfFirstThenChildrenAndChainsOfOneKind) {
    SmallModel m;
    EXPECT_EQ(
        std::vector<int>({m.root.CountDescendants(KindClass), m.root.CountAllDescendants(),
                          m.a->CountDescendants(KindClass), m.a->CountDescendants(KindFunction),
                          m.a->CountDescendants(KindVariable),
                          m.root.CountDescendants(KindFunction), m.a->CountChildren(KindClass)}),
        std::vector<int>({3, 5, 2, 1, 1, 0, 1}));
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

TEST(TreeFilling, HierarchyFlatExpandAndGivenItem) {
    SmallModel m;
    m.root.SetName("root");
    m.a->AddChild(MakeNode("Ab", KindClass, 6)); // derived classes sort by name
    CRecordingTreeControl flat;
    m.a->InsertIntoTreeFlat(&flat, 100);
    EXPECT_EQ(flat.ChildTexts(100), (Texts{"A", "B", "C", "Ab"}));
    EXPECT_EQ(flat.sortCalls, 0);
    EXPECT_EQ(m.f->GetTreeItem(), 0u);
    m.root.AddChild(MakeNode("Aa", KindClass, 9));
    m.root.InsertIntoTreeFlat(&flat, 0);
    ASSERT_EQ(flat.ChildTexts(0), (Texts{"root"}));
    EXPECT_EQ(flat.ChildTexts(m.root.GetTreeItem()), (Texts{"A", "Aa", "Ab", "B", "C"}));

    CRecordingTreeControl tree;
    m.root.InsertIntoTree(&tree, 0);
    EXPECT_EQ(tree.ChildTexts(m.root.GetTreeItem()), (Texts{"A", "Aa"}));
    EXPECT_EQ(tree.ChildTexts(m.a->GetTreeItem()), (Texts{"Ab", "B"}));
    EXPECT_EQ(tree.ChildTexts(m.b->GetTreeItem()), (Texts{"C"}));
    EXPECT_EQ(m.root.FindByTreeItem(m.c->GetTreeItem()), m.c);
    EXPECT_EQ(m.v->GetTreeItem(), 0u);
    m.root.ExpandAll(&tree, kTreeExpand);
    EXPECT_EQ(tree.expanded.size(), 6u); // root and the classes: members have no items
    m.root.CollapseAll(&tree);
    for (const auto& [item, code] : tree.expanded) {
        EXPECT_EQ(code, kTreeCollapse) << item;
    }
    const TreeItemHandle item = tree.InsertItem("given", 0);
    m.b->FillTreeItem(&tree, item);
    EXPECT_EQ(m.b->GetTreeItem(), item);
    EXPECT_EQ(tree.ChildTexts(item), (Texts{"C"}));
    m.a->InsertIntoTree(nullptr, 0); // ignored
}

TEST(ClassRoot, NewRootDefaults) {
    CClassRoot root;
    EXPECT_EQ(root.GetId(), -1);
    EXPECT_EQ(root.GetKind(), KindRoot);
    EXPECT_EQ(Texts({root.GetName(), root.GetDescription(), root.m_strDatabase, root.m_strTable}),
              Texts({"Unbekannt", "keine Beschreibung vorhanden", "Unbekannt", "Unbekannt"}));
    EXPECT_TRUE(root.m_bNeedsLocation);
    EXPECT_EQ(root.GetChildCount() + root.CountDescendants(KindClass), 0);
}

} // namespace
