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
        CreateClassTable(*sql, "Klassen");
        CreateClassTable(*sql, "Alt");
        // root -> A (1; B 4, f 2, v 3)
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

TEST_F(SaveTest, FirstSaveAsksForFileAndTableAndWritesPreOrderRows) {
    ui.fileAnswers.push_back(path);
    ui.tableAnswers.push_back("Klassen");
    ASSERT_TRUE(root.Save(true, ui));
    EXPECT_EQ(StoredRows(*sql, "Klassen"), kExampleRows);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_TRUE(ui.fileDialogs[0].save);
    EXPECT_EQ(ui.fileDialogs[0].defaultExtension, "*.mdb");
    EXPECT_EQ(ui.fileDialogs[0].filter, "Access Datenbank (*.mdb)|*.mdb||");
    EXPECT_EQ(ui.offeredTables, (std::vector<std::vector<std::string>>{{"Alt", "Klassen"}}));
    EXPECT_EQ(root.m_strDatabase, path);
    EXPECT_EQ(root.m_strTable, "Klassen");
    EXPECT_FALSE(root.m_bNeedsLocation);
    EXPECT_TRUE(ui.messages.empty());
    // The integers are stored as integers, not as the texts they were written as.
    EXPECT_EQ(sql->Rows("SELECT DISTINCT typeof(ID) || typeof(Type) || typeof(Row) || "
                        "typeof(Parent) FROM Klassen"),
              std::vector<std::string>{"integerintegerintegerinteger"});

    // The second save asks nothing and writes the same rows.
    ASSERT_TRUE(root.Save(true, ui));
    EXPECT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.offeredTables.size(), 1u);
    EXPECT_EQ(StoredRows(*sql, "Klassen"), kExampleRows);
}

TEST_F(SaveTest, SavingReplacesTheRowsAlreadyInTheTableAfterACopy) {
    InsertRows(*sql, "Klassen", {{7, 1, -1, "Old"}, {8, 2, 7, "g"}, {9, 1, 7, "Older"}});
    InsertRows(*sql, "Alt", {{7, 1, -1, "Untouched"}});
    const std::string backup = dir.Write("db.mdb.bak", "old backup");
    Settle();
    ASSERT_TRUE(root.Save(true, ui));
    EXPECT_EQ(StoredRows(*sql, "Klassen"), kExampleRows);
    EXPECT_EQ(sql->Rows("SELECT Class FROM Alt"), std::vector<std::string>{"Untouched"});
    // The copy is the file as it was before this save, replacing an older one.
    EXPECT_EQ(CSqlFixture(backup).Rows("SELECT Class FROM Klassen"),
              (std::vector<std::string>{"Old", "g", "Older"}));
    std::filesystem::remove(backup);
    ASSERT_TRUE(root.Save(false, ui));
    EXPECT_FALSE(FileExists(backup));
}

// Every stored field, umlauts, quotes and line breaks, into a table whose
// name holds quotes and blanks.
TEST_F(SaveTest, SaveThenLoadGivesBackEveryStoredField) {
    const std::string table = "Meine \"alten\" Klassen; DROP TABLE Klassen";
    CreateClassTable(*sql, "\"Meine \"\"alten\"\" Klassen; DROP TABLE Klassen\"");
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
    EXPECT_EQ(sql->Rows("SELECT count(*) FROM Klassen"), std::vector<std::string>{"0"});
}

TEST_F(SaveTest, CancelPaths) {
    // File dialog cancelled: nothing happens at all.
    EXPECT_FALSE(root.Save(true, ui));
    EXPECT_EQ(root.m_strDatabase, "Unbekannt");
    EXPECT_TRUE(root.m_bNeedsLocation);
    EXPECT_FALSE(FileExists(path + ".bak"));

    // Table dialog cancelled: nothing written, but the copy exists.
    ui.fileAnswers.push_back(path);
    ui.tableAnswers.push_back(std::nullopt);
    EXPECT_FALSE(root.Save(true, ui));
    EXPECT_EQ(root.m_strDatabase, path);
    EXPECT_EQ(root.m_strTable, "Unbekannt");
    EXPECT_TRUE(root.m_bNeedsLocation);
    EXPECT_TRUE(FileExists(path + ".bak"));
    EXPECT_TRUE(StoredRows(*sql, "Klassen").empty());
    EXPECT_TRUE(ui.messages.empty());

    // A new file that cannot be made: the engine's text, the location stays open.
    ui.fileAnswers.push_back(dir.Path() + "/kein/Verzeichnis.mdb");
    EXPECT_FALSE(root.Save(true, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"unable to open database file"});
    EXPECT_TRUE(root.m_bNeedsLocation);
    EXPECT_EQ(ui.offeredTables.size(), 1U);
}

TEST_F(SaveTest, NewFileBecomesADatabaseWithAnEmptyClassTable) {
    const std::string fresh = dir.Path() + "/neu.mdb";
    ui.fileAnswers.push_back(fresh);
    ui.tableAnswers.push_back("Klassen");
    ASSERT_TRUE(root.Save(true, ui));
    EXPECT_EQ(ui.offeredTables, (std::vector<std::vector<std::string>>{{"Klassen"}}));
    CSqlFixture created(fresh);
    EXPECT_EQ(StoredRows(created, "Klassen"), kExampleRows);
    EXPECT_EQ(
        created.Rows("SELECT group_concat(name || ' ' || type) FROM pragma_table_info('Klassen')"),
        std::vector<std::string>{"ID INTEGER,Type INTEGER,Row INTEGER,Parent INTEGER,Class TEXT,"
                                 "File TEXT,Description TEXT,VarType TEXT,Parameter TEXT"});
}

TEST_F(SaveTest, FileThatIsNoDatabaseRaisesTheEnginesErrorAndStaysAsItWas) {
    const std::string text = dir.Write("text.mdb", std::string(3000, 't'));
    ui.fileAnswers.push_back(text);
    ExpectDaoError([&] { root.Save(true, ui); }, "file is not a database");
    ExpectDaoError([&] { root.Load(text, ui); }, "file is not a database");
    EXPECT_EQ(root.GetChildCount(), 0);
    EXPECT_EQ(root.m_strDatabase, text);
    EXPECT_TRUE(ui.offeredTables.empty());
    std::string contents;
    ASSERT_TRUE(ReadWholeFile(text, contents));
    EXPECT_EQ(contents, std::string(3000, 't'));
}

// A row error is shown and abandons that row only; the others stay.
TEST_F(SaveTest, RowErrorsAreShownAndTheOtherRowsStay) {
    sql->Exec("CREATE TABLE Streng (ID INTEGER, Type INTEGER, Row INTEGER, Parent INTEGER, "
              "Class TEXT CHECK (Class <> 'f'), File TEXT, Description TEXT, VarType TEXT, "
              "Parameter TEXT)");
    Settle("Streng");
    ASSERT_TRUE(root.Save(false, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"CHECK constraint failed: Class <> 'f'"});
    // The abandoned row keeps what its first step stored: nothing.
    EXPECT_EQ(StoredRows(*sql, "Streng"),
              (std::vector<std::string>{kExampleRows[0], kExampleRows[1],
                                        "NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL",
                                        kExampleRows[3]}));
}

// A delete that keeps failing (a guard, a lock held elsewhere) ends the save
// with the engine's text once; the old rows stay.
TEST_F(SaveTest, DeletesThatFailStopTheSaveAndKeepTheOldRows) {
    const struct {
        const char* block;
        const char* unblock;
        const char* message;
    } cases[] = {
        {"CREATE TRIGGER Sperre BEFORE DELETE ON Klassen WHEN old.Class = 'Older' "
         "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END",
         "DROP TRIGGER Sperre", "gesperrt"},
        {"BEGIN IMMEDIATE", "ROLLBACK", "database is locked"},
    };
    InsertRows(*sql, "Klassen", {{7, 1, -1, "Old"}, {8, 1, -1, "Older"}});
    Settle();
    for (const auto& c : cases) {
        ui.messages.clear();
        sql->Exec(c.block);
        EXPECT_FALSE(root.Save(false, ui));
        sql->Exec(c.unblock);
        EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(sql->Rows("SELECT Class FROM Klassen ORDER BY rowid"),
                  (std::vector<std::string>{"Old", "Older"}));
    }
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

TEST_F(SaveTest, ReadOnlyFileIsReportedOnceAndNothingIsLost) {
    InsertRows(*sql, "Klassen", {{7, 1, -1, "Old"}});
    sql.reset();
    Settle();
    ::chmod(path.c_str(), 0444);
    ::chmod(dir.Path().c_str(), 0555);
    const int status = RunInChild([&] {
        // Root ignores file modes: the save runs as nobody.
        if (geteuid() == 0 && setuid(65534) != 0) {
            return 10;
        }
        CScriptedUserInterface childUi;
        const std::vector<std::string> expected = {"attempt to write a readonly database"};
        return root.Save(false, childUi) ? 11 : childUi.messages == expected ? 0 : 12;
    });
    EXPECT_EQ(status, 0);
    CSqlFixture check(path);
    EXPECT_EQ(check.Rows("SELECT Class FROM Klassen"), std::vector<std::string>{"Old"});
}

// Old rows and new nodes many pages long, so that a save writes into the file.
std::vector<std::string> FillOldAndNew(CSqlFixture& sql, CClassRoot& root, int old, int added) {
    std::vector<TableRow> rows;
    for (int i = 0; i < old; ++i) {
        rows.push_back({i, KindClass, -1, "Old" + std::to_string(i) + std::string(400, 'o')});
    }
    InsertRows(sql, "Klassen", rows);
    for (int i = 0; i < added; ++i) {
        AddNode(root, KindClass, 100 + i, "N" + std::to_string(i))
            ->SetDescription(std::string(500, 'd'));
    }
    return StoredRows(sql, "Klassen");
}

TEST_F(SaveTest, ProcessKilledInTheMiddleOfASaveLeavesTheOldRows) {
    const std::vector<std::string> before = FillOldAndNew(*sql, root, 6000, 6000);
    AddNode(root, KindClass, 99999, "Boom");
    Settle();
    // The row "Boom" fails; the message for it is where the process dies.
    sql->Exec("CREATE TRIGGER Boom BEFORE UPDATE ON Klassen WHEN new.Class = 'Boom' "
              "BEGIN SELECT RAISE(ABORT, 'boom'); END");
    sql.reset();

    struct CDyingUserInterface : CScriptedUserInterface {
        void ShowMessage(const std::string&) override { ::raise(SIGKILL); }
    };
    const int status = RunInChild([&] {
        CDyingUserInterface dying;
        root.Save(false, dying);
        return 0;
    });
    ASSERT_EQ(status, -SIGKILL);
    // The engine's journal shows that the file was being written.
    EXPECT_TRUE(FileExists(path + "-journal"));

    CSqlFixture check(path);
    EXPECT_EQ(StoredRows(check, "Klassen"), before);
}

TEST_F(SaveTest, FileThatFillsUpEndsTheSaveWithOneMessageAndKeepsTheOldRows) {
    const std::vector<std::string> before = FillOldAndNew(*sql, root, 500, 20000);
    sql.reset();
    Settle();
    const int status = RunInChild([&] {
        // The file may not grow beyond its size: a full disk.
        struct rlimit limit {};
        limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(std::filesystem::file_size(path));
        ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        CScriptedUserInterface childUi;
        return root.Save(false, childUi) ? 11 : childUi.messages.size() == 1 ? 0 : 12;
    });
    EXPECT_EQ(status, 0);
    CSqlFixture check(path);
    EXPECT_EQ(StoredRows(check, "Klassen"), before);
}

} // namespace
