#include "GuiTestSupport.h"
#include "TempDir.h"

#include <QFile>
#include <QTreeWidgetItem>
#include <fstream>
#include <sstream>

namespace {

const std::string kFirst = VORLIX_TEST_DATA_DIR "/gui/first";

using Names = std::vector<std::string>;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CStorageTest : public CAppTest {
protected:
    CVorlixDoc* NewFromFirst() {
        ui.folderAnswers = {kFirst, std::nullopt};
        Command(ID_FILE_NEW).trigger();
        return app->ActiveDocument();
    }

    // Saves a new structure into a new database file, answering both dialogs.
    CVorlixDoc* NewSaved(const std::string& database) {
        CVorlixDoc* doc = NewFromFirst();
        ui.fileAnswers = {database};
        ui.tableAnswers = {std::string("Klassen")};
        Command(ID_FILE_SAVE).trigger();
        return doc;
    }

    CTempDir dir;
};

TEST_F(CStorageTest, FirstSaveAsksFileAndTableTheSecondNothing) {
    const std::string database = dir.Path() + "/klassen.mdb";
    CVorlixDoc* doc = NewSaved(database);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_TRUE(ui.fileDialogs[0].save);
    EXPECT_EQ(ui.fileDialogs[0].defaultExtension, "*.mdb");
    EXPECT_EQ(ui.fileDialogs[0].filter, "Access Datenbank (*.mdb)|*.mdb||");
    EXPECT_EQ(ui.offeredTables, (std::vector<Names>{{"Klassen"}}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Utf8(Tree(doc).topLevelItem(0)->text(0)), database + " (Klassen)");
    EXPECT_EQ(doc->GetTitle(), database + " (Klassen)");
    EXPECT_EQ(app->RecentFiles(), QStringList{QString::fromStdString(database)});
    Command(ID_SHOW_LIST).trigger();
    EXPECT_EQ(Utf8(Tree(doc).topLevelItem(0)->text(0)), database + " (Klassen)");

    Tree(doc).SelectNode(doc->m_pRoot->FindByName("CShape", KindClass));
    Frame(doc).DescriptionPane()->setPlainText(QStringLiteral("Grundform"));
    Command(ID_FILE_SAVE).trigger();
    EXPECT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.offeredTables.size(), 1u);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(database + ".bak")));
}

TEST_F(CStorageTest, CancelledSaveKeepsTheDocumentModified) {
    CVorlixDoc* doc = NewFromFirst();
    Command(ID_FILE_SAVE).trigger();
    EXPECT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Utf8(Tree(doc).topLevelItem(0)->text(0)), "Unbekannt");
}

TEST_F(CStorageTest, OpenShowsTheStoredStructureWithItsDescriptions) {
    const std::string database = dir.Path() + "/klassen.mdb";
    CVorlixDoc* saved = NewSaved(database);
    saved->m_pRoot->FindByName("CCircle", KindClass)->SetDescription("Ein Kreis");
    Command(ID_FILE_SAVE).trigger();
    Command(ID_FILE_CLOSE).trigger();
    ProcessDeletes();
    ASSERT_TRUE(app->Documents().isEmpty());

    ui.fileAnswers = {database};
    ui.tableAnswers = {std::string("Klassen")};
    Command(ID_FILE_OPEN).trigger();
    ASSERT_EQ(ui.fileDialogs.size(), 2u);
    EXPECT_FALSE(ui.fileDialogs[1].save);
    EXPECT_TRUE(ui.fileDialogs[1].fileMustExist);
    EXPECT_EQ(ui.fileDialogs[1].filter, "Access Datenbank (*.mdb)|*.mdb|Alle Dateien (*.*)|*.*||");
    ASSERT_EQ(app->Documents().size(), 1);
    CVorlixDoc* doc = app->ActiveDocument();
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), database + " (Klassen)");
    Names names;
    doc->CollectClassNames(names);
    EXPECT_EQ(names, (Names{"CCircle", "CShape"}));
    CClassNode* circle = doc->m_pRoot->FindByName("CCircle", KindClass);
    Tree(doc).SelectNode(circle);
    EXPECT_EQ(DescriptionText(doc), "Ein Kreis");
}

TEST_F(CStorageTest, OpenWithTheTableChoiceCancelledOpensNothing) {
    const std::string database = dir.Path() + "/klassen.mdb";
    NewSaved(database);
    ui.fileAnswers = {database};
    ui.tableAnswers = {std::nullopt};
    Command(ID_FILE_OPEN).trigger();
    EXPECT_EQ(ui.offeredTables.size(), 2u);
    EXPECT_EQ(app->Documents().size(), 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CStorageTest, OpenCancelledAtTheFileDialogOpensNothing) {
    Command(ID_FILE_OPEN).trigger();
    EXPECT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_TRUE(ui.offeredTables.empty());
    EXPECT_TRUE(app->Documents().isEmpty());
}

TEST_F(CStorageTest, FileThatIsNoDatabaseIsReportedAndOpensNothing) {
    const std::string path = dir.Write("kaputt.mdb", std::string(4096, 'x'));
    ui.fileAnswers = {path};
    ui.tableAnswers = {std::string("Klassen")};
    Command(ID_FILE_OPEN).trigger();
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(CStorageTest, ClosedDatabaseReopensFromTheRecentFileList) {
    const std::string database = dir.Path() + "/klassen.mdb";
    NewSaved(database);
    Command(ID_FILE_CLOSE).trigger();
    ProcessDeletes();
    ASSERT_EQ(app->RecentFiles(), QStringList{QString::fromStdString(database)});

    ui.tableAnswers = {std::string("Klassen")};
    app->OnOpenRecentFile(0);
    ASSERT_EQ(app->Documents().size(), 1);
    CVorlixDoc* doc = app->ActiveDocument();
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), database + " (Klassen)");
    EXPECT_EQ(doc->m_pRoot->CountDescendants(KindClass), 2);
}

TEST_F(CStorageTest, VanishedRecentFileIsReportedAndLeavesTheList) {
    const std::string database = dir.Path() + "/klassen.mdb";
    NewSaved(database);
    Command(ID_FILE_CLOSE).trigger();
    ProcessDeletes();
    QFile::remove(QString::fromStdString(database));
    app->OnOpenRecentFile(0);
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(app->RecentFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(database)));
}

TEST_F(CStorageTest, ExportWritesThePagesWithTheEditedDescription) {
    CVorlixDoc* doc = NewFromFirst();
    CClassNode* shape = doc->m_pRoot->FindByName("CShape", KindClass);
    Tree(doc).SelectNode(shape);
    Frame(doc).DescriptionPane()->setPlainText(QStringLiteral("Grundform aller Figuren"));

    ui.yesNoAnswers = {true};
    ui.folderAnswers = {dir.Path()};
    Command(ID_EXPORT_HTML).trigger();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_NE(ui.questions[0].find("Export"), std::string::npos);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.Path() + "/index.html")));
    const std::string page = ReadFile(dir.Path() + "/" + shape->GetHtmlFileName());
    EXPECT_NE(page.find("Grundform aller Figuren"), std::string::npos);
    EXPECT_EQ(shape->GetDescription(), "Grundform aller Figuren");
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(CStorageTest, ExportDeclinedWritesNothing) {
    NewFromFirst();
    ui.yesNoAnswers = {false};
    ui.folderAnswers = {dir.Path()};
    Command(ID_EXPORT_HTML).trigger();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.Path() + "/index.html")));
}

} // namespace
