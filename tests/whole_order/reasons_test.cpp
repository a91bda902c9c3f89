// Cancellation reasons on the forms: look-up lists, decoding typed codes, and the key menu
// of the line reason field that opens the reasons program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "order_session.h"
#include "sim/db/plugin_statements.h"
#include "test_access.h"

namespace zq::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

constexpr const char* kLookupSql =
    "SELECT ZQ63_CODCAU_ANNULLO,ZQ63_DESCAU_ANNULLO,   CASE WHEN ZQ63_FLG_DEFAULT=0 THEN '' ELSE "
    "'Si' END AS ZQ63_FLG_DEFAULT  FROM ZQ63_CAU_ANNULLO WITH (NOLOCK) ";

std::vector<std::string> Texts(const std::vector<Variant>& row) {
    std::vector<std::string> out;
    for (const auto& v : row) out.push_back(v.ToString());
    return out;
}

void ExpectReasonList(const sim::HostDriver::Lookup& shown) {
    EXPECT_TRUE(shown.handled);
    EXPECT_EQ(shown.sql, kLookupSql);
    EXPECT_EQ(shown.titolo, "Causali Annullo");
    EXPECT_EQ(shown.paramInit, "PARAM");
    ASSERT_TRUE(shown.colonne.IsArray());
    const VarArrayPtr colonne = shown.colonne.ToArray();
    ASSERT_EQ(colonne->LBound(1), 0);
    ASSERT_EQ(colonne->UBound(1), 1);
    ASSERT_EQ(colonne->LBound(2), 0);
    ASSERT_EQ(colonne->UBound(2), 2);
    EXPECT_EQ(Texts({colonne->At(0, 0), colonne->At(0, 1), colonne->At(0, 2)}),
              (std::vector<std::string>{"Codice", "Descrizione", "Predefinita"}));
    EXPECT_EQ(Texts({colonne->At(1, 0), colonne->At(1, 1), colonne->At(1, 2)}),
              (std::vector<std::string>{"", "", ""}));
    std::vector<std::vector<std::string>> rows;
    ASSERT_TRUE(shown.rows);
    for (; !shown.rows->EOF_(); shown.rows->MoveNext()) {
        std::vector<Variant> row;
        for (std::int32_t i = 0; i < shown.rows->FieldCount(); ++i)
            row.push_back(shown.rows->FieldAt(i)->Value());
        rows.push_back(Texts(row));
    }
    EXPECT_THAT(rows, UnorderedElementsAre(ElementsAre("CLI", "Richiesta del cliente", "Si"),
                                           ElementsAre("FOR", "Merce non disponibile", ""),
                                           ElementsAre("ERR", "Errore di inserimento", "")));
}

TEST(ReasonLookup, HeaderAndLineFieldsListTheReasonsOnTheirOwnFormOnly) {
    OrderSession s;
    s.OpenOrder();
    ExpectReasonList(s.Driver().OpenLookup(1, "TXT_DO76_CODCAU_ZQ63"));
    EXPECT_EQ(s.HeaderControl("TXT_DO76_CODCAU_ZQ63").IDLookup().ToString(),
              "Lkp_DO76CausaliAnnulloZQ63");

    // A line reason field on the header form is the host's own business.
    s.Host().header->AddControl(sim::Bound("TXT_RIGA", "DO77_CODCAU_ZQ63"));
    const sim::HostDriver::Lookup altrove = s.Driver().OpenLookup(1, "TXT_RIGA");
    EXPECT_FALSE(altrove.handled);
    EXPECT_EQ(altrove.sql, "");
    EXPECT_TRUE(altrove.colonne.IsEmpty());

    s.Driver().OpenForm(2);
    ExpectReasonList(s.Driver().OpenLookup(2, "TXT_DO77_CODCAU_ZQ63"));
    EXPECT_EQ(s.BodyControl("TXT_DO77_CODCAU_ZQ63").IDLookup().ToString(),
              "Lkp_DO77CausaliAnnulloZQ63");
}

TEST(ReasonLookup, LineFieldWithBodyHandlingOffIsHandledButEmpty) {
    SessionOptions o;
    o.bodyWithout = {"TXT_DO77_ZQGUID_MASTER_DO30"};
    OrderSession s(o);
    s.OpenOrder();
    s.Driver().OpenForm(2);
    const sim::HostDriver::Lookup shown = s.Driver().OpenLookup(2, "TXT_DO77_CODCAU_ZQ63");
    EXPECT_TRUE(shown.handled);
    EXPECT_EQ(shown.sql, "");
    EXPECT_EQ(shown.titolo, "");
    EXPECT_EQ(shown.paramInit, "");
    EXPECT_TRUE(shown.colonne.IsEmpty());
    EXPECT_FALSE(shown.rows);
    EXPECT_TRUE(s.BodyControl("TXT_DO77_CODCAU_ZQ63").IDLookup().IsEmpty());
}

TEST(ReasonDecode, CodesAreKeptAndDescriptionsStoredTrimmedOrNull) {
    SessionOptions o;
    o.setup = {
        "UPDATE ZQ63_CAU_ANNULLO SET ZQ63_DESCAU_ANNULLO = '  Errore di inserimento  ' "
        "WHERE ZQ63_CODCAU_ANNULLO = 'ERR'"};
    OrderSession s(o);
    s.OpenOrder();
    auto testaVert = s.Host().doc->rstDocTestaVert();
    sim::SimControl& des = s.HeaderControl("TXT_DO76_DESCAU_ZQ63");

    EXPECT_FALSE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "ERR"));
    EXPECT_EQ(des.Text(), "Errore di inserimento");
    EXPECT_TRUE(des.IsChanged());
    EXPECT_EQ(testaVert->Get("DO76_DESCAU_ZQ63").ToString(), "Errore di inserimento");
    EXPECT_THAT(s.Statements().statements, Contains(Statement{sim::stmt::DescCausale("ERR"), 1}));

    EXPECT_FALSE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "XYZ"));
    EXPECT_EQ(des.Text(), "");
    EXPECT_TRUE(testaVert->Get("DO76_DESCAU_ZQ63").IsNull());
    EXPECT_EQ(testaVert->Get("DO76_CODCAU_ZQ63").ToString(), "XYZ");
    EXPECT_TRUE(s.Driver().Save());
    EXPECT_EQ(s.Scalar("SELECT DO76_CODCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = "
                       "1001")
                  .ToString(),
              "XYZ");

    EXPECT_FALSE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "ERR"));
    EXPECT_TRUE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", ""));
    EXPECT_EQ(des.Text(), "");
    EXPECT_TRUE(testaVert->Get("DO76_DESCAU_ZQ63").IsNull());
    EXPECT_FALSE(ClsrfTestAccess::DecodificaInCorso(s.Driver()));

    // A failing query ends the header decode quietly, its busy flag cleared.
    s.Statements().failWhen = [](std::string_view t) {
        return t.find("ZQ63_DESCAU_ANNULLO") != std::string_view::npos;
    };
    des.Type("prima");
    EXPECT_FALSE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "CLI"));
    EXPECT_EQ(des.Text(), "prima");
    EXPECT_FALSE(ClsrfTestAccess::DecodificaInCorso(s.Driver()));
    EXPECT_TRUE(s.Driver().Last("ControlEventStartDecode")->result.Succeeded());
    s.Statements().failWhen = nullptr;

    s.Driver().OpenForm(2);
    s.Driver().MoveToLine(2);
    auto corpoVert = s.Host().doc->rstDocCorpoVert();
    sim::SimControl& desRiga = s.BodyControl("TXT_DO77_DESCAU_ZQ63");
    EXPECT_FALSE(s.TypeAndLeave(2, "TXT_DO77_CODCAU_ZQ63", "ERR"));
    EXPECT_EQ(desRiga.Text(), "Errore di inserimento");
    EXPECT_EQ(corpoVert->Get("DO77_DESCAU_ZQ63").ToString(), "Errore di inserimento");
    EXPECT_FALSE(s.TypeAndLeave(2, "TXT_DO77_CODCAU_ZQ63", "XYZ"));
    EXPECT_EQ(desRiga.Text(), "");
    EXPECT_TRUE(corpoVert->Get("DO77_DESCAU_ZQ63").IsNull());
    EXPECT_EQ(corpoVert->Get("DO77_CODCAU_ZQ63").ToString(), "XYZ");
    EXPECT_TRUE(s.TypeAndLeave(2, "TXT_DO77_CODCAU_ZQ63", ""));
    EXPECT_TRUE(corpoVert->Get("DO77_DESCAU_ZQ63").IsNull());
    EXPECT_THAT(s.Messages(), IsEmpty());
}

TEST(ReasonsProgram, KeyMenuItemTwoOfTheLineReasonOpensIt) {
    OrderSession s;
    s.OpenOrder();
    const auto& launched = s.Host().ambiente->Launched();

    // The header form's reason field has no such menu.
    s.Driver().PressKeyButtonMenu(1, "TXT_DO76_CODCAU_ZQ63", Variant::Int16(1), Variant::Int16(2));
    s.Driver().OpenForm(2);
    // The item and its value go on as the host passes them: the value decides.
    s.Driver().PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(0), Variant::Int16(1));
    s.Driver().PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(2), Variant::Int16(1));
    EXPECT_THAT(launched, IsEmpty());
    EXPECT_THAT(s.Host().programma->AbilitatoHistory(), IsEmpty());

    s.Driver().PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(1), Variant::Int16(2));
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].progId.ToString(), "ZQUO_CAUANNULLO.CLSZQ_CAUANNULLO");
    std::vector<std::string> args;
    for (const auto& a : launched[0].args) args.push_back(a.Describe());
    EXPECT_THAT(args, ElementsAre("True", "0", "0", "0", "0", "0", "True", "True"));
    ASSERT_EQ(s.reasons->Created().size(), 1u);
    const auto& creato = *s.reasons->Created()[0];
    EXPECT_THAT(creato.AbilitatoHistory(), ElementsAre(VTrue));
    EXPECT_EQ(creato.Modale(), VTrue);
    EXPECT_EQ(s.Host().log->Count("Ambiente.RegistraProgramma"), 1u);
    // The program the launcher handed back is switched off when it closes.
    EXPECT_THAT(launched[0].programma->AbilitatoHistory(), ElementsAre(VFalse));
    EXPECT_THAT(s.Host().programma->AbilitatoHistory(), ElementsAre(VFalse, VTrue));
    EXPECT_THAT(s.Messages(), IsEmpty());
}

TEST(ReasonsProgram, MissingBodyControlsAreReportedWhateverTheItem) {
    SessionOptions o;
    o.bodyWithout = {"TXT_DO77_ZQGUID_DETAIL_DO30"};
    OrderSession s(o);
    s.OpenOrder();
    s.Driver().OpenForm(2);
    s.Messages();
    s.Driver().PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(1), Variant::Int16(2));
    s.Driver().PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(0), Variant::Int16(1));
    const sim::ShownMessage atteso{"Mancano Controlli Del Corpo", 0, ""};
    EXPECT_THAT(s.Messages(), ElementsAre(atteso, atteso));
    EXPECT_THAT(s.Host().ambiente->Launched(), IsEmpty());
}

TEST(ReasonsProgram, ALaunchThatFailsLeavesTheDocumentProgramEnabled) {
    {
        SCOPED_TRACE("not installed");
        SessionOptions o;
        o.reasonsProgramInstalled = false;
        OrderSession s(o);
        s.OpenOrder();
        s.Driver().OpenForm(2);
        s.Driver().PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(1),
                                      Variant::Int16(2));
        EXPECT_THAT(s.Host().programma->AbilitatoHistory(), IsEmpty());
        EXPECT_EQ(s.Host().programma->Abilitato(), VTrue);
        EXPECT_THAT(s.Messages(), IsEmpty());
        EXPECT_TRUE(s.Driver().Last("ControlEventKeyButtonMenuPress")->result.Succeeded());
    }
    {
        SCOPED_TRACE("launch refused");
        OrderSession s;
        s.OpenOrder();
        s.Driver().OpenForm(2);
        s.Host().ambiente->failNextLaunch = 7;
        s.Driver().PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(1),
                                      Variant::Int16(2));
        EXPECT_THAT(s.Host().programma->AbilitatoHistory(), ElementsAre(VFalse, VTrue));
        EXPECT_EQ(s.Host().programma->Abilitato(), VTrue);
        EXPECT_THAT(s.Messages(), IsEmpty());
    }
}

}  // namespace
}  // namespace zq::testing
