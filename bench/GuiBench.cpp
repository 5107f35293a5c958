// The desktop program on a large structure: the tree's fill in both
// presentations, a selection with its details and member lists, expand and
// collapse all, each beside a peer measured in the same run. With a folder
// argument (e.g. /usr/include) it also measures New on that folder. Reports
// medians in milliseconds; it judges nothing.
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "app/VorlixApp.h"
#include "app/VorlixDoc.h"
#include "model/ClassRoot.h"
#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/MainFrame.h"
#include "views/VorlixView.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kClasses = 20000;

CClassNode* Add(CClassNode* parent, const std::string& name, int kind, int id, int line,
                const std::string& header) {
    auto* node = new CClassNode;
    node->SetName(name);
    node->SetKind(kind);
    node->SetId(id);
    node->SetLine(line);
    node->SetHeaderFile(header);
    node->SetDescription("");
    parent->AddChild(node);
    return node;
}

// 20,000 classes, each derived from an earlier one (eight derived classes per
// base, some hundred hierarchies), each with six functions and three variables.
std::unique_ptr<CClassRoot> LargeStructure(std::vector<CClassNode*>& classes) {
    auto root = std::make_unique<CClassRoot>();
    int id = 0;
    for (int i = 0; i < kClasses; ++i) {
        CClassNode* parent = i % 200 == 0 ? root.get() : classes[static_cast<size_t>((i - 1) / 8)];
        // Appended piece by piece: g++ 12 warns falsely on "C" + std::to_string(...).
        const std::string name =
            std::string("C").append(std::to_string((i * 7919) % kClasses)) + "Wnd";
        const std::string header = std::string("/inc/h").append(std::to_string(i % 97)) + ".h";
        CClassNode* cls = Add(parent, name, KindClass, id++, i, header);
        classes.push_back(cls);
        for (int f = 0; f < 6; ++f) {
            Add(cls, "Func" + std::to_string(f), KindFunction, id++, i + f, "");
        }
        for (int v = 0; v < 3; ++v) {
            Add(cls, "m_n" + std::to_string(v), KindVariable, id++, i + v, "");
        }
    }
    return root;
}

// The peer of the fill: every item added to the visible widget at once and
// sorted by the widget's own sort.
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

// Median and worst of `runs` timings of `step` in milliseconds.
std::pair<double, double> Time(int runs, const std::function<void(int)>& step) {
    std::vector<double> values;
    QElapsedTimer timer;
    for (int run = 0; run < runs; ++run) {
        timer.start();
        step(run);
        values.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}

void MeasureLargeStructure(CVorlixApp& app) {
    std::vector<CClassNode*> classes;
    CVorlixDoc* doc = nullptr;
    const auto open = Time(1, [&](int) { doc = app.OpenStructure(LargeStructure(classes), true); });
    CVorlixView& tree = *doc->GetFrame()->TreeView();
    CMainFrame& main = *app.GetMainFrame();
    const auto fill = Time(5, [&](int) { doc->RebuildTree(); });
    QTreeWidget peer;
    peer.setUniformRowHeights(true);
    peer.resize(tree.size());
    peer.show();
    CDirectTreeControl direct(peer);
    const auto peerFill = Time(5, [&](int) {
        peer.clear();
        doc->m_pRoot->InsertIntoTree(&direct, 0);
    });
    doc->RebuildTree();
    std::vector<double> flats; // the switch to the flat list alone
    for (int run = 0; run < 3; ++run) {
        flats.push_back(Time(1, [&](int) { main.Action(ID_SHOW_LIST)->trigger(); }).first);
        main.Action(ID_SHOW_HIERARCHY)->trigger();
    }
    std::sort(flats.begin(), flats.end());
    // Classes spread over the whole structure, the last ones deepest in the walk.
    auto target = [&](int i) { return classes[static_cast<size_t>(kClasses - 1 - i * 397)]; };
    const auto select = Time(50, [&](int i) { tree.SelectNode(target(i)); });
    const auto walk =
        Time(50, [&](int i) { doc->m_pRoot->FindByTreeItem(target(i)->GetTreeItem()); });
    const auto expand = Time(1, [&](int) { main.Action(ID_EXPAND_ALL)->trigger(); });
    const auto collapse = Time(1, [&](int) { main.Action(ID_COLLAPSE_ALL)->trigger(); });

    std::printf("%d classes, %d nodes\n", kClasses, doc->m_pRoot->CountAllDescendants());
    std::printf("open (window and first fill): %.1f ms\n", open.first);
    std::printf("fill, hierarchy: median %.1f ms of 5\n", fill.first);
    std::printf("peer fill, items straight into the widget: median %.1f ms (ratio %.2f)\n",
                peerFill.first, fill.first / peerFill.first);
    std::printf("fill, flat list: median %.1f ms of 3\n", flats[1]);
    std::printf("selection with details and member lists: median %.2f ms, worst %.2f ms of 50\n",
                select.first, select.second);
    std::printf("peer: item to node by FindByTreeItem alone: median %.2f ms\n", walk.first);
    std::printf("expand all: %.1f ms, collapse all: %.1f ms\n", expand.first, collapse.first);
}

void MeasureNew(CVorlixApp& app, CScriptedUserInterface& ui, const std::string& folder) {
    ui.folderAnswers = {folder, std::nullopt};
    const auto newCommand =
        Time(1, [&](int) { app.GetMainFrame()->Action(ID_FILE_NEW)->trigger(); });
    CVorlixDoc* doc = app.ActiveDocument();
    if (doc == nullptr) {
        std::printf("New on %s opened nothing\n", folder.c_str());
        return;
    }
    const auto fill = Time(5, [&](int) { doc->RebuildTree(); });
    std::vector<std::string> names;
    doc->CollectClassNames(names);
    const int step = static_cast<int>(names.size() / 50 + 1);
    const auto select = Time(static_cast<int>((names.size() + step - 1) / step), [&](int i) {
        doc->GetFrame()->TreeView()->SelectNode(
            doc->m_pRoot->FindByName(names[static_cast<size_t>(i * step)], KindClass));
    });
    std::printf("%s: %d classes, %d nodes\n", folder.c_str(),
                doc->m_pRoot->CountDescendants(KindClass), doc->m_pRoot->CountAllDescendants());
    std::printf("New (scan, ordering, window, fill): %.1f ms\n", newCommand.first);
    std::printf("fill, hierarchy: median %.1f ms of 5\n", fill.first);
    std::printf("selection: median %.2f ms, worst %.2f ms\n", select.first, select.second);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    CTempDir settingsDir; // keeps the recent-file list away from the user's
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(settingsDir.Path()));
    QApplication application(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settingsDir.Path()));
    CScriptedUserInterface ui;
    CVorlixApp app(ui);
    if (!app.InitInstance()) {
        return 1;
    }
    MeasureLargeStructure(app);
    if (argc > 1) {
        MeasureNew(app, ui, argv[1]);
    }
    return 0;
}
