#include "ClassCommandsSupport.h"
#include "views/MemberListCommands.h"
#include "views/TreeViewCommands.h"

#include <QHelpEvent>
#include <QToolBar>
#include <QToolTip>
#include <map>
#include <tuple>

namespace {

// The tip texts are the core's (its tests hold every case); here, that a
// hover on each view shows the tip of the entry under the cursor.
TEST_F(CDocTest, HoverShowsTheTipOfTheEntry) {
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    CVorlixListView& functions = *Frame(doc).FunctionList();
    const std::tuple<QAbstractItemView*, QPoint, const char*> hovers[] = {
        {&Tree(doc), LabelOf(Tree(doc), sample.wnd), "CObject - CWnd (C: 2 - F: 0 - V: 0)"},
        {&functions, CentreOf(functions, QStringLiteral("OnDraw")),
         "void CView::OnDraw(CDC* pDC);"}};
    for (const auto& [view, at, tip] : hovers) {
        QHelpEvent hover(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &hover);
        EXPECT_EQ(QToolTip::text(), QString::fromUtf8(tip));
        QToolTip::hideText();
    }
}

// Every menu item's status-bar prompt and every tool-bar button's tip.
TEST_F(CDocTest, EveryMenuItemCarriesItsPromptEachButtonItsTip) {
    const std::map<int, const char*> prompts = {
        {57600, "Beginnt mit dem parsen der spezifischen angegebener Headerfiles."},
        {57601, "Öffnet ein bestehendes Dokument."},
        {57602, "Schließt das aktive Dokument."},
        {57603, "Speichert das aktive Dokument."},
        {57604, "Speichert das aktive Dokument unter einem neuen Namen."},
        {32774, "Aktualisiert den kompletten Baum."},
        {32772, "Exportiert den gesamten aktuellen Baum nach HTML."},
        {57616, "Öffnet dieses Dokument."},
        {57617, "Öffnet dieses Dokument."},
        {57618, "Öffnet dieses Dokument."},
        {57619, "Öffnet dieses Dokument."},
        {57665, "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen."},
        {32781, "Zeigt die Klassen in einer Baumhierarchie mit abgeleiteten Klassen an."},
        {32782, "Zeigt alle Klassen in einer Liste an."},
        {32783, "Blendet alle Zweige der Klassenansicht auf."},
        {32784, "Blendet alle Zweige der Klassenansicht zu."},
        {59392, "Blendet die Symbolleiste ein oder aus."},
        {59393, "Blendet die Statusleiste ein oder aus."},
        {57650, "Ordnet die Fenster überlappend an."},
        {57651, "Ordnet die Fenster nebeneinander an."},
        {57649, "Ordnet die Symbole im unteren Bereich des Fensters an."},
        {57664, "Zeigt Programm-Informationen, Versionsnummer und Copyright an."},
        {32780, "Sucht Klasse in Klassenansichtsbaum."},
        {32778, "Durchsucht ein Verzeichnis nach H-Dateien, in denen Klasse definiert wird."},
        {32779, "Durchsucht ein Verzeichnis nach CPP-Dateien, in denen Klasse definiert wird."},
        {32776, "Durchsucht ein Verzeichnis nach CPP-Dateien, in denen Funktion verwendet wird."}};
    QList<QAction*> items = Tree(doc).findChild<CTreeViewCommands*>()->ContextMenu()->actions();
    items << Frame(doc).FunctionList()->findChild<CMemberListCommands*>()->ContextMenu()->actions();
    for (int menuId : {128, 129}) {
        for (const QMenu* menu : Main().MenuPopups(menuId)) {
            items << menu->actions();
        }
    }
    int checked = 0;
    for (const QAction* action : items) {
        if (!action->isSeparator()) {
            const auto prompt = prompts.find(action->data().toInt());
            ASSERT_NE(prompt, prompts.end()) << action->text().toStdString();
            EXPECT_EQ(action->statusTip().toStdString(), prompt->second) << prompt->first;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 38); // both menu sets, four recent files, both context menus
    QStringList tips;
    for (QAction* action : Main().ToolBar()->actions()) {
        tips << Main().ToolBar()->widgetForAction(action)->toolTip();
    }
    EXPECT_EQ(tips, (QStringList{"Parsen", "Öffnen", "Speichern", "", "Info"}));
}

// Real keys: F6 and Shift+F6 move the focus through the panes, passing over
// disabled lists.
TEST_F(CDocTest, F6AndShiftF6MoveBetweenThePanesPassingDisabledLists) {
    QApplication::setActiveWindow(&Main());
    const auto press = [](Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, modifiers);
        return QApplication::focusWidget();
    };
    Tree(doc).setFocus();
    EXPECT_EQ(press(Qt::NoModifier), Frame(doc).InfoPane()); // the root is shown
    ASSERT_TRUE(Tree(doc).SelectNode(sample.view));
    for (QWidget* pane : std::initializer_list<QWidget*>{
             Frame(doc).DescriptionPane(), &Tree(doc), Frame(doc).FunctionList(),
             Frame(doc).VariableList(), Frame(doc).InfoPane()}) {
        EXPECT_EQ(press(Qt::NoModifier), pane) << pane->objectName().toStdString();
    }
    EXPECT_EQ(press(Qt::ShiftModifier), Frame(doc).VariableList());
}

} // namespace
