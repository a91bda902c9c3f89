// The connection's ADO behaviour: options, results read at once, types, errors.
#include <gtest/gtest.h>

#include "demo_db.h"
#include "sim/db/progressives.h"
#include "sim/db/sqlite_values.h"

namespace zq::sim {
namespace {

using test::ErrorOf;

using ConnectionTest = DemoDbTest;

TEST_F(ConnectionTest, OptionsDecideWhetherRowsComeBack) {
    EXPECT_TRUE(conn->Execute("SELECT 1 AS X", nullptr, 1));
    EXPECT_TRUE(conn->Execute("SELECT 1 AS X", nullptr, -1));
    EXPECT_FALSE(conn->Execute("SELECT 1 AS X", nullptr, 129));
    Variant affected;
    EXPECT_FALSE(
        conn->Execute("UPDATE DO31_DOCCORPOORD SET DO31_FLGNONPIUEV = 0 WHERE "
                      "DO31_NUMREG_CO99 = 1001",
                      &affected, 1));
    EXPECT_EQ(affected.ToLong(), 9);
    auto empty = conn->Execute("SELECT * FROM ZQ63_CAU_ANNULLO WHERE 1 = 0", &affected, 1);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->BOF() && empty->EOF_());
    EXPECT_EQ(empty->FieldCount(), 3);
}

TEST_F(ConnectionTest, ResultIsReadCompletelySoATableCanBeDroppedAfterIt) {
    conn->Execute(" SELECT DO30_PROGRIGA INTO #W FROM DO30_DOCCORPO", nullptr, 129);
    auto rs = conn->Execute("SELECT * FROM #W", nullptr, 1);
    conn->Execute("IF NOT OBJECT_ID('TEMPDB.DBO.#W') IS NULL DROP TABLE #W", nullptr, 129);
    EXPECT_FALSE(conn->TableExists("#W"));
    EXPECT_EQ(rs->RecordCount(), 12);  // 9 + 1 + 1 + 1 lines
}

// Computed columns take their type from their values; quantities stored as whole numbers
// still divide as decimals.
TEST_F(ConnectionTest, ValuesKeepTheirTypes) {
    auto rs = conn->Execute(
        "SELECT 1 AS I, 2.5 AS D, 'x' AS T, NULL AS N, "
        "CASE WHEN 1=1 THEN 3 ELSE 1.5 END AS M",
        nullptr, 1);
    EXPECT_EQ(rs->FieldByName("I")->Type(), ado::adInteger);
    EXPECT_EQ(rs->Get("I").Type(), VarType::Long);
    EXPECT_EQ(rs->FieldByName("D")->Type(), ado::adDouble);
    EXPECT_EQ(rs->FieldByName("T")->Type(), ado::adVarChar);
    EXPECT_TRUE(rs->Get("N").IsNull());
    EXPECT_EQ(rs->Get("M").ToLong(), 3);
    auto flags =
        conn->Execute("SELECT DO31_FLGNONPIUEV, DO31_QTA1CONS FROM DO31_DOCCORPOORD", nullptr, 1);
    EXPECT_EQ(flags->Get("DO31_FLGNONPIUEV").Type(), VarType::Integer);
    EXPECT_EQ(flags->Get("DO31_QTA1CONS").Type(), VarType::Double);  // stored as 0

    conn->RunSqlite(
        "UPDATE DO30_DOCCORPO SET DO30_QTA1 = 3, DO30_IMPNETSCP = 10 WHERE "
        "DO30_NUMREG_CO99 = 1001 AND DO30_PROGRIGA = 1");
    rs = conn->Execute(
        "SELECT DO30_IMPNETSCP / DO30_QTA1 AS P FROM DO30_DOCCORPO WHERE "
        "DO30_NUMREG_CO99 = 1001 AND DO30_PROGRIGA = 1",
        nullptr, 1);
    EXPECT_NEAR(rs->Get("P").ToDouble(), 3.3333333, 1e-6);
}

TEST_F(ConnectionTest, DatabaseErrorsCarrySqliteMessage) {
    std::string why;
    EXPECT_EQ(ErrorOf([&] { conn->Execute("SELECT NOPE FROM DO30_DOCCORPO", nullptr, 1); }, &why),
              err::AdoProviderError);
    EXPECT_NE(why.find("NOPE"), std::string::npos);
    EXPECT_EQ(ErrorOf([&] { conn->Execute("SELECT * FROM #MISSING", nullptr, 1); }, &why),
              err::AdoProviderError);
    EXPECT_NE(why.find("#MISSING"), std::string::npos);
    // The connection stays usable.
    EXPECT_EQ(conn->Execute("SELECT 1 AS X", nullptr, 1)->Get("X").ToLong(), 1);
}

// A text run again reuses its prepared statement: it must still see what the database
// holds now (a table made again with other columns), take new parameter values, and work
// again after it failed or after many other texts pushed it out.
TEST_F(ConnectionTest, ATextRunAgainSeesTheDatabaseAsItIsNow) {
    const std::string select = "SELECT * FROM #W";
    const std::string drop = "IF NOT OBJECT_ID('TEMPDB.DBO.#W') IS NULL DROP TABLE #W";
    conn->Execute(" SELECT DO30_PROGRIGA INTO #W FROM DO30_DOCCORPO", nullptr, 129);
    EXPECT_EQ(conn->Execute(select, nullptr, 1)->FieldCount(), 1);
    conn->Execute(drop, nullptr, 129);
    conn->Execute(" SELECT DO30_PROGRIGA, DO30_QTA1 INTO #W FROM DO30_DOCCORPO", nullptr, 129);
    auto rs = conn->Execute(select, nullptr, 1);
    EXPECT_EQ(rs->FieldCount(), 2);
    EXPECT_EQ(rs->RecordCount(), 12);
    conn->Execute(drop, nullptr, 129);
    EXPECT_EQ(ErrorOf([&] { conn->Execute(select, nullptr, 1); }), err::AdoProviderError);

    const std::string insert =
        "INSERT INTO ZQ63_CAU_ANNULLO (ZQ63_CODCAU_ANNULLO, ZQ63_DESCAU_ANNULLO) VALUES (?, ?)";
    conn->RunSqlite(insert, {Variant("NEW"), Variant("Nuova")});
    EXPECT_EQ(ErrorOf([&] {
                  conn->RunSqlite(insert, {Variant("NEW"), Variant("Di nuovo")});
              }),
              err::AdoProviderError);
    conn->RunSqlite(insert, {Variant("NEW2"), Variant("Seconda")});
    for (int i = 0; i < 100; ++i) conn->QueryRows("SELECT " + std::to_string(i) + " AS X");
    const std::string read =
        "SELECT ZQ63_DESCAU_ANNULLO FROM ZQ63_CAU_ANNULLO WHERE ZQ63_CODCAU_ANNULLO = ?";
    EXPECT_EQ(conn->QueryRows(read, {Variant("NEW")}).rows.at(0).at(0).ToString(), "Nuova");
    EXPECT_EQ(conn->QueryRows(read, {Variant("NEW2")}).rows.at(0).at(0).ToString(), "Seconda");
    EXPECT_TRUE(conn->QueryRows(read, {Variant("NONE")}).rows.empty());
}

// The rewrite of a text is kept for the next run of the same text: past the number kept, a
// text rewritten again still runs as itself; a text the rules refuse is refused every time;
// a procedure call kept is called again, not run as text.
TEST_F(ConnectionTest, KeptRewritesRunEveryTextAsItselfAndRefuseWhatTheRulesRefuse) {
    const std::string first = "SELECT ISNULL(NULL, 'first') AS X";
    EXPECT_EQ(Query(first)->Get("X").ToString(), "first");
    for (int i = 0; i < 300; ++i) {
        const auto rs = Query("SELECT ISNULL(NULL, " + std::to_string(i) + ") AS X");
        ASSERT_EQ(rs->Get("X").ToLong(), i);
    }
    EXPECT_EQ(Query(first)->Get("X").ToString(), "first");
    EXPECT_EQ(Query(first)->Get("X").ToString(), "first");
    const std::string refused = "IF NOT OBJECT_ID('TEMPDB.DBO.#A') IS NULL DROP TABLE #B";
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(ErrorOf([&] { conn->Execute(refused, nullptr, 129); }), err::AdoProviderError);

    Capture("#STORNA_PROGMAG", 1001);
    const std::string call =
        "EXEC SPMG_PROGMAG_DOC @DITTA = 1, @ELENCO_NUMREG = '1001', @FLAG_STORNA = 1, "
        "@NOME_TABELLA_STORNA = '#STORNA_PROGMAG'";
    for (int i = 0; i < 2; ++i) conn->Execute(call, nullptr, 129);
    EXPECT_TRUE(ProgressivesConsistent(*conn));
}

// Query rows are packed as they are read: a large result, its texts and its computed
// columns (typed after the last row) read the same through Execute as row by row.
TEST_F(ConnectionTest, PackedResultsReadAsTheRowsThemselves) {
    conn->RunScript(
        "CREATE TEMP TABLE BIG (K INTEGER PRIMARY KEY, T VARCHAR(80));"
        "WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 3000) "
        "INSERT INTO BIG SELECT I, printf('%040d-%s', I, hex(I)) FROM N;");
    const std::string sql = "SELECT K, T, K * 1.5 AS HALFMORE, T || '' AS COPY FROM BIG ORDER BY K";
    const QueryResult rows = conn->QueryRows(sql);
    auto rs = conn->Execute(sql, nullptr, 1);
    ASSERT_EQ(rs->RecordCount(), 3000);
    ASSERT_EQ(rs->FieldCount(), 4);
    for (std::int32_t c = 0; c < 4; ++c)
        EXPECT_EQ(rs->FieldAt(c)->Type(), rows.fields[static_cast<std::size_t>(c)].type) << c;
    for (const Row& row : rows.rows) {
        ASSERT_FALSE(rs->EOF_());
        for (std::int32_t c = 0; c < 4; ++c)
            ASSERT_TRUE(rs->FieldAt(c)->Value().SameAs(row[static_cast<std::size_t>(c)]))
                << row[0].Describe() << " column " << c;
        rs->MoveNext();
    }
    EXPECT_TRUE(rs->EOF_());
}

// Day 0 is 1899-12-30; the fraction is the time of day.
TEST(SqliteValues, DatesRoundTripAsOleDates) {
    const std::pair<const char*, double> dates[] = {{"1899-12-30", 0},
                                                    {"1899-12-29", -1},
                                                    {"2026-03-02", 46083},
                                                    {"2026-03-02 18:00:00", 46083.75}};
    for (const auto& [iso, ole] : dates) {
        double read = 0;
        ASSERT_TRUE(IsoToOleDate(iso, &read)) << iso;
        EXPECT_DOUBLE_EQ(read, ole) << iso;
        EXPECT_EQ(OleDateToIso(ole), iso);
    }
    double ole = 0;
    EXPECT_FALSE(IsoToOleDate("not a date", &ole));
}

}  // namespace
}  // namespace zq::sim
