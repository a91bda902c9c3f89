// Every scenario under scenarios/ played through the registered library: the same files,
// steps and expectations (database checks included) the Linux scenario runner plays in
// process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <vector>

#include "tools/runner.h"
#include "tools/scenario.h"

namespace zq::comtest {
namespace {

// The source tree as this program sees it: under Wine a Unix path is on drive Z:.
std::filesystem::path SourceDir() {
    const std::string dir = ZQ_SOURCE_DIR;
    return std::filesystem::path(dir.size() > 1 && dir[0] == '/' ? "Z:" + dir : dir);
}

// Why a scenario cannot be played across the boundary yet, or null when it can.
const char* PlayedOnlyInProcess(const tool::Scenario& scenario) {
    for (const tool::Step& step : scenario.steps)
        if (step.isAction && step.kind == "fault")
            return "fault steps are not counted across the boundary";
    return nullptr;
}

// Whether a scenario runs the size-grid command: the grid components are then created by
// class id inside the library and reached across the boundary.
bool UsesSizeGrid(const tool::Scenario& scenario) {
    for (const tool::Step& step : scenario.steps) {
        if (!step.isAction) continue;
        const std::string key = step.json.value("key", std::string());
        if (step.kind == "gridEdit" || (step.kind == "menuItem" && key == "GestAnnulli") ||
            (step.kind == "navigatorButton" && key == "griglia"))
            return true;
    }
    return false;
}

TEST(Scenarios, EveryScenarioPassesAcrossTheBoundary) {
    const std::filesystem::path folder = SourceDir() / "scenarios";
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        if (e.path().extension() == ".json") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    int played = 0, grid = 0, skipped = 0;
    for (const auto& file : files) {
        const tool::Scenario scenario = tool::ReadScenario(file);
        // A fault step fails the plug-in's calls as the simulated host counts them inside its
        // own process; across the boundary the plug-in's calls are the library's, which that
        // count does not see. Such scenarios are played only in process.
        if (const char* why = PlayedOnlyInProcess(scenario)) {
            std::printf("  scenario %s skipped: %s\n", file.filename().string().c_str(), why);
            ++skipped;
            continue;
        }
        const bool usesGrid = UsesSizeGrid(scenario);
        // One file at a time, so that a failure names its scenario.
        std::ostringstream out;
        std::printf("  scenario %s%s\n", file.filename().string().c_str(),
                    usesGrid ? " (size grid)" : "");
        std::fflush(stdout);
        EXPECT_EQ(tool::RunScenarios({file.string()}, out), 0) << out.str();
        EXPECT_NE(out.str().find("1 passed, 0 failed"), std::string::npos) << out.str();
        ++played;
        if (usesGrid) ++grid;
    }
    std::printf(
        "  %d scenarios played across the boundary (%d with the size grid), %d in process "
        "only\n",
        played, grid, skipped);
    // The size-grid command is among the roads played here: a scenario file that stopped
    // reaching it would leave the grid components' binding untried.
    EXPECT_GT(grid, 0);
}

}  // namespace
}  // namespace zq::comtest
