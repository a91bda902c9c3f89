// zqstati random: seeded random user sessions on orders of different shapes, with the
// invariants of random_invariants.h checked after every action, and a failing session
// shrunk to the shortest run of steps that still fails, written as a scenario file.
//
// A run is a sequence of sessions. Each session has a seed drawn from the run's seed: it
// picks the order's shape (the demo order grown to 9-21 lines, decimal quantities, partly
// and fully delivered lines, a host that manages lots, the host details of host_matrix.h)
// and the GUID seed, then plays user actions, each one a scenario step chosen from what
// the user can do at that moment (a line that exists, a control that is enabled and
// shown). So a session, and the regression written from it, plays again exactly.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/json_out.h"
#include "tools/session.h"

namespace zq::tool {

struct RandomOptions {
    std::uint64_t seed = 1;
    std::int64_t events = 1000;  // user actions to play in all
    double budgetSeconds = 0;    // stop earlier when this much time has passed (0: none)
    int sessionLength = 150;     // actions per session, before a fresh one starts
    // A further check after every action (the tests read the plug-in's busy flags with it):
    // an empty text when it holds.
    std::function<std::string(Session&)> extraCheck;
    // Where a shrunk failing session is written as a scenario (empty: not written).
    std::string saveDir;
    // Faults already reported and still open: a failure whose text contains one of these
    // ends its session as "open" (counted and shown once), and the run goes on.
    std::vector<std::string> open;
};

struct RandomFailure {
    std::uint64_t sessionSeed = 0;
    std::string what;     // what the invariant found
    Json scenario;        // the session as played up to the failing action
    Json shrunk;          // the shortest session that still fails the same way
    std::string savedAs;  // the scenario file written, when one was
};

struct RandomReport {
    std::int64_t events = 0;  // user actions played
    int sessions = 0;
    double seconds = 0;
    std::optional<RandomFailure> failure;
    // Sessions that ended on an open fault, and the first of them for each open text.
    int openSessions = 0;
    std::vector<RandomFailure> openSeen;
    std::map<std::string, int> openCounts;  // sessions ended on each open text
};

RandomReport RunRandom(const RandomOptions& options);

// Plays a session (a scenario object whose steps are user actions) with the invariants
// after each action. Answers the failure ("" when every step held) and, through
// `failedAt`, the index of the action it came after. A step the host or the runner refuses
// answers "refused: ..." (a shrunk candidate that is no longer a user's road).
std::string PlayChecked(const Json& scenario, const std::function<std::string(Session&)>& extra,
                        std::size_t* failedAt = nullptr);

// Drops steps while the session still fails with a failure of the same kind (its text up
// to the first colon, and the audit's rules); answers the shortest session found within
// a minute and a half.
Json Shrink(const Json& scenario, const std::string& failure,
            const std::function<std::string(Session&)>& extra);

// The scenario file of a shrunk failure: its steps with a "sound" expectation after every
// action, so that `zqstati run` checks what the random session checked.
Json RegressionScenario(const Json& shrunk, std::uint64_t sessionSeed, const std::string& what);

// zqstati random: runs and prints the seed, the counts and the figures; 0 when every
// invariant held, 1 otherwise.
int RandomCommand(const RandomOptions& options, std::ostream& out);

}  // namespace zq::tool
