// zqstati demo plays its roads cleanly: every step runs, the database it leaves passes the
// check after each step, and the whole-order road shows what a user sees.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "cli.h"

namespace zq::cli {
namespace {

using ::testing::HasSubstr;

const nlohmann::json* StepTitled(const nlohmann::json& demo, const std::string& title) {
    for (const auto& s : demo["steps"])
        if (s["title"] == title) return &s;
    return nullptr;
}

TEST(Demo, EveryStepLeavesWhatItExpects) {
    TempDir dir;
    const std::string db = (dir.Path() / "demo.db").string();
    const Outcome o = Zqstati("demo --json --db '" + db + "'");
    ASSERT_EQ(o.status, 0) << o.out << o.err;
    const auto demo = nlohmann::json::parse(o.out);
    ASSERT_GE(demo["steps"].size(), 12u);
    for (const auto& step : demo["steps"]) {
        SCOPED_TRACE(step["title"].get<std::string>());
        EXPECT_TRUE(step["asExpected"]);
        EXPECT_FALSE(step.contains("failure")) << step["failure"].dump();
        for (const auto& e : step["events"]) EXPECT_FALSE(e.contains("failed")) << e.dump();
        // A step that expects nothing finds nothing; one that expects a rule finds it.
        std::set<std::string> found;
        for (const auto& f : step["findings"]) found.insert(f["rule"].get<std::string>());
        const auto expected = step["expectedFindings"].get<std::set<std::string>>();
        EXPECT_EQ(found, expected);
        if (!expected.empty()) {
            EXPECT_FALSE(step["findingsWhy"].get<std::string>().empty());
        }
    }
    EXPECT_TRUE(demo["asExpected"]);
    // The database it kept is what the check audits from outside: nothing is left to find.
    const Outcome check = Zqstati("check --db '" + db + "'");
    EXPECT_EQ(check.status, 0) << check.out;
}

// The line roads: what a user sees of each, read from the database after the step.
TEST(Demo, TheLineRoadsSplitRefuseRestoreAndFoldBack) {
    const Outcome o = Zqstati("demo --json");
    ASSERT_EQ(o.status, 0) << o.err;
    const auto demo = nlohmann::json::parse(o.out);
    auto line = [](const nlohmann::json& step, int prog) -> nlohmann::json {
        for (const auto& l : step["document"]["lines"])
            if (l["DO30_PROGRIGA"] == prog) return l;
        return nullptr;
    };

    const auto* whole = StepTitled(demo, "Cancel a whole line");
    ASSERT_TRUE(whole);
    EXPECT_TRUE((*whole)["saved"]);
    EXPECT_EQ((*whole)["document"]["lines"].size(), 9u);
    EXPECT_EQ(line(*whole, 1)["DO31_FLGNONPIUEV"], 1);
    EXPECT_EQ(line(*whole, 1)["state"], 109);
    EXPECT_TRUE((*whole)["findings"].empty());

    const auto* part = StepTitled(demo, "Cancel part of a line");
    ASSERT_TRUE(part);
    EXPECT_TRUE((*part)["saved"]);  // written back, reversed and saved
    EXPECT_EQ(line(*part, 1)["DO30_QTA1"], 7);
    EXPECT_EQ(line(*part, 10)["DO30_QTA1"], 3);
    EXPECT_EQ(line(*part, 10)["state"], 109);
    EXPECT_EQ(line(*part, 1)["state"], 100);
    EXPECT_TRUE((*part)["findings"].empty());

    const auto* master = StepTitled(demo, "Try to delete the master");
    ASSERT_TRUE(master);
    ASSERT_EQ((*master)["messages"].size(), 1u);
    EXPECT_THAT((*master)["messages"][0]["text"].get<std::string>(),
                HasSubstr("Eliminare l'annullo parziale prima."));
    EXPECT_EQ((*master)["document"]["lines"].size(), 10u);

    const auto* gone = StepTitled(demo, "Delete the cancellation line");
    ASSERT_TRUE(gone);
    EXPECT_TRUE((*gone)["saved"]);
    EXPECT_EQ((*gone)["document"]["lines"].size(), 9u);
    EXPECT_EQ(line(*gone, 1)["DO30_QTA1"], 10);
    EXPECT_TRUE(line(*gone, 1)["DO77_ZQGUID_DETAIL_DO30"].is_null());

    // Opened again, the order is guarded as in the session that split it.
    const auto* reopened = StepTitled(demo, "Try to delete the master of the reopened order");
    ASSERT_TRUE(reopened);
    ASSERT_EQ((*reopened)["messages"].size(), 1u);
    EXPECT_THAT((*reopened)["messages"][0]["text"].get<std::string>(),
                HasSubstr("Eliminare l'annullo parziale prima."));
    EXPECT_EQ((*reopened)["document"]["lines"].size(), 10u);

    const auto* fold = StepTitled(demo, "Fold the cancellation line back");
    ASSERT_TRUE(fold);
    EXPECT_TRUE((*fold)["saved"]);
    EXPECT_EQ((*fold)["document"]["lines"].size(), 9u);
    EXPECT_EQ(line(*fold, 1)["DO30_QTA1"], 10);
    EXPECT_EQ(line(*fold, 1)["DO77_ZQ_QTA_ANNULLO"], 10);
    EXPECT_EQ(line(*fold, 1)["DO77_CODCAU_ZQ63"], "CLI");
    EXPECT_EQ(line(*fold, 1)["state"], 109);
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
    EXPECT_THAT(text.out, HasSubstr("Every step ran and the check found after each exactly"));
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

// Under every combination of the host's open details, as CI plays them.
TEST(Scenarios, TheShippedScenariosAllPassUnderEveryHost) {
    const Outcome o = Zqstati("run --host-matrix '" + (SourceDir() / "scenarios").string() + "'");
    EXPECT_EQ(o.status, 0) << o.out;
    EXPECT_THAT(o.out, ::testing::EndsWith(" passed, 0 failed\n"));
    EXPECT_THAT(o.out, ::testing::Not(HasSubstr("\n0 passed")));
}

}  // namespace
}  // namespace zq::cli
