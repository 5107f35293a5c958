#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "cli/Commands.h"
#include "model/ClassRoot.h"
#include "persistence/MdbEngine.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

namespace {

std::string Fixture(const std::string& name) {
    return std::string(VORLIX_SHARED_FIXTURES_DIR) + "/access/" + name;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

CliResult RunVerb(const std::vector<std::string>& argv) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(argv, out, err);
    return {status, out.str(), err.str()};
}

class AccessVerbs : public ::testing::TestWithParam<const char*> {
protected:
    std::string Path() const { return Fixture(GetParam()); }
    CTempDir m_dir;
};

TEST_P(AccessVerbs, TablesListsWhatTheDialogOffers) {
    const CliResult result = RunVerb({"tables", Path()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Alt\nKlassen\nNotizen\nÜbersicht\n");
    EXPECT_EQ(result.err, "");
}

// The same structure dumped from the Access file and from a SQLite database
// it was saved into gives the same text.
TEST_P(AccessVerbs, DumpGivesWhatTheSameTableGivesFromSqlite) {
    for (const char* table : {"Klassen", "Alt", "Übersicht"}) {
        SCOPED_TRACE(table);
        CScriptedUserInterface ui;
        CClassRoot root;
        ui.tableAnswers.push_back(table);
        ASSERT_TRUE(root.Load(Path(), ui));
        const std::string sqlite = m_dir.Path() + "/" + table + ".mdb";
        ui.fileAnswers.push_back(sqlite);
        ui.tableAnswers.push_back("Klassen");
        ASSERT_TRUE(root.Save(false, ui));

        const CliResult fromAccess = RunVerb({"dump", Path(), table});
        const CliResult fromSqlite = RunVerb({"dump", sqlite, "Klassen"});
        EXPECT_EQ(fromAccess.status, 0) << fromAccess.err;
        EXPECT_EQ(fromSqlite.status, 0) << fromSqlite.err;
        EXPECT_EQ(fromAccess.out, fromSqlite.out);
        EXPECT_NE(fromAccess.out.find('\n'), fromAccess.out.rfind('\n')); // more than the header
        EXPECT_EQ(fromAccess.err, "");
    }
}

TEST_P(AccessVerbs, FailuresAndTheirExitStatus) {
    std::ifstream in(Path(), std::ios::binary);
    const std::string intact((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    const std::string cut = m_dir.Write("cut.mdb", intact.substr(0, intact.size() / 3 + 100));
    const struct {
        std::vector<std::string> argv;
        int status;
        const char* err;
    } cases[] = {
        {{"dump", Path(), "Notizen"}, 1, "could not be read completely"},
        {{"dump", Path(), "Fehlt"}, 2, "no table 'Fehlt'"},
        {{"dump", Path(), "MSysObjects"}, 2, "no table 'MSysObjects'"},
        {{"dump", cut, "Klassen"}, 2, "beschädigt oder unvollständig"},
        {{"tables", cut}, 2, "beschädigt oder unvollständig"},
    };
    for (const auto& c : cases) {
        const CliResult result = RunVerb(c.argv);
        EXPECT_EQ(result.status, c.status) << c.argv[0] << " " << c.argv.back();
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

// Update and scan into an Access file are refused before any scanning, with
// the database's text, and leave the directory as it was.
TEST_P(AccessVerbs, UpdateAndScanIntoAnAccessFileAreRefused) {
    const std::string copy = m_dir.Path() + "/db/" + GetParam();
    std::filesystem::create_directories(m_dir.Path() + "/db");
    std::filesystem::copy_file(Path(), copy);
    const std::string headers = m_dir.Path() + "/src";
    m_dir.Write("src/view.h", "class CMyView : public CView\n{\npublic:\n    void OnDraw();\n};\n");
    const std::string before = ReadBytes(copy);
    const std::vector<std::vector<std::string>> commands = {
        {"update", copy, "Klassen", headers},
        {"update", copy, "Notizen", headers},
        {"scan", "--db", copy, headers},
        {"scan", "--db", copy, "--table", "Alt", headers},
    };
    for (const auto& argv : commands) {
        const CliResult result = RunVerb(argv);
        EXPECT_EQ(result.status, 2) << argv[0] << " " << argv[2];
        EXPECT_EQ(result.err,
                  "vorlix-cli: " + copy + ": " + CMdbEngine::ReadOnlyMessage(copy) + "\n");
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(ReadBytes(copy), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path() + "/db"),
                            std::filesystem::directory_iterator()),
              1);
}

INSTANTIATE_TEST_SUITE_P(Jet4, AccessVerbs,
                         ::testing::Values("klassen2000.mdb", "klassen2003.mdb"));

} // namespace
