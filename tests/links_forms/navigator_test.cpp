// The body form's navigator keys "conferma" and "annulla", and the pending line change that
// entering the line-state field leaves for "conferma".
#include <gtest/gtest.h>

#include "support/session.h"
#include "support/test_access.h"

namespace zq::test {
namespace {

using Nav = sim::HostDriver::Navigator;

std::vector<std::int16_t> Pointers(const Session& s) {
    std::vector<std::int16_t> out;
    for (const auto& c : s.host->log->CallsTo("Screen.MousePointer"))
        out.push_back(static_cast<std::int16_t>(c.args.at(0).ToLong()));
    return out;
}

std::int32_t BodyRows(const Session& s) {
    return s.host->doc->rstDocCorpo()->RecordCount();
}

// Line 1 wholly cancelled and saved, then 3 typed as its cancelled quantity: settling it
// splits off a cancellation line of 3.
void LineaAnnullataCon3(Session& s) {
    s.Open();
    s.driver->MoveToLine(1);
    s.CancelQuantity(10);
    s.driver->Save();
    s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "3");
}

TEST(NavigatorConferma, SettlesOnlyAChangeLeftPendingInTheLineStateField) {
    const struct {
        const char* name;
        std::function<void(Session&)> entra;
        bool settles;
    } cases[] = {
        {"focus on the line state", [](Session& s) { s.driver->MoveFocus(2, "TXT_DO30_STATO"); },
         true},
        {"before-item alone",
         [](Session& s) {
             ObjectPtr f = s.host->body, c = s.host->body->Control("TXT_DO30_STATO");
             s.FormEvents().ControlEventBeforeItem(f, c);
         },
         true},
        {"then another field",
         [](Session& s) {
             s.driver->MoveFocus(2, "TXT_DO30_STATO");
             s.driver->MoveFocus(2, "TXT_DO77_CODCAU_ZQ63");
         },
         false},
        {"the state change left it, another field cleared it",
         [](Session& s) { s.driver->MoveFocus(2, "TXT_DO30_QTA1"); }, false},
        {"the state change left it", [](Session&) {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        LineaAnnullataCon3(s);
        c.entra(s);
        const auto pointersBefore = Pointers(s).size();
        s.driver->PressNavigatorButton(Nav::Inner, "conferma");

        const auto pointers = Pointers(s);
        EXPECT_EQ(std::vector<std::int16_t>(pointers.begin() + pointersBefore, pointers.end()),
                  (std::vector<std::int16_t>{11, 0}));
        EXPECT_EQ(s.driver->SaveCount(), 1);  // only the user's save
        EXPECT_EQ(BodyRows(s), c.settles ? 10 : 9);
        EXPECT_EQ(s.HostValue(1, "DO30_QTA1").ToDouble(), c.settles ? 7 : 10);
        EXPECT_TRUE(s.ProgressivesConsistent());

        // Settled once: pressing it again changes nothing.
        s.driver->PressNavigatorButton(Nav::Inner, "conferma");
        EXPECT_EQ(BodyRows(s), c.settles ? 10 : 9);
        EXPECT_EQ(s.driver->SaveCount(), 1);
    }
}

TEST(NavigatorConferma, DoesNothingAtAllWithTheHeaderCancelledOrOnAnotherKey) {
    Session s;
    LineaAnnullataCon3(s);
    s.driver->MoveFocus(2, "TXT_DO30_STATO");
    s.driver->PressNavigatorButton(Nav::Grid, "conferma");  // the grid navigator's is not it
    s.driver->PressNavigatorButton(Nav::Inner, "salva");
    EXPECT_TRUE(Pointers(s).empty());
    EXPECT_EQ(BodyRows(s), 9);

    s.driver->SetHeaderState(kStatoTestaAnnullato);
    const int saves = s.driver->SaveCount();
    s.driver->MoveFocus(2, "TXT_DO30_STATO");
    s.driver->PressNavigatorButton(Nav::Inner, "conferma");
    EXPECT_TRUE(Pointers(s).empty());
    EXPECT_EQ(BodyRows(s), 9);
    EXPECT_EQ(s.driver->SaveCount(), saves);
}

// "annulla" takes the links from the recordsets as the host's undo left them: a link the
// recordsets do not hold is forgotten, so the master's reason is free again, and a saved
// cancellation line stays tied to its master.
TEST(NavigatorAnnulla, RebuildsTheLinksFromTheRecordsets) {
    for (const auto nav : {Nav::Grid, Nav::Inner}) {
        SCOPED_TRACE(nav == Nav::Grid ? "grid" : "inner");
        Session s;
        s.Open();
        ClsrfTestAccess::AddLinkAnnullo(s.Plugin(), Guid(3), Guid(2), Variant::Int32(0));
        s.driver->MoveToLine(1);
        s.CancelQuantity(3);
        ASSERT_EQ(BodyRows(s), 10);
        s.driver->MoveToLine(2);
        ASSERT_FALSE(s.Control(2, "TXT_DO77_CODCAU_ZQ63").Enabled());

        s.driver->PressNavigatorButton(nav, "annulla");
        s.driver->MoveToLine(2);
        EXPECT_TRUE(s.Control(2, "TXT_DO77_CODCAU_ZQ63").Enabled());
        s.driver->MoveToLine(1);
        EXPECT_FALSE(s.Control(2, "TXT_DO77_CODCAU_ZQ63").Enabled());
        s.driver->MoveToLine(10);
        EXPECT_FALSE(s.Control(2, "TXT_DO77_ZQ_QTA_ANNULLO").Enabled());
    }
}

}  // namespace
}  // namespace zq::test
