#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "html/HtmlExport.h"
#include "model/ClassRoot.h"
#include "platform/FileServices.h"

#include <gtest/gtest.h>

namespace {

const char kQuestion[] = "Der Export in HTML beansprucht bei größeren Projekten sehr viel Zeit\n"
                         "und eine größere Menge an Festplattenspeicher!\n\n"
                         "Export trotzdem fortsetzen oder abbrechen?";
const char kFolderTitle[] =
    "Wählen Sie ein Verzeichnis, in dem alle weiteren HTML-Dateien angelegt werden soll.";
const char kFailure[] =
    "Fehler beim exportieren aufgetreten!\n\nEinige Klassen könnten nicht vorhanden sein!";

struct Model {
    CClassRoot root;
    Model() {
        auto* a = new CClassNode;
        a->SetName("A");
        a->SetId(0);
        root.AddChild(a);
    }
};

TEST(ExportCommand, ExportsIntoTheChosenFolder) {
    Model model;
    CTempDir dir;
    CScriptedUserInterface ui;
    ui.yesNoAnswers = {true};
    ui.folderAnswers = {dir.Path()};
    EXPECT_TRUE(RunHtmlExport(&model.root, ui));
    EXPECT_EQ(ui.questions, std::vector<std::string>{kQuestion});
    EXPECT_EQ(ui.folderTitles, std::vector<std::string>{kFolderTitle});
    EXPECT_EQ(ui.progressShown, 1);
    EXPECT_EQ(ui.progressTexts, std::vector<std::string>{"Exportiere Klassenabhängigkeiten ..."});
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(FileExists(dir.Path() + "/index.html"));
    EXPECT_TRUE(FileExists(dir.Path() + "/class_0.html"));
}

TEST(ExportCommand, AnythingButYesEndsIt) {
    Model model;
    CScriptedUserInterface ui;
    ui.yesNoAnswers = {false};
    EXPECT_FALSE(RunHtmlExport(&model.root, ui));
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_TRUE(ui.folderTitles.empty());
    EXPECT_EQ(ui.progressShown, 0);
}

TEST(ExportCommand, CancelledFolderChoiceEndsItSilently) {
    Model model;
    CScriptedUserInterface ui;
    ui.yesNoAnswers = {true};
    ui.folderAnswers = {std::nullopt};
    EXPECT_FALSE(RunHtmlExport(&model.root, ui));
    EXPECT_EQ(ui.folderTitles.size(), 1u);
    EXPECT_EQ(ui.progressShown, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ExportCommand, EmptyFolderIsNoPath) {
    Model model;
    CScriptedUserInterface ui;
    ui.yesNoAnswers = {true};
    ui.folderAnswers = {std::string()};
    EXPECT_FALSE(RunHtmlExport(&model.root, ui));
    EXPECT_EQ(ui.progressShown, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ExportCommand, UnwritableFolderGivesTheMessage) {
    Model model;
    CTempDir dir;
    const std::string blocker = dir.Write("blocker", "x");
    CScriptedUserInterface ui;
    ui.yesNoAnswers = {true};
    ui.folderAnswers = {blocker + "/html"};
    EXPECT_FALSE(RunHtmlExport(&model.root, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{kFailure});
    EXPECT_EQ(ui.progressShown, 1);
    EXPECT_FALSE(ui.progressVisible);
}

TEST(ExportCommand, NoStructureNoQuestion) {
    CScriptedUserInterface ui;
    ui.yesNoAnswers = {true};
    EXPECT_FALSE(RunHtmlExport(nullptr, ui));
    EXPECT_TRUE(ui.questions.empty());
}

} // namespace
