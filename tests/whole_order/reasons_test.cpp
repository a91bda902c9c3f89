// Cancellation reasons on the forms: look-up lists, decoding typed codes, and the key menu
// of the line reason field that opens the reasons program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "demo_order.h"
#include "sim/db/plugin_statements.h"

namespace zq::test {
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
    Session s(DemoOrder());
    s.Open();
    ExpectReasonList(s.driver->OpenLookup(1, "TXT_DO76_CODCAU_ZQ63"));
    EXPECT_EQ(s.Control(1, "TXT_DO76_CODCAU_ZQ63").IDLookup().ToString(),
              "Lkp_DO76CausaliAnnulloZQ63");

    // A line reason field on the header form is the host's own business.
    s.host->header->AddControl(sim::Bound("TXT_RIGA", "DO77_CODCAU_ZQ63"));
    const sim::HostDriver::Lookup altrove = s.driver->OpenLookup(1, "TXT_RIGA");
    EXPECT_FALSE(altrove.handled);
    EXPECT_EQ(altrove.sql, "");
    EXPECT_TRUE(altrove.colonne.IsEmpty());

    s.driver->OpenForm(2);
    ExpectReasonList(s.driver->OpenLookup(2, "TXT_DO77_CODCAU_ZQ63"));
    EXPECT_EQ(s.Control(2, "TXT_DO77_CODCAU_ZQ63").IDLookup().ToString(),
              "Lkp_DO77CausaliAnnulloZQ63");
}

TEST(ReasonLookup, LineFieldWithBodyHandlingOffIsHandledButEmpty) {
    Session s(DemoOrder());
    s.Load().body->RemoveControl("TXT_DO77_ZQGUID_MASTER_DO30");
    s.Open();
    s.driver->OpenForm(2);
    const sim::HostDriver::Lookup shown = s.driver->OpenLookup(2, "TXT_DO77_CODCAU_ZQ63");
    EXPECT_TRUE(shown.handled);
    EXPECT_EQ(shown.sql, "");
    EXPECT_EQ(shown.titolo, "");
    EXPECT_EQ(shown.paramInit, "");
    EXPECT_TRUE(shown.colonne.IsEmpty());
    EXPECT_FALSE(shown.rows);
    EXPECT_TRUE(s.Control(2, "TXT_DO77_CODCAU_ZQ63").IDLookup().IsEmpty());
}

TEST(ReasonDecode, CodesAreKeptAndDescriptionsStoredTrimmedOrNull) {
    SessionOptions o = DemoOrder();
    o.setup = {
        "UPDATE ZQ63_CAU_ANNULLO SET ZQ63_DESCAU_ANNULLO = '  Errore di inserimento  ' "
        "WHERE ZQ63_CODCAU_ANNULLO = 'ERR'"};
    Session s(o);
    s.Open();
    auto testaVert = s.host->doc->rstDocTestaVert();
    sim::SimControl& des = s.Control(1, "TXT_DO76_DESCAU_ZQ63");

    EXPECT_FALSE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "ERR"));
    EXPECT_EQ(des.Text(), "Errore di inserimento");
    EXPECT_TRUE(des.IsChanged());
    EXPECT_EQ(testaVert->Get("DO76_DESCAU_ZQ63").ToString(), "Errore di inserimento");
    EXPECT_THAT(s.Statements(), Contains(Statement{sim::stmt::DescCausale("ERR"), 1}));

    EXPECT_FALSE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "XYZ"));
    EXPECT_EQ(des.Text(), "");
    EXPECT_TRUE(testaVert->Get("DO76_DESCAU_ZQ63").IsNull());
    EXPECT_EQ(testaVert->Get("DO76_CODCAU_ZQ63").ToString(), "XYZ");
    EXPECT_TRUE(s.driver->Save());
    EXPECT_EQ(s.Scalar("SELECT DO76_CODCAU_ZQ63 FROM DO76_DOCTESTAVERT WHERE DO76_NUMREG_CO99 = "
                       "1001")
                  .ToString(),
              "XYZ");

    EXPECT_FALSE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "ERR"));
    EXPECT_TRUE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", ""));
    EXPECT_EQ(des.Text(), "");
    EXPECT_TRUE(testaVert->Get("DO76_DESCAU_ZQ63").IsNull());
    EXPECT_FALSE(IsTrue(ClsrfTestAccess::DecodeCausaleTesta(s.Plugin())));

    // A failing query ends the header decode quietly, its busy flag cleared.
    s.db->recording->failWhen = [](std::string_view t) {
        return t.find("ZQ63_DESCAU_ANNULLO") != std::string_view::npos;
    };
    des.Type("prima");
    EXPECT_FALSE(s.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "CLI"));
    EXPECT_EQ(des.Text(), "prima");
    EXPECT_FALSE(IsTrue(ClsrfTestAccess::DecodeCausaleTesta(s.Plugin())));
    EXPECT_TRUE(s.driver->Last("ControlEventStartDecode")->result.Succeeded());
    s.db->recording->failWhen = nullptr;

    s.driver->OpenForm(2);
    s.driver->MoveToLine(2);
    auto corpoVert = s.host->doc->rstDocCorpoVert();
    sim::SimControl& desRiga = s.Control(2, "TXT_DO77_DESCAU_ZQ63");
    EXPECT_FALSE(s.TypeAndLeave(2, "TXT_DO77_CODCAU_ZQ63", "ERR"));
    EXPECT_EQ(desRiga.Text(), "Errore di inserimento");
    EXPECT_EQ(corpoVert->Get("DO77_DESCAU_ZQ63").ToString(), "Errore di inserimento");
    EXPECT_FALSE(s.TypeAndLeave(2, "TXT_DO77_CODCAU_ZQ63", "XYZ"));
    EXPECT_EQ(desRiga.Text(), "");
    EXPECT_TRUE(corpoVert->Get("DO77_DESCAU_ZQ63").IsNull());
    EXPECT_EQ(corpoVert->Get("DO77_CODCAU_ZQ63").ToString(), "XYZ");
    EXPECT_TRUE(s.TypeAndLeave(2, "TXT_DO77_CODCAU_ZQ63", ""));
    EXPECT_TRUE(corpoVert->Get("DO77_DESCAU_ZQ63").IsNull());
    EXPECT_THAT(s.TakeMessages(), IsEmpty());
}

TEST(ReasonsProgram, KeyMenuItemTwoOfTheLineReasonOpensIt) {
    Session s(DemoOrder());
    s.Open();
    const auto& launched = s.host->ambiente->Launched();

    // The header form's reason field has no such menu.
    s.driver->PressKeyButtonMenu(1, "TXT_DO76_CODCAU_ZQ63", Variant::Int16(1), Variant::Int16(2));
    s.driver->OpenForm(2);
    // The item and its value go on as the host passes them: the value decides.
    s.driver->PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(0), Variant::Int16(1));
    s.driver->PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(2), Variant::Int16(1));
    EXPECT_THAT(launched, IsEmpty());
    EXPECT_THAT(s.host->programma->AbilitatoHistory(), IsEmpty());

    s.driver->PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(1), Variant::Int16(2));
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].progId.ToString(), "ZQUO_CAUANNULLO.CLSZQ_CAUANNULLO");
    std::vector<std::string> args;
    for (const auto& a : launched[0].args) args.push_back(a.Describe());
    EXPECT_THAT(args, ElementsAre("True", "0", "0", "0", "0", "0", "True", "True"));
    ASSERT_EQ(s.reasons->Created().size(), 1u);
    const auto& creato = *s.reasons->Created()[0];
    EXPECT_THAT(creato.AbilitatoHistory(), ElementsAre(VTrue));
    EXPECT_EQ(creato.Modale(), VTrue);
    EXPECT_EQ(s.host->log->Count("Ambiente.RegistraProgramma"), 1u);
    // The program the launcher handed back is switched off when it closes.
    EXPECT_THAT(launched[0].programma->AbilitatoHistory(), ElementsAre(VFalse));
    EXPECT_THAT(s.host->programma->AbilitatoHistory(), ElementsAre(VFalse, VTrue));
    EXPECT_THAT(s.TakeMessages(), IsEmpty());
}

TEST(ReasonsProgram, MissingBodyControlsAreReportedWhateverTheItem) {
    Session s(DemoOrder());
    s.Load().body->RemoveControl("TXT_DO77_ZQGUID_DETAIL_DO30");
    s.Open();
    s.driver->OpenForm(2);
    s.TakeMessages();
    s.driver->PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(1), Variant::Int16(2));
    s.driver->PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(0), Variant::Int16(1));
    const sim::ShownMessage atteso{"Mancano Controlli Del Corpo", 0, ""};
    EXPECT_THAT(s.TakeMessages(), ElementsAre(atteso, atteso));
    EXPECT_THAT(s.host->ambiente->Launched(), IsEmpty());
}

TEST(ReasonsProgram, ALaunchThatFailsLeavesTheDocumentProgramEnabled) {
    {
        SCOPED_TRACE("not installed");
        SessionOptions o = DemoOrder();
        o.reasonsProgram = false;
        Session s(o);
        s.Open();
        s.driver->OpenForm(2);
        s.driver->PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(1),
                                     Variant::Int16(2));
        EXPECT_THAT(s.host->programma->AbilitatoHistory(), IsEmpty());
        EXPECT_EQ(s.host->programma->Abilitato(), VTrue);
        EXPECT_THAT(s.TakeMessages(), IsEmpty());
        EXPECT_TRUE(s.driver->Last("ControlEventKeyButtonMenuPress")->result.Succeeded());
    }
    {
        SCOPED_TRACE("launch refused");
        Session s(DemoOrder());
        s.Open();
        s.driver->OpenForm(2);
        s.host->ambiente->failNextLaunch = 7;
        s.driver->PressKeyButtonMenu(2, "TXT_DO77_CODCAU_ZQ63", Variant::Int16(1),
                                     Variant::Int16(2));
        EXPECT_THAT(s.host->programma->AbilitatoHistory(), ElementsAre(VFalse, VTrue));
        EXPECT_EQ(s.host->programma->Abilitato(), VTrue);
        EXPECT_THAT(s.TakeMessages(), IsEmpty());
    }
}

}  // namespace
}  // namespace zq::test
