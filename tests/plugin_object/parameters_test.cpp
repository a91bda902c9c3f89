// Cancellation parameters, default reason, initial state of a flow and flow-state moves,
// read and written on the host database.

#include <gtest/gtest.h>

#include <optional>

#include "two_lines.h"

namespace zq::test {
namespace {

using namespace sim::demo;
using Opt = std::optional<std::int32_t>;

const sim::ShownMessage kMancaTesta{
    "E' necessario impostare nei parametri Vestura il valore dello stato annullato per la "
    "testata documento. \r\n[ZQ00_IDSTATO_ANNULLO_TESTA_CO4C]",
    48, "Stato documento"};
const sim::ShownMessage kMancaRighe{
    "E' necessario impostare nei parametri Vestura il valore dello stato annullato per le "
    "righe documento. \r\n[ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C]",
    48, "Stato documento"};

// Initialises on a company whose parameter row holds these states, or has no row.
struct Row {
    Opt testa, righe;
};
struct Case {
    std::optional<Row> row;
    States states;
    std::vector<sim::ShownMessage> warnings;  // opening the header, then the body form
};

TEST(LeggiParametriAnnullo, ReadsTheStatesOrMarksThemMissing) {
    const Case cases[] = {
        {Row{209, 109}, {209, 109, VFalse, VFalse}, {}},
        {Row{209, std::nullopt}, {209, 0, VFalse, VTrue}, {kMancaRighe}},
        {Row{0, 109}, {0, 109, VTrue, VFalse}, {kMancaTesta}},
        {Row{std::nullopt, std::nullopt}, {0, 0, VTrue, VTrue}, {kMancaTesta, kMancaRighe}},
        {Row{0, 0}, {0, 0, VTrue, VTrue}, {kMancaTesta, kMancaRighe}},
        {std::nullopt, {0, 0, VTrue, VTrue}, {kMancaTesta, kMancaRighe}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
        SessionOptions o = TwoLines();
        o.parametri = c.row.has_value();
        if (c.row) o.statoTesta = c.row->testa, o.statoRighe = c.row->righe;
        o.reasons = {};
        Session h(o);
        ASSERT_TRUE(h.Initialize());
        EXPECT_EQ(ClsrfTestAccess::StatesOf(h.Plugin()), c.states);
        h.driver->OpenForm(1);
        h.driver->OpenForm(2);
        EXPECT_EQ(h.Messages(), c.warnings);
    }
}

TEST(LeggiParametriAnnullo, ReadsTheCompanyOfTheEnvironment) {
    Session h(TwoLines());
    h.Load();
    h.host->ditta = std::make_shared<sim::SimDitta>(Variant::Int32(99));  // handed to Initialize
    ASSERT_TRUE(h.Initialize());
    EXPECT_EQ(h.StatementTexts().at(0), kParametri);
    EXPECT_EQ(ClsrfTestAccess::StatesOf(h.Plugin()), (States{209, 109, VFalse, VFalse}));
}

TEST(LeggiParametriAnnullo, AValueThatIsNoNumberEndsTheReadingWhereItWas) {
    Session h(TwoLines());
    h.conn->RunSqlite("UPDATE ZQ00_PARAMETRI SET ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C = 'x'");
    ASSERT_TRUE(h.Initialize());
    // The header state was read; its missing flag was not yet cleared.
    EXPECT_EQ(ClsrfTestAccess::StatesOf(h.Plugin()), (States{209, 0, VTrue, VTrue}));
}

// The header reason the cancelled state fills in, as the header section holds it.
std::vector<Variant> ReasonFilledIn(Session& h) {
    h.driver->OpenForm(2);
    h.driver->OpenForm(1);
    h.driver->SetHeaderState(kStatoTestaAnnullato);
    const ado::RecordsetPtr testaVert = h.host->doc->rstDocTestaVert();
    return {testaVert->Get("DO76_CODCAU_ZQ63"), testaVert->Get("DO76_DESCAU_ZQ63")};
}

TEST(GetCausaleDefault, TheFirstDefaultReasonWins) {
    SessionOptions o = TwoLines();
    o.reasons = {{"CA1", "Cliente rinuncia", true},
                 {"CA0", "Non predefinita"},
                 {"CA2", "Merce non disponibile", true}};
    Session h(o);
    ASSERT_TRUE(h.Initialize());
    const std::vector<Variant> reason = ReasonFilledIn(h);
    EXPECT_EQ(reason[0].ToString(), "CA1");
    EXPECT_EQ(reason[1].ToString(), "Cliente rinuncia");
}

TEST(GetCausaleDefault, NoReasonOrANullDescriptionGivesEmptyTexts) {
    SessionOptions o = TwoLines();
    o.reasons = {{"CA0", "Non predefinita"}};
    Session none(o);
    ASSERT_TRUE(none.Initialize());
    EXPECT_EQ(ClsrfTestAccess::CausaleDefault(none.Plugin()), "");
    (void)ReasonFilledIn(none);  // the cancellation is refused for want of a reason
    ASSERT_EQ(none.Messages().size(), 1u);
    EXPECT_EQ(none.Messages()[0].stile, 64);
    EXPECT_EQ(none.driver->SaveCount(), 0);

    Session nullDescription(TwoLines());
    nullDescription.conn->RunSqlite("UPDATE ZQ63_CAU_ANNULLO SET ZQ63_DESCAU_ANNULLO = NULL");
    ASSERT_TRUE(nullDescription.Initialize());
    const std::vector<Variant> reason = ReasonFilledIn(nullDescription);
    EXPECT_EQ(reason[0].ToString(), "CLI");
    EXPECT_TRUE(reason[1].SameAs(Variant(std::string()))) << reason[1].Describe();
}

const std::string kStatoIniziale =
    " SELECT MIN(CO4C_IDSTATO) as STATO_INIZIALE FROM CO4C_STATI,CO4A_ENTITA,CO4B_FLUSSI "
    " WHERE CO4A_ENTITA.CO4A_IDENTITA = CO4C_STATI.CO4C_IDENTITA_CO4A "
    " AND CO4B_FLUSSI.CO4B_IDENTITA_CO4A = CO4C_STATI.CO4C_IDENTITA_CO4A "
    " AND CO4B_FLUSSI.CO4B_IDFLUSSO =  ";

TEST(GetStatoIniziale, TheBodyFormAsksOnceAndTheStateAnswersEveryFlow) {
    SessionOptions o = TwoLines();
    o.lines = [lines = o.lines](sim::HostDbBuilder& b) {
        lines(b);
        b.Entita(20, "Altre righe").Flusso(2000, 20, "Altro").Stato(300, 20, "Altro stato");
    };
    Session h(o);
    ASSERT_TRUE(h.Initialize());
    h.Statements().clear();

    h.driver->OpenForm(2);
    ASSERT_EQ(h.StatementTexts(), (std::vector<std::string>{kStatoIniziale + "1001"}));
    EXPECT_EQ(h.Statements()[0].options, ado::adCmdText);
    h.driver->OpenForm(2);
    EXPECT_EQ(ClsrfTestAccess::StatoIniziale(h.Plugin(), kFlussoRighe), kStatoRigheIniziale);
    // Another flow, with states of its own, gets the state already held, without a query.
    EXPECT_EQ(ClsrfTestAccess::StatoIniziale(h.Plugin(), 2000), kStatoRigheIniziale);
    EXPECT_EQ(h.Statements().size(), 1u);
}

TEST(GetStatoIniziale, AFlowWithoutStatesAnswersZeroAndIsAskedAgain) {
    Session h(TwoLines());
    sim::DocumentType type = SessionOptions::StandardType();
    type.idFlussoRighe = 4242;
    h.options.type = type;
    h.Load();
    ASSERT_TRUE(h.Initialize());
    h.Statements().clear();
    h.driver->OpenForm(2);
    h.driver->OpenForm(2);
    EXPECT_EQ(ClsrfTestAccess::StatoIniziale(h.Plugin(), 4242), 0);
    EXPECT_EQ(h.StatementTexts(), std::vector<std::string>(3, kStatoIniziale + "4242"));
}

TEST(SetFlussoStato, SendsTheProcedureCallAsTextWithUnspecifiedOptions) {
    Session h(TwoLines());
    ASSERT_TRUE(h.Initialize());
    h.Statements().clear();
    auto& p = h.Plugin();

    ClsrfTestAccess::SetFlussoStato(p, "{0F1E-22}", 31, 4);
    ClsrfTestAccess::SetFlussoStato(p, "0F1E-23", 0, 0);
    ClsrfTestAccess::SetFlussoStato(p, "x' OR 1=1 --", -2, 2147483647);

    EXPECT_EQ(h.StatementTexts(),
              (std::vector<std::string>{
                  "EXEC SPCO_SETFLUSSOSTATO @GUID='{0F1E-22}' ,@CODSTATO=31 ,@CODFLUSSO=4",
                  "EXEC SPCO_SETFLUSSOSTATO @GUID='0F1E-23' ,@CODSTATO=0 ,@CODFLUSSO=0",
                  "EXEC SPCO_SETFLUSSOSTATO @GUID='x'' OR 1=1 --' ,@CODSTATO=-2 "
                  ",@CODFLUSSO=2147483647"}));
    for (const auto& s : h.Statements()) EXPECT_EQ(s.options, ado::adOptionUnspecified);
    // The server's flow store took each move; the quote stayed inside the one literal.
    EXPECT_EQ(h.db->FlowState("{0F1E-22}", 4), 31);
    EXPECT_EQ(h.db->FlowState("0F1E-23", 0), 0);
    EXPECT_EQ(h.db->FlowState("x' OR 1=1 --", 2147483647), -2);
}

TEST(Configuration, ADatabaseThatFailsEveryStatementStillLetsTheRunStart) {
    Session h(TwoLines());
    h.Load();
    h.db->recording->failWhen = [](std::string_view) { return true; };
    ASSERT_TRUE(h.Initialize());
    EXPECT_EQ(ClsrfTestAccess::StatesOf(h.Plugin()), (States{0, 0, VTrue, VTrue}));
    EXPECT_EQ(ClsrfTestAccess::CausaleDefault(h.Plugin()), "");
    EXPECT_EQ(ClsrfTestAccess::DesCausaleDefault(h.Plugin()), "");
    EXPECT_EQ(ClsrfTestAccess::StatoIniziale(h.Plugin(), kFlussoRighe), 0);
    ClsrfTestAccess::SetFlussoStato(h.Plugin(), "{G}", 1, 2);
    EXPECT_EQ(h.Statements().size(), 4u);  // every statement was tried
    EXPECT_EQ(h.db->recording->refused, 4);
    EXPECT_FALSE(h.db->FlowState("{G}", 2).has_value());

    // The forms open with the warnings of missing parameters, and nothing else.
    h.driver->OpenForm(1);
    h.driver->OpenForm(2);
    for (const auto& e : h.driver->Events()) EXPECT_TRUE(e.result.Succeeded()) << e.name;
    EXPECT_EQ(h.Messages(), (std::vector<sim::ShownMessage>{kMancaTesta, kMancaRighe}));
}

}  // namespace
}  // namespace zq::test
