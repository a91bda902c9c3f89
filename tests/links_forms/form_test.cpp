// Opening the document forms, finding the cancellation controls, and the body grid's row
// change.
#include <gtest/gtest.h>

#include "support/session.h"
#include "support/test_access.h"

namespace zq::test {
namespace {

using A = ClsrfTestAccess;

const sim::ShownMessage kGriglia1{
    "La gestione degli annulli non funziona con la modalità griglia 1", 48, "Stato documento"};
const sim::ShownMessage kMancaRighe{
    "E' necessario impostare nei parametri Vestura il valore dello stato annullato per le righe "
    "documento. \r\n[ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C]",
    48, "Stato documento"};
const sim::ShownMessage kMancaTesta{
    "E' necessario impostare nei parametri Vestura il valore dello stato annullato per la "
    "testata documento. \r\n[ZQ00_IDSTATO_ANNULLO_TESTA_CO4C]",
    48, "Stato documento"};

void TreRighe(sim::HostDbBuilder& b) {
    b.Riga(1, "ART-1", 10, 1).Riga(2, "ART-1", 4, 1).Padre(5).Riga(3, "ART-3", 5, 1);
}

TEST(OpenForm, TheBodyFormWarnsOrAddsTheMenuItemByWhatTheHandlingNeeds) {
    struct Case {
        const char* name;
        std::int16_t gridMode;
        std::optional<std::int32_t> statoRighe;
        const char* senzaControllo;
        std::vector<sim::ShownMessage> messages;
        bool menu;
    };
    const Case cases[] = {
        {"grid mode 1", 1, kStatoRigheAnnullato, nullptr, {kGriglia1}, false},
        {"a control missing", 0, kStatoRigheAnnullato, "TXT_DO77_ZQGUID_DETAIL_DO30", {}, false},
        {"line state not configured", 0, std::nullopt, nullptr, {kMancaRighe}, false},
        {"handling on", 2, kStatoRigheAnnullato, nullptr, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session s({.lines = TreRighe, .statoRighe = c.statoRighe, .gridMode = c.gridMode});
        ASSERT_TRUE(s.Initialize());
        if (c.senzaControllo) s.host->body->RemoveControl(c.senzaControllo);
        s.driver->OpenForm(2);
        EXPECT_TRUE(s.driver->Last("OpenForm")->result.Succeeded());
        EXPECT_EQ(s.Messages(), c.messages);
        const auto& items = s.host->menu->Items();
        ASSERT_EQ(items.size(), c.menu ? 1u : 0u);
        if (c.menu) {
            const std::vector<Variant> expected{Variant("Gestione annulli"), Variant("GestAnnulli"),
                                                Variant::Bool(true), Variant::Bool(true)};
            ASSERT_EQ(items[0].size(), expected.size());
            for (std::size_t i = 0; i < expected.size(); ++i)
                EXPECT_TRUE(items[0][i].SameAs(expected[i])) << i;
        }
    }
}

TEST(OpenForm, AHeaderFormWithoutReasonControlsOpensSilently) {
    Session s({.lines = TreRighe, .statoTesta = std::nullopt});
    ASSERT_TRUE(s.Initialize());
    s.host->header->RemoveControl("TXT_DO76_DESCAU_ZQ63");
    s.driver->OpenForm(1);
    EXPECT_TRUE(s.Messages().empty());

    Session complete({.lines = TreRighe, .statoTesta = std::nullopt});
    ASSERT_TRUE(complete.Initialize());
    complete.driver->OpenForm(1);
    EXPECT_EQ(complete.Messages(), std::vector<sim::ShownMessage>{kMancaTesta});
    EXPECT_TRUE(complete.Control(1, "TXT_DO76_CODCAU_ZQ63").IsGestione());
}

TEST(OpenForm, ControlsAreFoundOnceAndALaterControlOnTheSameFieldWins) {
    Session s({.lines = TreRighe});
    ASSERT_TRUE(s.Initialize());
    s.host->body->AddControl(sim::Bound("TXT_QTA1_BIS", "DO30_QTA1"));
    s.host->log->Clear();
    s.driver->OpenForm(2);
    EXPECT_EQ(
        s.host->log->Members(),
        (std::vector<std::string>{"objMenuFunzGen.AddMenuItem", "FME_DocCorpo.MsgOnUpdate",
                                  "FME_DocCorpoVert.MsgOnUpdate", "FME_DocCorpoOrd.MsgOnUpdate"}));
    EXPECT_FALSE(s.host->window->docCorpoOrd->MsgOnUpdate());
    EXPECT_TRUE(s.Control(2, "TXT_DO77_CODCAU_ZQ63").IsGestione());
    for (const char* name :
         {"TXT_DO77_ZQ_QTA_ORIG", "TXT_DO77_ZQGUID_MASTER_DO30", "TXT_DO77_ZQGUID_DETAIL_DO30"})
        EXPECT_FALSE(s.Control(2, name).Enabled()) << name;
    EXPECT_FALSE(s.Control(2, "TXT_DO77_ZQ_QTA_ANNPROGPADRE").Visible());  // not grid mode 2

    // The cancellation line locks the later quantity control, not the first one.
    A::AddLinkAnnullo(s.Plugin(), Guid(2), Guid(1), Variant::Int32(5));
    s.driver->MoveToLine(2);
    EXPECT_FALSE(s.Control(2, "TXT_QTA1_BIS").Enabled());
    EXPECT_TRUE(s.Control(2, "TXT_DO30_QTA1").Enabled());

    // Opened again, the form is not searched again: a new reason control stays unknown,
    // and the handling goes on with the controls found the first time.
    s.host->body->RemoveControl("TXT_DO77_CODCAU_ZQ63");
    s.host->body->AddControl(sim::Bound("TXT_CAUSALE_NUOVA", "DO77_CODCAU_ZQ63"));
    s.driver->OpenForm(2);
    EXPECT_FALSE(s.Control(2, "TXT_CAUSALE_NUOVA").IsGestione());
    EXPECT_EQ(s.host->menu->Items().size(), 2u);
}

// The row-state controls and the line flag, in the order of the checks below.
const std::vector<std::string> kControlliRiga{"TXT_DO30_QTA1",           "TXT_DO30_INDTIPORIGA",
                                              "TXT_DO77_ZQ_QTA_ANNULLO", "TXT_DO30_STATO",
                                              "TXT_DO77_CODCAU_ZQ63",    "TXT_DO31_FLGNONPIUEV"};

std::vector<std::string> Disabled(const Session& s) {
    std::vector<std::string> off;
    for (const auto& name : kControlliRiga)
        if (!s.Control(2, name).Enabled()) off.push_back(name);
    return off;
}

TEST(RowChange, LocksACancellationLineAndTheReasonOfItsMaster) {
    Session s({.lines = TreRighe});
    ASSERT_TRUE(s.Initialize());
    s.driver->OpenForm(2);
    auto& p = s.Plugin();
    A::AddLinkAnnullo(p, Guid(2), Guid(1), Variant::Int32(5));

    s.driver->MoveToLine(2);
    EXPECT_EQ(Disabled(s), (std::vector<std::string>{"TXT_DO30_QTA1", "TXT_DO30_INDTIPORIGA",
                                                     "TXT_DO77_ZQ_QTA_ANNULLO", "TXT_DO30_STATO",
                                                     "TXT_DO31_FLGNONPIUEV"}));
    EXPECT_EQ(A::GuidRigaCorrente(p), Guid(2));
    EXPECT_EQ(A::ProgRigaCorrente(p), 2);
    EXPECT_EQ(A::ProgPadreCorrente(p), 5);

    s.driver->MoveToLine(1);
    EXPECT_EQ(Disabled(s),
              (std::vector<std::string>{"TXT_DO77_CODCAU_ZQ63", "TXT_DO31_FLGNONPIUEV"}));
    EXPECT_EQ(A::ProgPadreCorrente(p), 0);

    s.driver->MoveToLine(3);
    EXPECT_TRUE(Disabled(s).empty());
    EXPECT_EQ(A::ProgRigaCorrente(p), 3);
}

TEST(RowChange, LeavesEverythingAloneWhileThePlugInMovesTheGridItself) {
    for (VBool& (*flag)(plugin::CLSRF_REGDOC_STATI&) :
         {&A::ApplicaInCorso, &A::CreaAnnulloInCorso}) {
        Session s({.lines = TreRighe});
        ASSERT_TRUE(s.Initialize());
        s.driver->OpenForm(2);
        auto& p = s.Plugin();
        A::AddLinkAnnullo(p, Guid(2), Guid(1), Variant::Int32(5));
        s.driver->MoveToLine(3);
        flag(p) = VTrue;
        s.driver->MoveToLine(2);
        EXPECT_TRUE(Disabled(s).empty());
        EXPECT_EQ(A::GuidRigaCorrente(p), Guid(3));
        EXPECT_EQ(A::ProgRigaCorrente(p), 3);
    }
}

void Gruppi(sim::HostDbBuilder& b) {
    b.Riga(1, "ART-1", 10, 1)
        .Riga(2, "ART-2", 4, 1)
        .Padre(1)
        .Riga(3, "ART-3", 5, 1)
        .Padre(1)
        .Riga(4, "ART-4", 6, 1)
        .Padre(2)
        .Riga(5, "ART-5", 7, 1)
        .Padre(1);
}

TEST(RowChange, GridMode2HidesTheCancellationFieldsOfGroupLinesAndTotalsTheGroup) {
    const std::vector<std::string> hidden{
        "TXT_DO77_ZQGUID_DETAIL_DO30", "TXT_DO77_ZQGUID_MASTER_DO30", "TXT_DO77_ZQ_QTA_ANNULLO",
        "TXT_DO77_DESCAU_ZQ63",        "TXT_DO77_CODCAU_ZQ63",        "TXT_DO77_ZQ_QTA_ORIG"};
    auto visible = [&](const Session& s) {
        std::vector<std::string> on;
        for (const auto& name : hidden)
            if (s.Control(2, name).Visible()) on.push_back(name);
        return on;
    };
    Session s({.lines = Gruppi});
    s.WriteLine(2, "DO77_ZQ_QTA_ANNULLO", Variant(1.5));
    s.WriteLine(3, "DO77_ZQ_QTA_ANNULLO", Variant(2.0));
    s.WriteLine(4, "DO77_ZQ_QTA_ANNULLO", Variant(10.0));
    s.DeleteLineRow(5, "DO77");
    s.options.gridMode = 2;
    ASSERT_TRUE(s.Initialize());
    s.Control(2, "TXT_DO77_DESCAU_ZQ63").SetVisible(false);
    s.driver->OpenForm(2);
    sim::SimControl& totale = s.Control(2, "TXT_DO77_ZQ_QTA_ANNPROGPADRE");
    EXPECT_TRUE(totale.Visible());

    s.driver->MoveToLine(3);
    EXPECT_TRUE(visible(s).empty());
    EXPECT_EQ(totale.Text(), "3.5");
    s.driver->MoveToLine(4);
    EXPECT_EQ(totale.Text(), "10");

    // Back on a line of no group: the visibility each control had when the form was searched.
    s.driver->MoveToLine(1);
    std::vector<std::string> expected = hidden;
    std::erase(expected, "TXT_DO77_DESCAU_ZQ63");
    EXPECT_EQ(visible(s), expected);

    // The total is known by its name only.
    Session rinominato({.lines = Gruppi});
    rinominato.options.gridMode = 2;
    ASSERT_TRUE(rinominato.Initialize());
    rinominato.host->body->RenameControl("TXT_DO77_ZQ_QTA_ANNPROGPADRE", "TXT_TOTALE");
    rinominato.driver->OpenForm(2);
    rinominato.driver->MoveToLine(3);
    EXPECT_EQ(rinominato.Control(2, "TXT_TOTALE").Text(), "");

    // Other grid modes show the fields on every line and keep no total.
    Session normale({.lines = Gruppi});
    ASSERT_TRUE(normale.Initialize());
    normale.driver->OpenForm(2);
    normale.driver->MoveToLine(3);
    EXPECT_EQ(visible(normale), hidden);
    EXPECT_EQ(normale.Control(2, "TXT_DO77_ZQ_QTA_ANNPROGPADRE").Text(), "");
}

}  // namespace
}  // namespace zq::test
