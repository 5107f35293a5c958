#include "ClassTableHelpers.h"
#include "persistence/DaoDatabase.h"
#include "persistence/DaoRecordset.h"
#include "platform/FileServices.h"

#include <gtest/gtest.h>

namespace {

TEST(SqliteLayer, RaisesPastTheEndsAndOnNamesItDoesNotKnow) {
    CTempDir dir;
    const std::string path = dir.Path() + "/db.mdb";
    CSqlFixture(path).Exec("CREATE TABLE T (A INTEGER); INSERT INTO T VALUES (1)");
    CDaoDatabase database;
    database.Open(path);
    CDaoRecordset recordset(&database);
    EXPECT_THROW(recordset.Open(dbOpenTable, "t2"), CDaoException);
    recordset.Open(dbOpenTable, "T");
    ExpectDaoError([&] { recordset.GetFieldValue("Description"); },
                   "Feld 'Description' nicht gefunden.");
    EXPECT_THROW(recordset.GetFieldValue("a"), CDaoException); // names match exactly
    recordset.MoveNext();
    EXPECT_TRUE(recordset.IsEOF());
    EXPECT_THROW(recordset.MoveNext(), CDaoException);
    EXPECT_THROW(recordset.GetFieldValue("A"), CDaoException);
}

TEST(SqliteOpen, FilesThatAreNoDatabaseGiveTheEnginesTextAndAreNeverTakenOver) {
    CTempDir dir;
    const struct {
        std::string path;
        const char* message;
    } cases[] = {
        {dir.Path() + "/missing.mdb", "unable to open database file"},
        {dir.Write("text.mdb", std::string(600, 'x')), "file is not a database"},
    };
    for (const auto& c : cases) {
        CDaoDatabase database;
        ExpectDaoError([&] { database.Open(c.path); }, c.message);
        EXPECT_FALSE(database.IsOpen()) << c.path;
    }
    const std::string keep = dir.Write("x.mdb", "keep me");
    CDaoDatabase database;
    EXPECT_THROW(database.Create(keep), CDaoException);
    std::string contents;
    ASSERT_TRUE(ReadWholeFile(keep, contents));
    EXPECT_EQ(contents, "keep me");
}

TEST(DaoException, MessageIsCutTo1023BytesOnACharacterBoundary) {
    const std::string a1022(1022, 'a');
    const struct {
        std::string message;
        size_t shown;
    } cases[] = {
        {"kurz", 4},
        {std::string(1023, 'a'), 1023},
        {std::string(5000, 'a'), 1023},
        {a1022 + "ä", 1022}, // 'ä' takes bytes 1023 and 1024
        {a1022.substr(1) + "ä", 1023},
    };
    for (const auto& c : cases) {
        const CDaoException error(c.message);
        EXPECT_EQ(error.GetErrorMessage(), c.message.substr(0, c.shown));
        char buffer[1024];
        ASSERT_TRUE(error.GetErrorMessage(buffer, sizeof buffer));
        EXPECT_EQ(std::string(buffer), c.message.substr(0, c.shown));
    }
    char small[4];
    CDaoException("Größe").GetErrorMessage(small, sizeof small);
    EXPECT_EQ(std::string(small), "Gr"); // 'ö' does not fit whole
}

TEST(DaoFieldValue, IntegersOutOfRangeOrWithTrailingTextRaise) {
    EXPECT_EQ(CDaoFieldValue(std::string(" -7 ")).AsLong(), -7);
    EXPECT_EQ(CDaoFieldValue(3.0).AsLong(), 3);
    for (const CDaoFieldValue& bad :
         {CDaoFieldValue(std::int64_t{2147483648}), CDaoFieldValue(std::string("+-5")),
          CDaoFieldValue(std::string("12a")), CDaoFieldValue(3.5)}) {
        EXPECT_THROW(bad.AsLong(), CDaoException) << bad.AsText();
    }
}

} // namespace
