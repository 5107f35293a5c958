#include "ParserTestSupport.h"

#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace {

// The tree below a node, one line per node in pre-order: indentation, ID,
// kind letter, name, for placeholders their header, and any description.
Lines Tree(const CClassNode& node, const std::string& indent = "") {
    Lines out;
    for (int i = 0; i < node.GetChildCount(); ++i) {
        const CClassNode& child = *node.GetChild(i);
        out.push_back(indent + std::to_string(child.GetId()) + " " + "?CFV"[child.GetKind()] + " " +
                      child.GetName() +
                      (child.GetLine() == -1 ? " [" + child.GetHeaderPath() + "]" : "") +
                      (child.GetDescription().empty() ? "" : " = " + child.GetDescription()));
        const Lines below = Tree(child, indent + "  ");
        out.insert(out.end(), below.begin(), below.end());
    }
    return out;
}

// Linking as the steps are written: re-read the count, search the whole
// tree, move with RemoveChild. Only the root and the entry's own subtree are
// kept out of the search's results.
void ReferenceLinkToBases(CClassRoot& root, int nextId) {
    for (int i = 0; i < root.GetChildCount(); ++i) {
        CClassNode* entry = root.GetChild(i);
        if (entry->m_strBaseName.empty()) {
            continue;
        }
        CClassNode* base = nullptr;
        for (int c = 0; c < root.GetChildCount() && base == nullptr; ++c) {
            if (root.GetChild(c)->GetKind() == KindClass) {
                base = root.GetChild(c)->FindByName(entry->m_strBaseName, KindClass);
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
        const CClassNode* up = base;
        while (up != nullptr && up != entry) {
            up = up->m_pParent;
        }
        if (up == nullptr) { // not below the entry itself
            base->AddChild(entry);
            root.RemoveChild(entry, false);
            --i;
        }
    }
}

// Root entries written "K Name:Base", K being C, F or V.
struct Ordered : ParsedHeaders {
    explicit Ordered(const Lines& entries, bool order = true) {
        for (const std::string& e : entries) {
            auto* node = new CClassNode;
            node->SetKind(e[0] == 'C' ? KindClass : e[0] == 'F' ? KindFunction : KindVariable);
            const size_t colon = std::min(e.find(':'), e.size());
            node->SetName(e.substr(2, colon - 2));
            node->m_strBaseName = e.substr(std::min(colon + 1, e.size()));
            node->SetLine(1);
            root->AddChild(node);
        }
        if (order) {
            parser.OrderAndNumber();
        }
    }
};

// (A placeholder for an unknown base with a member below: the scan's CSV.)
TEST(Ordering, BasesPlaceholdersAndIds) {
    const std::pair<Lines, Lines> cases[] = {
        {{"C C:B", "C B:A", "C A"}, {"2 C A", "  1 C B", "    0 C C"}},
        // Members are never bases.
        {{"C X", "F Run:X", "C Y:Run"}, {"0 C X", "  1 F Run", "3 C Run [Unbekannt]", "  2 C Y"}},
        {{"C A:Base", "C B:Base", "C C:Other"},
         {"3 C Base [Unbekannt]", "  0 C A", "  1 C B", "4 C Other [Unbekannt]", "  2 C C"}},
        // The root is never taken for a base.
        {{"C A:Unbekannt"}, {"1 C Unbekannt [Unbekannt]", "  0 C A"}},
        // Own bases and cycles stay in the tree.
        {{"C A:A", "F f:A"}, {"0 C A", "  1 F f"}},
        {{"C A:C", "C B:A", "C C:B"}, {"2 C C", "  0 C A", "    1 C B"}},
    };
    for (const auto& [entries, lines] : cases) {
        EXPECT_EQ(Tree(*Ordered(entries).root), lines) << lines.front();
    }
    // Numbering clears every description; the root keeps its ID.
    Ordered ordered({"C CMyView:CView"});
    EXPECT_EQ(ordered.root->GetChild(0)->m_strBaseName + std::to_string(ordered.root->GetId()),
              "-1");
    EXPECT_TRUE(ordered.ui.progressShown == 1 && !ordered.ui.progressVisible);
    EXPECT_EQ(ordered.ui.progressTexts,
              (Lines{"Verteile Klassen-ID's ...", "Sortiere Einträge nach Abhängigkeiten ..."}));

    CScriptedUserInterface ui; // without a root nothing happens
    CHeaderParser parser(ui);
    EXPECT_EQ(parser.NumberEntries(), 0);
    parser.LinkToBases(0);
    parser.OrderAndNumber();
    parser.CarryOver(ordered.root.get());
    EXPECT_EQ(parser.m_pRoot, nullptr);
}

// The one-pass linking gives the same tree as the steps as written, on
// random structures with unknown bases, cycles, members named like classes
// and bases named like the root.
TEST(Ordering, AgreesWithTheStepsAsWritten) {
    std::mt19937 random(20240601);
    const Lines otherBases = {"", "", "Unknown1", "Unknown2", "Unbekannt", "m"};
    for (int round = 0; round < 300; ++round) {
        const size_t classes = 1 + random() % 12;
        std::vector<size_t> order(classes);
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random);
        Lines entries;
        for (const size_t c : order) {
            const size_t base = random() % (classes + otherBases.size());
            entries.push_back(
                "C K" + std::to_string(c) + ":" +
                (base < classes ? "K" + std::to_string(base) : otherBases[base - classes]));
            for (int m = static_cast<int>(random() % 3); m > 0; --m) {
                entries.push_back((random() % 2 ? "F m:K" : "V m:K") + std::to_string(c));
            }
        }
        Ordered reference(entries, false);
        ReferenceLinkToBases(*reference.root, reference.parser.NumberEntries());
        ASSERT_EQ(Tree(*Ordered(entries).root), Tree(*reference.root)) << "round " << round;
    }
}

TEST(CarryOver, LocationNameAndDescriptionsByKindAndName) {
    // A structure as a document holds it after a first scan and some editing.
    ParsedHeaders old("class CBase\n{\n};\nclass CView : public CBase\n{\npublic:\n  CView();\n"
                      "  void Draw();\n  void Draw(int n);\n  int m_count;\n  int m_total;\n};\n");
    old.parser.OrderAndNumber();
    old.root->m_strDatabase = "/data/klassen.mdb";
    old.root->m_strTable = "Klassen";
    old.root->m_bNeedsLocation = false;
    old.root->SetName("/data/klassen.mdb (Klassen)");
    old.root->SetDescription("the whole structure");
    old.root->FindByName("CBase", KindClass)->SetDescription("base of all");
    CClassNode* view = old.root->FindByName("CView", KindClass);
    view->SetDescription("shows things");
    int member = 0;
    for (const char* text : {"makes a view", "draws", "draws n times", "how many", "all"}) {
        view->GetChild(member++)->SetDescription(text);
    }
    auto* twin = new CClassNode; // a later class of the same name gives nothing
    twin->SetAll(99, "CView", "not this one", "");
    old.root->AddChild(twin);
    // The re-scan finds CView under a new base, a new member, a variable
    // that became a function and one that stayed a variable.
    ParsedHeaders parsed("class CWnd\n{\n};\nclass CView : public CWnd\n{\npublic:\n  CView();\n"
                         "  void Draw(int n);\n  void Draw();\n  int m_count();\n  int m_new;\n  "
                         "int m_total;\n};\n");
    parsed.parser.OrderAndNumber();
    parsed.parser.CarryOver(old.root.get());
    const CClassRoot& root = *parsed.root;
    EXPECT_FALSE(root.m_bNeedsLocation);
    EXPECT_EQ(root.m_strDatabase + " " + root.m_strTable + " " + root.GetName() + " " +
                  root.GetDescription(),
              "/data/klassen.mdb Klassen /data/klassen.mdb (Klassen) the whole structure");
    // The constructor bears the class's name but takes its own description,
    // overloads all take the first old function of their name, kinds must
    // match.
    EXPECT_EQ(Tree(root),
              (Lines{"0 C CWnd", "  1 C CView = shows things", "    2 F CView = makes a view",
                     "    3 F Draw = draws", "    4 F Draw = draws", "    5 F m_count",
                     "    6 V m_new", "    7 V m_total = all"}));

    // The old root's name is no class's; without an old root nothing happens.
    old.root->SetName("Unbekannt");
    ParsedHeaders named("class Unbekannt\n{\n};\n");
    named.parser.OrderAndNumber();
    named.parser.CarryOver(old.root.get());
    named.parser.CarryOver(nullptr);
    EXPECT_EQ(Tree(*named.root), Lines{"0 C Unbekannt"});
    EXPECT_EQ(named.root->GetName() + " " + named.root->GetDescription(),
              "Unbekannt the whole structure");
}

} // namespace
