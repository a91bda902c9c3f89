// zqstati demo plays its roads cleanly: every step runs, the database it leaves passes the
// check after each step, and the whole-order road shows what a user sees.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli.h"

namespace zq::cli {
namespace {

using ::testing::HasSubstr;

const nlohmann::json* StepTitled(const nlohmann::json& demo, const std::string& title) {
    for (const auto& s : demo["steps"])
        if (s["title"] == title) return &s;
    return nullptr;
}

TEST(Demo, EveryStepLeavesTheDatabaseConsistent) {
    TempDir dir;
    const std::string db = (dir.Path() / "demo.db").string();
    const Outcome o = Zqstati("demo --json --db '" + db + "'");
    ASSERT_EQ(o.status, 0) << o.out << o.err;
    const auto demo = nlohmann::json::parse(o.out);
    ASSERT_GE(demo["steps"].size(), 5u);
    for (const auto& step : demo["steps"]) {
        SCOPED_TRACE(step["title"].get<std::string>());
        EXPECT_TRUE(step["findings"].empty()) << step["findings"].dump();
        EXPECT_FALSE(step.contains("failure")) << step["failure"].dump();
        for (const auto& e : step["events"]) EXPECT_FALSE(e.contains("failed")) << e.dump();
    }
    EXPECT_TRUE(demo["consistent"]);
    // The database it kept is what the check audits from outside.
    EXPECT_EQ(Zqstati("check --db '" + db + "'").status, 0);
}

TEST(Demo, TheWholeOrderRoadShowsTheCancellationTheRefusalAndTheReinstatement) {
    const Outcome o = Zqstati("demo --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const auto demo = nlohmann::json::parse(o.out);
    EXPECT_FALSE(std::filesystem::exists(demo["database"].get<std::string>()));

    const auto* cancel = StepTitled(demo, "Cancel the whole order");
    ASSERT_TRUE(cancel);
    EXPECT_TRUE((*cancel)["saved"]);
    EXPECT_EQ((*cancel)["document"]["header"]["DO76_CODCAU_ZQ63"], "CLI");
    EXPECT_EQ((*cancel)["document"]["header"]["DO18_FLGNONPIUEV"], 1);
    EXPECT_EQ((*cancel)["document"]["lines"][6]["DO31_FLGNONPIUEV"], 1);
    EXPECT_NE((*cancel)["progressivesBefore"], (*cancel)["document"]["progressives"]);

    const auto* refused = StepTitled(demo, "Save the cancelled order without a reason");
    ASSERT_TRUE(refused);
    EXPECT_FALSE((*refused)["saved"]);
    ASSERT_EQ((*refused)["messages"].size(), 1u);
    EXPECT_EQ((*refused)["messages"][0]["style"], 64);
    EXPECT_EQ((*refused)["document"]["header"]["DO76_CODCAU_ZQ63"], "CLI");

    const auto* back = StepTitled(demo, "Reinstate the order");
    ASSERT_TRUE(back);
    EXPECT_EQ((*back)["document"]["header"]["DO18_FLGNONPIUEV"], 0);
    EXPECT_EQ((*back)["document"]["progressives"], (*cancel)["progressivesBefore"]);

    const Outcome text = Zqstati("demo");
    EXPECT_EQ(text.status, 0);
    EXPECT_THAT(text.out, HasSubstr("\nUser: the user sets the header state to 209"));
    EXPECT_THAT(text.out, HasSubstr("[style 64, \"Stato documento\"] Non è stata specificata"));
    EXPECT_THAT(text.out, HasSubstr("The database stayed consistent after every step."));
}

TEST(Program, EveryCommandExplainsItself) {
    for (const char* cmd : {"", "demo ", "run ", "check ", "statements "}) {
        SCOPED_TRACE(cmd);
        const Outcome o = Zqstati(std::string(cmd) + "--help");
        EXPECT_EQ(o.status, 0);
        EXPECT_THAT(o.out, HasSubstr("Usage:"));
    }
    EXPECT_THAT(Zqstati("check --help").out, HasSubstr("cancellation-group"));
    EXPECT_NE(Zqstati("fly").status, 0);
}

TEST(Scenarios, TheShippedScenariosAllPass) {
    const Outcome o = Zqstati("run '" + (SourceDir() / "scenarios").string() + "'");
    EXPECT_EQ(o.status, 0) << o.out;
    EXPECT_THAT(o.out, ::testing::EndsWith(" passed, 0 failed\n"));
    EXPECT_THAT(o.out, ::testing::Not(HasSubstr("\n0 passed")));
}

}  // namespace
}  // namespace zq::cli
