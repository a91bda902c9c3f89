// zqstati run: malformed scenario files are reported with file, step and reason and never
// stop the run; a failed expectation shows what differed; the closing count and the exit
// status follow the scenarios.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli.h"

namespace zq::cli {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;

const std::string kOpen =
    R"({"do": "initialize"}, {"do": "openForm", "form": "body"}, {"do": "selectLine", "line": 2})";

struct Malformed {
    const char* name;
    std::string text;
    std::string report;  // the line the runner prints after the file name
};

TEST(ScenarioRunner, MalformedFilesAreReportedWithFileStepAndReason) {
    const Malformed cases[] = {
        {"syntax", "{\"description\": \"x\",\n \"steps\": [}", ": not valid JSON: "},
        {"not_object", "[1, 2]", ": a scenario is a JSON object"},
        {"no_description", R"({"steps": [{"do": "save"}]})",
         ": the scenario needs \"description\" (a string)"},
        {"top_key", Scenario(R"({"do": "save"})", R"("stpes": [], )"),
         ": unknown key \"stpes\" in the scenario"},
        {"no_steps", Scenario(""), ": \"steps\" is empty"},
        {"both_kinds", Scenario(R"({"do": "save"}, {"do": "save", "expect": "saves"})"),
         ": step 2: a step has exactly one of \"do\" (an action) or \"expect\""},
        {"unknown_action", Scenario(R"({"do": "initialize"}, {"do": "fly"})"),
         ": step 2: unknown action \"fly\""},
        {"unknown_expectation", Scenario(R"({"expect": "miracles"})"),
         ": step 1: unknown expectation \"miracles\""},
        {"unknown_key", Scenario(R"({"do": "openForm", "form": "body", "colour": 3})"),
         ": step 1: unknown key \"colour\" in action \"openForm\" (it takes: form)"},
        {"wrong_type", Scenario(kOpen + R"(, {"do": "setHeaderState", "state": "209"})"),
         ": step 4: \"state\" in action \"setHeaderState\" must be a whole number, not \"209\""},
        {"bad_form", Scenario(R"({"do": "openForm", "form": "footer"})"),
         ": step 1: \"form\" in action \"openForm\" must be \"header\" or \"body\""},
        {"missing_key", Scenario(R"({"do": "selectLine"})"),
         ": step 1: action \"selectLine\" needs \"line\" (a whole number)"},
        {"missing_sql", Scenario(R"({"do": "save"})", R"("data": {"sql": "nowhere.sql"}, )"),
         ": cannot read "},
        {"host_key", Scenario(R"({"do": "save"})", R"("host": {"grid": 1}, )"),
         ": unknown key \"grid\" in \"host\""},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.Write(std::string(c.name) + ".json", c.text);
        const Outcome o = Zqstati("run '" + file + "'");
        EXPECT_EQ(o.status, 1);
        EXPECT_THAT(o.out, HasSubstr("ERROR " + file + c.report)) << o.out;
        EXPECT_THAT(o.out, EndsWith("0 passed, 1 failed\n"));
        EXPECT_EQ(o.err, "");
    }
}

TEST(ScenarioRunner, ProblemsFoundWhileRunningFailTheScenarioAtTheirStep) {
    const Malformed cases[] = {
        {"unknown_column",
         Scenario(R"({"expect": "rows", "table": "DO30_DOCCORPO", "where": {"DO30_NOPE": 1}})"),
         "step 1 (expect rows): DO30_DOCCORPO has no column DO30_NOPE"},
        {"unknown_table", Scenario(R"({"expect": "rows", "table": "DO99; DROP"})"),
         "step 1 (expect rows): the database has no table \"DO99; DROP\""},
        {"unknown_recordset", Scenario(R"({"expect": "recordset", "recordset": "rstNope"})"),
         "step 1 (expect recordset): the document object has no recordset \"rstNope\""},
        {"missing_control",
         Scenario(kOpen + R"(, {"do": "typeAndLeave", "form": "body", "control": "TXT_NOPE",
                                "text": "1"})"),
         "step 4 (do typeAndLeave): error 438"},
        {"missing_document", Scenario(R"({"do": "initialize"})", R"("document": 4711, )"),
         "the session could not start: "},
        {"form_without",
         Scenario(R"({"do": "initialize"})", R"("host": {"bodyWithout": "TXT_X"}, )"),
         "the session could not start: the form has no control TXT_X"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.Write(std::string(c.name) + ".json", c.text);
        const Outcome o = Zqstati("run '" + file + "'");
        EXPECT_EQ(o.status, 1);
        EXPECT_THAT(o.out, HasSubstr("FAIL  " + file + ": a scenario\n      " + c.report)) << o.out;
        EXPECT_THAT(o.out, EndsWith("0 passed, 1 failed\n"));
    }
}

TEST(ScenarioRunner, TheFirstFailedExpectationShowsWhatDiffered) {
    TempDir dir;
    // The second and third expectations are wrong; only the second is reported.
    dir.Write("a_diff.json", Scenario(kOpen + R"(,
        {"expect": "rows", "table": "DO30_DOCCORPO", "where": {"DO30_PROGRIGA": 2},
         "values": {"DO30_CODART_MG66": "ART-B", "DO30_QTA1": 20}},
        {"expect": "recordset", "recordset": "rstDocCorpoVert", "where": {"DO77_PROGRIGA": 2},
         "values": {"DO77_ZQ_QTA_ORIG": 0, "DO77_CODCAU_ZQ63": "CLI", "DO77_ZQ_QTA_ANNULLO": 1}},
        {"expect": "control", "form": "body", "control": "TXT_DO30_QTA1", "text": "7"})"));
    dir.Write("b_pass.json", Scenario(kOpen + R"(,
        {"expect": "control", "form": "body", "control": "TXT_DO30_CODART_MG66", "text": "ART-B"},
        {"expect": "rows", "table": "DO31_DOCCORPOORD", "where": {"DO31_NUMREG_CO99": 1001},
         "count": 9},
        {"expect": "lineState", "line": 2, "state": 100},
        {"expect": "messages", "messages": []},
        {"expect": "progressivesConsistent"})"));
    dir.Write("sub/c_bad.json", "{");
    const Outcome o = Zqstati("run '" + dir.Path().string() + "' '" +
                              (dir.Path() / "nothing.json").string() + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.out, HasSubstr("step 5 (expect recordset):\n"
                                 "        row 1 of 1 of rstDocCorpoVert where DO77_PROGRIGA = 2:\n"
                                 "          DO77_CODCAU_ZQ63: expected \"CLI\", found null\n"
                                 "          DO77_ZQ_QTA_ANNULLO: expected 1, found 0\n"));
    EXPECT_THAT(o.out, ::testing::Not(HasSubstr("TXT_DO30_QTA1")));
    EXPECT_THAT(o.out, HasSubstr("PASS  " + (dir.Path() / "b_pass.json").string()));
    EXPECT_THAT(o.out, HasSubstr("ERROR " + (dir.Path() / "sub/c_bad.json").string()));
    EXPECT_THAT(o.out, HasSubstr("nothing.json: no such file or folder"));
    EXPECT_THAT(o.out, EndsWith("1 passed, 3 failed\n"));

    EXPECT_EQ(Zqstati("run '" + (dir.Path() / "b_pass.json").string() + "'").status, 0);
}

// Every save is audited: one that leaves the order unclean fails the scenario at the step
// that saved, with what the audit found, even when no step expects it. A data set that
// starts unclean is judged only by the scenario's own expectations.
TEST(ScenarioRunner, ASaveThatLeavesTheOrderUncleanFailsAtItsStep) {
    // The link column is locked for the user: the host itself writes the orphan link.
    const std::string orphanLink = kOpen + R"(,
        {"do": "editLineField", "field": "DO77_ZQGUID_MASTER_DO30",
         "text": "00000000-0000-0000-0000-000000000099", "by": "host"},
        {"do": "storeLine"},
        {"do": "save"},
        {"expect": "saves", "count": 1})";
    TempDir dir;
    const std::string file = dir.Write("orphan.json", Scenario(orphanLink));
    const Outcome o = Zqstati("run '" + file + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_THAT(o.out, HasSubstr("step 6 (do save), after the save it made:\n"
                                 "        the consistency check found:\n"));
    EXPECT_THAT(o.out, HasSubstr("line 2: link-master-missing: "));

    const std::string unclean = dir.Write(
        "unclean.json",
        Scenario(
            orphanLink + R"(, {"expect": "progressivesConsistent"})",
            R"("data": {"statements": "UPDATE DO30_DOCCORPO SET DO30_QTA1 = 99 WHERE DO30_PROGRIGA = 5"}, )"));
    const Outcome u = Zqstati("run '" + unclean + "'");
    EXPECT_EQ(u.status, 1);
    EXPECT_THAT(u.out, HasSubstr("step 8 (expect progressivesConsistent):\n"));
}

}  // namespace
}  // namespace zq::cli
