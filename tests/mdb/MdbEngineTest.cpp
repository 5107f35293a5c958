#include "persistence/MdbEngine.h"

#include "TempDir.h"
#include "persistence/DaoDatabase.h"
#include "persistence/DaoException.h"
#include "persistence/DaoRecordset.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>

namespace {

std::string Fixture(const std::string& name) {
    return std::string(VORLIX_SHARED_FIXTURES_DIR) + "/access/" + name;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs an operation that must be refused with the read-only text.
void ExpectRefused(const std::function<void()>& operation, const std::string& path) {
    try {
        operation();
        ADD_FAILURE() << "not refused";
    } catch (const CDaoException& error) {
        EXPECT_EQ(error.GetErrorMessage(), CMdbEngine::ReadOnlyMessage(path));
    }
}

class AccessDatabase : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        // A copy, so that a write that got through would show in its bytes.
        m_path = m_dir.Path() + "/" + GetParam();
        std::filesystem::copy_file(Fixture(GetParam()), m_path);
        m_database.Open(m_path);
    }

    CTempDir m_dir;
    std::string m_path;
    CDaoDatabase m_database;
};

TEST_P(AccessDatabase, ChosenByTheHeaderBytesWithTheTableDefinitions) {
    EXPECT_NE(dynamic_cast<CMdbEngine*>(&m_database.GetEngine()), nullptr);
    std::vector<std::string> userTables;
    bool sawSystem = false;
    for (int i = 0; i < m_database.GetTableDefCount(); ++i) {
        CDaoTableDefInfo info;
        m_database.GetTableDefInfo(i, info);
        if ((info.m_lAttributes & dbSystemObject) == 0) {
            userTables.push_back(info.m_strName);
        } else {
            sawSystem = sawSystem || info.m_strName == "MSysObjects";
        }
    }
    EXPECT_TRUE(sawSystem);
    EXPECT_EQ(userTables, (std::vector<std::string>{"Klassen", "Alt", "Übersicht", "Notizen"}));
    CDaoTableDefInfo info;
    EXPECT_THROW(m_database.GetTableDefInfo(m_database.GetTableDefCount(), info), CDaoException);
}

TEST_P(AccessDatabase, EveryWriteIsRefusedAndTheFileStaysAsItWas) {
    const std::string before = ReadBytes(m_path);
    ExpectRefused([&] { m_database.BeginTrans(); }, m_path);
    EXPECT_THROW(m_database.CreateTableDef("Klassen2", {{"ID", DaoColumnType::Long}}),
                 CDaoException);
    CDaoRecordset recordset(&m_database);
    recordset.Open(dbOpenTable, "Alt");
    recordset.MoveFirst();
    ExpectRefused([&] { recordset.Delete(); }, m_path);
    ExpectRefused(
        [&] {
            recordset.Edit();
            recordset.SetFieldValue("Class", "X");
            recordset.Update();
        },
        m_path);
    recordset.CancelUpdate();
    ExpectRefused(
        [&] {
            recordset.AddNew();
            recordset.Update();
        },
        m_path);
    recordset.Close();
    m_database.Close();
    EXPECT_EQ(ReadBytes(m_path), before);
}

TEST_P(AccessDatabase, MissingTableRaisesTheReadersText) {
    CDaoRecordset recordset(&m_database);
    try {
        recordset.Open(dbOpenTable, "Fehlt");
        ADD_FAILURE() << "opened";
    } catch (const CDaoException& error) {
        EXPECT_NE(error.GetErrorMessage().find("'Fehlt'"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Jet4, AccessDatabase,
                         ::testing::Values("klassen2000.mdb", "klassen2003.mdb"));

TEST(AccessDatabaseOpen, DamagedFileRaisesTheReadersText) {
    CTempDir dir;
    const std::string intact = ReadBytes(Fixture("klassen2000.mdb"));
    const std::string path = dir.Write("cut.mdb", intact.substr(0, intact.size() / 2 + 100));
    CDaoDatabase database;
    try {
        database.Open(path);
        ADD_FAILURE() << "opened";
    } catch (const CDaoException& error) {
        EXPECT_NE(error.GetErrorMessage().find("beschädigt oder unvollständig"), std::string::npos)
            << error.GetErrorMessage();
    }
    EXPECT_FALSE(database.IsOpen());
}

} // namespace
