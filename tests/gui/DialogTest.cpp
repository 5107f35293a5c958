#include "GuiTestSupport.h"
#include "shell/ProgressDlg.h"
#include "shell/QtUserInterface.h"
#include "shell/TableSelectDlg.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

TEST(TableSelectDlg, OffersTheTablesAndGivesTheChosenOneOrNone) {
    CTableSelectDlg dialog({"Alt", "Klassen"});
    EXPECT_EQ(Utf8(dialog.windowTitle()), "Datentabelle wählen");
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_TRUE(dialog.List()->item(0)->isSelected());
    EXPECT_TRUE(dialog.OkButton()->isDefault());
    dialog.List()->setCurrentRow(1);
    dialog.accept();
    EXPECT_EQ(dialog.m_nTableIndex, 1);
    EXPECT_EQ(dialog.m_strTable, "Klassen");

    CTableSelectDlg empty({});
    empty.accept();
    EXPECT_EQ(empty.m_nTableIndex, -1);
    EXPECT_EQ(empty.m_strTable, "");
}

TEST(QtUserInterface, FilterTextsBecomeNameFiltersThatShowTheTextExactly) {
    const QStringList filters =
        CQtUserInterface::NameFilters("Access Datenbank (*.mdb)|*.mdb|Alle Dateien (*.*)|*.*||");
    EXPECT_EQ(filters, (QStringList{"Access Datenbank (*.mdb) (*.mdb)", "Alle Dateien (*.*) (*)"}));
    EXPECT_EQ(CQtUserInterface::NameFilters("Quellen|*.h;*.cpp||"),
              QStringList{"Quellen (*.h *.cpp)"});
    // The dialog shows the names without the patterns it filters by.
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(filters);
    const auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(Utf8(types->itemText(0)), "Access Datenbank (*.mdb)");
    EXPECT_EQ(Utf8(types->itemText(1)), "Alle Dateien (*.*)");
}

// Every popup that exists, shown or not.
QList<CProgressDlg*> Popups() {
    QList<CProgressDlg*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* popup = qobject_cast<CProgressDlg*>(widget)) {
            found.append(popup);
        }
    }
    return found;
}

TEST(QtUserInterface, ProgressPopupShowsEachTextAndGoesAway) {
    CQtUserInterface ui;
    ui.ShowProgress();
    const QList<CProgressDlg*> popups = Popups();
    ASSERT_EQ(popups.size(), 1);
    EXPECT_TRUE(popups[0]->isVisible());
    ui.SetProgressText("Parse /usr/include/a.h ...");
    ui.SetProgressText("Verteile Klassen-ID's ...");
    const auto* label = popups[0]->findChild<QLabel*>(QStringLiteral("progressText"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(Utf8(label->text()), "Verteile Klassen-ID's ...");
    ui.HideProgress();
    EXPECT_TRUE(Popups().isEmpty());
}

} // namespace
