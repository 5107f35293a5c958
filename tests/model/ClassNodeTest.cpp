#include "RecordingTreeControl.h"
#include "TempDir.h"
#include "model/ClassRoot.h"
#include "model/LostDescriptions.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace {

using Texts = std::vector<std::string>;

CClassNode* AddNode(CClassNode* parent, const std::string& name, int kind, int id) {
    auto* node = new CClassNode;
    node->SetAll(id, name, "", "");
    node->SetKind(kind);
    parent->AddChild(node);
    return node;
}

struct SmallModel {
    CClassRoot root;
    CClassNode* a = AddNode(&root, "A", KindClass, 1);
    CClassNode* b = AddNode(a, "B", KindClass, 2);
    CClassNode* f = AddNode(a, "f", KindFunction, 3);
    CClassNode* v = AddNode(a, "v", KindVariable, 4);
    CClassNode* c = AddNode(b, "C", KindClass, 5);
};

// The rules as written: walk left to right, insert in place. 'N'ame: no blank
// inside "=="; 'T'ype: a blank after every mark; 'P'arameters: fewer marks,
// and a blank before "=" too.
std::string InPlace(std::string text, char rule) {
    const char* marks = rule == 'P' ? ",=&*" : ",=&*+-";
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '\0' && std::strchr(marks, text[i]) != nullptr && text[i + 1] != ' ' &&
            !(rule == 'N' && text[i] == '=' && text[i + 1] == '=')) {
            text.insert(i + 1, 1, ' ');
        }
        if (rule == 'P' && text[i] != ' ' && text[i + 1] == '=') {
            text.insert(i + 1, 1, ' ');
        }
    }
    return text;
}

std::string Spaced(const std::string& text, char rule) {
    CClassNode node;
    node.SetName(text), node.SetTypeText(text), node.SetParameters(text);
    return rule == 'N' ? node.GetName() : rule == 'T' ? node.GetTypeText() : node.GetParameters();
}

// Worked examples pin the reference (a path's "-": the load tests); applying
// a rule twice changes nothing more.
TEST(SpacingRules, WorkedExamplesAndOnePassAgreesWithInsertingInPlace) {
    // clang-format off
    const std::tuple<char, const char*, const char*> examples[] = {
        {'N', "a==b", "a== b"}, {'N', "operator+=", "operator+ ="}, {'N', "-", "-"},
        {'T', "char**", "char* *"}, {'T', "CMap<int,int>", "CMap<int, int>"},
        {'P', "int a=0,char*p", "int a = 0, char* p"}, {'P', "int a==b", "int a = = b"},
        {'P', "a=", "a ="}};
    // clang-format on
    for (const auto& [rule, input, expected] : examples) {
        EXPECT_EQ(InPlace(input, rule), expected);
        EXPECT_EQ(Spaced(input, rule), expected);
        EXPECT_EQ(Spaced(expected, rule), expected);
    }
    std::mt19937 random(1234);
    const std::string alphabet = " ,=&*+-ab=";
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 17); n > 0; --n) {
            text += alphabet[random() % alphabet.size()];
        }
        for (const char rule : {'N', 'T', 'P'}) {
            ASSERT_EQ(Spaced(text, rule), InPlace(text, rule)) << rule << " '" << text << "'";
        }
    }
}

// Most file names are pinned by the table loads.
TEST(ClassNode, HeaderFileNameAndSetAll) {
    CClassNode node;
    // clang-format off
    const std::pair<const char*, const char*> files[] = {
        {"C:\\inc\\foo.h", "foo.h"}, {"D:foo.h", "foo.h"}, {"C:\\inc\\", ""}, {"inc/sub\\b.h", "b.h"}};
    // clang-format on
    for (const auto& [path, file] : files) {
        node.SetHeaderFile(path);
        EXPECT_EQ(node.GetHeaderFileName(), file) << path;
    }
    // SetAll skips the spacing rule and keeps the old file name.
    node.SetAll(7, "a==b", "text", "new/path.h");
    EXPECT_EQ(Texts({std::to_string(node.GetId()), node.GetName(), node.GetDescription(),
                     node.GetHeaderPath(), node.GetHeaderFileName()}),
              Texts({"7", "a==b", "text", "new/path.h", "b.h"}));
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
    parent.RemoveChild(child, true); // the sanitizer sees leaks and double frees
    EXPECT_EQ(parent.GetChildCount(), 0);
}

// A crafted table can describe a chain of classes each derived from the
// last; no walk over the structure may take a stack frame per level.
TEST(DeepChain, SearchesCountsAncestryTreeFillingAndExportCopeWithDepth) {
    constexpr int kDepth = 100000;
    auto root = std::make_unique<CClassRoot>();
    CClassNode* tip = root.get();
    for (int i = 0; i < kDepth; ++i) {
        tip = AddNode(tip, i + 1 == kDepth ? "Tip" : "C", KindClass, i);
    }
    CClassNode* f = AddNode(tip, "f", KindFunction, kDepth);
    EXPECT_EQ(root->CountDescendants(KindClass), kDepth);
    EXPECT_EQ(root->CountAllDescendants(), kDepth + 1);
    EXPECT_EQ(std::vector<CClassNode*>({root->FindByName("Tip", KindClass), root->FindById(kDepth),
                                        root->FindByIdAndKind(kDepth - 1, KindClass)}),
              std::vector<CClassNode*>({tip, f, tip}));
    EXPECT_EQ(f->GetAncestry().size(), 4u * (kDepth - 1) + 6); // "C - " ..., "Tip - "
    CRecordingTreeControl tree;
    root->InsertIntoTree(&tree, 0);
    root->ExpandAll(&tree, kTreeExpand);
    root->GetChild(0)->FillTreeItem(&tree, 7);
    EXPECT_EQ(root->FindByTreeItem(tip->GetTreeItem()), tip);
    EXPECT_EQ(tree.children[tip->m_pParent->GetTreeItem()],
              std::vector<TreeItemHandle>{tip->GetTreeItem()});
    root->InsertIntoTreeFlat(&tree, 0);
    EXPECT_EQ(tree.children[root->GetTreeItem()].back(), tip->GetTreeItem()); // "Tip" sorts last
    // Sorted: each item once per hierarchy filling, the flat list once;
    // expanded: every item twice but the top one.
    EXPECT_EQ(std::vector<int>({tree.sortCalls, tree.expandCalls}),
              std::vector<int>({2 * kDepth + 2, 2 * kDepth + 1}));
    // The tip's page opens the whole chain in its navigation tree (the html tests check pages).
    CTempDir dir;
    ASSERT_TRUE(tip->ExportPage(dir.Path()));
    // A not-owning node deep down keeps its children alive.
    CClassNode kept;
    tip->RemoveChild(f, true);
    tip->SetChildrenNotOwned(true);
    tip->AddChild(&kept);
    root.reset();
    EXPECT_EQ(kept.GetName(), "Name unbekannt");
}

// The deep chain pins the recursive walks; here the kind filters, the
// child-only variants and that a node matches itself whatever kind is asked.
TEST(SmallModel, SearchesCountsAndTreeFilling) {
    SmallModel m;
    EXPECT_EQ(
        std::vector<int>({m.root.CountAllDescendants(), m.a->CountDescendants(KindClass),
                          m.a->CountDescendants(KindFunction), m.a->CountDescendants(KindVariable),
                          m.root.CountDescendants(KindFunction), m.a->CountChildren(KindClass)}),
        std::vector<int>({5, 2, 1, 1, 0, 1}));
    m.c->SetTreeItem(42);
    // clang-format off
    const std::pair<const CClassNode*, const CClassNode*> found[] = {
        {m.root.FindByName("f", KindFunction), nullptr}, {m.a->FindChildByName("f", KindFunction), m.f},
        {m.a->FindChildByName("f", KindVariable), nullptr}, {m.root.FindByIdAndKind(3, KindClass), nullptr},
        {m.root.FindByIdAndKind(-1, KindFunction), &m.root}, {m.a->FindChildById(2), m.b},
        {m.a->FindChildById(5), nullptr}, {m.a->FindChildByIdAndKind(4, KindVariable), m.v},
        {m.a->FindChildByName("A", KindVariable), m.a}, {m.a->FindChildByIdAndKind(1, KindFunction), m.a},
        {m.b->FindChildByTreeItem(42), m.c}, {m.a->FindChildByTreeItem(42), nullptr}};
    // clang-format on
    for (size_t i = 0; i < std::size(found); ++i) {
        EXPECT_EQ(found[i].first, found[i].second) << i;
    }
    EXPECT_EQ(Texts({m.a->GetAncestry(), m.c->GetAncestry(), m.f->GetAncestry()}),
              Texts({"", "A - B - ", "A - "}));

    m.root.SetName("root");
    AddNode(m.a, "Ab", KindClass, 6); // derived classes sort by name
    AddNode(&m.root, "Aa", KindClass, 9);
    CRecordingTreeControl flat;
    m.root.InsertIntoTreeFlat(&flat, 0);
    EXPECT_EQ(flat.sortCalls, 1);
    ASSERT_EQ(flat.ChildTexts(0), (Texts{"root"}));
    EXPECT_EQ(flat.ChildTexts(m.root.GetTreeItem()), (Texts{"A", "Aa", "Ab", "B", "C"}));

    CRecordingTreeControl tree;
    m.root.InsertIntoTree(&tree, 0);
    EXPECT_EQ(tree.ChildTexts(m.root.GetTreeItem()), (Texts{"A", "Aa"}));
    EXPECT_EQ(tree.ChildTexts(m.a->GetTreeItem()), (Texts{"Ab", "B"}));
    EXPECT_EQ(tree.ChildTexts(m.b->GetTreeItem()), (Texts{"C"}));
    m.root.ExpandAll(&tree, kTreeExpand);
    EXPECT_EQ(tree.expanded.size(), 6u); // root and the classes: members have no items
    m.root.CollapseAll(&tree);
    EXPECT_EQ(std::count_if(tree.expanded.begin(), tree.expanded.end(),
                            [](const auto& e) { return e.second == kTreeCollapse; }),
              6);
    m.a->InsertIntoTree(nullptr, 0); // ignored
}

// Lost: the old text is held by no new entry of the same kind, class and name.
TEST(LostDescriptions, NamedByKindClassNameAndFirstLine) {
    SmallModel old; // A, B, C classes; f, v members of A
    old.c->SetDescription("Dritte\r\nzweite Zeile");
    old.f->SetDescription("Rechnet");
    old.v->SetDescription("Wert");
    SmallModel renamed;
    renamed.c->SetName("C2");
    renamed.v->SetDescription("Wert");
    renamed.f->SetDescription("anders");
    EXPECT_EQ(LostDescriptionQuestion(FindLostDescriptions(old.root, renamed.root)),
              "Folgende Beschreibungen gehen bei der Aktualisierung verloren, weil ihre Einträge "
              "in den Header-Dateien nicht mehr gefunden wurden:\n\nKlasse C: Dritte\n"
              "Memberfunktion A::f: Rechnet\n\nDennoch aktualisieren?");
    const std::vector<CLostDescription> many(23, {KindVariable, "A", "v", "Wert"});
    const std::string lines = LostDescriptionLines(many, 20);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 21);
    EXPECT_TRUE(lines.ends_with("Membervariable A::v: Wert\nund 3 weitere\n"));
}

} // namespace
