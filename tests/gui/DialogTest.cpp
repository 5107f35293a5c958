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

TEST(TableSelectDlg, OffersTheTablesFirstSelectedAndOkFocused) {
    CTableSelectDlg dialog({"Alt", "Klassen"});
    EXPECT_EQ(Utf8(dialog.windowTitle()), "Datentabelle wählen");
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_EQ(Utf8(dialog.List()->item(0)->text()), "Alt");
    EXPECT_TRUE(dialog.List()->item(0)->isSelected());
    EXPECT_TRUE(dialog.OkButton()->isDefault());

    dialog.List()->setCurrentRow(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_nTableIndex, 1);
    EXPECT_EQ(dialog.m_strTable, "Klassen");
}

TEST(TableSelectDlg, EmptyListGivesNoTableOnOk) {
    CTableSelectDlg dialog({});
    dialog.accept();
    EXPECT_EQ(dialog.m_nTableIndex, -1);
    EXPECT_EQ(dialog.m_strTable, "");
}

TEST(TableSelectDlg, CancelLeavesTheNameEmpty) {
    CTableSelectDlg dialog({"Klassen"});
    auto* cancel = dialog.findChildren<QPushButton*>().value(1);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(Utf8(cancel->text()), "Abbrechen");
    cancel->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.m_strTable, "");
}

TEST(QtUserInterface, FilterTextsBecomeNameFiltersThatShowTheTextExactly) {
    const QStringList filters =
        CQtUserInterface::NameFilters("Access Datenbank (*.mdb)|*.mdb|Alle Dateien (*.*)|*.*||");
    EXPECT_EQ(filters, (QStringList{"Access Datenbank (*.mdb) (*.mdb)", "Alle Dateien (*.*) (*)"}));
    EXPECT_EQ(CQtUserInterface::NameFilters("Quellen|*.h;*.cpp||"),
              QStringList{"Quellen (*.h *.cpp)"});
    EXPECT_TRUE(CQtUserInterface::NameFilters("").isEmpty());

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

TEST(QtUserInterface, ProgressPopupShowsEachTextAndGoesAway) {
    CQtUserInterface ui;
    ui.ShowProgress();
    const QList<CProgressDlg*> popups = [] {
        QList<CProgressDlg*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* popup = qobject_cast<CProgressDlg*>(widget); popup && popup->isVisible()) {
                found.append(popup);
            }
        }
        return found;
    }();
    ASSERT_EQ(popups.size(), 1);
    CProgressDlg* popup = popups[0];
    EXPECT_TRUE(popup->windowFlags() & Qt::FramelessWindowHint);

    ui.SetProgressText("Parse /usr/include/a.h ...");
    ui.SetProgressText("Verteile Klassen-ID's ...");
    EXPECT_EQ(Utf8(popup->Text()), "Verteile Klassen-ID's ...");
    const auto* label = popup->findChild<QLabel*>(QStringLiteral("progressText"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(Utf8(label->text()), "Verteile Klassen-ID's ...");

    ui.HideProgress();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        EXPECT_EQ(qobject_cast<CProgressDlg*>(widget), nullptr);
    }
}

} // namespace
