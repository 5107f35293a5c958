#include "GuiTestSupport.h"
#include "TempDir.h"

#include <QFile>

namespace {

const std::string kSecond = VORLIX_TEST_DATA_DIR "/gui/second";
const char* const kNewFirstTitle = "Wählen Sie ein Verzeichnis, in dem alle Header-Dateien nach "
                                   "Klassenabhängigkeiten durchsucht werden sollen.";
const char* const kNewNextTitle = "Wählen Sie ein weiteres Verzeichnis, in dem weitere "
                                  "Header-Dateien nach Klassenabhängigkeiten durchsucht werden "
                                  "sollen.";
const char* const kUpdateFirstTitle =
    "Wählen Sie ein Verzeichnis, in dem alle Header-Dateien nach zu aktualisierenden "
    "Klassenabhängigkeiten durchsucht werden sollen.";
const char* const kUpdateNextTitle =
    "Wählen Sie ein weiteres Verzeichnis, in dem weitere Header-Dateien nach zu aktualisierenden "
    "Klassenabhängigkeiten durchsucht werden sollen.";

using Names = std::vector<std::string>;

Names ClassNames(CVorlixDoc* doc) {
    Names names;
    doc->CollectClassNames(names);
    return names;
}

bool Exists(const std::string& path) {
    return QFile::exists(QString::fromStdString(path));
}

class CCommandTest : public CAppTest {
protected:
    // New on the given directories, then Cancel (the answers run out).
    CVorlixDoc* NewFrom(std::initializer_list<std::string> directories) {
        ui.folderAnswers.assign(directories.begin(), directories.end());
        Command(ID_FILE_NEW).trigger();
        return app->ActiveDocument();
    }
    // The next file and table dialogs choose the database and this table.
    void WillChoose(const std::optional<std::string>& table = std::string("Klassen")) {
        ui.fileAnswers = {database};
        ui.tableAnswers = {table};
    }
    // A new structure with one described class, saved.
    CVorlixDoc* NewSaved() {
        CVorlixDoc* doc = NewFrom({kFirst});
        doc->m_pRoot->FindByName("CCircle", KindClass)->SetDescription("Ein Kreis");
        WillChoose();
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

TEST_F(CCommandTest, NewCancelledAtOnceCreatesNothingWithTwoDirectoriesOneModifiedDocument) {
    Command(ID_FILE_NEW).trigger();
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_EQ(ui.progressShown, 0);
    CVorlixDoc* doc = NewFrom({kFirst, kSecond});
    EXPECT_EQ(ui.folderTitles,
              (Names{kNewFirstTitle, kNewFirstTitle, kNewNextTitle, kNewNextTitle}));
    ASSERT_EQ(app->Documents().size(), 1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ClassNames(doc), (Names{"CCircle", "CShape", "CView", "CWnd"}));
    // One popup per directory, then one for the ordering; none left open.
    EXPECT_EQ(ui.progressShown, 3);
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_TRUE(ui.messages.empty());
}

// Declined, Update takes nothing; cancelled at the folder, it keeps the model
// but takes the edit in the pane; carried out, it keeps the descriptions.
TEST_F(CCommandTest, UpdateKeepsDescriptionsAndTheTable) {
    CVorlixDoc* doc = NewFrom({kFirst, kSecond});
    MarkStored(*doc->m_pRoot);
    doc->SetModifiedFlag(false);
    CClassRoot* root = doc->m_pRoot;
    CClassNode* shape = root->FindByName("CShape", KindClass);
    CClassNode* draw = shape->FindChildByName("Draw", KindFunction);
    shape->FindChildByName("m_nColor", KindVariable)->SetDescription("Füllfarbe");
    root->FindByName("CCircle", KindClass)->SetDescription("Ein Kreis");
    Tree(doc).SelectNode(shape);
    ASSERT_TRUE(Frame(doc).FunctionList()->SelectNode(draw));
    Frame(doc).DescriptionPane()->setPlainText(QStringLiteral("Zeichnet"));
    ui.folderTitles.clear();
    ui.yesNoAnswers = {false};
    Command(ID_UPDATE_TREE).trigger();
    EXPECT_FALSE(doc->IsModified());
    ui.yesNoAnswers = {true};
    Command(ID_UPDATE_TREE).trigger(); // cancelled at the folder
    EXPECT_EQ(doc->m_pRoot, root);
    EXPECT_TRUE(doc->IsModified()); // only by the taken description
    EXPECT_EQ(draw->GetDescription(), "Zeichnet");

    doc->SetModifiedFlag(false);
    ui.yesNoAnswers = {true};
    ui.folderAnswers = {kFirst};
    Command(ID_UPDATE_TREE).trigger();
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ui.questions, Names(3, "Die Aktualisierung könnte eventuell relativ viel Zeit "
                                     "beanspruchen!\n\nDennoch fortsetzen?\n"));
    EXPECT_EQ(ui.folderTitles, (Names{kUpdateFirstTitle, kUpdateFirstTitle, kUpdateNextTitle}));
    EXPECT_EQ(ui.folderStarts, (Names{kFirst, kFirst})); // where New began
    EXPECT_EQ(ClassNames(doc), (Names{"CCircle", "CShape"}));
    EXPECT_EQ(doc->GetTitle(), "/data/x.mdb (Klassen)");
    // A class, a function and a variable keep their descriptions.
    shape = doc->m_pRoot->FindByName("CShape", KindClass);
    EXPECT_EQ(doc->m_pRoot->FindByName("CCircle", KindClass)->GetDescription(), "Ein Kreis");
    EXPECT_EQ(shape->FindChildByName("Draw", KindFunction)->GetDescription(), "Zeichnet");
    EXPECT_EQ(shape->FindChildByName("m_nColor", KindVariable)->GetDescription(), "Füllfarbe");
    // The rebuilt tree shows the new root; nothing points into the old model.
    EXPECT_EQ(doc->m_pShown, doc->m_pRoot);
}

TEST_F(CCommandTest, FirstSaveAsksFileAndTableTheSecondNothing) {
    CVorlixDoc* doc = NewFrom({kFirst});
    Command(ID_FILE_SAVE).trigger(); // cancelled at the file dialog
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Tree(doc).topLevelItem(0)->text(0).toStdString(), "Unbekannt");
    WillChoose();
    Command(ID_FILE_SAVE).trigger();
    ASSERT_EQ(ui.fileDialogs.size(), 2u);
    EXPECT_TRUE(ui.fileDialogs[0].save);
    EXPECT_EQ(ui.fileDialogs[0].defaultExtension, "*.mdb");
    EXPECT_EQ(ui.fileDialogs[0].filter, "Access Datenbank (*.mdb)|*.mdb||");
    EXPECT_EQ(ui.offeredTables, (std::vector<std::vector<std::string>>{{"Klassen"}}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Tree(doc).topLevelItem(0)->text(0).toStdString(), database + " (Klassen)");
    EXPECT_EQ(app->RecentFiles(), QStringList{QString::fromStdString(database)});
    EXPECT_FALSE(Exists(database + ".bak")); // the file is new: nothing to keep

    Tree(doc).SelectNode(doc->m_pRoot->FindByName("CShape", KindClass));
    Frame(doc).DescriptionPane()->setPlainText(QStringLiteral("Grundform"));
    Command(ID_FILE_SAVE).trigger();
    EXPECT_EQ(ui.fileDialogs.size(), 2u);
    EXPECT_EQ(ui.offeredTables.size(), 1u);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(Exists(database + ".bak"));
}

// Open and a recent file show the stored structure with its descriptions;
// cancelled at either dialog, a damaged or a vanished file: nothing opens.
TEST_F(CCommandTest, OpenAndRecentFileShowTheStoredStructureOrNothing) {
    Command(ID_FILE_OPEN).trigger();
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_FALSE(ui.fileDialogs[0].save);
    EXPECT_TRUE(ui.fileDialogs[0].fileMustExist);
    EXPECT_EQ(ui.fileDialogs[0].filter, "Access Datenbank (*.mdb)|*.mdb|Alle Dateien (*.*)|*.*||");
    EXPECT_TRUE(ui.offeredTables.empty());
    ui.fileAnswers = {dir.Write("kaputt.mdb", std::string(4096, 'x'))};
    ui.tableAnswers = {std::string("Klassen")};
    Command(ID_FILE_OPEN).trigger();
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_EQ(ui.messages.size(), 1u);

    NewSaved();
    const size_t offered = ui.offeredTables.size();
    WillChoose(std::nullopt);
    Command(ID_FILE_OPEN).trigger();
    EXPECT_EQ(ui.offeredTables.size(), offered + 1);
    CloseAll();
    WillChoose();
    Command(ID_FILE_OPEN).trigger();
    ASSERT_EQ(app->Documents().size(), 1);
    CVorlixDoc* doc = app->ActiveDocument();
    EXPECT_FALSE(doc->IsModified());
    Tree(doc).SelectNode(doc->m_pRoot->FindByName("CCircle", KindClass));
    EXPECT_EQ(Frame(doc).DescriptionPane()->toPlainText().toStdString(), "Ein Kreis");

    CloseAll();
    ASSERT_EQ(app->RecentFiles(), QStringList{QString::fromStdString(database)});
    ui.tableAnswers = {std::string("Klassen")};
    app->OnOpenRecentFile(0);
    ASSERT_EQ(app->Documents().size(), 1);
    EXPECT_EQ(app->ActiveDocument()->GetTitle(), database + " (Klassen)");
    EXPECT_EQ(app->ActiveDocument()->m_pRoot->CountDescendants(KindClass), 2);
    CloseAll();
    QFile::remove(QString::fromStdString(database));
    app->OnOpenRecentFile(0);
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_EQ(ui.messages.size(), 2u); // none for a cancelled table
    EXPECT_TRUE(app->RecentFiles().isEmpty());
    EXPECT_FALSE(Exists(database));
}

// Another table that holds rows is replaced only after a Yes that names
// what it holds; "Speichern unter" can name a new table; the own table is
// saved into without a question.
TEST_F(CCommandTest, SavingIntoSomeoneElsesRowsAsksFirst) {
    NewSaved();
    CVorlixDoc* doc = NewFrom({kFirst});
    for (const bool yes : {false, true}) {
        WillChoose();
        ui.yesNoAnswers = {yes};
        Command(ID_FILE_SAVE).trigger();
        EXPECT_EQ(doc->IsModified(), !yes);
    }
    EXPECT_EQ(ui.questions, Names(2, "Die Tabelle \"Klassen\" in\n" + database +
                                         "\nenthält bereits 6 Einträge, davon 1 mit Beschreibung!"
                                         "\n\nSoll sie trotzdem durch die aktuelle Klassenstruktur "
                                         "ersetzt werden?"));
    ui.fileAnswers = {database, database};
    ui.tableAnswers = {std::string("Neu"), std::string("Neu")};
    Command(ID_FILE_SAVE_AS).trigger();
    EXPECT_EQ(doc->GetTitle(), database + " (Neu)");
    Command(ID_FILE_SAVE_AS).trigger();
    EXPECT_EQ(ui.offeredTables.back(), (std::vector<std::string>{"Klassen", "Neu"}));
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(CCommandTest, ExportWritesThePagesWithTheEditedDescriptionOnlyAfterYes) {
    CVorlixDoc* doc = NewFrom({kFirst});
    // The root's page names the database, "-" and all.
    MarkStored(*doc->m_pRoot, dir.Path() + "/gui-walk/x.db");
    doc->SetModifiedFlag(false);
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
