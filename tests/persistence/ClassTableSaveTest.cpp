#include "ClassTableHelpers.h"
#include "platform/FileServices.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::vector<std::string> kExampleRows = {
    "1|1|10|-1|A|A.h|Beschreibung von A||",
    "4|1|20|1|B|B.h|Beschreibung von B||",
    "2|2|11|1|f|f.h|Beschreibung von f|int|int a, char* b",
    "3|3|12|1|v|v.h|Beschreibung von v|int|",
};

class SaveTest : public testing::Test {
protected:
    void SetUp() override {
        path = dir.Path() + "/db.mdb";
        sql = std::make_unique<CSqlFixture>(path);
        sql->Exec(ClassTableSql("Klassen") + ClassTableSql("Alt"));
        CClassNode* a = AddNode(root, KindClass, 1, "A", 10);
        AddNode(*a, KindClass, 4, "B", 20);
        AddNode(*a, KindFunction, 2, "f", 11);
        AddNode(*a, KindVariable, 3, "v", 12);
    }

    // A structure whose location is settled, as after a load.
    void Settle(const std::string& table = "Klassen") {
        root.m_strDatabase = path;
        root.m_strTable = table;
        root.m_bNeedsLocation = false;
    }

    CTempDir dir;
    std::string path;
    std::unique_ptr<CSqlFixture> sql;
    CScriptedUserInterface ui;
    CClassRoot root;
};

// A new file becomes a database with a class table of typed columns; the
// second save asks nothing and writes the same rows.
TEST_F(SaveTest, FirstSaveAsksForFileAndTableAndWritesPreOrderRows) {
    const std::string fresh = dir.Path() + "/neu.mdb";
    ui.fileAnswers.push_back(fresh);
    ui.tableAnswers.push_back("Klassen");
    for (int save = 0; save < 2; ++save) {
        ASSERT_TRUE(root.Save(true, ui));
        CSqlFixture created(fresh);
        EXPECT_EQ(created.Rows("SELECT * FROM Klassen ORDER BY rowid"), kExampleRows);
        EXPECT_EQ(created.One("SELECT (SELECT group_concat(name || ' ' || type) FROM "
                              "pragma_table_info('Klassen')) || ';' || (SELECT group_concat("
                              "DISTINCT typeof(ID) || typeof(Type) || typeof(Row) || "
                              "typeof(Parent)) FROM Klassen)"),
                  "ID INTEGER,Type INTEGER,Row INTEGER,Parent INTEGER,Class TEXT,File TEXT,"
                  "Description TEXT,VarType TEXT,Parameter TEXT;integerintegerintegerinteger");
    }
    ASSERT_EQ(ui.fileDialogs.size() + ui.offeredTables.size(), 2u);
    EXPECT_TRUE(ui.fileDialogs[0].save && !root.m_bNeedsLocation && ui.messages.empty());
    EXPECT_EQ(ui.fileDialogs[0].defaultExtension + ui.fileDialogs[0].filter +
                  ui.offeredTables[0][0],
              "*.mdbAccess Datenbank (*.mdb)|*.mdb||Klassen");
    EXPECT_EQ(root.m_strDatabase + "|" + root.m_strTable, fresh + "|Klassen");
    // Into an existing empty table: its cursor starts at both ends.
    Settle("Alt");
    ASSERT_TRUE(root.Save(false, ui));
    EXPECT_EQ(sql->Rows("SELECT * FROM Alt ORDER BY rowid"), kExampleRows);
}

// Every stored field, umlauts, quotes and line breaks, goes into a table
// whose name holds quotes and blanks, and comes back. The copy holds what the
// database held, also changes another connection has not yet written back
// from its write-ahead log, and replaces an older one.
TEST_F(SaveTest, SaveThenLoadGivesBackEveryFieldAfterAConsistentCopy) {
    const std::string table = "Meine \"alten\" Klassen; DROP TABLE Klassen";
    const std::string quoted = "\"Meine \"\"alten\"\" Klassen; DROP TABLE Klassen\"";
    sql->Exec("PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;" + ClassTableSql(quoted) +
              InsertSql(quoted, {{7, 1, -1, "Old"}, {8, 2, 7, "g"}, {9, 1, 7, "Older"}}) +
              InsertSql("Alt", {{7, 1, -1, "Untouched"}}));
    const std::string backup = dir.Write("db.mdb.bak", "old backup");
    CClassNode* c = AddNode(root, KindClass, 5, "Zeichen");
    c->SetDescription("Umlaute äöü ß, \"Anführung\"\r\nzweite Zeile, 'einfach'; -- kein SQL");
    AddNode(*c, KindFunction, 6, "operator==")->SetParameters("const Zeichen& rhs");
    AddNode(*root.GetChild(0)->GetChild(0), KindVariable, 7, "m_pNext")->SetTypeText("B*");
    ui.fileAnswers.push_back(path);
    ui.tableAnswers = {table, table};
    ASSERT_TRUE(root.Save(true, ui));
    CClassRoot loaded;
    ASSERT_TRUE(loaded.Load(path, ui));
    EXPECT_EQ(Csv(loaded), Csv(root));
    EXPECT_EQ(loaded.m_strTable, table);
    EXPECT_EQ(sql->One("SELECT (SELECT count(*) FROM Klassen) || (SELECT Class FROM Alt)"),
              "0Untouched");
    std::filesystem::copy_file(backup, dir.Path() + "/alone.db");
    EXPECT_EQ(
        CSqlFixture(dir.Path() + "/alone.db").One("SELECT group_concat(Class) FROM " + quoted),
        "Old,g,Older");
    std::filesystem::remove(backup);
    ASSERT_TRUE(root.Save(false, ui));
    EXPECT_FALSE(FileExists(backup));
}

TEST_F(SaveTest, CancelPathsAndFilesThatCannotBeUsed) {
    // File dialog cancelled: nothing happens at all.
    EXPECT_FALSE(root.Save(true, ui) || FileExists(path + ".bak"));
    EXPECT_EQ(root.m_strDatabase, "Unbekannt");
    // Table dialog cancelled: nothing written, but the copy exists.
    ui.fileAnswers.push_back(path);
    ui.tableAnswers.push_back(std::nullopt);
    EXPECT_FALSE(root.Save(true, ui));
    EXPECT_EQ(root.m_strDatabase + "|" + root.m_strTable, path + "|Unbekannt");
    EXPECT_TRUE(root.m_bNeedsLocation && FileExists(path + ".bak") && ui.messages.empty());
    EXPECT_TRUE(sql->Rows("SELECT * FROM Klassen").empty());
    // A new file that cannot be made: German text with the engine's after it.
    const std::string nowhere = dir.Path() + "/kein/Verzeichnis.mdb";
    ui.fileAnswers.push_back(nowhere);
    EXPECT_FALSE(root.Save(true, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Die Datenbank '" + nowhere +
                                                    "' kann nicht geöffnet werden.\n\n"
                                                    "unable to open database file"});
    EXPECT_TRUE(root.m_bNeedsLocation);
    // A file that is no database raises the error and stays as it was.
    const std::string text = dir.Write("text.mdb", std::string(3000, 't'));
    ui.fileAnswers.push_back(text);
    EXPECT_EQ(DaoError([&] { root.Save(true, ui); }),
              "Die Datei '" + text + "' ist keine Datenbank.\n\nfile is not a database");
    EXPECT_EQ(ui.offeredTables.size(), 1U);
    EXPECT_EQ(ReadBytes(text), std::string(3000, 't'));
}

// A row the table refuses, a table with triggers (which would run their own
// statements, here for ever) and a lock held elsewhere: one message, false,
// and the old rows stay. Loading such a table stays allowed.
TEST_F(SaveTest, WritesThatFailEndTheSaveAndKeepTheOldRows) {
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"Streng", "",
         "Die Datenbank '" + path +
             "' nimmt die Zeile nicht an.\n\n"
             "CHECK constraint failed: Class <> 'f'"},
        {"Klassen",
         "CREATE TRIGGER Lang AFTER INSERT ON Klassen BEGIN SELECT count(*) FROM "
         "Klassen a, Klassen b, Klassen c, Klassen d, Klassen e, Klassen f; END",
         "In die Tabelle 'Klassen' der Datenbank '" + path +
             "' wird nicht geschrieben: sie hat Trigger, die beim Speichern eigene Befehle in "
             "der Datenbank ausführen würden."},
        {"Alt", "BEGIN IMMEDIATE",
         "Die Datenbank '" + path +
             "' ist von einem anderen Programm gesperrt.\n\ndatabase is locked"},
    };
    sql->Exec("CREATE TABLE Streng (ID, Type, Row, Parent, Class CHECK (Class <> 'f'), File, "
              "Description, VarType, Parameter)");
    for (const auto& [table, setup, message] : cases) {
        ui.messages.clear();
        sql->Exec(InsertSql(table, {{7, 1, -1, "Old"}, {8, 1, -1, "Older"}}) + setup);
        Settle(table);
        EXPECT_FALSE(root.Save(false, ui));
        EXPECT_EQ(ui.messages, std::vector<std::string>{message});
        EXPECT_EQ(sql->One(std::string("SELECT group_concat(Class) FROM ") + table), "Old,Older");
        CClassRoot loaded;
        ui.tableAnswers.push_back(table);
        EXPECT_TRUE(loaded.Load(path, ui));
        EXPECT_EQ(Shape(loaded), "Old Older");
    }
    sql->Exec("ROLLBACK");
}

// Runs body in a child process and returns its exit status (or -signal).
int RunInChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// A full disk (the file may not grow), a read-only file (root ignores file
// modes: that save runs as nobody) and a process killed at the message for a
// row the table refuses: the old rows stay; the first two say why, once.
TEST_F(SaveTest, FullDiskReadOnlyFileOrKilledProcessLoseNothing) {
    sql->Exec("CREATE TABLE Boom (ID, Type, Row, Parent, Class CHECK (Class <> 'Boom'), File, "
              "Description, VarType, Parameter)");
    std::vector<TableRow> rows;
    for (int i = 0; i < 500; ++i) {
        rows.push_back({i, KindClass, -1, "Old" + std::string(400, 'o')});
    }
    for (int i = 0; i < 20000; ++i) {
        AddNode(root, KindClass, 100 + i, "N")->SetDescription(std::string(500, 'd'));
    }
    AddNode(root, KindClass, 99999, "Boom");
    sql->Exec(InsertSql("Boom", rows));
    const std::vector<std::string> before = sql->Rows("SELECT * FROM Boom ORDER BY rowid");
    sql.reset();
    Settle("Boom");
    struct CDyingUserInterface : CScriptedUserInterface {
        bool die = false;
        void ShowMessage(const std::string& text) override {
            die ? (void)::raise(SIGKILL) : messages.push_back(text);
        }
    };
    const std::tuple<const char*, bool, int> cases[] = {{"ist der Datenträger voll?", false, 0},
                                                        {"schreibgeschützt", true, 0},
                                                        {"", false, -SIGKILL}};
    for (const auto& [message, readOnly, expected] : cases) {
        ::chmod(path.c_str(), readOnly ? 0444 : 0644);
        ::chmod(dir.Path().c_str(), readOnly ? 0555 : 0755);
        const int status = RunInChild([&, message = message, readOnly = readOnly] {
            struct rlimit limit {};
            limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(std::filesystem::file_size(path));
            ::signal(SIGXFSZ, SIG_IGN);
            if (*message != '\0') {
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            if (readOnly && geteuid() == 0 && setuid(65534) != 0) {
                return 10;
            }
            CDyingUserInterface childUi;
            childUi.die = *message == '\0';
            if (root.Save(false, childUi) || childUi.messages.size() != 1) {
                return 11;
            }
            return childUi.messages[0].find(message) != std::string::npos ? 0 : 12;
        });
        EXPECT_EQ(status, expected) << message;
        ::chmod(dir.Path().c_str(), 0755);
        // The engine's journal shows that the killed process was writing.
        EXPECT_TRUE(expected == 0 || FileExists(path + "-journal"));
        EXPECT_EQ(CSqlFixture(path).Rows("SELECT * FROM Boom ORDER BY rowid"), before);
    }
}

} // namespace
