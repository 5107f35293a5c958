#include "persistence/MdbFile.h"

#include "TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <set>

namespace {

using Row = std::vector<std::optional<std::string>>;

std::string Fixture(const std::string& name) {
    return std::string(VORLIX_SHARED_FIXTURES_DIR) + "/access/" + name;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::vector<std::string> ClassColumns = {
    "ID", "Type", "Row", "Parent", "Class", "File", "Description", "VarType", "Parameter"};

// The fixtures' class table as its README describes it.
const std::vector<Row> KlassenRows = {
    {"9", "1", "-1", "-1", "CView", "Unbekannt", "Basisklasse aller Ansichten", "kein Rückgabewert",
     "keine Parameter"},
    {"0", "1", "5", "9", "CMyView", "view.h", "Ansicht für Zeichnungen: zählt Einträge",
     "kein Rückgabewert", "keine Parameter"},
    {"1", "2", "9", "0", "CMyView", "view.h", "", "constructor", ""},
    {"2", "2", "10", "0", "~CMyView", "view.h", "", "destructor", ""},
    {"3", "2", "11", "0", "OnDraw", "view.h", "Zeichnet die Ansicht.\r\nZweite Zeile.",
     "virtual void", "CDC* pDC"},
    {"4", "3", "12", "0", "m_nCount", "view.h", "", "int", ""},
    {"5", "3", "12", "0", "m_nMax", "view.h", "Größter Wert", "int", ""},
    {"6", "3", "13", "0", "m_strName", "view.h", "", "CString", ""},
    {"7", "2", "14", "0", "operator LPCTSTR", "view.h", "", "", ""},
    {"8", "2", "16", "0", "OnPaint", "view.h", "", "afx_msg void", ""},
    {"10", "1", "3", "-1", "CDoc", "doc.h", "Dokument", "kein Rückgabewert", "keine Parameter"},
    {"11", "2", "7", "10", "Serialize", "doc.h", "", "virtual void", "CArchive& ar"},
};

bool IsSystem(const MdbTableDefInfo& def) {
    return (def.attributes & CMdbFile::SystemObjectMask) != 0;
}

class MdbFixture : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { ASSERT_TRUE(m_file.Open(Fixture(GetParam()))) << m_file.GetError(); }

    MdbTableContents Read(const std::string& table) {
        MdbTableContents contents;
        EXPECT_TRUE(m_file.ReadTable(table, contents)) << m_file.GetError();
        return contents;
    }

    CMdbFile m_file;
};

TEST_P(MdbFixture, SystemTablesCarryTheSystemObjectBits) {
    std::multiset<std::string> userTables;
    int systemTables = 0;
    for (const MdbTableDefInfo& def : m_file.GetTableDefs()) {
        const bool msys = def.name.rfind("MSys", 0) == 0;
        EXPECT_EQ(IsSystem(def), msys) << def.name;
        if (IsSystem(def)) {
            ++systemTables;
        } else {
            userTables.insert(def.name);
        }
    }
    EXPECT_GE(systemTables, 4); // MSysObjects, MSysACEs, MSysQueries, MSysRelationships
    EXPECT_EQ(userTables, (std::multiset<std::string>{"Alt", "Klassen", "Notizen", "Übersicht"}));
}

TEST_P(MdbFixture, KlassenFieldByField) {
    const MdbTableContents contents = Read("Klassen");
    EXPECT_EQ(contents.columns, ClassColumns);
    ASSERT_EQ(contents.rows.size(), KlassenRows.size());
    for (std::size_t r = 0; r < KlassenRows.size(); ++r) {
        for (std::size_t c = 0; c < ClassColumns.size(); ++c) {
            EXPECT_EQ(contents.rows[r][c], KlassenRows[r][c])
                << "row " << r << " column " << ClassColumns[c];
        }
    }
}

TEST_P(MdbFixture, RowsComeInTheOrderTheTableHoldsThem) {
    const MdbTableContents contents = Read("Alt");
    std::vector<std::string> order;
    for (const Row& row : contents.rows) {
        order.push_back(row[0].value_or("?") + ":" + row[4].value_or("?") + "<" +
                        row[3].value_or("?"));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"5:C<4", "4:B<1", "1:A<-1", "2:f<1"}));
}

TEST_P(MdbFixture, NamesAndTextsInUtf8) {
    const MdbTableContents contents = Read("Übersicht");
    ASSERT_EQ(contents.rows.size(), 1U);
    EXPECT_EQ(contents.rows[0][4], "Straße");
    EXPECT_EQ(contents.rows[0][5], "straße.h");
    EXPECT_EQ(contents.rows[0][6], "Größe € ");
}

TEST_P(MdbFixture, OtherColumnTypesAsText) {
    const MdbTableContents contents = Read("Notizen");
    EXPECT_EQ(contents.columns, (std::vector<std::string>{"Titel", "Datum"}));
    ASSERT_EQ(contents.rows.size(), 1U);
    EXPECT_EQ(contents.rows[0], (Row{"Erste Notiz", "1970-01-01 00:00:00"}));
}

TEST_P(MdbFixture, NullIsToldApartFromEmptyText) {
    const MdbTableContents contents = Read("MSysObjects");
    const auto column = [&](const std::string& name) {
        return std::find(contents.columns.begin(), contents.columns.end(), name) -
               contents.columns.begin();
    };
    const auto nameColumn = column("Name");
    const auto connectColumn = column("Connect");
    const auto flagsColumn = column("Flags");
    ASSERT_LT(static_cast<std::size_t>(connectColumn), contents.columns.size());
    int found = 0;
    for (const Row& row : contents.rows) {
        if (row[nameColumn] == "Klassen") {
            ++found;
            EXPECT_EQ(row[connectColumn], std::nullopt);
            EXPECT_EQ(row[flagsColumn], "0");
        }
        if (row[nameColumn] == "MSysObjects") {
            EXPECT_EQ(row[flagsColumn], "-2147483648"); // long integers keep their sign
        }
    }
    EXPECT_EQ(found, 1);
}

TEST_P(MdbFixture, TableNamesMatchExactlyThenIgnoringCase) {
    EXPECT_EQ(Read("klassen").rows.size(), KlassenRows.size());
    MdbTableContents contents;
    contents.columns.push_back("stale");
    EXPECT_FALSE(m_file.ReadTable("Klassen2", contents));
    EXPECT_NE(m_file.GetError().find("'Klassen2'"), std::string::npos) << m_file.GetError();
    EXPECT_TRUE(contents.columns.empty());
    // The file stays usable after a failed read.
    EXPECT_EQ(Read("Alt").rows.size(), 4U);
}

INSTANTIATE_TEST_SUITE_P(Jet4, MdbFixture, ::testing::Values("klassen2000.mdb", "klassen2003.mdb"));

TEST(MdbFile, LooksLikeAccessFileByHeaderBytes) {
    CTempDir dir;
    const std::string jet = std::string("\x00\x01\x00\x00Standard Jet DB\x00\x01", 21);
    const std::string ace = std::string("\x00\x01\x00\x00Standard ACE DB\x00\x03", 21);
    EXPECT_TRUE(CMdbFile::LooksLikeAccessFile(Fixture("klassen2000.mdb")));
    EXPECT_TRUE(CMdbFile::LooksLikeAccessFile(Fixture("klassen2003.mdb")));
    EXPECT_TRUE(CMdbFile::LooksLikeAccessFile(dir.Write("a.mdb", jet)));
    EXPECT_TRUE(CMdbFile::LooksLikeAccessFile(dir.Write("b.accdb", ace)));
    EXPECT_FALSE(
        CMdbFile::LooksLikeAccessFile(dir.Write("c.mdb", std::string("SQLite format 3\0", 16))));
    EXPECT_FALSE(
        CMdbFile::LooksLikeAccessFile(dir.Write("d.mdb", "Standard Jet DB and more text")));
    EXPECT_FALSE(CMdbFile::LooksLikeAccessFile(dir.Write("e.mdb", jet.substr(0, 10))));
    EXPECT_FALSE(CMdbFile::LooksLikeAccessFile(dir.Write("f.mdb", "")));
    EXPECT_FALSE(CMdbFile::LooksLikeAccessFile(dir.Path() + "/missing.mdb"));
    EXPECT_FALSE(CMdbFile::LooksLikeAccessFile(dir.Path()));
}

TEST(MdbFile, OpenFailuresSayWhy) {
    CTempDir dir;
    const std::string jetHead = std::string("\x00\x01\x00\x00Standard Jet DB\x00\x01", 21);
    const std::string aceHead = std::string("\x00\x01\x00\x00Standard ACE DB\x00\x03", 21);
    const struct {
        std::string path;
        std::string expected;
    } cases[] = {
        {dir.Path() + "/missing.mdb", "konnte nicht gelesen werden"},
        {dir.Write("text.mdb", "no database"), "ist keine Access-Datenbank"},
        {dir.Write("new.accdb", aceHead + std::string(3 * 4096 - 21, '\0')), "ab Access 2007"},
        {dir.Write("short.mdb", jetHead + std::string(100, '\0')), "beschädigt oder unvollständig"},
        {dir.Write("empty.mdb", jetHead + std::string(3 * 4096 - 21, '\0')),
         "beschädigt oder unvollständig"},
    };
    for (const auto& c : cases) {
        CMdbFile file;
        EXPECT_FALSE(file.Open(c.path)) << c.path;
        EXPECT_FALSE(file.IsOpen());
        EXPECT_NE(file.GetError().find(c.expected), std::string::npos) << file.GetError();
        EXPECT_NE(file.GetError().find(c.path), std::string::npos) << file.GetError();
    }
    CMdbFile never;
    MdbTableContents contents;
    EXPECT_FALSE(never.ReadTable("Klassen", contents));
    EXPECT_FALSE(never.GetError().empty());
}

// Everything a damaged copy offers must be either an error with a text or
// exactly what the intact file holds: a table never comes back cut short.
struct Reading {
    bool opened = false;
    std::vector<std::string> tables;
    std::vector<std::optional<MdbTableContents>> contents; // nullopt: read failed
};

Reading ReadEverything(const std::string& path) {
    Reading reading;
    CMdbFile file;
    reading.opened = file.Open(path);
    EXPECT_EQ(reading.opened, file.GetError().empty()) << file.GetError();
    if (!reading.opened) {
        return reading;
    }
    for (const MdbTableDefInfo& def : file.GetTableDefs()) {
        reading.tables.push_back(def.name);
        MdbTableContents contents;
        if (file.ReadTable(def.name, contents)) {
            reading.contents.emplace_back(std::move(contents));
        } else {
            EXPECT_FALSE(file.GetError().empty());
            EXPECT_TRUE(contents.columns.empty() && contents.rows.empty());
            reading.contents.emplace_back(std::nullopt);
        }
    }
    return reading;
}

class MdbDamage : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        m_intact = ReadBytes(Fixture(GetParam()));
        ASSERT_EQ(m_intact.size() % PageSize, 0U);
        m_reference = ReadEverything(Fixture(GetParam()));
        ASSERT_TRUE(m_reference.opened);
    }

    std::string WriteCopy(const std::string& bytes) { return m_dir.Write("copy.mdb", bytes); }

    const MdbTableContents* Intact(const std::string& table) const {
        for (std::size_t i = 0; i < m_reference.tables.size(); ++i) {
            if (m_reference.tables[i] == table && m_reference.contents[i]) {
                return &*m_reference.contents[i];
            }
        }
        return nullptr;
    }

    static constexpr std::size_t PageSize = 4096;
    CTempDir m_dir;
    std::string m_intact;
    Reading m_reference;
};

TEST_P(MdbDamage, TruncatedCopyGivesAnErrorOrTheWholeTable) {
    const std::size_t pages = m_intact.size() / PageSize;
    std::vector<std::size_t> cuts = {
        0, 10, 0x14, 0x15, 600, PageSize - 1, 2 * PageSize + 17, m_intact.size() - 1};
    for (std::size_t page = 1; page < pages; ++page) {
        cuts.push_back(page * PageSize);
        cuts.push_back(page * PageSize + PageSize / 2);
    }
    int klassenLost = 0;
    for (const std::size_t cut : cuts) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const Reading reading = ReadEverything(WriteCopy(m_intact.substr(0, cut)));
        if (cut % PageSize != 0 || cut < 3 * PageSize) {
            EXPECT_FALSE(reading.opened);
            continue;
        }
        bool klassenRead = false;
        for (std::size_t i = 0; i < reading.tables.size(); ++i) {
            if (!reading.contents[i]) {
                continue;
            }
            const MdbTableContents* intact = Intact(reading.tables[i]);
            ASSERT_NE(intact, nullptr) << reading.tables[i];
            EXPECT_EQ(reading.contents[i]->columns, intact->columns) << reading.tables[i];
            EXPECT_EQ(reading.contents[i]->rows, intact->rows) << reading.tables[i];
            klassenRead = klassenRead || reading.tables[i] == "Klassen";
        }
        klassenLost += klassenRead ? 0 : 1;
    }
    // Cuts before the end of the class table's pages must have been noticed.
    EXPECT_GT(klassenLost, 0);
}

// A longer run (under valgrind, say) sets VORLIX_MDB_DAMAGE_ROUNDS and
// VORLIX_MDB_DAMAGE_SEED.
int DamageRounds() {
    const char* rounds = std::getenv("VORLIX_MDB_DAMAGE_ROUNDS");
    return rounds != nullptr ? std::atoi(rounds) : 150;
}

unsigned DamageSeed() {
    const char* seed = std::getenv("VORLIX_MDB_DAMAGE_SEED");
    return seed != nullptr ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10)) : 20240607U;
}

TEST_P(MdbDamage, FlippedBytesGiveAnErrorTextNotACrash) {
    std::mt19937 random(DamageSeed());
    const std::size_t pages = m_intact.size() / PageSize;
    // The catalog and the first pages of user tables hold the structures
    // libmdb trusts most; hit them more often than the rest.
    std::uniform_int_distribution<std::size_t> anyByte(0, m_intact.size() - 1);
    std::uniform_int_distribution<std::size_t> structureByte(0, 40 * PageSize - 1);
    std::uniform_int_distribution<int> count(1, 8);
    std::uniform_int_distribution<int> value(0, 255);
    int failures = 0;
    for (int round = 0; round < DamageRounds(); ++round) {
        std::string copy = m_intact;
        const int flips = count(random);
        for (int f = 0; f < flips; ++f) {
            const std::size_t at =
                round % 2 == 0 ? anyByte(random) : structureByte(random) % (pages * PageSize);
            copy[at] = static_cast<char>(round % 3 == 0 ? copy[at] ^ 0xff : value(random));
        }
        SCOPED_TRACE("round " + std::to_string(round));
        const Reading reading = ReadEverything(WriteCopy(copy));
        failures += reading.opened ? 0 : 1;
        for (const auto& contents : reading.contents) {
            failures += contents ? 0 : 1;
        }
    }
    // Damage of this density is noticed now and then; a reader that never
    // failed would not be looking.
    EXPECT_GT(failures, 0);
}

// The row count in the table definition against the rows on the data pages.
TEST_P(MdbDamage, RowCountDisagreeingWithTheDataPagesIsNoticed) {
    unsigned long definitionPage = 0;
    {
        CMdbFile file;
        ASSERT_TRUE(file.Open(Fixture(GetParam())));
        MdbTableContents objects;
        ASSERT_TRUE(file.ReadTable("MSysObjects", objects));
        for (const Row& row : objects.rows) {
            if (row[2] == "Klassen") { // Id, ParentId, Name, ...
                definitionPage = std::stoul(*row[0]) & 0xffffffUL;
            }
        }
    }
    ASSERT_GT(definitionPage, 2UL);
    constexpr std::size_t RowCountOffset = 16; // in a Jet 4 table definition
    const struct {
        unsigned char count;
        bool readable;
    } cases[] = {{12, true}, {5, true}, {0, false}, {200, false}};
    for (const auto& c : cases) {
        std::string copy = m_intact;
        const std::size_t at = definitionPage * PageSize + RowCountOffset;
        ASSERT_EQ(static_cast<unsigned char>(copy[at]), 12);
        copy[at] = static_cast<char>(c.count);
        CMdbFile file;
        ASSERT_TRUE(file.Open(WriteCopy(copy)));
        MdbTableContents contents;
        EXPECT_EQ(file.ReadTable("Klassen", contents), c.readable) << int(c.count);
        EXPECT_EQ(contents.rows.size(), c.readable ? 12U : 0U);
    }
}

INSTANTIATE_TEST_SUITE_P(Jet4, MdbDamage, ::testing::Values("klassen2000.mdb", "klassen2003.mdb"));

} // namespace
