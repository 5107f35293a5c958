#include "HtmlTestSupport.h"
#include "ScriptedUserInterface.h"
#include "html/HtmlExport.h"

namespace {

const char kFailure[] =
    "Fehler beim exportieren aufgetreten!\n\nEinige Klassen könnten nicht vorhanden sein!";

// Exported, declined, folder choice cancelled, empty folder, unwritable folder.
TEST(ExportCommand, QuestionFolderProgressAndMessage) {
    CClassRoot root;
    AddNode(&root, "A", KindClass, 0);
    CTempDir dir;
    const std::string blocker = dir.Write("blocker", "x");
    CScriptedUserInterface ui;
    ui.yesNoAnswers = {true, false, true, true, true};
    ui.folderAnswers = {dir.Path(), std::nullopt, std::string(), blocker + "/html"};
    const struct {
        bool exported;
        size_t folderTitles, progressShown, messages;
    } steps[] = {
        {true, 1, 1, 0}, {false, 1, 1, 0}, {false, 2, 1, 0}, {false, 3, 1, 0}, {false, 4, 2, 1}};
    for (const auto& step : steps) {
        EXPECT_EQ(RunHtmlExport(&root, ui), step.exported);
        EXPECT_EQ(ui.folderTitles.size(), step.folderTitles);
        EXPECT_EQ(ui.progressShown, step.progressShown);
        EXPECT_EQ(ui.messages.size(), step.messages);
        EXPECT_FALSE(ui.progressVisible);
    }
    EXPECT_EQ(ui.questions, std::vector<std::string>(5, "Der Export in HTML beansprucht bei "
                                                        "größeren Projekten sehr viel Zeit\nund "
                                                        "eine größere Menge an "
                                                        "Festplattenspeicher!\n\nExport trotzdem "
                                                        "fortsetzen oder abbrechen?"));
    EXPECT_EQ(ui.folderTitles[0], "Wählen Sie ein Verzeichnis, in dem alle weiteren HTML-Dateien "
                                  "angelegt werden soll.");
    EXPECT_EQ(ui.progressTexts,
              std::vector<std::string>(2, "Exportiere Klassenabhängigkeiten ..."));
    EXPECT_EQ(ui.messages, std::vector<std::string>{kFailure});
    EXPECT_EQ(FileNames(dir.Path()),
              (std::vector<std::string>{"blocker", "class_0.html", "index.html"}));
    EXPECT_FALSE(RunHtmlExport(nullptr, ui));
    EXPECT_EQ(ui.questions.size(), 5u) << "no structure, no question";
}

} // namespace
