// Data-access conventions: statement texts, the options each kind of statement runs with,
// reading a row with defaults, and keeping a host recordset's position.
#include <gtest/gtest.h>

#include "data/query.h"
#include "data/recordset_guard.h"
#include "data/sql_text.h"
#include "error_of.h"
#include "fake_ado.h"
#include "host/policy.h"

namespace zq {
namespace {

using testing::FakeConnection;
using testing::FakeRecordset;

using testing::ErrorOf;

TEST(SqlTextTest, QuotesAndDoublesQuotes) {
    EXPECT_EQ(SqlText("ABC"), "'ABC'");
    EXPECT_EQ(SqlText(""), "''");
    EXPECT_EQ(SqlText("D'Amico"), "'D''Amico'");
    // A typed reason code stays one literal, whatever it holds.
    std::string sql =
        "SELECT ZQ63_DESCRIZIONE FROM ZQ63_CAU_ANNULLO WITH (NOLOCK) WHERE "
        "ZQ63_CODICE = " +
        SqlText("' OR '1'='1");
    EXPECT_EQ(sql,
              "SELECT ZQ63_DESCRIZIONE FROM ZQ63_CAU_ANNULLO WITH (NOLOCK) WHERE ZQ63_CODICE = "
              "''' OR ''1''=''1'");
}

TEST(SqlTextTest, BareValuesAndNumbers) {
    EXPECT_EQ(SqlLong(0), "0");
    EXPECT_EQ(SqlLong(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(SqlBare(Variant::Int32(1)), "1");
    EXPECT_EQ(SqlBare(Variant::Int16(12)), "12");
    EXPECT_EQ(SqlBare(Variant("'2026000123'")), "'2026000123'");  // as it comes, unquoted
    EXPECT_EQ(SqlBare(Variant::Null()), "");
    EXPECT_EQ(SqlBare(Variant()), "");
    EXPECT_EQ(" WHERE DO11_DITTA_CG18 = " + SqlBare(Variant::Int32(1)) + kCrLf.data() +
                  " AND DO11_NUMREG_CO99 = " + SqlText("X"),
              " WHERE DO11_DITTA_CG18 = 1\r\n AND DO11_NUMREG_CO99 = 'X'");
    EXPECT_EQ(SqlDropTempTable("#STORNA_PROGMAG"),
              "IF NOT OBJECT_ID('TEMPDB.DBO.#STORNA_PROGMAG') IS NULL DROP TABLE #STORNA_PROGMAG");
}

TEST(QueryTest, EachKindOfStatementRunsWithItsOptions) {
    FakeConnection cnn;
    cnn.result = std::make_shared<FakeRecordset>();
    EXPECT_EQ(OpenQuery(cnn, "SELECT 1"), cnn.result);
    ExecNoRecords(cnn, "DROP TABLE #T");
    ExecUnspecified(cnn, "EXEC SPCO_SETFLUSSOSTATO @GUID='G'");
    ASSERT_EQ(cnn.calls.size(), 3u);
    EXPECT_EQ(cnn.calls[0].sql, "SELECT 1");
    EXPECT_EQ(cnn.calls[0].options, 1);
    EXPECT_EQ(cnn.calls[1].sql, "DROP TABLE #T");
    EXPECT_EQ(cnn.calls[1].options, 129);
    EXPECT_EQ(cnn.calls[2].options, -1);

    cnn.fail = true;  // the caller's policy decides what a failed statement means
    EXPECT_EQ(ErrorOf([&] { OpenQuery(cnn, "SELECT 1"); }), err::AdoProviderError);
}

TEST(QueryTest, HasRow) {
    EXPECT_FALSE(HasRow(nullptr));
    EXPECT_FALSE(HasRow(std::make_shared<FakeRecordset>()));
    auto rst = std::make_shared<FakeRecordset>(std::vector<FakeRecordset::Row>{{}});
    EXPECT_TRUE(HasRow(rst));
    rst->MoveNext();  // at EOF only: the query did return a row
    EXPECT_TRUE(HasRow(rst));
}

TEST(QueryTest, ReadsFieldsWithTheDefaultsOfTheirKind) {
    auto rst = std::make_shared<FakeRecordset>(std::vector<FakeRecordset::Row>{{
        {"ID", Variant::Int32(7)},
        {"TXT", Variant(" Ab ")},
        {"QTA", Variant(2.5)},
        {"NUL", Variant::Null()},
        {"BLANK", Variant("   ")},
        {"NUMTXT", Variant("12.5")},
        {"WORD", Variant("abc")},
    }});
    EXPECT_EQ(ReadLong(rst, "ID"), 7);
    EXPECT_EQ(ReadText(rst, "TXT"), " Ab ");
    EXPECT_EQ(ReadDouble(rst, "QTA"), 2.5);
    EXPECT_EQ(ReadLong(rst, "QTA"), 2);  // CLng: half to even
    EXPECT_EQ(ReadText(rst, "ID"), "7");
    EXPECT_EQ(ReadLong(rst, "NUMTXT"), 12);
    for (const char* field : {"NUL", "BLANK"}) {
        EXPECT_EQ(ReadLong(rst, field), 0) << field;
        EXPECT_EQ(ReadText(rst, field), "") << field;
        EXPECT_EQ(ReadDouble(rst, field), 0) << field;
    }
    EXPECT_EQ(ErrorOf([&] { ReadLong(rst, "WORD"); }), err::TypeMismatch);
    EXPECT_EQ(ErrorOf([&] { ReadText(rst, "MISSING"); }), err::AdoItemNotFound);
    EXPECT_EQ(ErrorOf([] { ReadText(nullptr, "ID"); }), err::ObjectNotSet);
}

std::vector<FakeRecordset::Row> ThreeRows() {
    return {{}, {}, {}};
}

TEST(RecordsetGuardTest, PutsFilterThenBookmarkBack) {
    auto rst = std::make_shared<FakeRecordset>(ThreeRows());
    rst->current = 2;
    {
        RecordsetGuard guard(rst);
        EXPECT_TRUE(guard.SavedBookmark());
        EXPECT_TRUE(guard.SavedFilter());
        rst->SetFilter(Variant(" DO30_PROGRIGA = 5"));
        rst->MoveNext();
    }
    // Filter first (it moves the cursor to the first row), then the bookmark.
    EXPECT_TRUE(rst->filter.SameAs(Variant::Int32(ado::adFilterNone)));
    EXPECT_EQ(rst->current, 2);
}

TEST(RecordsetGuardTest, AnUnchangedFilterIsNotSetAgain) {
    auto rst = std::make_shared<FakeRecordset>(ThreeRows());
    rst->filter = Variant("DO31_PROGRIGA = 1");
    rst->current = 1;
    { RecordsetGuard guard(rst, RecordsetGuard::kFilter); }
    EXPECT_EQ(rst->filterWrites, 0);
    EXPECT_EQ(rst->current, 1);
}

TEST(RecordsetGuardTest, KeepsOnlyWhatItWasAskedFor) {
    auto rst = std::make_shared<FakeRecordset>(ThreeRows());
    rst->current = 1;
    {
        RecordsetGuard guard(rst, RecordsetGuard::kBookmark);
        EXPECT_FALSE(guard.SavedFilter());
        rst->SetFilter(Variant("X = 1"));
        rst->current = 0;
    }
    EXPECT_EQ(rst->filter.ToString(), "X = 1");
    EXPECT_EQ(rst->current, 1);
}

TEST(RecordsetGuardTest, NoRowNoBookmarkAndRestoreErrorsAreDropped) {
    auto rst = std::make_shared<FakeRecordset>(ThreeRows());
    rst->current = 3;  // EOF: there is no bookmark to keep
    {
        RecordsetGuard guard(rst);
        EXPECT_FALSE(guard.SavedBookmark());
        rst->current = 1;
    }
    EXPECT_EQ(rst->current, 1);

    {
        RecordsetGuard guard(rst);
        rst->filter = Variant("X = 2");
        rst->failRestore = true;
    }  // both restores raise; the guard must not
    EXPECT_EQ(rst->filter.ToString(), "X = 2");

    RecordsetGuard none(nullptr);
    EXPECT_FALSE(none.SavedBookmark());
}

TEST(RecordsetGuardTest, RestoresWhenAnErrorLeavesTheScope) {
    auto rst = std::make_shared<FakeRecordset>(ThreeRows());
    rst->current = 2;
    bool completed = EndQuietly([&] {
        RecordsetGuard guard(rst);
        rst->SetFilter(Variant("X = 1"));
        Raise(err::AdoBofEof, "test", "BOF or EOF");
    });
    EXPECT_FALSE(completed);
    EXPECT_EQ(rst->current, 2);
    EXPECT_TRUE(rst->filter.SameAs(Variant::Int32(0)));
}

}  // namespace
}  // namespace zq
