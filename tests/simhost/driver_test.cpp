// The driver's own mechanics, with a plug-in that only notes the events it receives, and one
// whole session with the real plug-in.
#include "sim/host/driver.h"

#include <gtest/gtest.h>

#include "simhost/noting_plugin.h"
#include "support/error_of.h"
#include "support/session.h"

namespace zq::sim {
namespace {

using test::NotingPlugin;

class DriverTest : public ::testing::Test {
  protected:
    bool destroyed = false;
    std::shared_ptr<NotingPlugin> plugin = std::make_shared<NotingPlugin>(&destroyed);
    NotingPlugin* noting = plugin.get();
    test::Session session{{.plugin = [this] {
        auto ref = MakePluginRef(plugin);
        plugin.reset();  // the host holds the only reference
        return ref;
    }}};
    SimHost* host = &session.Load();
    HostDriver& driver = *session.driver;
};

TEST_F(DriverTest, RaisesTheLifeCycleInTheHostsOrderWithItsObjects) {
    EXPECT_TRUE(driver.Initialize());
    EXPECT_EQ(noting->cnn, host->db->Connection());
    EXPECT_EQ(noting->regDoc, host->doc);
    driver.OpenForm(1);
    driver.OpenForm(2);
    EXPECT_FALSE(driver.CloseForm(2));
    EXPECT_EQ(noting->lastForm, ObjectPtr(host->body));
    driver.Terminate();
    const std::vector<std::string> expected{"Initialize", "OpenForm",  "FunzGenInit",
                                            "OpenForm",   "CloseForm", "Terminate"};
    EXPECT_EQ(noting->noted, expected);
    EXPECT_EQ(driver.EventNames(), expected);
    EXPECT_EQ(driver.Events()[0].results[0].ToLong(), VTrue);
    EXPECT_FALSE(destroyed);
    driver.Release();
    EXPECT_TRUE(destroyed);
}

TEST_F(DriverTest, ByReferenceAnswersAreRecorded) {
    noting->ready = VFalse;
    noting->refuseClose = VTrue;
    EXPECT_FALSE(driver.Initialize());
    EXPECT_TRUE(driver.CloseForm(1));
    EXPECT_EQ(noting->lastTipoForm, 1);
    ASSERT_TRUE(driver.Last("CloseForm"));
    ASSERT_EQ(driver.Last("CloseForm")->results.size(), 1u);
    EXPECT_TRUE(driver.Last("CloseForm")->results[0].SameAs(Variant::Int16(VTrue)));
    EXPECT_FALSE(driver.Last("GRIDRowChange"));
}

TEST_F(DriverTest, RowChangeIsRaisedOnceTheHostStandsOnTheLine) {
    driver.Initialize();
    std::int32_t lineAtEvent = 0;
    std::string ordFilter;
    noting->onEvent = [&](std::string_view name) {
        if (name != "GRIDRowChange") return;
        lineAtEvent = host->doc->rstDocCorpo()->Get("DO30_PROGRIGA").ToLong();
        ordFilter = host->doc->rstDocCorpoOrd()->Filter().ToString();
    };
    driver.MoveToLine(7);
    EXPECT_EQ(lineAtEvent, 7);
    EXPECT_EQ(ordFilter, " DO31_PROGRIGA = 7");
    EXPECT_EQ(host->doc->objRigaCorpo()->GuidRiga(), HostDbBuilder::GuidRiga(demo::kOrdine, 7));
}

TEST_F(DriverTest, SaveWritesOnlyWhatValidationLetsThrough) {
    driver.Initialize();
    host->doc->ImpostaQuantita(2, VTrue, VTrue, 0);
    noting->refuseSave = VTrue;
    EXPECT_FALSE(driver.Save());
    noting->refuseSave = VFalse;
    noting->failSave = true;
    EXPECT_FALSE(driver.Save());
    EXPECT_EQ(host->doc->SaveCount(), 0);
    EXPECT_EQ(session.NewHost()->doc->rstDocCorpo()->Get("DO30_QTA1").ToDouble(), 10);
    noting->failSave = false;
    EXPECT_TRUE(driver.Save());
    EXPECT_EQ(driver.SaveCount(), 1);
    EXPECT_EQ(session.NewHost()->doc->rstDocCorpo()->Get("DO30_QTA1").ToDouble(), 2);
    EXPECT_TRUE(ProgressivesConsistent(*session.conn));
}

TEST_F(DriverTest, SalvaDocumentoInsideAnEventValidatesThroughThePlugin) {
    driver.Initialize();
    noting->onEvent = [&](std::string_view name) {
        if (name == "GRIDRowChange") CallMethod(host->body, "SalvaDocumento");
    };
    driver.MoveToLine(2);
    EXPECT_EQ(driver.EventNames(),
              (std::vector<std::string>{"Initialize", "GRIDRowChange", "ControllaDati"}));
    EXPECT_EQ(driver.SaveCount(), 1);
    EXPECT_EQ(host->log->Members().back(), "gclsRegDoc.Save");
}

TEST_F(DriverTest, StateChangesReachThePluginWithTheirFlows) {
    driver.Initialize();
    driver.OpenForm(1);
    std::string activeAtEvent;
    noting->onEvent = [&](std::string_view name) {
        if (name != "StatiTESTATAChange") return;
        auto active = host->header->ActiveControl();
        activeAtEvent = active ? active->Name() : "";
    };
    driver.SetHeaderState(demo::kStatoTestaAnnullato);
    EXPECT_EQ(activeAtEvent, "TXT_DO11_STATO");
    EXPECT_EQ(host->header->Control("TXT_DO11_STATO")->Text(), "209");
    EXPECT_EQ(host->doc->rstDocTestata()->Get("DO11_STATO").ToLong(), demo::kStatoTestaAnnullato);
    const auto* e = driver.Last("StatiTESTATAChange");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->args[0].ToLong(), demo::kStatoTestaAnnullato);
    EXPECT_EQ(e->args[1].ToLong(), demo::kFlussoTesta);

    host->header->SetActiveControl("TXT_DO76_CODCAU_ZQ63");
    driver.SetHeaderState(demo::kStatoTestaIniziale, false);
    EXPECT_EQ(activeAtEvent, "TXT_DO76_CODCAU_ZQ63");
}

// The line-state control: the user's state goes to the flow-state store, and landing on a
// line that shows another state announces it before the row change, while the grid still
// stands on the new line.
TEST_F(DriverTest, TheLineStateControlStoresTheUsersStateAndAnnouncesTheStateItShows) {
    driver.Initialize();
    driver.MoveToLine(2);
    EXPECT_EQ(driver.EventNames(), (std::vector<std::string>{"Initialize", "GRIDRowChange"}));
    driver.SetLineState(demo::kStatoRigheAnnullato);
    EXPECT_EQ(host->doc->objRigaCorpo()->StatoRiga(), demo::kStatoRigheAnnullato);
    EXPECT_EQ(driver.Last("StatiCORPOChange")->args[1].ToLong(), demo::kFlussoRighe);
    const std::string guid2 = HostDbBuilder::GuidRiga(demo::kOrdine, 2);
    EXPECT_EQ(host->db->FlowState(guid2, demo::kFlussoRighe), demo::kStatoRigheAnnullato);

    std::int32_t lineAtEvent = 0;
    noting->onEvent = [&](std::string_view name) {
        if (name == "StatiCORPOChange")
            lineAtEvent = host->doc->rstDocCorpo()->Get("DO30_PROGRIGA").ToLong();
    };
    driver.ClearEvents();
    driver.MoveToLine(3);  // 109 shown, 100 stored for line 3
    EXPECT_EQ(driver.EventNames(), (std::vector<std::string>{"StatiCORPOChange", "GRIDRowChange"}));
    EXPECT_EQ(lineAtEvent, 3);
    EXPECT_EQ(driver.Events()[0].args[0].ToLong(), demo::kStatoRigheIniziale);
    EXPECT_EQ(driver.Events()[0].args[1].ToLong(), demo::kFlussoRighe);

    driver.ClearEvents();
    driver.MoveToLine(4);  // the same state: nothing to announce
    EXPECT_EQ(driver.EventNames(), (std::vector<std::string>{"GRIDRowChange"}));
    driver.MoveToLine(2);
    EXPECT_EQ(driver.EventNames(),
              (std::vector<std::string>{"GRIDRowChange", "StatiCORPOChange", "GRIDRowChange"}));
    EXPECT_EQ(host->log->Count("objRigaCorpo.StatoRiga"), 0u);
}

// The host's landing in each way a host may do it: the state change, when the line shows
// another state, comes before or after the row change or not at all; the body controls
// already show the landed line when it comes. A move the plug-in makes is announced the
// same way, its row change only when every move raises one, and not before the refresh
// pair closes.
TEST(DriverLanding, InEachOrderAHostMayRaiseIt) {
    using LS = HostBehaviour::LandingState;
    const struct {
        LS when;
        bool everyMove;
        std::vector<std::string> click, pluginMove;
    } cases[] = {
        {LS::BeforeRowChange, false, {"StatiCORPOChange", "GRIDRowChange"}, {"StatiCORPOChange"}},
        {LS::AfterRowChange, false, {"GRIDRowChange", "StatiCORPOChange"}, {"StatiCORPOChange"}},
        {LS::None, false, {"GRIDRowChange"}, {}},
        {LS::BeforeRowChange,
         true,
         {"StatiCORPOChange", "GRIDRowChange"},
         {"StatiCORPOChange", "GRIDRowChange"}},
        {LS::AfterRowChange,
         true,
         {"GRIDRowChange", "StatiCORPOChange"},
         {"GRIDRowChange", "StatiCORPOChange"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.when) * 2 + c.everyMove);
        auto plugin = std::make_shared<NotingPlugin>();
        test::Session s({.behaviour = {.landingState = c.when, .rowChangeOnEveryMove = c.everyMove},
                         .plugin = [&] { return MakePluginRef(plugin); }});
        s.Load();
        auto& driver = *s.driver;
        driver.Initialize();
        driver.MoveToLine(2);
        driver.SetLineState(demo::kStatoRigheAnnullato);
        std::string shownAtStateChange;
        plugin->onEvent = [&](std::string_view name) {
            if (name == "StatiCORPOChange")
                shownAtStateChange = s.host->body->Control("TXT_DO30_PROGRIGA")->Text();
        };

        driver.ClearEvents();
        driver.MoveToLine(3);  // 109 shown, 100 stored for line 3
        EXPECT_EQ(driver.EventNames(), c.click);
        if (c.when != LS::None) {
            EXPECT_EQ(shownAtStateChange, "3");
            EXPECT_EQ(driver.Last("StatiCORPOChange")->args[0].ToLong(), demo::kStatoRigheIniziale);
        }
        driver.ClearEvents();
        driver.MoveToLine(4);  // the same state shown: a click raises its row change only
        EXPECT_EQ(driver.EventNames(), std::vector<std::string>{"GRIDRowChange"});

        // The plug-in goes back to line 2 through the body form; inside the refresh pair
        // the grid does not draw, so nothing is announced before it closes.
        driver.ClearEvents();
        s.host->doc->InizioAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
        CallMethod(
            ObjectPtr(s.host->window->docCorpo), "MoveBookmark",
            {s.host->doc->rstDocCorpo()->Bookmark(), Variant::Bool(true), Variant::Bool(true)});
        const auto clone = s.host->doc->rstDocCorpo()->Clone();
        clone->Find(" DO30_PROGRIGA = 2");
        s.host->doc->rstDocCorpo()->SetBookmark(clone->Bookmark());
        EXPECT_TRUE(driver.EventNames().empty());
        s.host->doc->FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
        EXPECT_EQ(driver.EventNames(), c.pluginMove);
        EXPECT_EQ(s.host->doc->objRigaCorpo()->StatoRiga(), demo::kStatoRigheAnnullato);
    }
}

// The line's state is one thing: what the state control's BoStati confirms, and what the
// line object takes over, is the state the store keeps and the line object reports.
TEST(DriverLineState, WhatBoStatiConfirmsIsWhatTheLineObjectReports) {
    test::Session s({.plugin = [] { return MakePluginRef(std::make_shared<NotingPlugin>()); }});
    s.Load();
    s.driver->Initialize();
    s.driver->MoveToLine(3);
    const std::string guid3 = HostDbBuilder::GuidRiga(demo::kOrdine, 3);
    const ObjectPtr bo = GetObject(ObjectPtr(s.host->body->BoundTo("DO30_GUID")), "BoStati");
    SetProp(bo, "Guid", Variant(guid3));
    SetProp(bo, "IdFlusso", Variant::Int32(demo::kFlussoRighe));
    SetProp(bo, "IdStato", Variant::Int32(demo::kStatoRigheAnnullato));
    CallMethod(bo, "ConfermaModifiche");
    EXPECT_EQ(s.host->doc->objRigaCorpo()->StatoRiga(), demo::kStatoRigheAnnullato);
    EXPECT_EQ(s.FlowState(guid3), demo::kStatoRigheAnnullato);

    // Another line's confirmation leaves the current line's state alone.
    SetProp(bo, "Guid", Variant(HostDbBuilder::GuidRiga(demo::kOrdine, 4)));
    SetProp(bo, "IdStato", Variant::Int32(test::kStatoRigheConfermato));
    CallMethod(bo, "ConfermaModifiche");
    EXPECT_EQ(s.host->doc->objRigaCorpo()->StatoRiga(), demo::kStatoRigheAnnullato);

    // The take-over makes the state the line object holds the line's own.
    auto riga = s.host->doc->objRigaCorpo();
    riga->SetStatoRiga(demo::kStatoRigheIniziale);
    EXPECT_EQ(s.FlowState(guid3), demo::kStatoRigheAnnullato);
    riga->AcquisisciStato();
    EXPECT_EQ(s.FlowState(guid3), demo::kStatoRigheIniziale);
}

TEST(DriverHeaderState, OpeningTheHeaderFormReportsTheStoredStateWhenTheHostDoesSo) {
    for (const bool reports : {false, true}) {
        SCOPED_TRACE(reports);
        auto plugin = std::make_shared<NotingPlugin>();
        test::Session s({.behaviour = {.headerStateOnOpen = reports},
                         .plugin = [&] { return MakePluginRef(plugin); }});
        s.Load().header->SetActiveControl("TXT_DO76_CODCAU_ZQ63");
        s.driver->Initialize();
        s.driver->OpenForm(2);
        s.driver->OpenForm(1);
        const auto* e = s.driver->Last("StatiTESTATAChange");
        ASSERT_EQ(e != nullptr, reports);
        if (!reports) continue;
        EXPECT_EQ(s.driver->EventNames().back(), "StatiTESTATAChange");
        EXPECT_EQ(e->args[0].ToLong(), demo::kStatoTestaIniziale);
        EXPECT_EQ(e->args[1].ToLong(), demo::kFlussoTesta);
        EXPECT_EQ(s.host->header->ActiveControl(), nullptr);
    }
}

TEST_F(DriverTest, TypingAndLeavingAControlDecodesWhileItHasTheFocus) {
    driver.Initialize();
    driver.OpenForm(1);
    std::string activeAtDecode;
    noting->onEvent = [&](std::string_view name) {
        if (name == "ControlEventStartDecode")
            activeAtDecode = host->header->ActiveControl()->Name();
    };
    driver.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "FOR");
    EXPECT_EQ(activeAtDecode, "TXT_DO76_CODCAU_ZQ63");
    EXPECT_FALSE(host->header->ActiveControl());
    EXPECT_TRUE(host->header->Control("TXT_DO76_CODCAU_ZQ63")->IsChanged());
    EXPECT_EQ(host->doc->rstDocTestaVert()->Get("DO76_CODCAU_ZQ63").ToString(), "FOR");
    EXPECT_EQ(driver.EventNames(),
              (std::vector<std::string>{"Initialize", "OpenForm", "ControlEventStartDecode",
                                        "ControlEventLostFocus"}));
    EXPECT_EQ(driver.Last("ControlEventStartDecode")->args[1].ToString(), "FOR");
    EXPECT_EQ(test::ErrorOf([&] { driver.TypeAndLeave(1, "TXT_NESSUNO", "X"); }),
              err::MemberNotFound);
}

// The real plug-in, created by its ProgID, through a whole session on the demo order.
TEST(DriverWithThePlugin, AWholeSessionOnTheDemoOrder) {
    test::Session session;
    SimHost* host = &session.Load();
    HostDriver& driver = *session.driver;
    ASSERT_TRUE(driver.Initialize(Variant::Int32(7), 3));
    driver.OpenForm(1);
    driver.OpenForm(2);
    driver.MoveToLine(5);
    host->doc->ImpostaQuantita(6, VTrue, VTrue, 0);
    EXPECT_TRUE(driver.Save());
    EXPECT_FALSE(driver.CloseForm(2));
    EXPECT_FALSE(driver.CloseForm(1));
    driver.Terminate();
    driver.Release();
    for (const auto& e : driver.Events()) EXPECT_TRUE(e.result.Succeeded()) << e.name;
    EXPECT_EQ(driver.EventNames(),
              (std::vector<std::string>{"Initialize", "OpenForm", "FunzGenInit", "OpenForm",
                                        "GRIDRowChange", "ControllaDati", "CloseForm", "CloseForm",
                                        "Terminate"}));
    EXPECT_TRUE(ProgressivesConsistent(*session.conn));
    EXPECT_TRUE(host->messaggi->Shown().empty());
}

}  // namespace
}  // namespace zq::sim
