#include "persistence/MdbFile.h"

#include "../persistence/ClassTableHelpers.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const std::string kJetHead = std::string("\x00\x01\x00\x00Standard Jet DB\x00\x01", 21);
const std::string kAceHead = std::string("\x00\x01\x00\x00Standard ACE DB\x00\x03", 21);

// A new SQLite file and files cut short: the Access table tests.
TEST(MdbFile, RecognisedByTheHeaderBytesAndOpenFailuresSayWhy) {
    CTempDir dir;
    EXPECT_TRUE(CMdbFile::LooksLikeAccessFile(Fixture("klassen2000.mdb")));
    EXPECT_TRUE(CMdbFile::LooksLikeAccessFile(dir.Write("b.accdb", kAceHead)));
    for (const std::string& other :
         {std::string("Standard Jet DB and more"), kJetHead.substr(0, 10), std::string()}) {
        EXPECT_FALSE(CMdbFile::LooksLikeAccessFile(dir.Write("c.mdb", other))) << other;
    }
    EXPECT_FALSE(CMdbFile::LooksLikeAccessFile(dir.Path()));
    const std::pair<std::string, const char*> cases[] = {
        {dir.Path() + "/missing.mdb", "konnte nicht gelesen werden"},
        {dir.Write("text.mdb", "no database"), "ist keine Access-Datenbank"},
        {dir.Write("new.accdb", kAceHead + std::string(3 * 4096 - 21, '\0')), "ab Access 2007"},
    };
    for (const auto& [path, expected] : cases) {
        CMdbFile file;
        EXPECT_FALSE(file.Open(path)) << path;
        EXPECT_NE(file.GetError().find(expected), std::string::npos) << file.GetError();
        EXPECT_NE(file.GetError().find(path), std::string::npos) << file.GetError();
    }
}

// The catalog keeps when each object was made; a date there that is not a
// number or out of every calendar is damage like any other, never handed on.
TEST(MdbFile, CatalogDateThatIsNoDateIsDamage) {
    constexpr std::size_t PageSize = 4096;
    const std::string intact = ReadBytes(Fixture("klassen2000.mdb"));
    // The first date of the years 2000 to 2030 on a data page of the catalog (page 2).
    std::size_t at = 0;
    for (std::size_t page = 3; at == 0 && page < intact.size() / PageSize; ++page) {
        const char* bytes = intact.data() + page * PageSize;
        const bool catalog = bytes[0] == 1 && std::memcmp(bytes + 4, "\x02\x00\x00\x00", 4) == 0;
        for (std::size_t i = 16; catalog && at == 0 && i + 8 < PageSize; ++i) {
            double days = 0;
            std::memcpy(&days, bytes + i, 8);
            at = days > 36526 && days < 47484 ? page * PageSize + i : 0;
        }
    }
    ASSERT_NE(at, 0U);
    const std::pair<double, bool> dates[] = {
        {40000.25, true}, {std::nan(""), false}, {1e300, false}, {-1e9, false}};
    CTempDir dir;
    for (const auto& [days, sound] : dates) {
        std::string copy = intact;
        std::memcpy(copy.data() + at, &days, 8);
        CMdbFile file;
        EXPECT_EQ(file.Open(dir.Write("date.mdb", copy)), sound) << days;
        EXPECT_EQ(file.GetError().find("beschädigt") != std::string::npos, !sound) << days;
    }
}

} // namespace
