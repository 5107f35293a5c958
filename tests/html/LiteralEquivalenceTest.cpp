// The export against the plain, quadratic version of the same pages on
// generated structures: deep and flat ones, repeated IDs, unknown kinds,
// members with children, names that need escaping or conversion.

#include "HtmlTestSupport.h"
#include "LiteralHtmlExport.h"

#include <random>

namespace {

struct Shape {
    const char* name;
    int nodes;
    int parentWindow;      // a new node hangs under one of the last N nodes (small: deep)
    int repeatedIdPercent; // share of nodes that take an ID already used
    bool oddKinds;         // unknown kinds and members with children
};

const char* const kNames[] = {
    "A",   "CShape",    "m_n",  "x<y>",     "CZ\xC3\xA4hler", "Euro\xE2\x82\xAC",
    "op&", "Latin\xFC", "a\nb", "operator<"};

std::unique_ptr<CClassRoot> Generate(const Shape& shape, unsigned seed,
                                     std::vector<CClassNode*>& nodes) {
    std::mt19937 random(seed);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto root = std::make_unique<CClassRoot>();
    nodes = {root.get()};
    std::vector<CClassNode*> classes{root.get()};
    for (int i = 0; i < shape.nodes; ++i) {
        auto* node = new CClassNode;
        const int roll = below(100);
        int kind = roll < 55 ? KindClass : roll < 80 ? KindFunction : KindVariable;
        if (shape.oddKinds && below(20) == 0) {
            kind = below(2) == 0 ? 9 : KindRoot;
        }
        node->SetKind(kind);
        node->SetId(shape.repeatedIdPercent > below(100) ? below(i + 1) : i);
        node->SetName(std::string(kNames[below(std::size(kNames))]) + std::to_string(i));
        node->SetTypeText(below(2) == 0 ? "int" : "const char*");
        node->SetParameters(below(2) == 0 ? "" : "int a,map<K,V>&m");
        node->SetHeaderFile("/inc/h" + std::to_string(below(5)) + ".h");
        node->SetLine(below(400) - 1);
        node->SetDescription(below(3) == 0 ? "Beschreibung <" + std::to_string(i) + ">"
                                           : "Klasse unbekannt");
        const std::vector<CClassNode*>& pool = shape.oddKinds && below(10) == 0 ? nodes : classes;
        const int window = std::min(shape.parentWindow, static_cast<int>(pool.size()));
        pool[pool.size() - 1 - static_cast<size_t>(below(window))]->AddChild(node);
        nodes.push_back(node);
        if (kind == KindClass) {
            classes.push_back(node);
        }
    }
    return root;
}

void ExpectSameFiles(const std::string& expected, const std::string& actual) {
    const std::vector<std::string> names = FileNames(expected);
    ASSERT_EQ(names, FileNames(actual));
    for (const std::string& name : names) {
        EXPECT_EQ(ReadFile(expected + "/" + name), ReadFile(actual + "/" + name)) << name;
    }
}

class LiteralEquivalence : public testing::TestWithParam<Shape> {};

// The whole export, then every single page (also those a later node with the
// same file name overwrites), then the tree under any parent with and
// without indent.
TEST_P(LiteralEquivalence, SameBytesAsTheLiteralExport) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::vector<CClassNode*> nodes;
        const auto root = Generate(GetParam(), seed, nodes);
        CTempDir literal;
        CTempDir fast;
        ASSERT_TRUE(literal_export::ExportIndexPage(*root, literal.Path()));
        ASSERT_TRUE(root->ExportIndexPage(fast.Path()));
        ExpectSameFiles(literal.Path(), fast.Path());
        for (CClassNode* node : nodes) {
            CTempDir one;
            CTempDir other;
            ASSERT_TRUE(literal_export::ExportPage(*node, one.Path()));
            ASSERT_TRUE(node->ExportPage(other.Path()));
            ExpectSameFiles(one.Path(), other.Path());
            CClassNode* parent = nodes[(node->GetId() * 7u + seed) % nodes.size()];
            CHtmlFile literalTree;
            CHtmlFile fastTree;
            ASSERT_TRUE(literalTree.BeginPage(one.Path() + "/tree.html", "", ""));
            ASSERT_TRUE(fastTree.BeginPage(other.Path() + "/tree.html", "", ""));
            literal_export::WriteHtmlTree(*node, &literalTree, parent, seed % 2 == 0);
            node->WriteHtmlTree(&fastTree, parent, seed % 2 == 0);
            ASSERT_TRUE(literalTree.EndPage() && fastTree.EndPage());
            EXPECT_EQ(ReadFile(one.Path() + "/tree.html"), ReadFile(other.Path() + "/tree.html"))
                << node->GetName() << " under " << parent->GetName();
        }
    }
}

const Shape kShapes[] = {
    {"Flat", 80, 1000, 0, false},      {"Deep", 80, 2, 0, false},
    {"Bushy", 120, 8, 0, false},       {"RepeatedIds", 100, 6, 30, false},
    {"MostlyOneId", 60, 4, 90, false}, {"OddKindsAndMemberChildren", 100, 5, 10, true},
};

INSTANTIATE_TEST_SUITE_P(HtmlExport, LiteralEquivalence, testing::ValuesIn(kShapes),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
