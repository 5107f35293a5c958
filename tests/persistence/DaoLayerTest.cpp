#include "ClassTableHelpers.h"
#include "persistence/DaoDatabase.h"
#include "persistence/DaoRecordset.h"
#include "platform/FileServices.h"

#include <gtest/gtest.h>

namespace {

class SqliteLayer : public testing::Test {
protected:
    void SetUp() override {
        path = dir.Path() + "/db.mdb";
        {
            CSqlFixture sql(path);
            sql.Exec("CREATE TABLE T (A INTEGER, B TEXT)");
            sql.Exec("INSERT INTO T VALUES (1, 'x'), (NULL, 'y'), (3, NULL)");
        }
        database.Open(path);
    }
    CTempDir dir;
    std::string path;
    CDaoDatabase database;
};

TEST_F(SqliteLayer, WalksInTableOrderAndRaisesPastTheEndsAndOnUnknownNames) {
    CDaoRecordset recordset(&database);
    recordset.Open(dbOpenTable, "T");
    ASSERT_FALSE(recordset.IsBOF());
    std::vector<std::string> seen;
    for (recordset.MoveFirst(); !recordset.IsEOF(); recordset.MoveNext()) {
        seen.push_back(std::to_string(recordset.GetFieldValue("A").AsLong()) + "/" +
                       recordset.GetFieldValue("B").AsText() + "/" +
                       (recordset.GetFieldValue("B").IsNull() ? "null" : "text"));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"1/x/text", "0/y/text", "3//null"}));
    EXPECT_THROW(recordset.MoveNext(), CDaoException);
    EXPECT_THROW(recordset.GetFieldValue("A"), CDaoException);
    recordset.MoveFirst();
    ExpectDaoError([&] { recordset.GetFieldValue("Description"); },
                   "Feld 'Description' nicht gefunden.");
    EXPECT_THROW(recordset.GetFieldValue("a"), CDaoException); // names match exactly
    // After a delete the walk goes on with the next row.
    recordset.MoveNext();
    recordset.Delete();
    recordset.MoveNext();
    EXPECT_EQ(recordset.GetFieldValue("A").AsLong(), 3);

    CDaoRecordset missing(&database);
    EXPECT_THROW(missing.Open(dbOpenTable, "Nope"), CDaoException);
    EXPECT_FALSE(missing.IsOpen());
}

TEST(SqliteOpen, FilesThatAreNoDatabaseGiveTheEnginesTextAndAreNeverTakenOver) {
    CTempDir dir;
    const struct {
        std::string path;
        const char* message;
    } cases[] = {
        {dir.Path() + "/missing.mdb", "unable to open database file"},
        {dir.Write("text.mdb", std::string(600, 'x')), "file is not a database"},
        {dir.Path(), "unable to open database file"},
        {"", "unable to open database file"},
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

TEST(DaoFieldValue, IntegerConversions) {
    const struct {
        CDaoFieldValue value;
        std::optional<int> expected; // nullopt: raises
    } cases[] = {
        {CDaoFieldValue(), 0},
        {CDaoFieldValue(std::int64_t{2147483647}), 2147483647},
        {CDaoFieldValue(std::int64_t{2147483648}), std::nullopt},
        {CDaoFieldValue(std::string(" -7 ")), -7},
        {CDaoFieldValue(std::string("+-5")), std::nullopt},
        {CDaoFieldValue(std::string("12a")), std::nullopt},
        {CDaoFieldValue(std::string("99999999999999999999")), std::nullopt},
        {CDaoFieldValue(3.0), 3},
        {CDaoFieldValue(3.5), std::nullopt},
    };
    for (const auto& c : cases) {
        if (c.expected) {
            EXPECT_EQ(c.value.AsLong(), *c.expected) << c.value.AsText();
        } else {
            EXPECT_THROW(c.value.AsLong(), CDaoException) << c.value.AsText();
        }
    }
    EXPECT_EQ(CDaoFieldValue(2.5).AsText(), "2.5");
}

} // namespace
