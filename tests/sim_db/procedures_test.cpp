// The host's stored procedures: flow states, and the progressive reversal with the
// invariant "progressives equal the open quantities recomputed from scratch".
#include <gtest/gtest.h>

#include "demo_db.h"
#include "sim/db/command.h"
#include "sim/db/plugin_statements.h"
#include "sim/db/progressives.h"
#include "sim/db/table_recordset.h"

namespace zq::sim {
namespace {

using testing::DemoDb;
using testing::ErrorOf;

using FlowStateTest = DemoDb;

TEST_F(FlowStateTest, WrittenByTheStatementAndReadBack) {
    std::string braced = HostDbBuilder::GuidRiga(demo::kOrdine, 2);
    EXPECT_EQ(ReadFlowState(*conn, braced, demo::kFlussoRighe), demo::kStatoRigheIniziale);
    conn->Execute(stmt::SetFlussoStato(braced, demo::kStatoRigheAnnullato, demo::kFlussoRighe),
                  nullptr, stmt::kUnspecified);
    EXPECT_EQ(ReadFlowState(*conn, braced, demo::kFlussoRighe), demo::kStatoRigheAnnullato);

    // Without braces and in lower case it is the same object.
    std::string bare = braced.substr(1, braced.size() - 2);
    for (char& c : bare) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(ReadFlowState(*conn, bare, demo::kFlussoRighe), demo::kStatoRigheAnnullato);
    conn->Execute(stmt::SetFlussoStato(bare, 101, demo::kFlussoRighe), nullptr, stmt::kUnspecified);
    EXPECT_EQ(ReadFlowState(*conn, braced, demo::kFlussoRighe), 101);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM CO4D_STATIOGGETTI WHERE CO4D_GUID = ?",
                     {Variant(NormalizeGuid(braced))})
                  .ToLong(),
              1);
    // Another flow is another record; state 0 and flow 0 are still written.
    conn->Execute(stmt::SetFlussoStato(braced, 0, 0), nullptr, stmt::kUnspecified);
    EXPECT_EQ(ReadFlowState(*conn, braced, 0), 0);
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

TEST_F(FlowStateTest, CallErrorsAreProviderErrors) {
    std::string why;
    EXPECT_EQ(ErrorOf([&] { conn->Execute("EXEC SP_NONE @A=1", nullptr, -1); }, &why),
              err::AdoProviderError);
    EXPECT_NE(why.find("SP_NONE"), std::string::npos);
    EXPECT_EQ(ErrorOf([&] {
                  conn->Execute("EXEC SPCO_SETFLUSSOSTATO @GUID='X' ,@CODSTATO=1", nullptr, -1);
              }),
              err::AdoProviderError);  // @CODFLUSSO missing
    EXPECT_EQ(ErrorOf([&] {
                  conn->Execute("EXEC SPCO_SETFLUSSOSTATO @GUID='X' ,@STATO=1 ,@CODFLUSSO=1",
                                nullptr, -1);
              }),
              err::AdoProviderError);
    EXPECT_EQ(ErrorOf([&] { conn->Execute("EXEC SPCO_SETFLUSSOSTATO 'X', 1, 2", nullptr, -1); }),
              0);  // positional arguments follow the declared order
    EXPECT_EQ(ReadFlowState(*conn, "X", 2), 1);
    auto cmd = MakeCommand();
    cmd->SetCommandText("SPCO_SETFLUSSOSTATO");
    cmd->SetCommandType(ado::adCmdStoredProc);
    EXPECT_EQ(ErrorOf([&] { cmd->Execute(nullptr, ado::adExecuteNoRecords); }), err::AdoClosed);
}

class ReversalTest : public DemoDb {
  protected:
    // The reversal as the plug-in runs it: capture, change, procedure call, drop.
    void Capture(bool lots) {
        std::string elenco = "'" + std::to_string(demo::kOrdine) + "'";
        conn->Execute(stmt::DropTemp("#STORNA_PROGMAG"), nullptr, stmt::kNoRecords);
        conn->Execute(stmt::CatturaRighe("#STORNA_PROGMAG", "1", elenco, 2), nullptr,
                      stmt::kNoRecords);
        conn->Execute(stmt::IndiceProgMag("#STORNA_PROGMAG"), nullptr, stmt::kNoRecords);
        if (!lots) return;
        conn->Execute(stmt::DropTemp("#STORNA_PROGLOTTI"), nullptr, stmt::kNoRecords);
        conn->Execute(stmt::CatturaLotti("#STORNA_PROGLOTTI", "1", elenco, 2), nullptr,
                      stmt::kNoRecords);
        conn->Execute(stmt::IndiceProgLotti("#STORNA_PROGLOTTI"), nullptr, stmt::kNoRecords);
    }
    void Reverse() {
        auto cmd = MakeCommand();
        cmd->SetActiveConnection(conn);
        cmd->SetCommandTimeout(0);
        cmd->SetCommandText("SPMG_PROGMAG_DOC");
        cmd->SetCommandType(ado::adCmdStoredProc);
        cmd->SetNamedParameters(true);
        auto ret =
            cmd->CreateParameter("@RETURN_VALUE", ado::adInteger, ado::adParamReturnValue, 0);
        ret->SetPrecision(10);
        cmd->AppendParameter(ret);
        auto ditta = cmd->CreateParameter("@DITTA", ado::adNumeric, ado::adParamInput, 0);
        ditta->SetPrecision(5);
        cmd->AppendParameter(ditta);
        cmd->AppendParameter(
            cmd->CreateParameter("@ELENCO_NUMREG", ado::adVarChar, ado::adParamInput, -1));
        auto flag = cmd->CreateParameter("@FLAG_STORNA", ado::adNumeric, ado::adParamInput, 0);
        flag->SetPrecision(1);
        cmd->AppendParameter(flag);
        cmd->AppendParameter(
            cmd->CreateParameter("@NOME_TABELLA_STORNA", ado::adVarChar, ado::adParamInput, 20));
        cmd->ParameterByName("@DITTA")->SetValue(Variant::Int32(demo::kDitta));
        cmd->ParameterByName("@ELENCO_NUMREG")
            ->SetValue(Variant("'" + std::to_string(demo::kOrdine) + "'"));
        cmd->ParameterByName("@FLAG_STORNA")->SetValue(Variant::Int32(1));
        cmd->ParameterByName("@NOME_TABELLA_STORNA")->SetValue(Variant("#STORNA_PROGMAG"));
        cmd->Execute(nullptr, ado::adExecuteNoRecords);
        EXPECT_EQ(ret->Value().ToLong(), 0);
        conn->Execute(stmt::DropStornaProgMag(), nullptr, stmt::kNoRecords);
    }
    double Ordered(const std::string& art) {
        return Scalar("SELECT SUM(MG70_QTA1ORD) FROM MG70_PROGMAG WHERE MG70_CODART_MG66 = ?",
                      {Variant(art)})
            .ToDouble();
    }
    double LotOrdered(const std::string& lot) {
        return Scalar("SELECT MG71_QTA1ORD FROM MG71_PROGLOTTI WHERE MG71_CODLOTTO_MG4G = ?",
                      {Variant(lot)})
            .ToDouble();
    }
    // The plug-in's own write of the order lines (UpdateBatch on a table recordset).
    void CancelLineFlag(std::int32_t progRiga) {
        auto rs =
            OpenTable(conn, "DO31_DOCCORPOORD",
                      "DO31_NUMREG_CO99 = 1001 AND DO31_PROGRIGA = " + std::to_string(progRiga));
        rs->Set("DO31_FLGNONPIUEV", Variant::Int16(1));
        rs->Update();
        rs->UpdateBatch(ado::adAffectAll);
    }
};

TEST_F(ReversalTest, DemoStartsConsistent) {
    EXPECT_TRUE(ProgressivesConsistent(*conn));
    EXPECT_DOUBLE_EQ(Ordered("ART-A"), 10 + 7);  // both orders
    EXPECT_DOUBLE_EQ(Ordered("ART-B"), 12);
    EXPECT_DOUBLE_EQ(Ordered("MAGLIA"), 16);
    EXPECT_DOUBLE_EQ(LotOrdered("L2026A"), 4);
}

TEST_F(ReversalTest, InvariantHoldsAfterAReversal) {
    Capture(true);
    CancelLineFlag(2);  // cancel the partly delivered line
    CancelLineFlag(6);  // and the line with lots
    auto rs = OpenTable(conn, "DO30_DOCCORPO", "DO30_NUMREG_CO99 = 1001 AND DO30_PROGRIGA = 1");
    rs->Set("DO30_QTA1", Variant(4.0));  // cut a quantity
    rs->Set("DO30_IMPNETSCP", Variant(18.0));
    rs->Update();
    rs->UpdateBatch(ado::adAffectAll);
    EXPECT_FALSE(ProgressivesConsistent(*conn));  // written but not yet reversed

    Reverse();
    EXPECT_TRUE(ProgressivesConsistent(*conn));
    EXPECT_DOUBLE_EQ(Ordered("ART-B"), 0);
    EXPECT_DOUBLE_EQ(Ordered("ART-A"), 4 + 7);
    EXPECT_DOUBLE_EQ(LotOrdered("L2026A"), 0);
    EXPECT_FALSE(conn->TableExists("#STORNA_PROGMAG"));
}

TEST_F(ReversalTest, WithoutLotsOnlyTheLineSetIsReversed) {
    Capture(false);
    CancelLineFlag(2);
    Reverse();
    EXPECT_TRUE(ProgressivesConsistent(*conn));
    EXPECT_DOUBLE_EQ(LotOrdered("L2026A"), 4);
}

TEST_F(ReversalTest, SkippedReversalShowsAsDrift) {
    Capture(true);
    CancelLineFlag(2);
    auto drift = CompareProgressives(*conn);
    ASSERT_EQ(drift.size(), 1u);
    EXPECT_EQ(drift[0].table, "MG70_PROGMAG");
    EXPECT_EQ(drift[0].key, "1/ART-B//MAG1");
    EXPECT_DOUBLE_EQ(drift[0].storedQta1, 12);
    EXPECT_DOUBLE_EQ(drift[0].expectedQta1, 0);
}

TEST_F(ReversalTest, NullAmountFailsAndChangesNothing) {
    // Planned-order rows on a line of quantity 0: SQL Server divides by zero.
    conn->RunSqlite(
        "UPDATE DO30_DOCCORPO SET DO30_QTA1 = 0 WHERE DO30_NUMREG_CO99 = 1001 AND "
        "DO30_PROGRIGA = 5");
    Capture(false);  // SQLite leaves a Null amount where SQL Server would have stopped
    const double before = Ordered("ART-E");
    std::string why;
    EXPECT_EQ(ErrorOf([&] { Reverse(); }, &why), err::AdoProviderError);
    EXPECT_NE(why.find("Divide by zero"), std::string::npos);
    EXPECT_DOUBLE_EQ(Ordered("ART-E"), before);  // the procedure did all or nothing
    EXPECT_DOUBLE_EQ(Ordered("ART-A"), 17);
    EXPECT_EQ(ErrorOf([&] { ProgressivesConsistent(*conn); }), err::AdoProviderError);
}

TEST_F(ReversalTest, MissingWorkingSetIsAnError) {
    auto before = Ordered("ART-B");
    std::string why;
    EXPECT_EQ(ErrorOf([&] { Reverse(); }, &why), err::AdoProviderError);
    EXPECT_NE(why.find("#STORNA_PROGMAG"), std::string::npos);
    EXPECT_DOUBLE_EQ(Ordered("ART-B"), before);
}

TEST_F(ReversalTest, HostSaveModelPostsTheDifference) {
    std::vector<std::string> docs{std::to_string(demo::kOrdine)};
    PostOpenQuantities(*conn, demo::kDitta, docs, -1);
    conn->RunSqlite(
        "UPDATE DO31_DOCCORPOORD SET DO31_QTA1CONS = 15 WHERE DO31_NUMREG_CO99 = 1001 "
        "AND DO31_PROGRIGA = 2");
    PostOpenQuantities(*conn, demo::kDitta, docs, +1);
    EXPECT_TRUE(ProgressivesConsistent(*conn));
    EXPECT_DOUBLE_EQ(Ordered("ART-B"), 5);
}

TEST_F(ReversalTest, NormalModeOnlyPosts) {
    conn->RunSqlite("DELETE FROM MG70_PROGMAG");
    conn->RunSqlite("DELETE FROM MG71_PROGLOTTI");
    conn->Execute(
        "EXEC SPMG_PROGMAG_DOC @DITTA=1, @ELENCO_NUMREG='''1001'',''1002''', "
        "@FLAG_STORNA=0, @NOME_TABELLA_STORNA=''",
        nullptr, -1);
    EXPECT_TRUE(ProgressivesConsistent(*conn));
}

}  // namespace
}  // namespace zq::sim
