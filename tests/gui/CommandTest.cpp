#include "GuiTestSupport.h"

namespace {

const std::string kFirst = VORLIX_TEST_DATA_DIR "/gui/first";
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

class CCommandTest : public CAppTest {
protected:
    // New on the given directories, then Cancel.
    CVorlixDoc* NewFrom(std::initializer_list<std::string> directories) {
        ui.folderAnswers.assign(directories.begin(), directories.end());
        ui.folderAnswers.push_back(std::nullopt);
        Command(ID_FILE_NEW).trigger();
        return app->ActiveDocument();
    }
    // Update after Yes, on the given directories, then Cancel.
    void Update(std::initializer_list<std::string> directories) {
        ui.yesNoAnswers = {true};
        ui.folderAnswers.assign(directories.begin(), directories.end());
        ui.folderAnswers.push_back(std::nullopt);
        Command(ID_UPDATE_TREE).trigger();
    }
    // As after a Save: the document knows its database and table.
    static void MarkStored(CVorlixDoc* doc) {
        doc->m_pRoot->m_strDatabase = "/data/x.mdb";
        doc->m_pRoot->m_strTable = "Klassen";
        doc->m_pRoot->m_bNeedsLocation = false;
        doc->SetModifiedFlag(false);
    }
};

TEST_F(CCommandTest, NewCancelledAtOnceCreatesNothingWithTwoDirectoriesOneModifiedDocument) {
    Command(ID_FILE_NEW).trigger();
    EXPECT_TRUE(app->Documents().isEmpty());
    EXPECT_EQ(ui.progressShown, 0);
    ui.folderTitles.clear();
    CVorlixDoc* doc = NewFrom({kFirst, kSecond});
    EXPECT_EQ(ui.folderTitles, (Names{kNewFirstTitle, kNewNextTitle, kNewNextTitle}));
    ASSERT_EQ(app->Documents().size(), 1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ClassNames(doc), (Names{"CCircle", "CShape", "CView", "CWnd"}));
    EXPECT_EQ(doc->GetTitle(), "Unbekannt (Unbekannt)");
    // One popup per directory, then one for the ordering; none left open.
    EXPECT_EQ(ui.progressShown, 3);
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(app->RecentFiles().isEmpty());
    // A parsed class shows its members.
    ASSERT_TRUE(Tree(doc).SelectNode(doc->m_pRoot->FindByName("CCircle", KindClass)));
    EXPECT_EQ(Frame(doc).VariableList()->Texts(), QStringList{"m_dRadius"});
}

TEST_F(CCommandTest, UpdateKeepsDescriptionsAndTheTable) {
    CVorlixDoc* doc = NewFrom({kFirst, kSecond});
    MarkStored(doc);
    CClassNode* shape = doc->m_pRoot->FindByName("CShape", KindClass);
    shape->FindChildByName("m_nColor", KindVariable)->SetDescription("Füllfarbe");
    Tree(doc).SelectNode(doc->m_pRoot->FindByName("CCircle", KindClass));
    // The edit still in the pane is taken before the update.
    Frame(doc).DescriptionPane()->setPlainText(QStringLiteral("Ein Kreis"));
    ui.questions.clear();
    ui.folderTitles.clear();
    Update({kFirst});

    EXPECT_EQ(ui.questions, Names{"Die Aktualisierung könnte eventuell relativ viel Zeit "
                                  "beanspruchen!\n\nDennoch fortsetzen?\n"});
    EXPECT_EQ(ui.folderTitles, (Names{kUpdateFirstTitle, kUpdateNextTitle}));
    EXPECT_EQ(ui.folderStarts, Names{kFirst}); // where New began
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ClassNames(doc), (Names{"CCircle", "CShape"}));
    EXPECT_EQ(doc->GetTitle(), "/data/x.mdb (Klassen)");
    EXPECT_EQ(doc->m_pRoot->FindByName("CCircle", KindClass)->GetDescription(), "Ein Kreis");
    EXPECT_EQ(doc->m_pRoot->FindByName("CShape", KindClass)
                  ->FindChildByName("m_nColor", KindVariable)
                  ->GetDescription(),
              "Füllfarbe");
    // The rebuilt tree shows the new root; nothing points into the old model.
    EXPECT_EQ(doc->m_pShown, doc->m_pRoot);
    EXPECT_EQ(Tree(doc).SelectedNode(), doc->m_pRoot);
}

TEST_F(CCommandTest, UpdateDeclinedOrCancelledLeavesTheModelButTakesTheEdit) {
    CVorlixDoc* doc = NewFrom({kFirst});
    MarkStored(doc);
    CClassRoot* root = doc->m_pRoot;
    ui.folderTitles.clear();
    ui.yesNoAnswers = {false};
    Command(ID_UPDATE_TREE).trigger();
    EXPECT_TRUE(ui.folderTitles.empty());
    EXPECT_FALSE(doc->IsModified());
    Tree(doc).SelectNode(root->FindByName("CShape", KindClass));
    Frame(doc).DescriptionPane()->setPlainText(QStringLiteral("geändert"));
    Update({});
    EXPECT_EQ(ui.folderTitles, Names{kUpdateFirstTitle});
    EXPECT_EQ(doc->m_pRoot, root);
    EXPECT_TRUE(doc->IsModified()); // only by the taken description
    EXPECT_EQ(root->FindByName("CShape", KindClass)->GetDescription(), "geändert");
}

TEST_F(CCommandTest, UpdateWhileAMemberIsShownForgetsIt) {
    CVorlixDoc* doc = NewFrom({kFirst});
    CClassNode* shape = doc->m_pRoot->FindByName("CShape", KindClass);
    Tree(doc).SelectNode(shape);
    ASSERT_TRUE(
        Frame(doc).FunctionList()->SelectNode(shape->FindChildByName("Draw", KindFunction)));
    Update({kSecond});
    EXPECT_EQ(ClassNames(doc), (Names{"CView", "CWnd"}));
    EXPECT_EQ(doc->m_pShown, doc->m_pRoot);
}

} // namespace
