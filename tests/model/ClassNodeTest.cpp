#include "model/ClassNode.h"

#include "RecordingTreeControl.h"
#include "TempDir.h"
#include "model/ClassRoot.h"
#include "model/LostDescriptions.h"

#include <filesystem>
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
    EXPECT_EQ(std::vector<int>({node.GetKind(), node.GetId(), node.GetLine(), node.GetChildCount(),
                                node.m_nParentId}),
              std::vector<int>({KindClass, 0, 0, 0, 0}));
    EXPECT_EQ(node.m_pParent, nullptr);
    EXPECT_EQ(
        Texts({node.m_strBaseName, node.GetHeaderFileName(), node.GetHeaderPath(),
               node.GetDescription(), node.GetName(), node.GetParameters(), node.GetTypeText()}),
        Texts({"", "", "Headerfile unbekannt", "Klasse unbekannt", "Name unbekannt",
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
    CClassRoot root;
    EXPECT_EQ(
        Texts({std::to_string(root.GetId()), std::to_string(root.GetKind()), root.GetName(),
               root.GetDescription(), root.m_strDatabase, root.m_strTable}),
        Texts({"-1", "0", "Unbekannt", "keine Beschreibung vorhanden", "Unbekannt", "Unbekannt"}));
    EXPECT_TRUE(root.m_bNeedsLocation);
}

TEST(ChildList, AddMoveRemoveAndOwnership) {
    CClassNode parent, other, stranger;
    parent.AddChild(nullptr);
    auto* child = new CClassNode;
    other.AddChild(child);
    parent.AddChild(child); // a move: added first, removed from the old list after
    other.RemoveChild(child, false);
    parent.RemoveChild(&stranger, true); // not in the list: nothing happens
    EXPECT_EQ(std::vector<CClassNode*>({child->m_pParent, parent.GetChild(0), parent.GetChild(-1),
                                        parent.GetChild(1), other.GetChild(0)}),
              std::vector<CClassNode*>({&parent, child, nullptr, nullptr, nullptr}));
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

// Items by their parent, in a vector: quick enough for a hundred thousand.
struct CCountingTree : ITreeControl {
    std::vector<TreeItemHandle> parents{0};
    int sorts = 0;
    int expands = 0;
    TreeItemHandle InsertItem(const std::string&, TreeItemHandle parent) override {
        parents.push_back(parent);
        return parents.size() - 1;
    }
    void SortChildren(TreeItemHandle) override { ++sorts; }
    void Expand(TreeItemHandle, int) override { ++expands; }
};

// A crafted table can describe a chain of classes each derived from the
// last; no walk over the structure may take a stack frame per level.
TEST(DeepChain, SearchesCountsAncestryTreeFillingAndExportCopeWithDepth) {
    constexpr int kDepth = 100000;
    auto root = std::make_unique<CClassRoot>();
    CClassNode* tip = root.get();
    for (int i = 0; i < kDepth; ++i) {
        tip->AddChild(MakeNode(i + 1 == kDepth ? "Tip" : "C", KindClass, i));
        tip = tip->GetChild(0);
    }
    CClassNode* f = MakeNode("f", KindFunction, kDepth);
    tip->AddChild(f);
    EXPECT_EQ(root->CountDescendants(KindClass), kDepth);
    EXPECT_EQ(root->CountAllDescendants(), kDepth + 1);
    EXPECT_EQ(root->FindByName("Tip", KindClass), tip);
    EXPECT_EQ(root->FindByIdAndKind(kDepth - 1, KindClass), tip);
    EXPECT_EQ(root->FindById(kDepth), f);
    EXPECT_EQ(f->GetAncestry().size(), 4u * (kDepth - 1) + 6); // "C - " ..., "Tip - "
    CCountingTree tree;
    root->InsertIntoTree(&tree, 0);
    EXPECT_EQ(root->FindByTreeItem(tip->GetTreeItem()), tip);
    EXPECT_EQ(tree.parents[tip->GetTreeItem()], tip->m_pParent->GetTreeItem());
    root->ExpandAll(&tree, kTreeExpand);
    root->GetChild(0)->FillTreeItem(&tree, 7);
    EXPECT_EQ(tree.parents[tip->GetTreeItem()], tip->m_pParent->GetTreeItem());
    root->InsertIntoTreeFlat(&tree, 0);
    EXPECT_EQ(tree.parents[tip->GetTreeItem()], root->GetTreeItem());
    // Sorted: each item once per hierarchy filling, the flat list once;
    // expanded: every item twice but the top one.
    EXPECT_EQ(std::vector<int>({tree.sorts, tree.expands}),
              std::vector<int>({2 * kDepth + 2, 2 * kDepth + 1}));
    // The tip's page opens the whole chain in its navigation tree.
    CTempDir dir;
    ASSERT_TRUE(tip->ExportPage(dir.Path()));
    EXPECT_GT(
        std::filesystem::file_size(dir.Path() + "/class_" + std::to_string(kDepth - 1) + ".html"),
        static_cast<std::uintmax_t>(kDepth) * 20);
    // A not-owning node deep down keeps its children alive.
    CClassNode kept;
    tip->RemoveChild(f, true);
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
    EXPECT_EQ(Texts({m.a->GetAncestry(), m.c->GetAncestry(), m.f->GetAncestry(),
                     CClassNode().GetAncestry()}),
              Texts({"", "A - B - ", "A - ", ""}));
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

// Descriptions an Update would drop: the old entry's text is held by no new
// entry of the same kind, class and name.
TEST(LostDescriptions, NamedByKindClassNameAndFirstLine) {
    SmallModel old; // A, B, C classes; f, v members of A
    old.a->SetDescription("Basis");
    old.c->SetDescription("Dritte\r\nzweite Zeile");
    old.f->SetDescription("Rechnet");
    old.v->SetDescription("Wert");
    old.b->SetDescription("");
    SmallModel renamed;
    renamed.a->SetDescription("Basis");
    renamed.c->SetName("C2");
    renamed.v->SetDescription("Wert");
    renamed.f->SetDescription("anders");
    const std::vector<CLostDescription> lost = FindLostDescriptions(old.root, renamed.root);
    EXPECT_EQ(LostDescriptionQuestion(lost),
              "Folgende Beschreibungen gehen bei der Aktualisierung verloren, weil ihre Einträge "
              "in den Header-Dateien nicht mehr gefunden wurden:\n\nKlasse C: Dritte\n"
              "Memberfunktion A::f: Rechnet\n\nDennoch aktualisieren?");
    EXPECT_TRUE(FindLostDescriptions(old.root, old.root).empty());
    const std::vector<CLostDescription> many(23, {KindVariable, "A", "v", "Wert"});
    const std::string lines = LostDescriptionLines(many, 20);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 21);
    EXPECT_TRUE(lines.ends_with("Membervariable A::v: Wert\nund 3 weitere\n"));
}

} // namespace
