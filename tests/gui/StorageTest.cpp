#include "GuiTestSupport.h"
#include "TempDir.h"

#include <QFile>

namespace {

const std::string kFirst = VORLIX_TEST_DATA_DIR "/gui/first";
const char* const kOpenFilter = "Access Datenbank (*.mdb)|*.mdb|Alle Dateien (*.*)|*.*||";

bool Exists(const std::string& path) {
    return QFile::exists(QString::fromStdString(path));
}

class CStorageTest : public CAppTest {
protected:
    CVorlixDoc* NewFromFirst() {
        ui.folderAnswers = {kFirst, std::nullopt};
        Command(ID_FILE_NEW).trigger();
        return app->ActiveDocument();
    }
    // Saves a new structure into the database, answering both dialogs.
    CVorlixDoc* NewSaved() {
        CVorlixDoc* doc = NewFromFirst();
        ui.fileAnswers = {database};
        ui.tableAnswers = {std::string("Klassen")};
        Command(ID_FILE_SAVE).trigger();
        return doc;
    }
    void CloseAll() {
        Command(ID_FILE_CLOSE).trigger();
        ProcessDeletes();
        ASSERT_TRUE(app->Documents().isEmpty());
    }

    CTempDir dir;
    const std::string database = dir.Path() + "/klassen.mdb";
};

TEST_F(CStorageTest, FirstSaveAsksFileAndTableTheSecondNothing) {
    CVorlixDoc* doc = NewFromFirst();
    Command(ID_FILE_SAVE).trigger(); // cancelled at the file dialog
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Utf8(Tree(doc).topLevelItem(0)->text(0)), "Unbekannt");
    ui.fileDialogs.clear();
    ui.fileAnswers = {database};
    ui.tableAnswers = {std::string("Klassen")};
    Command(ID_FILE_SAVE).trigger();
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_TRUE(ui.fileDialogs[0].save);
    EXPECT_EQ(ui.fileDialogs[0].defaultExtension, "*.mdb");
    EXPECT_EQ(ui.fileDialogs[0].filter, "Access Datenbank (*.mdb)|*.mdb||");
    EXPECT_EQ(ui.offeredTables, (std::vector<std::vector<std::string>>{{"Klassen"}}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Utf8(Tree(doc).topLevelItem(0)->text(0)), database + " (Klassen)");
    EXPECT_EQ(app->RecentFiles(), QStringList{QString::fromStdString(database)});
    EXPECT_FALSE(Exists(database + ".bak")); // the file is new: nothing to keep

    Tree(doc).SelectNode(doc->m_pRoot->FindByName("CShape", KindClass));
    Frame(doc).DescriptionPane()->setPlainText(QStringLiteral("Grundform"));
    Command(ID_FILE_SAVE).trigger();
    EXPECT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.offeredTables.size(), 1u);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(Exists(database + ".bak"));
}

TEST_F(CStorageTest, OpenAndRecentFileShowTheStoredStructureWithItsDescriptions) {
    NewSaved()->m_pRoot->FindByName("CCircle", KindClass)->SetDescription("Ein Kreis");
    Command(ID_FILE_SAVE).trigger();
    CloseAll();
    ui.fileAnswers = {database};
    ui.tableAnswers = {std::string("Klassen")};
    Command(ID_FILE_OPEN).trigger();
    ASSERT_EQ(ui.fileDialogs.size(), 2u);
    EXPECT_FALSE(ui.fileDialogs[1].save);
    EXPECT_TRUE(ui.fileDialogs[1].fileMustExist);
    EXPECT_EQ(ui.fileDialogs[1].filter, kOpenFilter);
    ASSERT_EQ(app->Documents().size(), 1);
    CVorlixDoc* doc = app->ActiveDocument();
    EXPECT_FALSE(doc->IsModified());
    Tree(doc).SelectNode(doc->m_pRoot->FindByName("CCircle", KindClass));
    EXPECT_EQ(DescriptionText(doc), "Ein Kreis");

    CloseAll();
    ASSERT_EQ(app->RecentFiles(), QStringList{QString::fromStdString(database)});
    ui.tableAnswers = {std::string("Klassen")};
    app->OnOpenRecentFile(0);
    ASSERT_EQ(app->Documents().size(), 1);
    EXPECT_EQ(app->ActiveDocument()->GetTitle(), database + " (Klassen)");
    EXPECT_EQ(app->ActiveDocument()->m_pRoot->CountDescendants(KindClass), 2);
}

TEST_F(CStorageTest, OpenCancelledAtEitherDialogOpensNothing) {
    Command(ID_FILE_OPEN).trigger();
    EXPECT_TRUE(ui.offeredTables.empty());
    EXPECT_TRUE(app->Documents().isEmpty());
    NewSaved();
    ui.fileAnswers = {database};
    ui.tableAnswers = {std::nullopt};
    Command(ID_FILE_OPEN).trigger();
    EXPECT_EQ(ui.offeredTables.size(), 2u);
    EXPECT_EQ(app->Documents().size(), 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CStorageTest, DamagedOrVanishedFileIsReportedAndOpensNothing) {
    ui.fileAnswers = {dir.Write("kaputt.mdb", std::string(4096, 'x'))};
    ui.tableAnswers = {std::string("Klassen")};
    Command(ID_FILE_OPEN).trigger();
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_EQ(ui.messages.size(), 1u);

    NewSaved();
    CloseAll();
    QFile::remove(QString::fromStdString(database));
    app->OnOpenRecentFile(0);
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(app->RecentFiles().isEmpty());
    EXPECT_FALSE(Exists(database));
}

// Another table that holds rows is replaced only after a Yes that names
// what it holds; "Speichern unter" can name a new table; the own table is
// saved into without a question.
TEST_F(CStorageTest, SavingIntoSomeoneElsesRowsAsksFirst) {
    NewSaved()->m_pRoot->FindByName("CCircle", KindClass)->SetDescription("Ein Kreis");
    Command(ID_FILE_SAVE).trigger();
    CVorlixDoc* doc = NewFromFirst();
    ui.questions.clear();
    for (const bool yes : {false, true}) {
        ui.fileAnswers = {database};
        ui.tableAnswers = {std::string("Klassen")};
        ui.yesNoAnswers = {yes};
        Command(ID_FILE_SAVE).trigger();
        EXPECT_EQ(doc->IsModified(), !yes);
    }
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0], "Die Tabelle \"Klassen\" in\n" + database +
                                   "\nenthält bereits 6 Einträge, davon 1 mit Beschreibung!\n\n"
                                   "Soll sie trotzdem durch die aktuelle Klassenstruktur "
                                   "ersetzt werden?");
    ui.fileAnswers = {database, database};
    ui.tableAnswers = {std::string("Neu"), std::string("Neu")};
    Command(ID_FILE_SAVE_AS).trigger();
    EXPECT_EQ(doc->GetTitle(), database + " (Neu)");
    Command(ID_FILE_SAVE_AS).trigger();
    EXPECT_EQ(ui.offeredTables.back(), (std::vector<std::string>{"Klassen", "Neu"}));
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(CStorageTest, ExportWritesThePagesWithTheEditedDescriptionOnlyAfterYes) {
    CVorlixDoc* doc = NewFromFirst();
    // The root's page names the true location, a "-" in it as it is.
    doc->m_pRoot->m_strDatabase = dir.Path() + "/gui-walk/x.db";
    doc->m_pRoot->m_strTable = "Klassen";
    doc->m_pRoot->m_bNeedsLocation = false;
    CClassNode* shape = doc->m_pRoot->FindByName("CShape", KindClass);
    Tree(doc).SelectNode(shape);
    Frame(doc).DescriptionPane()->setPlainText(QStringLiteral("Grundform aller Figuren"));
    ui.yesNoAnswers = {false};
    ui.folderAnswers = {dir.Path()};
    Command(ID_EXPORT_HTML).trigger();
    EXPECT_FALSE(Exists(dir.Path() + "/index.html"));
    EXPECT_NE(shape->GetDescription(), "Grundform aller Figuren"); // declined: nothing taken

    ui.yesNoAnswers = {true};
    ui.folderAnswers = {dir.Path()};
    Command(ID_EXPORT_HTML).trigger();
    EXPECT_EQ(ui.questions.size(), 2u);
    QFile index(QString::fromStdString(dir.Path() + "/index.html"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    EXPECT_TRUE(index.readAll().contains(
        QByteArray::fromStdString("<title>class " + dir.Path() + "/gui-walk/x.db (Klassen)")));
    QFile page(QString::fromStdString(dir.Path() + "/" + shape->GetHtmlFileName()));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("Grundform aller Figuren"));
    EXPECT_EQ(shape->GetDescription(), "Grundform aller Figuren");
    EXPECT_TRUE(doc->IsModified());
}

} // namespace
