// zqstati run: user actions act as a user can (a closed form, a form left for the other one,
// a disabled or hidden control refuse the step; the host acting by itself passes), the
// fault step makes the plug-in's calls fail, and "asBefore" compares the order with the one
// before a step.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli.h"

namespace zq::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const std::string kOpen =
    R"({"do": "initialize"}, {"do": "openForm", "form": "header"}, {"do": "openForm", "form": "body"}, )";

Outcome RunFile(TempDir& dir, const std::string& name, const std::string& text) {
    return Zqstati("run '" + dir.Write(name + ".json", text) + "'");
}

TEST(UserSteps, WhatNoUserCanDoFailsTheStepAndTheHostMayStillDoIt) {
    struct Case {
        const char* name;
        std::string steps;
        std::string report;
    };
    const Case cases[] = {
        {"disabled", kOpen + R"({"do": "selectLine", "line": 1},
                    {"do": "typeAndLeave", "form": "body", "control": "TXT_DO77_ZQ_QTA_ORIG", "text": "4")",
         "step 5 (do typeAndLeave): the user cannot do this: the control TXT_DO77_ZQ_QTA_ORIG of "
         "the body form is disabled"},
        {"edit_disabled", kOpen + R"({"do": "selectLine", "line": 1},
                    {"do": "editLineField", "field": "DO77_ZQ_QTA_ORIG", "text": "4")",
         "step 5 (do editLineField): the user cannot do this: the control TXT_DO77_ZQ_QTA_ORIG"},
        {"locked_state", kOpen + R"({"do": "selectLine", "line": 1},
                    {"do": "editLineField", "field": "DO77_ZQ_QTA_ANNULLO", "text": "3"},
                    {"do": "setLineState", "state": 109},
                    {"do": "selectLine", "line": 10},
                    {"do": "setLineState", "state": 100)",
         "step 8 (do setLineState): the user cannot do this: the control TXT_DO30_STATO of the "
         "body form is disabled"},
        {"closed_form",
         R"({"do": "initialize"}, {"do": "openForm", "form": "header"},
            {"do": "typeAndLeave", "form": "body", "control": "TXT_DO77_CODCAU_ZQ63", "text": "CLI")",
         "step 3 (do typeAndLeave): the user cannot do this: the body form is not open"},
        {"closed_header",
         R"({"do": "initialize"}, {"do": "openForm", "form": "body"},
            {"do": "setHeaderState", "state": 209)",
         "step 3 (do setHeaderState): the user cannot do this: the header form is not open"},
        {"header_behind_body", kOpen + R"({"do": "setHeaderState", "state": 209)",
         "step 4 (do setHeaderState): the user cannot do this: the header form is not the one "
         "in use"},
        {"body_behind_header", kOpen + R"({"do": "openForm", "form": "header"},
                    {"do": "setLineState", "state": 109)",
         "step 5 (do setLineState): the user cannot do this: the body form is not the one in "
         "use"},
        {"menu_behind_header", kOpen + R"({"do": "openForm", "form": "header"},
                    {"do": "menuItem", "key": "GestAnnulli")",
         "step 5 (do menuItem): the user cannot do this: the body form is not the one in use"},
        {"hidden", kOpen + R"({"do": "selectLine", "line": 8},
                    {"do": "typeAndLeave", "form": "body", "control": "TXT_DO77_ZQ_QTA_ANNULLO", "text": "1")",
         "the control TXT_DO77_ZQ_QTA_ANNULLO of the body form is hidden"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string more =
            std::string(c.name) == "hidden" ? R"("host": {"gridMode": 2}, )" : "";
        const Outcome user = RunFile(dir, c.name, Scenario(c.steps + "}", more));
        EXPECT_EQ(user.status, 1);
        EXPECT_THAT(user.out, HasSubstr(c.report));
        // The same step played as the host acting by itself is not refused.
        std::string host = c.steps + R"(, "by": "host"})";
        const Outcome byHost = RunFile(dir, std::string(c.name) + "_host", Scenario(host, more));
        EXPECT_THAT(byHost.out, Not(HasSubstr("the user cannot do this"))) << byHost.out;
    }
}

TEST(UserSteps, AFaultStepFailsThePlugInsCallsAndAsBeforeComparesTheOrder) {
    TempDir dir;
    const std::string cancel = kOpen + R"({"do": "selectLine", "line": 1},
                   {"do": "typeAndLeave", "form": "body", "control": "TXT_DO77_ZQ_QTA_ANNULLO", "text": "3"},)";
    // Without a fault the road completes: the order is not as before the state was picked,
    // and the expectation says what changed.
    const Outcome done = RunFile(dir, "done", Scenario(cancel + R"(
        {"do": "setLineState", "state": 109},
        {"expect": "asBefore", "step": 6})"));
    EXPECT_EQ(done.status, 1);
    EXPECT_THAT(done.out, HasSubstr("the order is not as it was before step 6:"));
    EXPECT_THAT(done.out, HasSubstr("DO30 line 10"));

    // The first write of a recordset fails: the road is undone, in memory and database.
    const Outcome undone = RunFile(dir, "undone", Scenario(cancel + R"(
        {"do": "fault", "kind": "write", "nth": 1},
        {"do": "setLineState", "state": 109},
        {"expect": "asBefore", "step": 7},
        {"expect": "sound"})"));
    EXPECT_EQ(undone.status, 0) << undone.out;

    // A fault on a member no road calls fails nothing: the road completes.
    const Outcome elsewhere = RunFile(dir, "elsewhere", Scenario(cancel + R"(
        {"do": "fault", "kind": "method", "match": "NoSuchMember"},
        {"do": "setLineState", "state": 109},
        {"expect": "rows", "table": "DO30_DOCCORPO", "where": {"DO30_NUMREG_CO99": 1001}, "count": 10})"));
    EXPECT_EQ(elsewhere.status, 0) << elsewhere.out;
}

TEST(UserSteps, MalformedFaultAndAsBeforeStepsAreReported) {
    const std::pair<std::string, std::string> cases[] = {
        {Scenario(R"({"do": "fault", "kind": "disk", "nth": 1})"), "\"kind\" is one of statement"},
        {Scenario(R"({"do": "fault", "kind": "get"})"), "\"nth\" is a whole number from 1"},
        {Scenario(R"({"do": "fault", "off": true, "kind": "get"})"),
         "a fault step with \"off\" takes no other key"},
        {Scenario(R"({"do": "save"}, {"expect": "asBefore", "step": 2})"),
         ": step 2: \"asBefore\" looks back to a step before it, not to step 2"},
        {Scenario(R"({"do": "save", "by": "robot"})"), "unknown key \"by\" in action \"save\""},
        {Scenario(kOpen + R"({"do": "setLineState", "state": 100, "by": "robot"})"),
         "\"by\" is \"user\" or \"host\", not \"robot\""},
    };
    TempDir dir;
    int n = 0;
    for (const auto& [text, report] : cases) {
        SCOPED_TRACE(report);
        const Outcome o = RunFile(dir, "case" + std::to_string(++n), text);
        EXPECT_EQ(o.status, 1);
        EXPECT_THAT(o.out, HasSubstr(report));
    }
}

}  // namespace
}  // namespace zq::cli
