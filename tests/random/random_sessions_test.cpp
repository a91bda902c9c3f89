// Random user sessions: seeded sessions of user actions on orders of different shapes, the
// invariants checked after every action (tools/random_invariants.h) and the plug-in's busy
// flags besides; a failing session is shrunk and written as a scenario file. The long run
// takes its seed from the clock unless ZQ_RANDOM_SEED gives one, and prints it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "random/open_faults.h"
#include "support/test_access.h"
#include "tools/host_checks.h"
#include "tools/random_generator.h"
#include "tools/random_session.h"
#include "tools/scenario.h"

namespace zq::test {
namespace {

using plugin::ClsrfTestAccess;
using tool::RandomOptions;

#if defined(__SANITIZE_ADDRESS__)
constexpr std::int64_t kEvents = 20000;
constexpr double kBudgetSeconds = 60;
#else
// About 540 actions a second alone on a 2-core machine, about half that beside the other
// tests: the budget lets a CI run reach the 100,000 actions and still bounds a slow one.
constexpr std::int64_t kEvents = 100000;
constexpr double kBudgetSeconds = 420;
#endif

double EnvNumber(const char* name, double otherwise) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtod(v, nullptr) : otherwise;
}

// The plug-in's busy flags: none may stay set once an action is over.
std::string BusyFlags(tool::Session& s) {
    const auto& ref = s.Driver().Plugin();
    auto p = std::dynamic_pointer_cast<plugin::CLSRF_REGDOC_STATI>(ref.object);
    if (!p) return {};
    std::string out;
    const std::pair<const char*, VBool> flags[] = {
        {"blnPropagaInCorso", ClsrfTestAccess::PropagaInCorso(*p)},
        {"blnApplicaInCorso", ClsrfTestAccess::ApplicaInCorso(*p)},
        {"blnCambioStatoTesta", ClsrfTestAccess::CambioStatoTesta(*p)},
        {"blnConfermaInCorso", ClsrfTestAccess::ConfermaInCorso(*p)},
        {"blnCreaAnnulloInCorso", ClsrfTestAccess::CreaAnnulloInCorso(*p)},
        {"blnRipristinoInCorso", ClsrfTestAccess::RipristinoInCorso(*p)},
        {"blnGrigliaInCorso", ClsrfTestAccess::GrigliaInCorso(*p)}};
    for (const auto& [name, value] : flags)
        if (IsTrue(value)) out += std::string(" ") + name;
    return out.empty() ? out : "busy flags left set:" + out;
}

TEST(RandomSessions, EveryActionLeavesTheOrderSound) {
    RandomOptions o;
    o.seed = static_cast<std::uint64_t>(
        EnvNumber("ZQ_RANDOM_SEED",
                  static_cast<double>(std::chrono::system_clock::now().time_since_epoch().count() %
                                      1000000007)));
    o.events = static_cast<std::int64_t>(EnvNumber("ZQ_RANDOM_EVENTS", kEvents));
    o.budgetSeconds = EnvNumber("ZQ_RANDOM_BUDGET", kBudgetSeconds);
    o.extraCheck = BusyFlags;
    o.open = OpenRandomFaults();
    o.saveDir = (std::filesystem::current_path() / "random-failures").string();
    std::cout << "[ random ] seed " << o.seed << " (ZQ_RANDOM_SEED=" << o.seed
              << " plays it again)\n";
    const tool::RandomReport r = tool::RunRandom(o);
    std::cout << "[ random ] " << r.events << " user actions in " << r.sessions << " sessions, "
              << static_cast<long long>(r.seconds) << " s, "
              << static_cast<long long>(r.seconds > 0 ? r.events / r.seconds : 0) << " per second; "
              << r.openSessions << " sessions ended on an open fault\n";
    for (const auto& f : r.openSeen)
        std::cout << "[ open ] session " << f.sessionSeed << ": " << f.what << "\n";
    EXPECT_GT(r.events, 0);
    ASSERT_FALSE(r.failure) << "seed " << o.seed << ", session " << r.failure->sessionSeed
                            << " after " << r.failure->scenario["steps"].size()
                            << " steps: " << r.failure->what << "\nshrunk to "
                            << r.failure->shrunk["steps"].size() << " steps, written to "
                            << r.failure->savedAs;
}

// A planted fault: the session fails as soon as the database holds a line more than the
// order started with (a saved partial cancellation).
std::string LineAdded(tool::Session& s) {
    const auto lines = tool::LinksInDatabase(s);
    return static_cast<std::int32_t>(lines.size()) > s.Setup().righeOrdine
               ? "planted: the order has " + std::to_string(lines.size()) + " lines"
               : std::string();
}

RandomOptions Planted(std::uint64_t seed) {
    RandomOptions o;
    o.seed = seed;
    o.events = 5000;
    o.sessionLength = 40;
    o.extraCheck = LineAdded;
    o.open = OpenRandomFaults();
    return o;
}

// The steps after the opening the random user always plays.
std::size_t Tail(const tool::Json& scenario) {
    return scenario["steps"].size() - tool::RandomUser::Opening().size();
}

TEST(RandomSessions, AFailingSessionIsShrunkToTheStepsTheFailureNeeds) {
    // A folder of this process: other builds' tests may run at the same time.
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zq_random_shrink_test_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    RandomOptions o = Planted(5);
    o.saveDir = dir.string();
    const tool::RandomReport r = tool::RunRandom(o);
    ASSERT_TRUE(r.failure);
    const auto& f = *r.failure;
    ASSERT_EQ(f.what.rfind("planted:", 0), 0u) << f.what;
    // A partial cancellation needs a line, a quantity and the cancelled state; whatever
    // else the session did goes.
    EXPECT_LE(Tail(f.shrunk), 4u);
    EXPECT_LT(Tail(f.shrunk), Tail(f.scenario));
    EXPECT_EQ(tool::PlayChecked(f.shrunk, LineAdded).rfind("planted:", 0), 0u);
    // No single step can go: without any one of them the failure is gone.
    const std::size_t opening = tool::RandomUser::Opening().size();
    for (std::size_t drop = opening; drop < f.shrunk["steps"].size(); ++drop) {
        tool::Json fewer = f.shrunk;
        fewer["steps"].erase(fewer["steps"].begin() + static_cast<std::ptrdiff_t>(drop));
        EXPECT_NE(tool::PlayChecked(fewer, LineAdded).rfind("planted:", 0), 0u)
            << "step " << drop << " was not needed";
    }
    // The scenario written plays with `zqstati run`: one "sound" after every action.
    ASSERT_FALSE(f.savedAs.empty());
    const tool::Scenario sc = tool::ReadScenario(f.savedAs);
    EXPECT_EQ(sc.steps.size(), 2 * f.shrunk["steps"].size());
    EXPECT_EQ(sc.steps.back().kind, "sound");
    std::filesystem::remove_all(dir);
}

// The GUIDs the database holds after a session is played.
std::vector<std::string> GuidsAfter(const tool::Json& scenario) {
    std::vector<std::string> guids;
    tool::PlayChecked(scenario, [&](tool::Session& s) {
        guids.clear();
        for (const auto& [n, row] : tool::LinksInDatabase(s)) guids.push_back(row.guid);
        return std::string();
    });
    return guids;
}

TEST(RandomSessions, ASeedPlaysTheSameSessionAgain) {
    const tool::RandomReport a = tool::RunRandom(Planted(9)), b = tool::RunRandom(Planted(9));
    ASSERT_TRUE(a.failure && b.failure);
    EXPECT_EQ(a.failure->sessionSeed, b.failure->sessionSeed);
    EXPECT_EQ(a.failure->scenario, b.failure->scenario);
    EXPECT_EQ(a.events, b.events);

    // The cancellation line the session appends gets the same GUID on every replay, and
    // another one under another GUID seed.
    const tool::Json& played = a.failure->shrunk;
    const auto first = GuidsAfter(played), again = GuidsAfter(played);
    ASSERT_GT(first.size(), static_cast<std::size_t>(played["data"]["lines"].get<int>()));
    EXPECT_EQ(first, again);
    tool::Json reseeded = played;
    reseeded["host"]["guidSeed"] = played["host"]["guidSeed"].get<int>() + 1;
    EXPECT_NE(GuidsAfter(reseeded).back(), first.back());
}

}  // namespace
}  // namespace zq::test
