// zqstati and the size grid: the demo lists the grid layout and the order's size family;
// scenarios take the host's grid settings, the user's grid edits and the grid
// expectations, and report a grid that is not there as such.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli.h"

namespace zq::cli {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;

TEST(DemoSizeGrid, ListsTheLayoutWithItsStartsAndTheFamilyBySegment) {
    const Outcome text = Zqstati("demo");
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_THAT(text.out, HasSubstr("  02    Linea            3     2  -\n"));
    EXPECT_THAT(text.out, HasSubstr("  03    Colore           5     3  columns\n"));
    EXPECT_THAT(text.out, HasSubstr("     9  MAGLIA   MD00BLU  MD      BLU     PE26       3\n"));

    const Outcome o = Zqstati("demo --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const auto grid = nlohmann::json::parse(o.out)["sizeGrid"];
    ASSERT_EQ(grid["dimensions"].size(), 3u);
    EXPECT_EQ(grid["dimensions"][0]["MG5F_START"], 1);
    EXPECT_EQ(grid["dimensions"][2]["MG5F_START"], 5);
    EXPECT_EQ(grid["dimensions"][2]["MG5F_INDGRIGLIA"], 2);
    EXPECT_EQ(grid["DO30_PROGPADRE"], 1);
    ASSERT_EQ(grid["family"].size(), 3u);
    EXPECT_EQ(grid["family"][0]["DO30_OPZIONE_MG5E"], "SM00ROS");
    EXPECT_EQ(grid["family"][0]["MG5T_CODICE"], "PE26");
}

std::string Scenario(const std::string& steps, const std::string& host = "") {
    return R"({"description": "grid", )" + (host.empty() ? "" : R"("host": )" + host + ", ") +
           R"("steps": [{"do": "initialize"}, )" + steps + "]}";
}

struct Case {
    const char* name;
    std::string text;
    std::string report;  // "" when the scenario passes
};

TEST(ScenarioSizeGrid, SettingsEditsAndExpectationsAreReadAndChecked) {
    const Case cases[] = {
        {"nothing_yet",
         Scenario(R"({"do": "gridEdit", "line": 8, "quantity": 6, "status": "2", "cancelled": 2,
                      "reason": "FOR"},
                     {"expect": "sizeGrid", "created": 0},
                     {"expect": "gridPosting", "created": 0, "runs": 0})",
                  R"({"gridWithout": ["DO30_QTA1"], "gridPosting": "fail"})"),
         ""},
        {"no_grid", Scenario(R"({"expect": "sizeGrid", "passed": {"Ditta": 1}})"),
         "FAIL  %: grid\n      step 2 (expect sizeGrid):\n        size grid:\n"
         "          no size grid was created"},
        {"no_posting", Scenario(R"({"expect": "gridPosting", "cleared": true})"),
         "step 2 (expect gridPosting):\n        grid posting:\n"
         "          no grid posting was created"},
        {"bad_status", Scenario(R"({"do": "gridEdit", "line": 8, "status": "x"})"),
         "step 2 (do gridEdit): \"status\" is one of \"0\", \"1\", \"2\", \"3\""},
        {"bad_posting", Scenario(R"({"expect": "sizeGrid"})", R"({"gridPosting": "maybe"})"),
         "ERROR %: host.gridPosting is \"apply\", \"false\" or \"fail\""},
        {"edit_key", Scenario(R"({"do": "gridEdit", "line": 8, "colour": "ROS"})"),
         "ERROR %: step 2: unknown key \"colour\" in action \"gridEdit\""},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.Write(std::string(c.name) + ".json", c.text);
        const Outcome o = Zqstati("run '" + file + "'");
        if (c.report.empty()) {
            EXPECT_EQ(o.status, 0) << o.out;
            EXPECT_THAT(o.out, EndsWith("1 passed, 0 failed\n"));
            continue;
        }
        std::string report = c.report;
        if (auto at = report.find('%'); at != std::string::npos) report.replace(at, 1, file);
        EXPECT_EQ(o.status, 1);
        EXPECT_THAT(o.out, HasSubstr(report)) << o.out;
    }
}

}  // namespace
}  // namespace zq::cli
