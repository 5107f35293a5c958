#include "shell/AboutDlg.h"

#include "ModalDriver.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(AboutDlg, ShowsIconNameAndVersion) {
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Info über Vorlix"));
    EXPECT_EQ(dialog.TextLabel()->text(), QStringLiteral("Vorlix, Version 1.0"));
    EXPECT_EQ(dialog.TextLabel()->textFormat(), Qt::PlainText);
    EXPECT_FALSE(dialog.IconLabel()->pixmap().isNull());
    EXPECT_TRUE(dialog.OkButton()->isDefault());
}

TEST(AboutDlg, OkClosesIt) {
    CAboutDlg dialog;
    CModalDriver driver(
        [](QWidget* modal) { qobject_cast<CAboutDlg*>(modal)->OkButton()->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(driver.Ran());
}

} // namespace
