// The rewrite rules, one at a time and together, and what they must never touch.
#include "sim/db/dialect.h"

#include <gtest/gtest.h>

#include "data/sql_text.h"
#include "demo_db.h"

namespace zq::sim {
namespace {

using test::ErrorOf;

struct RewriteCase {
    const char* tsql;
    const char* sqlite;
};

class RewriteTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(RewriteTest, GivesTheSqliteText) {
    EXPECT_EQ(RewriteToSqlite(GetParam().tsql), GetParam().sqlite);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RewriteTest,
    ::testing::Values(
        // lock hints, any case and spacing
        RewriteCase{"SELECT A FROM T WITH (NOLOCK) WHERE B = 1", "SELECT A FROM T  WHERE B = 1"},
        RewriteCase{"SELECT A FROM T with (nolock)", "SELECT A FROM T "},
        RewriteCase{"SELECT A FROM T AS X With(  NoLock )", "SELECT A FROM T AS X "},
        // ISNULL( as a function; a column merely containing the word is left alone
        RewriteCase{"SELECT ISNULL(A, 0), isnull (B,1), X_ISNULL(C) FROM T",
                    "SELECT IFNULL(A, 0), IFNULL(B,1), X_ISNULL(C) FROM T"},
        // index kinds
        RewriteCase{" CREATE NONCLUSTERED INDEX I ON T (A)", " CREATE INDEX I ON T (A)"},
        RewriteCase{"create clustered index I on T (A)", "CREATE INDEX I on T (A)"},
        // drop guards, both spellings of the temp database name
        RewriteCase{"IF NOT OBJECT_ID('TEMPDB.DBO.#W') IS NULL DROP TABLE #W",
                    "DROP TABLE IF EXISTS \"#W\""},
        RewriteCase{"IF NOT object_id(N'tempdb..#STORNA_PROGMAG') IS NULL DROP TABLE "
                    "#STORNA_PROGMAG",
                    "DROP TABLE IF EXISTS \"#STORNA_PROGMAG\""},
        RewriteCase{"IF OBJECT_ID('tempdb..#W') IS NOT NULL DROP TABLE #W",
                    "DROP TABLE IF EXISTS \"#W\""},
        // SELECT … INTO at top level only
        RewriteCase{" SELECT A, B INTO #W FROM T WHERE C = 1",
                    "CREATE TEMP TABLE \"#W\" AS SELECT A, B  FROM T WHERE C = 1"},
        RewriteCase{"SELECT A INTO W FROM T", "CREATE TABLE W AS SELECT A  FROM T"},
        RewriteCase{"INSERT INTO T (A) SELECT A FROM U", "INSERT INTO T (A) SELECT A FROM U"},
        RewriteCase{"SELECT (SELECT 1 INTO) FROM T", "SELECT (SELECT 1 INTO) FROM T"},
        // bracketed and quoted identifiers, N'…' literals
        RewriteCase{"SELECT * FROM [VFW_SELDOC] WHERE [A B] = N'x'",
                    "SELECT * FROM \"VFW_SELDOC\" WHERE \"A B\" = 'x'"},
        RewriteCase{"SELECT \"#A\" FROM T", "SELECT \"#A\" FROM T"},
        // #names become identifiers; a # that does not start a name stays
        RewriteCase{"SELECT * FROM #W JOIN ##G ON #W.A = ##G.A",
                    "SELECT * FROM \"#W\" JOIN \"##G\" ON \"#W\".A = \"##G\".A"},
        // CR and CRLF count as blanks for every rule
        RewriteCase{"SELECT A\r\nINTO\r\n#W\r\nFROM T\rWITH\r\n(NOLOCK)",
                    "CREATE TEMP TABLE \"#W\" AS SELECT A\r\n\r\nFROM T\r"},
        // comments are kept but never rewritten
        RewriteCase{"SELECT A -- ISNULL( #X WITH (NOLOCK)\r\nFROM T /* INTO #Y */",
                    "SELECT A -- ISNULL( #X WITH (NOLOCK)\r\nFROM T /* INTO #Y */"}));

// A user's value, quoted as the plug-in quotes it, is one literal: no rule fires inside it
// and it comes back as typed.
class UserValueTest : public ::testing::TestWithParam<const char*> {};

TEST_P(UserValueTest, PassesThroughUntouched) {
    const std::string literal = SqlText(GetParam());
    std::string tsql = "SELECT A FROM T WITH (NOLOCK) WHERE B = " + literal + " AND C = 1";
    EXPECT_EQ(RewriteToSqlite(tsql), "SELECT A FROM T  WHERE B = " + literal + " AND C = 1");
    std::string into = " SELECT A INTO #W FROM T WHERE B = " + literal;
    EXPECT_EQ(RewriteToSqlite(into),
              "CREATE TEMP TABLE \"#W\" AS SELECT A  FROM T WHERE B = " + literal);
}

INSTANTIATE_TEST_SUITE_P(Values, UserValueTest,
                         ::testing::Values("D'Amico", "' OR '1'='1", "#STORNA_PROGMAG",
                                           "SELECT X INTO #Y FROM Z", "A WITH (NOLOCK) B",
                                           "ISNULL(X,0)", "[X]", "-- not a comment",
                                           "/* nor this */", "N'x'", "CREATE CLUSTERED INDEX",
                                           "IF NOT OBJECT_ID('TEMPDB.DBO.#X') IS NULL DROP "
                                           "TABLE #X"));

// Texts the rules cannot make sense of are the provider's errors, never a guess.
TEST(Dialect, TextsWithoutOneMeaningAreRefused) {
    // The control bytes 1 and 2 outside a literal would pose as the layer's own markers.
    for (const char* tsql : {"SELECT 'abc FROM T", "EXEC P @A", "EXEC P @A=1,,@B=2", "EXEC P @A=B",
                             "SELECT A FROM T WHERE B = \x01"
                             "0",
                             "SELECT \x02 FROM T"})
        EXPECT_EQ(ErrorOf([&] { RewriteTsql(tsql); }), err::AdoProviderError) << tsql;
    EXPECT_EQ(RewriteToSqlite("SELECT A FROM T WHERE B = '\x01"
                              "0\x02'"),
              "SELECT A FROM T WHERE B = '\x01"
              "0\x02'");
    std::string why;
    EXPECT_EQ(
        ErrorOf([] { RewriteTsql("IF NOT OBJECT_ID('TEMPDB.DBO.#A') IS NULL DROP TABLE #B"); },
                &why),
        err::AdoProviderError);
    EXPECT_NE(why.find("#A"), std::string::npos) << why;
    EXPECT_EQ(ErrorOf([] { RewriteToSqlite("EXEC P @A=1"); }), err::AdoProviderError);
}

// Named and positional values keep their kinds, and commas and quotes inside literals. The
// flow-state call the plug-in sends is run end to end by its configuration tests. A
// statement that merely contains the word is no call.
TEST(Dialect, ExecIsParsedIntoACallOnlyAtTheStart) {
    RewrittenSql r =
        RewriteTsql("  execute dbo.P @A = N'x, ''y''' , @B = -2.5, @C = NULL, 'positional', 7;");
    ASSERT_TRUE(r.isProcCall);
    EXPECT_EQ(r.call.name, "dbo.P");
    ASSERT_EQ(r.call.args.size(), 5u);
    EXPECT_EQ(r.call.args[0].name, "@A");
    EXPECT_EQ(r.call.args[0].value.ToString(), "x, 'y'");
    EXPECT_DOUBLE_EQ(r.call.args[1].value.ToDouble(), -2.5);
    EXPECT_TRUE(r.call.args[2].value.IsNull());
    EXPECT_EQ(r.call.args[3].name, "");
    EXPECT_EQ(r.call.args[3].value.ToString(), "positional");
    EXPECT_EQ(r.call.args[4].value.Type(), VarType::Long);
    EXPECT_EQ(r.call.args[4].value.ToLong(), 7);

    r = RewriteTsql("SELECT 'EXEC P' AS EXEC_TEXT");
    EXPECT_FALSE(r.isProcCall);
    EXPECT_EQ(r.sql, "SELECT 'EXEC P' AS EXEC_TEXT");
}

}  // namespace
}  // namespace zq::sim
