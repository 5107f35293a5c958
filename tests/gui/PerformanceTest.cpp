#include "GuiTestSupport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <vector>

// Measures, reports and does not judge: the figures go into the README.
namespace {

constexpr int kClasses = 20000;

// 20,000 classes, each derived from an earlier one (eight derived classes per
// base, some hundred hierarchies), each with six functions and three variables.
std::unique_ptr<CClassRoot> LargeStructure(std::vector<CClassNode*>& classes) {
    auto root = std::make_unique<CClassRoot>();
    int id = 0;
    for (int i = 0; i < kClasses; ++i) {
        CClassNode* parent = i % 200 == 0 ? root.get() : classes[static_cast<size_t>((i - 1) / 8)];
        CClassNode* cls =
            CSampleModel::Add(parent, "C" + std::to_string((i * 7919) % kClasses) + "Wnd",
                              KindClass, id++, i, "/inc/h" + std::to_string(i % 97) + ".h");
        classes.push_back(cls);
        for (int f = 0; f < 6; ++f) {
            CSampleModel::Add(cls, "Func" + std::to_string(f), KindFunction, id++, i + f, "");
        }
        for (int v = 0; v < 3; ++v) {
            CSampleModel::Add(cls, "m_n" + std::to_string(v), KindVariable, id++, i + v, "");
        }
    }
    return root;
}

// The peer: the straightforward way, every item added to the visible widget
// at once and sorted by the widget's own sort.
class CDirectTreeControl : public ITreeControl {
public:
    explicit CDirectTreeControl(QTreeWidget& tree) : m_tree(tree) {}
    TreeItemHandle InsertItem(const std::string& text, TreeItemHandle parent) override {
        auto* item = new QTreeWidgetItem(QStringList(QString::fromStdString(text)));
        if (parent != 0) {
            CVorlixView::ItemOf(parent)->addChild(item);
        } else {
            m_tree.addTopLevelItem(item);
        }
        return CVorlixView::HandleOf(item);
    }
    void SortChildren(TreeItemHandle item) override {
        CVorlixView::ItemOf(item)->sortChildren(0, Qt::AscendingOrder);
    }
    void Expand(TreeItemHandle, int) override {}

private:
    QTreeWidget& m_tree;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Milliseconds(QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

TEST_F(CAppTest, PerformanceOfALargeStructure) {
    std::vector<CClassNode*> classes;
    std::unique_ptr<CClassRoot> root = LargeStructure(classes);

    QElapsedTimer timer;
    timer.start();
    CVorlixDoc* doc = app->OpenStructure(std::move(root), true);
    const double open = Milliseconds(timer);
    ASSERT_NE(doc, nullptr);

    std::vector<double> fills;
    for (int run = 0; run < 5; ++run) {
        timer.start();
        doc->RebuildTree();
        fills.push_back(Milliseconds(timer));
    }
    std::vector<double> peerFills;
    QTreeWidget peer;
    peer.setUniformRowHeights(true);
    peer.resize(Tree(doc).size());
    peer.show();
    CDirectTreeControl direct(peer);
    for (int run = 0; run < 5; ++run) {
        timer.start();
        peer.clear();
        doc->m_pRoot->InsertIntoTree(&direct, 0);
        peerFills.push_back(Milliseconds(timer));
    }
    doc->RebuildTree();

    std::vector<double> flatFills;
    for (int run = 0; run < 3; ++run) {
        timer.start();
        Command(ID_SHOW_LIST).trigger();
        flatFills.push_back(Milliseconds(timer));
        Command(ID_SHOW_HIERARCHY).trigger();
    }

    // Classes spread over the whole structure, the last ones deepest in the walk.
    std::vector<double> selections;
    for (int i = 0; i < 50; ++i) {
        CClassNode* target = classes[static_cast<size_t>(kClasses - 1 - i * 397)];
        timer.start();
        Tree(doc).SelectNode(target);
        selections.push_back(Milliseconds(timer));
        EXPECT_EQ(doc->m_pShown, target);
    }
    // The peer of the selection's lookup: the model's own walk from the root.
    std::vector<double> lookups;
    for (int i = 0; i < 50; ++i) {
        CClassNode* target = classes[static_cast<size_t>(kClasses - 1 - i * 397)];
        timer.start();
        CClassNode* found = doc->m_pRoot->FindByTreeItem(target->GetTreeItem());
        lookups.push_back(Milliseconds(timer));
        EXPECT_EQ(found, target);
    }
    timer.start();
    Command(ID_EXPAND_ALL).trigger();
    const double expand = Milliseconds(timer);
    timer.start();
    Command(ID_COLLAPSE_ALL).trigger();
    const double collapse = Milliseconds(timer);

    std::printf("[ MEASURED ] %d classes, %d nodes\n", kClasses,
                doc->m_pRoot->CountAllDescendants());
    std::printf("[ MEASURED ] open (window and first fill): %.1f ms\n", open);
    std::printf("[ MEASURED ] fill, hierarchy: median %.1f ms of 5\n", Median(fills));
    std::printf("[ MEASURED ] peer fill, items straight into the widget: median %.1f ms of 5 "
                "(ratio %.2f)\n",
                Median(peerFills), Median(fills) / Median(peerFills));
    std::printf("[ MEASURED ] fill, flat list: median %.1f ms of 3\n", Median(flatFills));
    std::printf("[ MEASURED ] selection with details and member lists: median %.2f ms, "
                "worst %.2f ms of 50\n",
                Median(selections), *std::max_element(selections.begin(), selections.end()));
    std::printf("[ MEASURED ] peer: item to node by FindByTreeItem alone: median %.2f ms\n",
                Median(lookups));
    std::printf("[ MEASURED ] expand all: %.1f ms, collapse all: %.1f ms\n", expand, collapse);
    RecordProperty("fill_ms", static_cast<int>(Median(fills)));
    RecordProperty("selection_us", static_cast<int>(Median(selections) * 1000));
}

} // namespace

namespace {

// The real program on a real tree: New on /usr/include, then selections.
// Slow under the sanitizers, so it runs on request (VORLIX_MEASURE=1).
TEST_F(CAppTest, PerformanceOfUsrInclude) {
    if (qgetenv("VORLIX_MEASURE").isEmpty() || !QFileInfo::exists(QStringLiteral("/usr/include"))) {
        GTEST_SKIP() << "set VORLIX_MEASURE=1 to measure";
    }
    ui.folderAnswers = {std::string("/usr/include"), std::nullopt};
    QElapsedTimer timer;
    timer.start();
    Command(ID_FILE_NEW).trigger();
    const double newCommand = Milliseconds(timer);
    CVorlixDoc* doc = app->ActiveDocument();
    ASSERT_NE(doc, nullptr);

    std::vector<double> fills;
    for (int run = 0; run < 5; ++run) {
        timer.start();
        doc->RebuildTree();
        fills.push_back(Milliseconds(timer));
    }
    std::vector<std::string> names;
    doc->CollectClassNames(names);
    std::vector<double> selections;
    for (size_t i = 0; i < names.size(); i += names.size() / 50 + 1) {
        CClassNode* target = doc->m_pRoot->FindByName(names[i], KindClass);
        timer.start();
        Tree(doc).SelectNode(target);
        selections.push_back(Milliseconds(timer));
    }
    std::printf("[ MEASURED ] /usr/include: %d classes, %d nodes\n",
                doc->m_pRoot->CountDescendants(KindClass), doc->m_pRoot->CountAllDescendants());
    std::printf("[ MEASURED ] New (scan, ordering, window, fill): %.1f ms\n", newCommand);
    std::printf("[ MEASURED ] fill, hierarchy: median %.1f ms of 5\n", Median(fills));
    std::printf("[ MEASURED ] selection: median %.2f ms, worst %.2f ms of %zu\n",
                Median(selections), *std::max_element(selections.begin(), selections.end()),
                selections.size());
}

} // namespace
