#include "GuiTestSupport.h"
#include "ModalDriver.h"
#include "TempDir.h"
#include "shell/AboutDlg.h"
#include "shell/FolderBrowseDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/QtUserInterface.h"
#include "shell/TableSelectDlg.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace {

TEST(TableSelectDlg, GivesTheChosenTableOrANewNameOrNone) {
    const struct {
        int row;
        const char* typed; // nullptr: the dialog has no name field
        int index;
        const char* table;
    } cases[] = {{1, nullptr, 1, "Klassen"},
                 {-1, nullptr, -1, ""},
                 {0, "Neu", -1, "Neu"},
                 {0, " klassen ", 1, "Klassen"}}; // a listed table, in its own spelling
    for (const auto& c : cases) {
        CTableSelectDlg dialog({"Alt", "Klassen"}, nullptr, c.typed != nullptr);
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Datentabelle wählen");
        EXPECT_TRUE(dialog.OkButton()->isDefault());
        dialog.List()->setCurrentRow(c.row);
        if (c.typed != nullptr) {
            QTest::keyClicks(dialog.NewNameField(), QString::fromUtf8(c.typed));
        }
        dialog.accept();
        EXPECT_EQ(dialog.m_nTableIndex, c.index) << c.row;
        EXPECT_EQ(dialog.m_strTable, c.table) << c.row;
    }
}

// The database dialogs offer SQLite files first and name a new file ".db"
// unless the user typed an extension.
TEST(QtUserInterface, DatabaseDialogsOfferDbFirstAndAppendIt) {
    CTempDir dir;
    const QString db = "Vorlix-Datenbank (*.db)", mdb = "Access Datenbank (*.mdb)";
    const struct {
        bool save;
        const char* typed;
        const char* chosen;
        QStringList offered;
    } cases[] = {{true, "neu", "neu.db", {db, mdb, "Alle Dateien (*)"}},
                 {true, "alt.sqlite", "alt.sqlite", {db, mdb, "Alle Dateien (*)"}},
                 {false, "neu.db", "neu.db", {db, mdb, "Alle Dateien (*.*)"}}};
    for (const auto& c : cases) {
        dir.Write("neu.db", "");
        QStringList offered;
        CModalDriver driver([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; types != nullptr && i < types->count(); ++i) {
                offered << types->itemText(i);
            }
            dialog->selectFile(QString::fromStdString(dir.Path() + "/") + c.typed);
            static_cast<QDialog*>(dialog)->accept();
        });
        const std::string filter = c.save
                                       ? "Access Datenbank (*.mdb)|*.mdb||"
                                       : "Access Datenbank (*.mdb)|*.mdb|Alle Dateien (*.*)|*.*||";
        CQtUserInterface ui;
        EXPECT_EQ(ui.ChooseFile({c.save, "*.mdb", filter, false}), dir.Path() + "/" + c.chosen);
        EXPECT_EQ(offered, c.offered);
    }
}

// An OK without a folder asks again; the second browser starts where it was
// told, takes a typed path and makes "Neuer Ordner" there.
TEST(QtUserInterface, FolderLoopSkipsAnOkWithoutFolderAndMakesNewFolders) {
    CTempDir dir;
    const QString start = QString::fromStdString(dir.Path());
    std::unique_ptr<CModalDriver> second;
    QString startShown;
    CModalDriver first([&](QWidget* modal) {
        auto* browser = qobject_cast<CFolderBrowseDlg*>(modal);
        ASSERT_NE(browser, nullptr);
        startShown = browser->PathField()->text();
        browser->PathField()->clear();
        browser->Tree()->setCurrentIndex({});
        second = std::make_unique<CModalDriver>([&](QWidget* again) {
            auto* next = qobject_cast<CFolderBrowseDlg*>(again);
            ASSERT_NE(next, nullptr);
            next->PathField()->clear();
            QTest::keyClicks(next->PathField(), start);
            next->NewFolderButton()->click();
            next->accept();
        });
        browser->accept();
    });
    CQtUserInterface ui;
    ui.SetFolderStart(dir.Path());
    EXPECT_EQ(ui.ChooseFolder("Titel"), dir.Path() + "/Neuer Ordner");
    EXPECT_TRUE(second && second->Ran());
    EXPECT_EQ(startShown, start);
    EXPECT_TRUE(QDir(start + QStringLiteral("/Neuer Ordner")).exists());
}

// Paints of the popup's text, counted as they reach the widget.
class CPaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// The work runs without the event loop: each text must be painted before the
// next step, however fast they come.
TEST(QtUserInterface, ProgressPopupPaintsEveryTextAtOnce) {
    CQtUserInterface ui;
    ui.ShowProgress();
    QPointer<QLabel> label;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<CProgressDlg*>(widget) != nullptr) {
            label = widget->findChild<QLabel*>(QStringLiteral("progressText"));
        }
    }
    ASSERT_FALSE(label.isNull());
    CPaintCounter counter;
    label->installEventFilter(&counter);
    for (int step = 1; step <= 3; ++step) {
        ui.SetProgressText("Verteile Klassen-ID's ... " + std::to_string(step));
        EXPECT_GE(counter.paints, step) << step;
    }
    ui.HideProgress();
    EXPECT_TRUE(label.isNull()); // gone with its popup
}

TEST_F(CAppTest, AboutBoxShowsTheProgramsIcon) {
    CModalDriver driver([&](QWidget* modal) {
        auto* about = qobject_cast<CAboutDlg*>(modal);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->windowTitle(), QStringLiteral("Info über Vorlix"));
        EXPECT_EQ(about->TextLabel()->text(), QStringLiteral("Vorlix, Version 1.0"));
        EXPECT_EQ(about->IconLabel()->pixmap().toImage(),
                  Main().windowIcon().pixmap(32, 32).toImage());
        about->OkButton()->click();
    });
    Command(ID_APP_ABOUT).trigger();
    EXPECT_TRUE(driver.Ran());
}

// Qt's dialogs write dates and sizes in German under any system locale; the
// test program probes that in a fresh process (main.cpp).
TEST(GermanLocale, QtsSystemLocaleIsGermanUnderLangC) {
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LC_ALL"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    probe.setProcessEnvironment(environment);
    probe.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--locale-probe")});
    ASSERT_TRUE(probe.waitForFinished());
    EXPECT_EQ(probe.readAllStandardOutput().trimmed(), "07.12.26 120,56 KiB");
}

} // namespace
