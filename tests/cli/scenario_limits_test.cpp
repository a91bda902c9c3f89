// The scenario reader takes only what it can hold: a file too large, nested too deep or
// naming something that is no file is refused with its reason, and a number the host's
// 32 (or 16) bits cannot hold is an error, never wrapped into another state or document.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli.h"

namespace zq::cli {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string Scenario(const std::string& steps, const std::string& more = "") {
    return R"({"description": "a scenario", )" + more + R"("steps": [)" + steps + "]}";
}

struct Refused {
    const char* name;
    std::string text;
    std::string reason;
};

void ExpectRefused(const std::vector<Refused>& cases) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "folder.sql");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.Write(std::string(c.name) + ".json", c.text);
        const Outcome o = Zqstati("run '" + file + "'");
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_THAT(o.out, StartsWith("ERROR " + file + ": ")) << o.out.substr(0, 400);
        EXPECT_THAT(o.out, HasSubstr(c.reason)) << o.out.substr(0, 400);
        EXPECT_THAT(o.out, EndsWith("0 passed, 1 failed\n"));
        EXPECT_EQ(o.err, "");
    }
}

TEST(ScenarioLimits, FilesTooLargeOrTooDeepAreRefusedWithoutACrash) {
    // Deep enough to exhaust the stack of a reader that recursed on it.
    const std::string deep = std::string(200000, '[') + std::string(200000, ']');
    ExpectRefused({
        {"deep", deep, "objects and lists are nested more than 32 deep"},
        {"deep_step",
         Scenario(R"({"expect": "rows", "table": "DO30_DOCCORPO", "where": )" +
                  std::string(40, '[') + std::string(40, ']') + "}"),
         "objects and lists are nested more than 32 deep"},
        {"large", Scenario(R"({"do": "save", "note": ")" + std::string(1 << 20, 'x') + R"("})"),
         "large.json has 1048644 bytes; at most 1048576 are read"},
        {"sql_folder", Scenario(R"({"do": "save"})", R"("data": {"sql": "folder.sql"}, )"),
         "folder.sql: not a regular file"},
        {"overflow", Scenario(R"({"do": "setLineState", "state": 1e309})"), "not valid JSON: "},
    });
}

TEST(ScenarioLimits, NumbersOutOfRangeAreErrorsNotWrapped) {
    ExpectRefused({
        // 2^32 + 109 would wrap into the cancelled line state 109.
        {"state", Scenario(R"({"do": "setLineState", "state": 4294967405})"),
         "step 1: \"state\" in action \"setLineState\" is out of range: 4294967405"},
        {"negative", Scenario(R"({"do": "selectLine", "line": -2147483649})"),
         "step 1: \"line\" in action \"selectLine\" is out of range: -2147483649"},
        {"document", Scenario(R"({"do": "save"})", R"("document": 4294968297, )"),
         "\"document\" must be a whole number from -2147483648 to 2147483647"},
        {"numreg", Scenario(R"({"do": "save"})", R"("document": {"numreg": 8589935593}, )"),
         "\"numreg\" in \"document\" is out of range"},
        {"answers", Scenario(R"({"do": "save"})", R"("host": {"answers": [4294967302]}, )"),
         "host.answers must list whole numbers"},
        {"grid_mode", Scenario(R"({"do": "save"})", R"("host": {"gridMode": 65537}, )"),
         "host.gridMode is a 16-bit whole number, not 65537"},
        {"count", Scenario(R"({"expect": "saves", "count": 4294967296})"),
         "\"count\" in expectation \"saves\" is out of range"},
    });
}

TEST(ScenarioLimits, WhatIsNoScenarioFileIsNamedAndCountedAsFailed) {
    const Outcome o = Zqstati("run /dev/null");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "ERROR /dev/null: not a regular file or folder\n0 passed, 1 failed\n");
}

}  // namespace
}  // namespace zq::cli
