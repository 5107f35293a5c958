#include "GuiTestSupport.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

struct SizeCase {
    int width, height;
    int left, right, upper, lower, member;
};

class PaneSizes : public testing::TestWithParam<SizeCase> {};

TEST_P(PaneSizes, FollowTheLastSizeAskedForPerRowAndColumn) {
    const SizeCase& c = GetParam();
    const CChildFrame::PaneSizes sizes = CChildFrame::InitialPaneSizes(c.width, c.height);
    EXPECT_EQ(sizes.leftColumn, c.left);
    EXPECT_EQ(sizes.rightColumn, c.right);
    EXPECT_EQ(sizes.upperRow, c.upper);
    EXPECT_EQ(sizes.lowerRow, c.lower);
    EXPECT_EQ(sizes.memberList, c.member);
}

// The single-precision factors round up where double ones would not:
// 0.6f * 5 is just above 3, 0.15f * 20 just above 3.
INSTANTIATE_TEST_SUITE_P(Frames, PaneSizes,
                         testing::Values(SizeCase{800, 600, 480, 320, 510, 90, 255},
                                         SizeCase{1000, 700, 600, 400, 595, 105, 297},
                                         SizeCase{5, 20, 3, 2, 17, 3, 8},
                                         SizeCase{0, 0, 0, 0, 0, 0, 0}));

std::vector<std::string> ItemTexts(const QMenu* menu) {
    std::vector<std::string> texts;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            texts.push_back("-");
        } else if (action->isVisible()) {
            texts.push_back(Utf8(action->text()));
        }
    }
    return texts;
}

std::vector<std::string> BarTexts(const QMenuBar* bar) {
    std::vector<std::string> texts;
    for (const QAction* action : bar->actions()) {
        texts.push_back(Utf8(action->text()));
    }
    return texts;
}

using Texts = std::vector<std::string>;

TEST_F(CAppTest, StartsWithoutDocumentAndWithMenu128) {
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_TRUE(Main().isMaximized());
    EXPECT_EQ(Utf8(Main().windowTitle()), "Vorlix");
    EXPECT_EQ(Main().CurrentMenuId(), 128);
    EXPECT_EQ(BarTexts(Main().menuBar()), (Texts{"&Datei", "&Ansicht", "&?"}));

    const QList<QMenu*> popups = Main().MenuPopups(128);
    EXPECT_EQ(ItemTexts(popups[0]),
              (Texts{"&Neu\tStrg+N", "Ö&ffnen...\tStrg+O", "-", "Letzte Datei", "-", "&Beenden"}));
    EXPECT_FALSE(Command(ID_FILE_MRU_FILE1).isEnabled());
    EXPECT_EQ(ItemTexts(popups[1]), (Texts{"&Symbolleiste", "S&tatusleiste"}));
    EXPECT_EQ(ItemTexts(popups[2]), (Texts{"Inf&o über Vorlix..."}));
    // The document's commands have nobody to carry them out.
    EXPECT_FALSE(Command(ID_FILE_SAVE).isEnabled());
    EXPECT_FALSE(Command(ID_UPDATE_TREE).isEnabled());
}

TEST_F(CAppTest, DocumentWindowBringsMenu129) {
    CSampleModel sample;
    OpenSample(sample);
    EXPECT_EQ(Main().CurrentMenuId(), 129);
    EXPECT_EQ(BarTexts(Main().menuBar()), (Texts{"&Datei", "&Ansicht", "&Fenster", "&?"}));
    const QList<QMenu*> popups = Main().MenuPopups(129);
    EXPECT_EQ(ItemTexts(popups[0]),
              (Texts{"&Neu\tStrg+N", "Ö&ffnen...\tStrg+O", "&Schließen", "S&peichern\tStrg+S", "-",
                     "Aktualisieren ...\tF5", "-", "Exportieren als HTML ...", "-",
                     "&1 /data/x.mdb", "-", "&Beenden"}));
    EXPECT_EQ(ItemTexts(popups[1]),
              (Texts{"Klassen (abgeleitet)", "Klassen (Liste)", "-", "Alle Zweige aufblenden",
                     "Alle Zweige schließen", "-", "&Symbolleiste", "S&tatusleiste"}));
    popups[2]->aboutToShow();
    EXPECT_EQ(ItemTexts(popups[2]), (Texts{"Über&lappend", "&Nebeneinander", "&Symbole anordnen",
                                           "-", "&1 /data/x.mdb (Klassen)"}));
    EXPECT_EQ(ItemTexts(popups[3]), (Texts{"Inf&o über Vorlix..."}));
    EXPECT_TRUE(Command(ID_FILE_SAVE).isEnabled());
}

TEST_F(CAppTest, AcceleratorsAndToolBar) {
    EXPECT_EQ(Command(ID_FILE_NEW).shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(Command(ID_FILE_OPEN).shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(Command(ID_FILE_SAVE).shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(Command(ID_UPDATE_TREE).shortcut(), QKeySequence(Qt::Key_F5));

    const QList<QAction*> buttons = Main().ToolBar()->actions();
    ASSERT_EQ(buttons.size(), 5);
    EXPECT_EQ(buttons[0], &Command(ID_FILE_NEW));
    EXPECT_EQ(buttons[1], &Command(ID_FILE_OPEN));
    EXPECT_EQ(buttons[2], &Command(ID_FILE_SAVE));
    EXPECT_TRUE(buttons[3]->isSeparator());
    EXPECT_EQ(buttons[4], &Command(ID_APP_ABOUT));
}

TEST_F(CAppTest, StatusBarSaysReadyAndBarsCanBeHidden) {
    EXPECT_EQ(Utf8(Main().MessagePane()->text()), "Bereit");
    ASSERT_EQ(Main().IndicatorPanes().size(), 3);
    EXPECT_EQ(Utf8(Main().IndicatorPanes()[0]->objectName()), "UF");
    EXPECT_EQ(Utf8(Main().IndicatorPanes()[1]->objectName()), "NUM");
    EXPECT_EQ(Utf8(Main().IndicatorPanes()[2]->objectName()), "RF");

    Command(ID_VIEW_TOOLBAR).trigger();
    EXPECT_FALSE(Main().ToolBar()->isVisible());
    Command(ID_VIEW_TOOLBAR).trigger();
    EXPECT_TRUE(Main().ToolBar()->isVisible());
    Command(ID_VIEW_STATUS_BAR).trigger();
    EXPECT_FALSE(Main().statusBar()->isVisible());
    EXPECT_FALSE(Command(ID_VIEW_STATUS_BAR).isChecked());
}

TEST_F(CAppTest, DocumentWindowHasFivePanesWithTheirSizesAndFonts) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
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
    const QList<int> lists = frame.MemberListHeights();
    EXPECT_NEAR(lists[0], lists[1], 1);

    for (const QPlainTextEdit* pane : {frame.InfoPane(), frame.DescriptionPane()}) {
        EXPECT_EQ(Utf8(pane->font().family()), "Arial");
        EXPECT_EQ(pane->font().pixelSize(), 12);
    }
}

TEST_F(CAppTest, InfoPaneRejectsTypingDescriptionPaneAcceptsIt) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    Tree(doc).SelectNode(sample.view);
    const QString infoBefore = Frame(doc).InfoPane()->toPlainText();
    for (QPlainTextEdit* pane : {Frame(doc).InfoPane(), Frame(doc).DescriptionPane()}) {
        pane->moveCursor(QTextCursor::End);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(pane, &press);
    }
    EXPECT_EQ(Frame(doc).InfoPane()->toPlainText(), infoBefore);
    EXPECT_EQ(DescriptionText(doc), "x");
}

TEST_F(CAppTest, SecondWindowJoinsTheMaximisedFirstAndClosingShowsMenu128Again) {
    CSampleModel first;
    CSampleModel second(false);
    CVorlixDoc* a = OpenSample(first);
    CVorlixDoc* b = OpenSample(second);
    EXPECT_EQ(app->Documents(), (QList<CVorlixDoc*>{a, b}));
    EXPECT_EQ(app->ActiveDocument(), b);
    EXPECT_EQ(Utf8(Main().windowTitle()), "Vorlix - [Unbekannt (Unbekannt)]");

    Command(ID_FILE_CLOSE).trigger();
    EXPECT_EQ(app->Documents(), (QList<CVorlixDoc*>{a}));
    EXPECT_EQ(app->ActiveDocument(), a);
    EXPECT_EQ(Utf8(Main().windowTitle()), "Vorlix - [/data/x.mdb (Klassen)]");
    Command(ID_FILE_CLOSE).trigger();
    ProcessDeletes();
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_EQ(Main().CurrentMenuId(), 128);
    EXPECT_EQ(Utf8(Main().windowTitle()), "Vorlix");
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(CAppTest, WindowCommandsArrangeTheDocumentWindows) {
    CSampleModel first;
    CSampleModel second;
    OpenSample(first);
    OpenSample(second);
    Command(ID_WINDOW_TILE_HORZ).trigger();
    const QList<CChildFrame*> frames = Main().ChildFrames();
    ASSERT_EQ(frames.size(), 2);
    EXPECT_FALSE(frames[0]->isMaximized());
    EXPECT_FALSE(frames[0]->geometry().intersects(frames[1]->geometry()));
    Command(ID_WINDOW_CASCADE).trigger();
    EXPECT_TRUE(frames[0]->geometry().intersects(frames[1]->geometry()));
    EXPECT_NE(frames[0]->pos(), frames[1]->pos());
}

} // namespace
