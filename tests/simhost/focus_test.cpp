// The simulated host's focus model and the body form's navigators: the events a focus move
// and a navigator button raise, in the host's order, and the host's undo of the current
// line's pending edits.
#include <gtest/gtest.h>

#include "sim/host/plugin_ref.h"
#include "simhost/noting_plugin.h"
#include "support/session.h"

namespace zq::sim {
namespace {

using test::NotingPlugin;

struct Raised {
    std::string name, control;
    bool operator==(const Raised&) const = default;
};

std::vector<Raised> RaisedSince(const HostDriver& d, std::size_t from) {
    std::vector<Raised> out;
    for (std::size_t i = from; i < d.Events().size(); ++i) {
        const auto& e = d.Events()[i];
        out.push_back({e.name, e.args.empty() ? "" : e.args[0].ToString()});
    }
    return out;
}

TEST(DriverFocus, AMoveRaisesBeforeItemLostAndGotFocusInTheHostsOrder) {
    for (const bool beforeItem : {true, false}) {
        SCOPED_TRACE(beforeItem);
        auto plugin = std::make_shared<NotingPlugin>();
        test::Session s({.behaviour = {.beforeItemOnFocus = beforeItem},
                         .plugin = [&] { return MakePluginRef(plugin); }});
        s.Load();
        auto& d = *s.driver;
        d.Initialize();

        d.ClearEvents();
        d.MoveFocus(2, "TXT_DO30_QTA1");  // no control had the focus: nothing is left
        std::vector<Raised> first{{"ControlEventGotFocus", "TXT_DO30_QTA1"}};
        if (beforeItem) first.insert(first.begin(), {"ControlEventBeforeItem", "TXT_DO30_QTA1"});
        EXPECT_EQ(RaisedSince(d, 0), first);
        EXPECT_EQ(s.host->body->ActiveControl()->Name(), "TXT_DO30_QTA1");

        d.ClearEvents();
        d.MoveFocus(2, "TXT_DO30_STATO");
        std::vector<Raised> second{{"ControlEventLostFocus", "TXT_DO30_QTA1"},
                                   {"ControlEventGotFocus", "TXT_DO30_STATO"}};
        if (beforeItem) second.insert(second.begin(), {"ControlEventBeforeItem", "TXT_DO30_STATO"});
        EXPECT_EQ(RaisedSince(d, 0), second);

        d.ClearEvents();
        d.MoveFocus(2, "TXT_DO30_STATO");  // already there
        EXPECT_TRUE(d.Events().empty());
        d.MoveFocus(2, "");  // away from every control
        EXPECT_EQ(RaisedSince(d, 0),
                  (std::vector<Raised>{{"ControlEventLostFocus", "TXT_DO30_STATO"}}));
        EXPECT_EQ(s.host->body->ActiveControl(), nullptr);
        EXPECT_THROW(d.MoveFocus(2, "TXT_NONE"), std::exception);
    }
}

// "annulla" undoes the line between the click and the after-click: the plug-in's click sees
// the pending edit, its after-click the row as saved. Other keys only raise the two events.
TEST(DriverNavigator, AnnullaUndoesTheLinesPendingEditsBetweenClickAndAfterClick) {
    for (const auto nav : {HostDriver::Navigator::Grid, HostDriver::Navigator::Inner}) {
        const std::string prefix = nav == HostDriver::Navigator::Grid ? "Gridnav" : "Internav";
        SCOPED_TRACE(prefix);
        auto plugin = std::make_shared<NotingPlugin>();
        test::Session s({.plugin = [&] { return MakePluginRef(plugin); }});
        s.Load();
        auto& d = *s.driver;
        d.Initialize();
        d.MoveToLine(2);
        const Variant saved = s.Current("DO77_ZQ_QTA_ANNULLO");
        d.EditLineField("DO77_ZQ_QTA_ANNULLO", "3");
        d.EditLineField("DO30_QTA1", "7");

        d.ClearEvents();
        d.PressNavigatorButton(nav, "conferma");
        EXPECT_EQ(d.EventNames(),
                  (std::vector<std::string>{prefix + "ButtonClick", prefix + "AfterButtonClick"}));
        EXPECT_EQ(s.Current("DO30_QTA1").ToDouble(), 7);

        d.ClearEvents();
        d.PressNavigatorButton(nav, "annulla");
        EXPECT_EQ(d.EventNames(),
                  (std::vector<std::string>{prefix + "ButtonClick", prefix + "AfterButtonClick"}));
        EXPECT_EQ(d.Last(prefix + "AfterButtonClick")->args[0].ToString(), "annulla");
        EXPECT_TRUE(s.Current("DO77_ZQ_QTA_ANNULLO").SameAs(saved));
        EXPECT_EQ(s.Current("DO30_QTA1").ToDouble(), s.Line(2).Num("DO30_QTA1"));
        EXPECT_NE(s.Control(2, "TXT_DO30_QTA1").Text(), "7");
        EXPECT_EQ(s.Current("DO30_PROGRIGA").ToLong(), 2);
    }
}

}  // namespace
}  // namespace zq::sim
