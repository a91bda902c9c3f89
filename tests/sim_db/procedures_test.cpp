// The host's stored procedures: flow states, and the progressive reversal with the
// invariant "progressives equal the open quantities recomputed from scratch".
#include <gtest/gtest.h>

#include "demo_db.h"
#include "sim/db/command.h"
#include "sim/db/progressives.h"
#include "sim/db/table_recordset.h"

namespace zq::sim {
namespace {

using test::ErrorOf;

using FlowStateTest = DemoDbTest;

// A GUID names one object with or without braces and in either case; each flow keeps a
// record of its own.
TEST_F(FlowStateTest, OneRecordPerObjectAndFlowWhateverTheSpellingOfTheGuid) {
    const std::string braced = HostDbBuilder::GuidRiga(demo::kOrdine, 2);
    std::string bare = braced.substr(1, braced.size() - 2);
    for (char& c : bare) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(ReadFlowState(*conn, bare, demo::kFlussoRighe), demo::kStatoRigheIniziale);
    conn->Execute(stmt::SetFlussoStato(bare, 101, demo::kFlussoRighe), nullptr, stmt::kUnspecified);
    EXPECT_EQ(ReadFlowState(*conn, braced, demo::kFlussoRighe), 101);
    EXPECT_EQ(session
                  .Scalar("SELECT COUNT(*) FROM CO4D_STATIOGGETTI WHERE CO4D_GUID = ?",
                          {Variant(NormalizeGuid(braced))})
                  .ToLong(),
              1);
    conn->Execute(stmt::SetFlussoStato(braced, 0, 0), nullptr, stmt::kUnspecified);
    EXPECT_EQ(ReadFlowState(*conn, bare, 0), 0);
    EXPECT_EQ(ReadFlowState(*conn, braced, demo::kFlussoRighe), 101);
    EXPECT_FALSE(ReadFlowState(*conn, "{00000000-0000-0000-0000-000000000000}", 1).has_value());
}

TEST_F(FlowStateTest, CommandWithNamedParametersReachesTheSameProcedure) {
    auto cmd = MakeCommand();
    cmd->SetActiveConnection(conn);
    cmd->SetCommandText("SPCO_SETFLUSSOSTATO");
    cmd->SetCommandType(ado::adCmdStoredProc);
    cmd->SetNamedParameters(true);
    // appended in another order than declared: names decide
    cmd->AppendParameter(cmd->CreateParameter("@CODFLUSSO", ado::adInteger, ado::adParamInput, 0));
    cmd->AppendParameter(cmd->CreateParameter("@GUID", ado::adVarChar, ado::adParamInput, 40));
    cmd->AppendParameter(cmd->CreateParameter("@CODSTATO", ado::adInteger, ado::adParamInput, 0));
    cmd->ParameterByName("@guid")->SetValue(Variant("{ABC}"));
    cmd->ParameterByName("@CODSTATO")->SetValue(Variant::Int32(7));
    cmd->ParameterByName("@CODFLUSSO")->SetValue(Variant::Int32(3));
    EXPECT_FALSE(cmd->Execute(nullptr, ado::adExecuteNoRecords));
    EXPECT_EQ(ReadFlowState(*conn, "abc", 3), 7);
    EXPECT_EQ(ErrorOf([&] { cmd->ParameterByName("@NONE"); }), err::AdoItemNotFound);
}

// Unknown procedures and missing or unknown arguments are provider errors, as is a
// command without a connection; positional arguments follow the declared order.
TEST_F(FlowStateTest, CallErrorsAreProviderErrors) {
    std::string why;
    EXPECT_EQ(ErrorOf([&] { conn->Execute("EXEC SP_NONE @A=1", nullptr, -1); }, &why),
              err::AdoProviderError);
    EXPECT_NE(why.find("SP_NONE"), std::string::npos);
    for (const char* bad : {"EXEC SPCO_SETFLUSSOSTATO @GUID='X' ,@CODSTATO=1",
                            "EXEC SPCO_SETFLUSSOSTATO @GUID='X' ,@STATO=1 ,@CODFLUSSO=1"}) {
        EXPECT_EQ(ErrorOf([&] { conn->Execute(bad, nullptr, -1); }), err::AdoProviderError) << bad;
    }
    conn->Execute("EXEC SPCO_SETFLUSSOSTATO 'X', 1, 2", nullptr, -1);
    EXPECT_EQ(ReadFlowState(*conn, "X", 2), 1);
    auto cmd = MakeCommand();
    cmd->SetCommandText("SPCO_SETFLUSSOSTATO");
    cmd->SetCommandType(ado::adCmdStoredProc);
    EXPECT_EQ(ErrorOf([&] { cmd->Execute(nullptr, ado::adExecuteNoRecords); }), err::AdoClosed);
}

class ReversalTest : public DemoDbTest {
  protected:
    // The procedure as the plug-in calls it on the captured order, then the working set's
    // drop. The plug-in's own command object is run by the plug-in level tests.
    void Reverse() {
        conn->Execute(
            "EXEC SPMG_PROGMAG_DOC @DITTA=1, @ELENCO_NUMREG='''1001''', @FLAG_STORNA=1, "
            "@NOME_TABELLA_STORNA='#STORNA_PROGMAG'",
            nullptr, stmt::kUnspecified);
        conn->Execute(stmt::DropStornaProgMag(), nullptr, stmt::kNoRecords);
    }
    double Ordered(const std::string& art) {
        return session
            .Scalar("SELECT SUM(MG70_QTA1ORD) FROM MG70_PROGMAG WHERE MG70_CODART_MG66 = ?",
                    {Variant(art)})
            .ToDouble();
    }
    double LotOrdered(const std::string& lot) {
        return session
            .Scalar("SELECT MG71_QTA1ORD FROM MG71_PROGLOTTI WHERE MG71_CODLOTTO_MG4G = ?",
                    {Variant(lot)})
            .ToDouble();
    }
};

// The demo's progressives are what the normal mode of the procedure posts for its orders.
TEST_F(ReversalTest, DemoStartsConsistentAndTheNormalModeOnlyPosts) {
    auto expectDemoProgressives = [&] {
        EXPECT_TRUE(ProgressivesConsistent(*conn));
        EXPECT_DOUBLE_EQ(Ordered("ART-A"), 10 + 7);  // both orders
        EXPECT_DOUBLE_EQ(Ordered("ART-B"), 12);
        EXPECT_DOUBLE_EQ(Ordered("MAGLIA"), 16);
        EXPECT_DOUBLE_EQ(LotOrdered("L2026A"), 4);
    };
    expectDemoProgressives();
    conn->RunSqlite("DELETE FROM MG70_PROGMAG");
    conn->RunSqlite("DELETE FROM MG71_PROGLOTTI");
    conn->Execute(
        "EXEC SPMG_PROGMAG_DOC @DITTA=1, @ELENCO_NUMREG='''1001'',''1002''', "
        "@FLAG_STORNA=0, @NOME_TABELLA_STORNA=''",
        nullptr, stmt::kUnspecified);
    expectDemoProgressives();
}

// The plug-in writes the order lines itself (UpdateBatch on a table recordset): until the
// reversal runs, the progressives drift by exactly the cancelled line's open quantity.
TEST_F(ReversalTest, DriftOfAWrittenLineGoesOnceTheCapturedSetIsReversed) {
    Capture("#STORNA_PROGMAG", demo::kOrdine);
    auto ord = OpenTable(conn, "DO31_DOCCORPOORD", "DO31_NUMREG_CO99 = 1001 AND DO31_PROGRIGA = 2");
    ord->Set("DO31_FLGNONPIUEV", Variant::Int16(1));  // the partly delivered line
    ord->Update();
    ord->UpdateBatch(ado::adAffectAll);
    auto drift = CompareProgressives(*conn);
    ASSERT_EQ(drift.size(), 1u);
    EXPECT_EQ(drift[0].table, "MG70_PROGMAG");
    EXPECT_EQ(drift[0].key, "1/ART-B//MAG1");
    EXPECT_DOUBLE_EQ(drift[0].storedQta1, 12);
    EXPECT_DOUBLE_EQ(drift[0].expectedQta1, 0);

    Reverse();
    EXPECT_TRUE(ProgressivesConsistent(*conn));
    EXPECT_DOUBLE_EQ(Ordered("ART-B"), 0);
    EXPECT_DOUBLE_EQ(LotOrdered("L2026A"), 4);  // no lot set captured: lots untouched
    EXPECT_FALSE(conn->TableExists("#STORNA_PROGMAG"));
}

// A reversal without its working set, or with a Null amount in it, fails and changes
// nothing: the procedure does all or nothing.
TEST_F(ReversalTest, FailuresChangeNothing) {
    std::string why;
    EXPECT_EQ(ErrorOf([&] { Reverse(); }, &why), err::AdoProviderError);
    EXPECT_NE(why.find("#STORNA_PROGMAG"), std::string::npos);
    EXPECT_DOUBLE_EQ(Ordered("ART-B"), 12);

    // Planned-order rows on a line of quantity 0: SQL Server divides by zero in the
    // capture, SQLite leaves a Null amount that the procedure must refuse.
    conn->RunSqlite(
        "UPDATE DO30_DOCCORPO SET DO30_QTA1 = 0 WHERE DO30_NUMREG_CO99 = 1001 AND "
        "DO30_PROGRIGA = 5");
    Capture("#STORNA_PROGMAG", demo::kOrdine);
    const double before = Ordered("ART-E");
    EXPECT_EQ(ErrorOf([&] { Reverse(); }, &why), err::AdoProviderError);
    EXPECT_NE(why.find("Divide by zero"), std::string::npos);
    EXPECT_DOUBLE_EQ(Ordered("ART-E"), before);
    EXPECT_DOUBLE_EQ(Ordered("ART-A"), 17);
    EXPECT_EQ(ErrorOf([&] { ProgressivesConsistent(*conn); }), err::AdoProviderError);
}

}  // namespace
}  // namespace zq::sim
