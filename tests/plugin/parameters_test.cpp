// Cancellation parameters, default reason, initial state of a flow and flow-state moves,
// read and written on the host's connection.

#include <gtest/gtest.h>

#include "fakes.h"

namespace zq::test {
namespace {

using plugin::ClsrfTestAccess;

const char* const kParamKey = "FROM ZQ00_PARAMETRI";
const char* const kReasonKey = "FROM ZQ63_CAU_ANNULLO";
const char* const kStateKey = "STATO_INIZIALE";
const std::vector<std::string> kParamColumns{"ZQ00_IDSTATO_ANNULLO_TESTA_CO4C",
                                             "ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C"};
const std::vector<std::string> kReasonColumns{"ZQ63_CODCAU_ANNULLO", "ZQ63_DESCAU_ANNULLO"};

struct States {
    std::int32_t testa, righe;
    VBool mancaTesta, mancaRighe;
    bool operator==(const States&) const = default;
};

States StatesOf(const FakeHost& host) {
    return {ClsrfTestAccess::StatoAnnulloTesta(host.plugin),
            ClsrfTestAccess::StatoAnnulloRighe(host.plugin),
            ClsrfTestAccess::MancaStatoTesta(host.plugin),
            ClsrfTestAccess::MancaStatoRighe(host.plugin)};
}

States ParametersFrom(std::vector<std::vector<Variant>> rows) {
    FakeHost host;
    host.cnn->Answer(kParamKey, kParamColumns, std::move(rows));
    EXPECT_EQ(host.Initialize(), VTrue);
    return StatesOf(host);
}

TEST(LeggiParametriAnnullo, ReadsBothStatesOfTheEnvironmentsCompany) {
    EXPECT_EQ(ParametersFrom({{Variant::Int32(40), Variant::Int32(41)}}),
              (States{40, 41, VFalse, VFalse}));
    // Numbers that come back as other kinds are converted to 32-bit ids.
    EXPECT_EQ(ParametersFrom({{Variant(40.0), Variant("41")}}), (States{40, 41, VFalse, VFalse}));
}

TEST(LeggiParametriAnnullo, AMissingOrEmptyValueLeavesThatStateMissing) {
    EXPECT_EQ(ParametersFrom({{Variant::Int32(40), Variant::Null()}}),
              (States{40, 0, VFalse, VTrue}));
    EXPECT_EQ(ParametersFrom({{Variant::Int32(0), Variant::Int32(41)}}),
              (States{0, 41, VTrue, VFalse}));
    EXPECT_EQ(ParametersFrom({{Variant::Null(), Variant::Null()}}), (States{0, 0, VTrue, VTrue}));
    EXPECT_EQ(ParametersFrom({{Variant::Int32(0), Variant::Int32(0)}}),
              (States{0, 0, VTrue, VTrue}));
    EXPECT_EQ(ParametersFrom({}), (States{0, 0, VTrue, VTrue}));  // no row for the company
}

TEST(LeggiParametriAnnullo, AValueThatIsNoNumberEndsTheReadingWhereItWas) {
    // The header state is read, the line state fails to convert: the header state stays,
    // but its missing flag was not yet cleared.
    EXPECT_EQ(ParametersFrom({{Variant::Int32(40), Variant("x")}}), (States{40, 0, VTrue, VTrue}));
}

TEST(GetCausaleDefault, TheFirstDefaultReasonWins) {
    FakeHost host;
    host.cnn->Answer(kReasonKey, kReasonColumns,
                     {{Variant("CA1"), Variant("Cliente rinuncia")},
                      {Variant("CA2"), Variant("Merce non disponibile")}});
    ASSERT_EQ(host.Initialize(), VTrue);
    EXPECT_EQ(ClsrfTestAccess::CausaleDefault(host.plugin), "CA1");
    EXPECT_EQ(ClsrfTestAccess::DesCausaleDefault(host.plugin), "Cliente rinuncia");
}

TEST(GetCausaleDefault, NoReasonOrANullDescriptionGivesEmptyTexts) {
    FakeHost none;
    ASSERT_EQ(none.Initialize(), VTrue);
    EXPECT_EQ(ClsrfTestAccess::CausaleDefault(none.plugin), "");
    EXPECT_EQ(ClsrfTestAccess::DesCausaleDefault(none.plugin), "");

    FakeHost nullDescription;
    nullDescription.cnn->Answer(kReasonKey, kReasonColumns, {{Variant("CA1"), Variant::Null()}});
    ASSERT_EQ(nullDescription.Initialize(), VTrue);
    EXPECT_EQ(ClsrfTestAccess::CausaleDefault(nullDescription.plugin), "CA1");
    EXPECT_EQ(ClsrfTestAccess::DesCausaleDefault(nullDescription.plugin), "");
}

TEST(Configuration, ADatabaseThatFailsEveryStatementStillLetsTheRunStart) {
    FakeHost host;
    host.cnn->failAll = true;
    EXPECT_EQ(host.Initialize(), VTrue);
    EXPECT_TRUE(host.lastResult.Succeeded());
    EXPECT_EQ(StatesOf(host), (States{0, 0, VTrue, VTrue}));
    EXPECT_EQ(ClsrfTestAccess::CausaleDefault(host.plugin), "");
    EXPECT_EQ(ClsrfTestAccess::DesCausaleDefault(host.plugin), "");
    EXPECT_EQ(ClsrfTestAccess::StatoInizialeRighe(host.plugin, 5), 0);
    ClsrfTestAccess::SetFlussoStato(host.plugin, "{G}", 1, 2);
    EXPECT_EQ(host.cnn->statements.size(), 4u);  // every statement was tried
    EXPECT_TRUE(host.programma->ambiente->messaggi->shown.empty());
}

TEST(GetStatoIniziale, QueriesTheLowestStateOfTheFlowsEntityOnce) {
    FakeHost host;
    host.cnn->Answer(kStateKey, {"STATO_INIZIALE"}, {{Variant::Int32(100)}});
    ASSERT_EQ(host.Initialize(), VTrue);
    host.cnn->statements.clear();

    EXPECT_EQ(ClsrfTestAccess::StatoInizialeRighe(host.plugin, 7), 100);
    ASSERT_EQ(host.cnn->statements.size(), 1u);
    EXPECT_EQ(host.cnn->statements[0].text,
              " SELECT MIN(CO4C_IDSTATO) as STATO_INIZIALE FROM CO4C_STATI,CO4A_ENTITA,CO4B_FLUSSI "
              " WHERE CO4A_ENTITA.CO4A_IDENTITA = CO4C_STATI.CO4C_IDENTITA_CO4A "
              " AND CO4B_FLUSSI.CO4B_IDENTITA_CO4A = CO4C_STATI.CO4C_IDENTITA_CO4A "
              " AND CO4B_FLUSSI.CO4B_IDFLUSSO =  7");
    EXPECT_EQ(host.cnn->statements[0].options, ado::adCmdText);

    // Another flow gets the state already held, without a query.
    EXPECT_EQ(ClsrfTestAccess::StatoInizialeRighe(host.plugin, 8), 100);
    EXPECT_EQ(host.cnn->statements.size(), 1u);
}

TEST(GetStatoIniziale, AFlowWithoutStatesAnswersZeroAndIsAskedAgain) {
    FakeHost host;
    host.cnn->Answer(kStateKey, {"STATO_INIZIALE"}, {{Variant::Null()}});
    ASSERT_EQ(host.Initialize(), VTrue);
    host.cnn->statements.clear();
    EXPECT_EQ(ClsrfTestAccess::StatoInizialeRighe(host.plugin, 7), 0);
    EXPECT_EQ(ClsrfTestAccess::StatoInizialeRighe(host.plugin, 7), 0);
    EXPECT_EQ(host.cnn->statements.size(), 2u);
}

TEST(SetFlussoStato, SendsTheProcedureCallAsTextWithUnspecifiedOptions) {
    FakeHost host;
    ASSERT_EQ(host.Initialize(), VTrue);
    host.cnn->statements.clear();

    ClsrfTestAccess::SetFlussoStato(host.plugin, "{0F1E-22}", 31, 4);
    ClsrfTestAccess::SetFlussoStato(host.plugin, "0F1E-22", 0, 0);
    ClsrfTestAccess::SetFlussoStato(host.plugin, "x' OR 1=1 --", -2, 2147483647);

    ASSERT_EQ(host.cnn->statements.size(), 3u);
    EXPECT_EQ(host.cnn->statements[0].text,
              "EXEC SPCO_SETFLUSSOSTATO @GUID='{0F1E-22}' ,@CODSTATO=31 ,@CODFLUSSO=4");
    EXPECT_EQ(host.cnn->statements[1].text,
              "EXEC SPCO_SETFLUSSOSTATO @GUID='0F1E-22' ,@CODSTATO=0 ,@CODFLUSSO=0");
    // A quote inside the value can only ever be part of the one literal.
    EXPECT_EQ(host.cnn->statements[2].text,
              "EXEC SPCO_SETFLUSSOSTATO @GUID='x'' OR 1=1 --' ,@CODSTATO=-2 "
              ",@CODFLUSSO=2147483647");
    for (const Statement& s : host.cnn->statements) EXPECT_EQ(s.options, ado::adOptionUnspecified);
}

}  // namespace
}  // namespace zq::test
