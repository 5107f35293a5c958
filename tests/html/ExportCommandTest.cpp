#include "HtmlTestSupport.h"
#include "ScriptedUserInterface.h"
#include "cli/Commands.h"
#include "html/HtmlExport.h"

#include <sqlite3.h>
#include <sstream>

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

// A fresh scan into a folder made on the way, a table as another program may
// have written it (with an unknown kind), failures and usage errors.
TEST(CliExport, ScanOrStoredTableAndExitStatus) {
    CTempDir dir;
    const std::string tree = std::string(VORLIX_TEST_DATA_DIR) + "/analysis/tree";
    const std::string db = dir.Path() + "/klassen.mdb";
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(handle,
                           "CREATE TABLE Klassen (ID INTEGER, Type INTEGER, Row INTEGER, Parent "
                           "INTEGER, Class TEXT, File TEXT, Description TEXT, VarType TEXT, "
                           "Parameter TEXT); INSERT INTO Klassen VALUES (0, 1, 3, -1, 'CZähler', "
                           "'z.h', 'Zählt in €', '', ''), (3, 7, 1, 0, 'odd', 'o.h', 'd', '', '');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(handle);
    const std::string out = dir.Path() + "/new/html";
    const std::string blocker = dir.Write("blocker", "x");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{out, tree}, 0, ""},
        {{dir.Path() + "/t", "--db", db, "--table", "Klassen"}, 0, ""},
        {{dir.Path() + "/t", "--db", db, "--table", "X"}, 2, "no table 'X'"},
        {{blocker + "/html", tree}, 1, std::string(kFailure) + "\n"},
        {{dir.Path(), dir.Path() + "/nothing"}, 2, "does not exist"},
        {{}, 2, "vorlix-cli export: "},
        {{"/tmp/out"}, 2, "vorlix-cli export: "},
        {{"", "dir"}, 2, "vorlix-cli export: "},
        {{"/tmp/out", "--db", "x.mdb"}, 2, "vorlix-cli export: "},
        {{"/tmp/out", "--table", "Klassen"}, 2, "vorlix-cli export: "},
        {{"/tmp/out", "--db", "x", "--table", "t", "d"}, 2, "vorlix-cli export: "},
        {{"/tmp/out", "--db"}, 2, "vorlix-cli export: "},
        {{"/tmp/out", "--fast", "dir"}, 2, "vorlix-cli export: "},
    };
    for (const auto& test : cases) {
        std::vector<std::string> argv{"export"};
        argv.insert(argv.end(), test.args.begin(), test.args.end());
        std::ostringstream output, err;
        EXPECT_EQ(RunCli(argv, output, err), test.status) << testing::PrintToString(test.args);
        EXPECT_NE(err.str().find(test.err), std::string::npos) << err.str();
    }
    EXPECT_NE(ReadFile(out + "/func_6.html")
                  .find("<title>virtual void CShape::Draw(CDC* pDC, const CRect& rect)</title>"),
              std::string::npos);
    EXPECT_NE(ReadFile(dir.Path() + "/t/class_0.html").find("Z\344hlt in &#8364;"),
              std::string::npos);
    EXPECT_EQ(FileNames(dir.Path() + "/t"),
              (std::vector<std::string>{"class_0.html", "error.html", "index.html"}));
    EXPECT_FALSE(FileExists(dir.Path() + "/index.html"));
}

} // namespace
