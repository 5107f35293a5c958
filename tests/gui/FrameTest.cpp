#include "GuiTestSupport.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

using Texts = std::vector<std::string>;

TEST(PaneSizes, FollowTheLastSizeAskedForPerRowAndColumn) {
    struct Case {
        int width, height, left, right, upper, lower, member;
    };
    // The single-precision factors round up where double ones would not:
    // 0.6f * 5 is just above 3, 0.15f * 20 just above 3.
    for (const Case& c :
         {Case{800, 600, 480, 320, 510, 90, 255}, Case{1000, 700, 600, 400, 595, 105, 297},
          Case{5, 20, 3, 2, 17, 3, 8}, Case{0, 0, 0, 0, 0, 0, 0}}) {
        const CChildFrame::PaneSizes s = CChildFrame::InitialPaneSizes(c.width, c.height);
        EXPECT_EQ(
            (std::vector<int>{s.leftColumn, s.rightColumn, s.upperRow, s.lowerRow, s.memberList}),
            (std::vector<int>{c.left, c.right, c.upper, c.lower, c.member}))
            << c.width << "x" << c.height;
    }
}

Texts ItemTexts(const QList<QAction*>& actions) {
    Texts texts;
    for (const QAction* action : actions) {
        if (action->isSeparator()) {
            texts.push_back("-");
        } else if (action->isVisible()) {
            texts.push_back(Utf8(action->text()));
        }
    }
    return texts;
}

TEST_F(CAppTest, StartsWithoutDocumentWithMenu128ToolBarAndStatusBar) {
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_TRUE(Main().isMaximized());
    EXPECT_EQ(Utf8(Main().windowTitle()), "Vorlix");
    EXPECT_EQ(Main().CurrentMenuId(), 128);
    EXPECT_EQ(ItemTexts(Main().menuBar()->actions()), (Texts{"&Datei", "&Ansicht", "&?"}));
    const QList<QMenu*> popups = Main().MenuPopups(128);
    EXPECT_EQ(ItemTexts(popups[0]->actions()),
              (Texts{"&Neu\tStrg+N", "Ö&ffnen...\tStrg+O", "-", "Letzte Datei", "-", "&Beenden"}));
    EXPECT_FALSE(Command(ID_FILE_MRU_FILE1).isEnabled());
    EXPECT_EQ(ItemTexts(popups[1]->actions()), (Texts{"&Symbolleiste", "S&tatusleiste"}));
    EXPECT_EQ(ItemTexts(popups[2]->actions()), (Texts{"Inf&o über Vorlix..."}));
    // The document's commands have nobody to carry them out.
    EXPECT_FALSE(Command(ID_FILE_SAVE).isEnabled());
    EXPECT_FALSE(Command(ID_UPDATE_TREE).isEnabled());

    EXPECT_EQ(Command(ID_FILE_NEW).shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(Command(ID_FILE_OPEN).shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(Command(ID_FILE_SAVE).shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(Command(ID_UPDATE_TREE).shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(
        Main().ToolBar()->actions(),
        (QList<QAction*>{&Command(ID_FILE_NEW), &Command(ID_FILE_OPEN), &Command(ID_FILE_SAVE),
                         Main().ToolBar()->actions().value(3), &Command(ID_APP_ABOUT)}));
    EXPECT_TRUE(Main().ToolBar()->actions().value(3)->isSeparator());
    EXPECT_EQ(Utf8(Main().MessagePane()->text()), "Bereit");
    Texts indicators;
    for (const QLabel* pane : Main().IndicatorPanes()) {
        indicators.push_back(Utf8(pane->objectName()));
    }
    EXPECT_EQ(indicators, (Texts{"UF", "NUM", "RF"}));
}

TEST_F(CAppTest, DocumentWindowBringsMenu129AndFivePanes) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    EXPECT_EQ(Main().CurrentMenuId(), 129);
    EXPECT_EQ(ItemTexts(Main().menuBar()->actions()),
              (Texts{"&Datei", "&Ansicht", "&Fenster", "&?"}));
    const QList<QMenu*> popups = Main().MenuPopups(129);
    EXPECT_EQ(ItemTexts(popups[0]->actions()),
              (Texts{"&Neu\tStrg+N", "Ö&ffnen...\tStrg+O", "&Schließen", "S&peichern\tStrg+S", "-",
                     "Aktualisieren ...\tF5", "-", "Exportieren als HTML ...", "-",
                     "&1 /data/x.mdb", "-", "&Beenden"}));
    EXPECT_EQ(ItemTexts(popups[1]->actions()),
              (Texts{"Klassen (abgeleitet)", "Klassen (Liste)", "-", "Alle Zweige aufblenden",
                     "Alle Zweige schließen", "-", "&Symbolleiste", "S&tatusleiste"}));
    popups[2]->aboutToShow();
    EXPECT_EQ(ItemTexts(popups[2]->actions()),
              (Texts{"Über&lappend", "&Nebeneinander", "&Symbole anordnen", "-",
                     "&1 /data/x.mdb (Klassen)"}));
    EXPECT_EQ(ItemTexts(popups[3]->actions()), (Texts{"Inf&o über Vorlix..."}));
    EXPECT_TRUE(Command(ID_FILE_SAVE).isEnabled());

    CChildFrame& frame = Frame(doc);
    EXPECT_TRUE(frame.isMaximized());
    EXPECT_EQ(frame.GetPane(0, 0), frame.TreeView());
    EXPECT_EQ(frame.GetInnerPane(0), frame.FunctionList());
    EXPECT_EQ(frame.GetInnerPane(1), frame.VariableList());
    EXPECT_EQ(frame.GetPane(1, 0), frame.InfoPane());
    EXPECT_EQ(frame.GetPane(1, 1), frame.DescriptionPane());
    EXPECT_EQ(frame.GetPane(2, 0), nullptr);
    // The window lays its panes out in the proportions asked for at creation.
    QApplication::processEvents();
    const QList<int> columns = frame.ColumnWidths();
    const QList<int> rows = frame.RowHeights();
    ASSERT_EQ(columns.size(), 2);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_NEAR(double(columns[0]) / (columns[0] + columns[1]), 0.6, 0.02);
    EXPECT_NEAR(double(rows[0]) / (rows[0] + rows[1]), 0.85, 0.02);
    EXPECT_NEAR(frame.MemberListHeights()[0], frame.MemberListHeights()[1], 1);
    // Arial 12 px in both text panes; typing reaches only the description.
    Tree(doc).SelectNode(sample.view);
    const QString infoBefore = frame.InfoPane()->toPlainText();
    for (QPlainTextEdit* pane : {frame.InfoPane(), frame.DescriptionPane()}) {
        EXPECT_EQ(Utf8(pane->font().family()), "Arial");
        EXPECT_EQ(pane->font().pixelSize(), 12);
        pane->moveCursor(QTextCursor::End);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(pane, &press);
    }
    EXPECT_EQ(frame.InfoPane()->toPlainText(), infoBefore);
    EXPECT_EQ(DescriptionText(doc), "x");
}

TEST_F(CAppTest, WindowsArrangeAndClosingTheLastShowsMenu128Again) {
    CSampleModel first, second(false), third;
    CVorlixDoc* a = OpenSample(first);
    EXPECT_EQ(app->ActiveDocument(), OpenSample(second));
    EXPECT_EQ(Utf8(Main().windowTitle()), "Vorlix - [Unbekannt (Unbekannt)]");
    Command(ID_FILE_CLOSE).trigger();
    EXPECT_EQ(app->Documents(), QList<CVorlixDoc*>{a});
    EXPECT_EQ(Utf8(Main().windowTitle()), "Vorlix - [/data/x.mdb (Klassen)]");

    OpenSample(third);
    Command(ID_WINDOW_TILE_HORZ).trigger();
    const QList<CChildFrame*> frames = Main().ChildFrames();
    ASSERT_EQ(frames.size(), 2);
    EXPECT_FALSE(frames[0]->geometry().intersects(frames[1]->geometry()));
    Command(ID_WINDOW_CASCADE).trigger();
    EXPECT_TRUE(frames[0]->geometry().intersects(frames[1]->geometry()));
    EXPECT_NE(frames[0]->pos(), frames[1]->pos());
    Command(ID_FILE_CLOSE).trigger();
    Command(ID_FILE_CLOSE).trigger();
    ProcessDeletes();
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_EQ(Main().CurrentMenuId(), 128);
    EXPECT_EQ(Utf8(Main().windowTitle()), "Vorlix");
    EXPECT_TRUE(ui.questions.empty());
}

} // namespace
