#include "HtmlTestSupport.h"
#include "ScriptedUserInterface.h"
#include "cli/Commands.h"
#include "html/HtmlExport.h"

#include <sqlite3.h>
#include <sstream>

namespace {

const char kFailure[] =
    "Fehler beim exportieren aufgetreten!\n\nEinige Klassen könnten nicht vorhanden sein!";

TEST(ExportCommand, QuestionFolderProgressAndMessage) {
    CClassRoot root;
    AddNode(&root, "A", KindClass, 0);
    CTempDir dir;
    const std::string blocker = dir.Write("blocker", "x");
    CScriptedUserInterface ui;
    ui.yesNoAnswers = {true, false, true, true, true};
    ui.folderAnswers = {dir.Path(), std::nullopt, std::string(), blocker + "/html"};
    EXPECT_TRUE(RunHtmlExport(&root, ui));
    EXPECT_EQ(ui.questions, std::vector<std::string>{
                                "Der Export in HTML beansprucht bei größeren Projekten sehr viel "
                                "Zeit\nund eine größere Menge an Festplattenspeicher!\n\n"
                                "Export trotzdem fortsetzen oder abbrechen?"});
    EXPECT_EQ(ui.folderTitles, std::vector<std::string>{"Wählen Sie ein Verzeichnis, in dem alle "
                                                        "weiteren HTML-Dateien angelegt werden "
                                                        "soll."});
    EXPECT_EQ(ui.progressTexts, std::vector<std::string>{"Exportiere Klassenabhängigkeiten ..."});
    EXPECT_EQ(FileNames(dir.Path()),
              (std::vector<std::string>{"blocker", "class_0.html", "index.html"}));
    // Declined, folder choice cancelled, empty folder: nothing shown, nothing written.
    for (size_t questions = 2; questions <= 4; ++questions) {
        EXPECT_FALSE(RunHtmlExport(&root, ui));
        EXPECT_EQ(ui.questions.size(), questions);
        EXPECT_EQ(ui.folderTitles.size(), questions - 1);
    }
    EXPECT_EQ(ui.progressShown, 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(RunHtmlExport(&root, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{kFailure});
    EXPECT_EQ(ui.progressShown, 2);
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_FALSE(RunHtmlExport(nullptr, ui));
    EXPECT_EQ(ui.questions.size(), 5u) << "no structure, no question";
}

int RunExport(const std::vector<std::string>& args, std::string* err = nullptr) {
    std::ostringstream out;
    std::ostringstream errors;
    std::vector<std::string> argv{"export"};
    argv.insert(argv.end(), args.begin(), args.end());
    const int status = RunCli(argv, out, errors);
    if (err != nullptr) {
        *err = errors.str();
    }
    return status;
}

TEST(CliExport, FreshScanAndStoredTable) {
    CTempDir dir;
    const std::string tree = std::string(VORLIX_TEST_DATA_DIR) + "/analysis/tree";
    // The output folder is made when it does not exist yet.
    ASSERT_EQ(RunExport({dir.Path() + "/new/html", tree}), 0);
    EXPECT_NE(ReadFile(dir.Path() + "/new/html/func_6.html")
                  .find("<title>virtual void CShape::Draw(CDC* pDC, const CRect& rect)</title>"),
              std::string::npos);
    // A table as another program may have written it, with an unknown kind.
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
    CTempDir out;
    ASSERT_EQ(RunExport({out.Path(), "--db", db, "--table", "Klassen"}), 0);
    EXPECT_EQ(FileNames(out.Path()),
              (std::vector<std::string>{"class_0.html", "error.html", "index.html"}));
    EXPECT_NE(ReadFile(out.Path() + "/class_0.html").find("Z\344hlt in &#8364;"),
              std::string::npos);
    std::string err;
    EXPECT_EQ(RunExport({out.Path(), "--db", db, "--table", "X"}, &err), 2);
    EXPECT_NE(err.find("no table 'X'"), std::string::npos) << err;
}

TEST(CliExport, ExitStatus) {
    CTempDir dir;
    const std::string blocker = dir.Write("blocker", "x");
    const std::string tree = std::string(VORLIX_TEST_DATA_DIR) + "/analysis/tree";
    std::string err;
    EXPECT_EQ(RunExport({blocker + "/html", tree}, &err), 1);
    EXPECT_EQ(err, std::string(kFailure) + "\n");
    EXPECT_EQ(RunExport({dir.Path(), dir.Path() + "/nothing"}, &err), 2);
    EXPECT_NE(err.find("does not exist"), std::string::npos) << err;
    EXPECT_FALSE(FileExists(dir.Path() + "/index.html"));
    const std::vector<std::string> usages[] = {{},
                                               {"/tmp/out"},
                                               {"", "dir"},
                                               {"/tmp/out", "--db", "x.mdb"},
                                               {"/tmp/out", "--table", "Klassen"},
                                               {"/tmp/out", "--db", "x", "--table", "t", "d"},
                                               {"/tmp/out", "--db"},
                                               {"/tmp/out", "--fast", "dir"}};
    for (const auto& args : usages) {
        EXPECT_EQ(RunExport(args, &err), 2) << testing::PrintToString(args);
        EXPECT_NE(err.find("vorlix-cli export: "), std::string::npos) << err;
    }
}

} // namespace
