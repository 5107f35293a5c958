// The export against the plain, quadratic version of the same pages on
// generated structures: deep and flat ones, repeated IDs, unknown kinds,
// members with children, names that need escaping or conversion.

#include "LiteralHtmlExport.h"
#include "TempDir.h"
#include "model/ClassRoot.h"
#include "platform/FileServices.h"

#include <gtest/gtest.h>
#include <random>

namespace {

struct Shape {
    const char* name;
    int nodes;
    int parentWindow;      // a new node hangs under one of the last N nodes (small: deep)
    int repeatedIdPercent; // share of nodes that take an ID already used
    bool oddKinds;         // unknown kinds and members with children
};

void PrintTo(const Shape& shape, std::ostream* os) {
    *os << shape.name;
}

const char* const kNames[] = {
    "A",   "CShape",    "m_n",  "x<y>",     "CZ\xC3\xA4hler", "Euro\xE2\x82\xAC",
    "op&", "Latin\xFC", "a\nb", "operator<"};

std::unique_ptr<CClassRoot> Generate(const Shape& shape, unsigned seed) {
    std::mt19937 random(seed);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto root = std::make_unique<CClassRoot>();
    std::vector<CClassNode*> nodes{root.get()};
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

void ExpectSameDirectories(const std::string& expected, const std::string& actual) {
    std::vector<DirEntry> expectedEntries;
    std::vector<DirEntry> actualEntries;
    ASSERT_TRUE(ListDirectory(expected, expectedEntries));
    ASSERT_TRUE(ListDirectory(actual, actualEntries));
    ASSERT_EQ(expectedEntries.size(), actualEntries.size());
    for (size_t i = 0; i < expectedEntries.size(); ++i) {
        ASSERT_EQ(expectedEntries[i].name, actualEntries[i].name);
        std::string want;
        std::string got;
        ASSERT_TRUE(ReadWholeFile(expectedEntries[i].path, want));
        ASSERT_TRUE(ReadWholeFile(actualEntries[i].path, got));
        EXPECT_EQ(want, got) << expectedEntries[i].name;
    }
}

void CollectNodes(CClassNode* node, std::vector<CClassNode*>& out) {
    out.push_back(node);
    for (int i = 0; i < node->GetChildCount(); ++i) {
        CollectNodes(node->GetChild(i), out);
    }
}

class LiteralEquivalence : public testing::TestWithParam<Shape> {};

TEST_P(LiteralEquivalence, WholeExportHasTheSameFiles) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const auto root = Generate(GetParam(), seed);
        CTempDir literal;
        CTempDir fast;
        ASSERT_TRUE(literal_export::ExportIndexPage(*root, literal.Path()));
        ASSERT_TRUE(root->ExportIndexPage(fast.Path()));
        ExpectSameDirectories(literal.Path(), fast.Path());
    }
}

// Every single page, also those that a later node with the same file name
// overwrites in the whole export.
TEST_P(LiteralEquivalence, EveryPageAlone) {
    const auto root = Generate(GetParam(), 11);
    std::vector<CClassNode*> nodes;
    CollectNodes(root.get(), nodes);
    for (CClassNode* node : nodes) {
        CTempDir literal;
        CTempDir fast;
        ASSERT_TRUE(literal_export::ExportPage(*node, literal.Path()));
        ASSERT_TRUE(node->ExportPage(fast.Path()));
        ExpectSameDirectories(literal.Path(), fast.Path());
    }
}

// The tree under any parent, on the path or off it, with and without indent.
TEST_P(LiteralEquivalence, NavigationTreeUnderAnyParent) {
    const auto root = Generate(GetParam(), 23);
    std::vector<CClassNode*> nodes;
    CollectNodes(root.get(), nodes);
    std::mt19937 random(5);
    CTempDir dir;
    for (int round = 0; round < 40; ++round) {
        CClassNode* current = nodes[random() % nodes.size()];
        CClassNode* parent = nodes[random() % nodes.size()];
        const bool indent = random() % 2 == 0;
        CHtmlFile literal;
        CHtmlFile fast;
        ASSERT_TRUE(literal.BeginPage(dir.Path() + "/literal.html", "", ""));
        ASSERT_TRUE(fast.BeginPage(dir.Path() + "/fast.html", "", ""));
        literal_export::WriteHtmlTree(*current, &literal, parent, indent);
        current->WriteHtmlTree(&fast, parent, indent);
        ASSERT_TRUE(literal.EndPage());
        ASSERT_TRUE(fast.EndPage());
        std::string want;
        std::string got;
        ASSERT_TRUE(ReadWholeFile(dir.Path() + "/literal.html", want));
        ASSERT_TRUE(ReadWholeFile(dir.Path() + "/fast.html", got));
        EXPECT_EQ(want, got) << current->GetName() << " under " << parent->GetName();
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
