// Data-access conventions: statement texts, the options each kind of statement runs with,
// reading a row with defaults, and keeping a host recordset's position. Run on the
// in-memory recordset engine and SQLite connection the plug-in meets in the simulated host.
#include <gtest/gtest.h>

#include "data/query.h"
#include "data/recordset_guard.h"
#include "data/sql_text.h"
#include "host/policy.h"
#include "sim/db/sqlite_connection.h"
#include "sim/recordset/mem_recordset.h"
#include "support/error_of.h"

namespace zq {
namespace {

using test::ErrorOf;

TEST(SqlText, QuotesLiteralsAndWritesBareValuesAsTheyCome) {
    EXPECT_EQ(SqlText(""), "''");
    EXPECT_EQ(SqlText("D'Amico"), "'D''Amico'");
    // A typed reason code stays one literal, whatever it holds.
    EXPECT_EQ(SqlText("' OR '1'='1"), "''' OR ''1''=''1'");
    EXPECT_EQ(SqlLong(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(SqlBare(Variant::Int16(12)), "12");
    EXPECT_EQ(SqlBare(Variant("'2026000123'")), "'2026000123'");  // as it comes, unquoted
    EXPECT_EQ(SqlBare(Variant::Null()), "");
    EXPECT_EQ(SqlBare(Variant()), "");
    EXPECT_EQ(SqlDropTempTable("#STORNA_PROGMAG"),
              "IF NOT OBJECT_ID('TEMPDB.DBO.#STORNA_PROGMAG') IS NULL DROP TABLE #STORNA_PROGMAG");
}

TEST(Query, EachKindOfStatementRunsWithItsOptions) {
    auto cnn = sim::SqliteConnection::Open(":memory:");
    auto log = std::make_shared<sim::StatementLog>();
    cnn->SetStatementLog(log);
    ExecNoRecords(*cnn, "CREATE TABLE T (X INT)");
    ExecUnspecified(*cnn, "INSERT INTO T VALUES (7)");
    EXPECT_EQ(ReadLong(OpenQuery(*cnn, "SELECT X FROM T"), "X"), 7);
    ASSERT_EQ(log->Statements().size(), 3u);
    EXPECT_EQ(log->Statements()[0].options, 129);
    EXPECT_EQ(log->Statements()[1].options, -1);
    EXPECT_EQ(log->Statements()[2].options, 1);

    log->FailAll();  // the caller's policy decides what a failed statement means
    EXPECT_EQ(ErrorOf([&] { OpenQuery(*cnn, "SELECT X FROM T"); }), err::AdoProviderError);
}

ado::RecordsetPtr Rows(std::vector<std::string> fields, std::vector<sim::Row> rows) {
    std::vector<sim::FieldDef> defs;
    for (auto& f : fields) defs.push_back({std::move(f)});
    return sim::MakeRecordset(std::move(defs), std::move(rows));
}

TEST(Query, HasRow) {
    EXPECT_FALSE(HasRow(nullptr));
    EXPECT_FALSE(HasRow(Rows({"ID"}, {})));
    auto rst = Rows({"ID"}, {{Variant::Int32(1)}});
    EXPECT_TRUE(HasRow(rst));
    rst->MoveNext();  // at EOF only: the query did return a row
    EXPECT_TRUE(HasRow(rst));
}

TEST(Query, ReadsFieldsWithTheDefaultsOfTheirKind) {
    auto rst = Rows({"ID", "TXT", "QTA", "NUL", "BLANK", "NUMTXT", "WORD"},
                    {{Variant::Int32(7), Variant(" Ab "), Variant(2.5), Variant::Null(),
                      Variant("   "), Variant("12.5"), Variant("abc")}});
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

// Lines 1..3, the cursor on `line` (4 is EOF).
ado::RecordsetPtr ThreeLines(std::int32_t line) {
    auto rst = Rows({"L"}, {{Variant::Int32(1)}, {Variant::Int32(2)}, {Variant::Int32(3)}});
    for (std::int32_t i = 1; i < line; ++i) rst->MoveNext();
    return rst;
}

std::int32_t At(const ado::RecordsetPtr& rst) {
    return rst->Get("L").ToLong();
}

TEST(RecordsetGuard, PutsFilterThenBookmarkBackAlsoWhenAnErrorLeavesTheScope) {
    auto rst = ThreeLines(3);
    {
        RecordsetGuard guard(rst);
        EXPECT_TRUE(guard.SavedBookmark());
        EXPECT_TRUE(guard.SavedFilter());
        rst->SetFilter(Variant("L < 3"));
    }
    // Filter first (it moves the cursor to the first row), then the bookmark.
    EXPECT_TRUE(rst->Filter().SameAs(Variant::Int32(ado::adFilterNone)));
    EXPECT_EQ(At(rst), 3);

    bool completed = EndQuietly([&] {
        RecordsetGuard guard(rst);
        rst->SetFilter(Variant("L = 1"));
        Raise(err::AdoBofEof, "test", "BOF or EOF");
    });
    EXPECT_FALSE(completed);
    EXPECT_TRUE(rst->Filter().SameAs(Variant::Int32(ado::adFilterNone)));
    EXPECT_EQ(At(rst), 3);
}

TEST(RecordsetGuard, KeepsOnlyWhatItWasAskedForAndLeavesAnUnchangedFilterAlone) {
    auto rst = ThreeLines(1);
    rst->SetFilter(Variant("L > 1"));
    rst->MoveNext();
    { RecordsetGuard guard(rst, RecordsetGuard::kFilter); }
    EXPECT_EQ(At(rst), 3);  // setting the same filter again would have moved to line 2

    rst = ThreeLines(3);
    {
        RecordsetGuard guard(rst, RecordsetGuard::kBookmark);
        EXPECT_FALSE(guard.SavedFilter());
        rst->SetFilter(Variant("L > 1"));
    }
    EXPECT_EQ(rst->Filter().ToString(), "L > 1");
    EXPECT_EQ(At(rst), 3);
}

TEST(RecordsetGuard, NoRowNoBookmarkAndRestoreErrorsAreDropped) {
    auto rst = ThreeLines(4);  // EOF: there is no bookmark to keep
    {
        RecordsetGuard guard(rst);
        EXPECT_FALSE(guard.SavedBookmark());
        rst->MoveFirst();
    }
    EXPECT_EQ(At(rst), 1);

    EXPECT_TRUE(IgnoreErrors([&] {
        RecordsetGuard guard(rst);
        rst->Close();
    }));  // both restores raise on the closed recordset; the guard must not

    RecordsetGuard none(nullptr);
    EXPECT_FALSE(none.SavedBookmark());
}

}  // namespace
}  // namespace zq
