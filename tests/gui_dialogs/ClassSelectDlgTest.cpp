#include "shell/ClassSelectDlg.h"

#include "ModalDriver.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QStringList Entries(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

// Runs the dialog modally; pick is the row to select before OK, or -1 to
// press "Abbrechen".
int RunChoosing(CClassSelectDlg& dialog, int pick) {
    CModalDriver driver([pick](QWidget* modal) {
        auto* shown = qobject_cast<CClassSelectDlg*>(modal);
        if (pick < 0) {
            shown->CancelButton()->click();
            return;
        }
        shown->List()->setCurrentRow(pick);
        shown->OkButton()->click();
    });
    const int result = dialog.exec();
    EXPECT_TRUE(driver.Ran());
    return result;
}

TEST(ClassSelectDlg, ListsSortedAndReturnsTheChosenName) {
    const std::vector<std::string> names = {"CView", "CDoc"};
    CClassSelectDlg dialog;
    dialog.SetNames(&names);
    dialog.OnInitDialog();
    EXPECT_EQ(Entries(dialog.List()), (QStringList{"CDoc", "CView"}));
    EXPECT_EQ(dialog.List()->currentRow(), 0);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(dialog.GetSelectedName(), "");

    EXPECT_EQ(RunChoosing(dialog, 1), QDialog::Accepted);
    EXPECT_EQ(dialog.GetSelectedName(), "CView");
}

TEST(ClassSelectDlg, SortsCaseInsensitivelyAndKeepsDuplicates) {
    const std::vector<std::string> names = {"beta", "Alpha", "Zeta", "beta", "Ärger"};
    CClassSelectDlg dialog;
    dialog.SetNames(&names);
    dialog.OnInitDialog();
    EXPECT_EQ(Entries(dialog.List()), (QStringList{"Alpha", "beta", "beta", "Zeta", "Ärger"}));
    for (int row : {1, 2}) {
        dialog.List()->setCurrentRow(row);
        dialog.accept();
        EXPECT_EQ(dialog.GetSelectedName(), "beta");
    }
}

TEST(ClassSelectDlg, EmptyListDisablesOk) {
    const std::vector<std::string> names;
    CClassSelectDlg dialog;
    dialog.SetNames(&names);
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.List()->count(), 0);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    dialog.accept();
    EXPECT_EQ(dialog.GetSelectedName(), "");
}

TEST(ClassSelectDlg, NoNamesGivenShowsNothing) {
    CClassSelectDlg dialog;
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.List()->count(), 0);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
}

TEST(ClassSelectDlg, ClearedSelectionDisablesOkAndChoosesNothing) {
    const std::vector<std::string> names = {"A", "B"};
    CClassSelectDlg dialog;
    dialog.SetNames(&names);
    dialog.OnInitDialog();
    dialog.List()->clearSelection();
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    dialog.accept();
    EXPECT_EQ(dialog.GetSelectedName(), "");
    dialog.List()->setCurrentRow(1);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
}

TEST(ClassSelectDlg, CancelLeavesTheNameEmpty) {
    const std::vector<std::string> names = {"A", "B"};
    CClassSelectDlg dialog;
    dialog.SetNames(&names);
    EXPECT_EQ(RunChoosing(dialog, -1), QDialog::Rejected);
    EXPECT_EQ(dialog.GetSelectedName(), "");
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Wählen Sie die zu lokalisierende Klasse"));
    EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Abbrechen"));
}

TEST(ClassSelectDlg, DoubleClickDoesNotClose) {
    const std::vector<std::string> names = {"A"};
    CClassSelectDlg dialog;
    dialog.SetNames(&names);
    dialog.show();
    QListWidget* list = dialog.List();
    const QRect place = list->visualItemRect(list->item(0));
    const QPointF at = place.center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &event);
    }
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.GetSelectedName(), "");
}

} // namespace
