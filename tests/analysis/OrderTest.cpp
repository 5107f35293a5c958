#include "ParserTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace {

using Lines = std::vector<std::string>;

// The tree below a node, one line per node in pre-order: indentation, ID,
// kind letter, name and for placeholders their marks.
void DumpTree(const CClassNode& node, int depth, Lines& out) {
    for (int i = 0; i < node.GetChildCount(); ++i) {
        const CClassNode& child = *node.GetChild(i);
        std::string line(static_cast<size_t>(depth) * 2, ' ');
        line +=
            std::to_string(child.GetId()) + " " + "?CFV"[child.GetKind()] + " " + child.GetName();
        if (child.GetLine() == -1) {
            line += " [" + child.GetHeaderPath() + "]";
        }
        out.push_back(line);
        DumpTree(child, depth + 1, out);
    }
}

Lines Tree(const CClassNode& root) {
    Lines out;
    DumpTree(root, 0, out);
    return out;
}

// Linking as the steps are written: re-read the count, search the whole
// tree, move with RemoveChild. Only the root and the entry's own subtree are
// kept out of the search's results.
void ReferenceLinkToBases(CClassRoot& root, int nextId) {
    for (int i = 0; i < root.GetChildCount();) {
        CClassNode* entry = root.GetChild(i);
        if (entry->m_strBaseName.empty()) {
            ++i;
            continue;
        }
        CClassNode* base = nullptr;
        for (int c = 0; c < root.GetChildCount() && base == nullptr; ++c) {
            CClassNode* child = root.GetChild(c);
            if (child->GetKind() == KindClass) {
                base = child->FindByName(entry->m_strBaseName, KindClass);
            }
        }
        if (base == nullptr) {
            base = new CClassNode;
            base->SetId(nextId++);
            base->SetName(entry->m_strBaseName);
            base->SetDescription("");
            base->SetHeaderFile("Unbekannt");
            base->SetLine(-1);
            root.AddChild(base);
        }
        bool ownDescendant = false;
        for (const CClassNode* up = base; up != nullptr; up = up->m_pParent) {
            ownDescendant = ownDescendant || up == entry;
        }
        if (ownDescendant) {
            ++i;
            continue;
        }
        base->AddChild(entry);
        root.RemoveChild(entry, false);
    }
}

struct Entry {
    char kind; // 'C', 'F' or 'V'
    std::string name;
    std::string base;
};

void Fill(CClassRoot& root, const std::vector<Entry>& entries) {
    for (const Entry& e : entries) {
        auto* node = new CClassNode;
        node->SetKind(e.kind == 'C' ? KindClass : e.kind == 'F' ? KindFunction : KindVariable);
        node->SetName(e.name);
        node->m_strBaseName = e.base;
        node->SetLine(1);
        root.AddChild(node);
    }
}

struct Ordered {
    CScriptedUserInterface ui;
    CHeaderParser parser{ui};
    std::unique_ptr<CClassRoot> root = std::make_unique<CClassRoot>();

    explicit Ordered(const std::vector<Entry>& entries) {
        Fill(*root, entries);
        parser.m_pRoot = root.get();
        parser.OrderAndNumber();
    }
    ~Ordered() { parser.m_pRoot = nullptr; }
};

TEST(Ordering, BasesPlaceholdersAndIds) {
    const std::pair<std::vector<Entry>, Lines> cases[] = {
        {{{'C', "C", "B"}, {'C', "B", "A"}, {'C', "A", ""}}, {"2 C A", "  1 C B", "    0 C C"}},
        {{{'C', "CMyView", "CView"}, {'F', "OnDraw", "CMyView"}},
         {"2 C CView [Unbekannt]", "  0 C CMyView", "    1 F OnDraw"}},
        // Members are never bases.
        {{{'C', "X", ""}, {'F', "Run", "X"}, {'C', "Y", "Run"}},
         {"0 C X", "  1 F Run", "3 C Run [Unbekannt]", "  2 C Y"}},
        {{{'C', "A", "Base"}, {'C', "B", "Base"}, {'C', "C", "Other"}},
         {"3 C Base [Unbekannt]", "  0 C A", "  1 C B", "4 C Other [Unbekannt]", "  2 C C"}},
        {{{'C', "A", ""}, {'C', "B", "A"}, {'F', "f", "A"}, {'C', "C", "A"}},
         {"0 C A", "  1 C B", "  2 F f", "  3 C C"}},
        // The root is never taken for a base.
        {{{'C', "A", "Unbekannt"}}, {"1 C Unbekannt [Unbekannt]", "  0 C A"}},
        // Own bases and cycles stay in the tree.
        {{{'C', "A", "A"}, {'F', "f", "A"}}, {"0 C A", "  1 F f"}},
        {{{'C', "A", "B"}, {'C', "B", "A"}, {'C', "C", "B"}}, {"1 C B", "  0 C A", "  2 C C"}},
        {{{'C', "A", "C"}, {'C', "B", "A"}, {'C', "C", "B"}}, {"2 C C", "  0 C A", "    1 C B"}},
    };
    for (const auto& [entries, lines] : cases) {
        Ordered ordered(entries);
        EXPECT_EQ(Tree(*ordered.root), lines) << lines.front();
    }
    Ordered ordered({{'C', "CMyView", "CView"}});
    const CClassNode& placeholder = *ordered.root->GetChild(0);
    EXPECT_EQ(placeholder.GetLine(), -1);
    EXPECT_EQ(placeholder.GetDescription() + placeholder.m_strBaseName, "");
    EXPECT_EQ(ordered.parser.GetPlaceholderCount(), 1);
    EXPECT_EQ(ordered.ui.progressShown, 1);
    EXPECT_FALSE(ordered.ui.progressVisible);
    EXPECT_EQ(ordered.ui.progressTexts,
              (Lines{"Verteile Klassen-ID's ...", "Sortiere Einträge nach Abhängigkeiten ..."}));
}

TEST(Numbering, IdsAreListPositionsAndDescriptionsAreCleared) {
    CScriptedUserInterface ui;
    CHeaderParser parser(ui);
    EXPECT_EQ(parser.NumberEntries(), 0); // no root yet: nothing happens
    parser.LinkToBases(0);
    parser.OrderAndNumber();
    EXPECT_EQ(parser.m_pRoot, nullptr);
    CClassRoot root;
    Fill(root, {{'C', "A", ""}, {'V', "v", "A"}, {'C', "B", ""}});
    parser.m_pRoot = &root;
    EXPECT_EQ(parser.NumberEntries(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(root.GetChild(i)->GetId(), i);
        EXPECT_EQ(root.GetChild(i)->GetDescription(), "");
    }
    EXPECT_EQ(root.GetId(), -1);
    parser.m_pRoot = nullptr;
}

TEST(Ordering, ParsedHeadersEndToEnd) {
    ParsedHeaders parsed(
        "class CView : public CWnd\n{\npublic:\n  virtual void OnDraw(CDC* pDC);\n};\n"
        "class CMyView : public CView\n{\n  int m_n;\n};\n");
    parsed.parser.OrderAndNumber();
    EXPECT_EQ(Tree(*parsed.root), (Lines{"4 C CWnd [Unbekannt]", "  0 C CView", "    1 F OnDraw",
                                         "    2 C CMyView", "      3 V m_n"}));
}

// The one-pass linking gives the same tree as the steps as written, on
// random structures with unknown bases, cycles, members named like classes
// and bases named like the root.
TEST(Ordering, AgreesWithTheStepsAsWritten) {
    std::mt19937 random(20240601);
    for (int round = 0; round < 300; ++round) {
        const int classes = 1 + static_cast<int>(random() % 12);
        std::vector<std::string> names;
        for (int c = 0; c < classes; ++c) {
            names.push_back("K" + std::to_string(c));
        }
        std::vector<std::string> baseNames = names;
        baseNames.insert(baseNames.end(), {"", "", "Unknown1", "Unknown2", "Unbekannt", "m"});
        std::vector<Entry> entries;
        std::vector<int> order(static_cast<size_t>(classes));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random);
        for (const int c : order) {
            entries.push_back(
                {'C', names[static_cast<size_t>(c)], baseNames[random() % baseNames.size()]});
            for (int m = static_cast<int>(random() % 3); m > 0; --m) {
                entries.push_back({random() % 2 ? 'F' : 'V', "m", names[static_cast<size_t>(c)]});
            }
        }
        Ordered fast(entries);
        CClassRoot reference;
        Fill(reference, entries);
        CScriptedUserInterface ui;
        CHeaderParser parser(ui);
        parser.m_pRoot = &reference;
        ReferenceLinkToBases(reference, parser.NumberEntries());
        parser.m_pRoot = nullptr;
        ASSERT_EQ(Tree(*fast.root), Tree(reference)) << "round " << round;
    }
}

} // namespace
