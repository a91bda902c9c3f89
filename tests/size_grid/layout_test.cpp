// The size-grid layout and the season codes, read as the grid command reads them: which
// dimensions make the grid, where their segments start in a variant code, what survives a
// failed read, and the season code of a line.
#include <gtest/gtest.h>

#include "sim/db/plugin_statements.h"
#include "support/error_of.h"
#include "support/session.h"
#include "support/test_access.h"

namespace zq::test {
namespace {

using plugin::LayoutGriglia;

struct Dim {
    const char* codice;
    std::int16_t size, indGriglia, indGen;
};

// The demo company's flows and reasons with these dimensions and nothing else.
SessionOptions WithDimensions(std::vector<Dim> dims) {
    SessionOptions o;
    o.lines = [dims](sim::HostDbBuilder& b) {
        for (const Dim& d : dims) b.Dimensione(d.codice, d.size, d.indGriglia, d.indGen);
        b.Riga(1, "MAGLIA", 4, 20).Padre(1);
    };
    return o;
}

// Called as from inside a host event, so that the faults armed count its calls.
const LayoutGriglia& ReadLayout(Session& s, bool expectRead = true) {
    sim::PluginCallFrame asThePlugin;
    EXPECT_EQ(ClsrfTestAccess::GetDimeConf(s.Plugin(), kDitta), ToVBool(expectRead));
    return ClsrfTestAccess::Layout(s.Plugin());
}

TEST(GetDimeConf, DemoCompanyHasSizeThenColourWithTheLineBetween) {
    Session s;
    s.Open();
    const LayoutGriglia& l = ReadLayout(s);
    EXPECT_EQ(l.blnDim1Trovata, VTrue);
    EXPECT_EQ(l.blnDim1Griglia, VTrue);
    EXPECT_EQ(l.strDim1Codice, "01");
    EXPECT_EQ(l.intDim1Start, 1);
    EXPECT_EQ(l.intDim1Size, 2);
    EXPECT_EQ(l.intDim1IndGenGridDoc, 2);
    EXPECT_EQ(l.blnDim2Trovata, VTrue);
    EXPECT_EQ(l.strDim2Codice, "03");
    EXPECT_EQ(l.intDim2Start, 5);  // after the two characters of the line dimension "02"
    EXPECT_EQ(l.intDim2Size, 3);
    EXPECT_EQ(l.intDim2IndGriglia, 2);
    // One query, as text, exactly as the host database is asked.
    ASSERT_EQ(s.Statements().size(), 1u);
    EXPECT_EQ(s.Statements()[0].text, sim::stmt::DimeConf(kDitta));
    EXPECT_EQ(s.Statements()[0].options, ado::adCmdText);
}

// Every dimension before a grid dimension, in the grid or not, pushes its start.
TEST(GetDimeConf, StartsAddUpTheSizesOfEverySmallerCode) {
    {
        Session s(WithDimensions({{"A", 2, 1, 1}, {"B", 3, 2, 1}, {"C", 4, 0, 1}}));
        s.Open();
        const LayoutGriglia& l = ReadLayout(s);
        EXPECT_EQ(l.intDim1Start, 1);
        EXPECT_EQ(l.intDim2Start, 3);
    }
    {
        Session s(WithDimensions({{"A", 2, 0, 1}, {"B", 3, 1, 1}, {"C", 4, 2, 1}}));
        s.Open();
        const LayoutGriglia& l = ReadLayout(s);
        EXPECT_EQ(l.strDim1Codice, "B");
        EXPECT_EQ(l.intDim1Start, 3);
        EXPECT_EQ(l.intDim1IndGenGridDoc, 1);
        EXPECT_EQ(l.strDim2Codice, "C");
        EXPECT_EQ(l.intDim2Start, 6);
        EXPECT_EQ(l.intDim2Size, 4);
    }
}

TEST(GetDimeConf, OfSeveralSecondDimensionsTheLastCodeWins) {
    Session s(WithDimensions({{"A", 2, 1, 1}, {"B", 3, 2, 1}, {"C", 4, 3, 1}}));
    s.Open();
    const LayoutGriglia& l = ReadLayout(s);
    EXPECT_EQ(l.strDim1Codice, "A");
    EXPECT_EQ(l.strDim2Codice, "C");
    EXPECT_EQ(l.intDim2Start, 6);
    EXPECT_EQ(l.intDim2IndGriglia, 3);
}

// No row is no error: both dimensions absent, the second's indicator back to 1, and the
// codes, starts and sizes of an earlier reading left as they were.
TEST(GetDimeConf, ACompanyWithoutGridDimensionsReadsAsNoGrid) {
    Session s;
    s.Open();
    ReadLayout(s);
    s.conn->RunSqlite("UPDATE MG5F_DIMECONF SET MG5F_INDGRIGLIA = 0");
    const LayoutGriglia& l = ReadLayout(s);
    EXPECT_EQ(l.blnDim1Trovata, VFalse);
    EXPECT_EQ(l.blnDim1Griglia, VFalse);
    EXPECT_EQ(l.blnDim2Trovata, VFalse);
    EXPECT_EQ(l.intDim2IndGriglia, 1);
    EXPECT_EQ(l.strDim1Codice, "01");
    EXPECT_EQ(l.intDim2Start, 5);

    Session none(WithDimensions({}));
    none.Open();
    const LayoutGriglia& n = ReadLayout(none);
    EXPECT_EQ(n.blnDim1Trovata, VFalse);
    EXPECT_EQ(n.blnDim2Trovata, VFalse);
    EXPECT_EQ(n.intDim2IndGriglia, 1);
}

TEST(GetDimeConf, AFailedQueryAnswersFalseAndShowsNothing) {
    Session s;
    s.Open();
    // A statement is known by its first words: this one reads the dimensions.
    s.faults.FailMatching(sim::FaultKind::Statement, "SELECT MG5F_CODICEVAR, MG5F_INDGRIGLIA");
    const LayoutGriglia& l = ReadLayout(s, false);
    EXPECT_TRUE(s.FaultFired());
    EXPECT_EQ(l.blnDim1Trovata, VFalse);
    EXPECT_EQ(l.intDim2IndGriglia, 1);
    EXPECT_TRUE(s.Messages().empty());
    // Without the connection (the host terminated the plug-in) it ends the same way.
    ASSERT_TRUE(s.DocEvents().Terminate().Succeeded());
    ReadLayout(s, false);
}

TEST(Get_MG5T_CODICE, ASeasonOfTheCompanyGivesItsCodeAnyOtherTheEmptyText) {
    Session s;
    s.Open();
    EXPECT_EQ(ClsrfTestAccess::Get_MG5T_CODICE(s.Plugin(), 1), "PE26");
    ASSERT_EQ(s.Statements().size(), 1u);
    EXPECT_EQ(s.Statements()[0].text, sim::stmt::Stagione("1", "1"));
    EXPECT_EQ(s.Statements()[0].options, ado::adCmdText);
    EXPECT_EQ(ClsrfTestAccess::Get_MG5T_CODICE(s.Plugin(), 3), "PE27");
    EXPECT_EQ(ClsrfTestAccess::Get_MG5T_CODICE(s.Plugin(), 9), "");
    // A season of another company is not this company's.
    s.conn->RunSqlite("INSERT INTO MG5T_STAGIONI VALUES (4, 2, 'XX99', 'Altra ditta')");
    EXPECT_EQ(ClsrfTestAccess::Get_MG5T_CODICE(s.Plugin(), 4), "");
}

// The error goes on to the caller with its number and description; its source names this
// procedure first, on a line of its own.
TEST(Get_MG5T_CODICE, AnErrorReachesTheCallerWithTheProcedureInItsSource) {
    Session s;
    s.Open();
    s.faults.FailMatching(sim::FaultKind::Statement, "MG5T_STAGIONI");
    sim::PluginCallFrame asThePlugin;
    try {
        ClsrfTestAccess::Get_MG5T_CODICE(s.Plugin(), 1);
        ADD_FAILURE() << "no error";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), sim::kInjectedFailure);
        EXPECT_EQ(e.Source().rfind("Get_MG5T_CODICE:\r\n", 0), 0u) << e.Source();
        EXPECT_GT(e.Source().size(), std::string("Get_MG5T_CODICE:\r\n").size());
        EXPECT_FALSE(e.Description().empty());
    }
    EXPECT_TRUE(s.Messages().empty());
}

}  // namespace
}  // namespace zq::test
