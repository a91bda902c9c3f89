// zqstati demo: a narrated session of the plug-in in the simulated host on the demo data.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/session.h"

namespace zq::tool {

// One user step of the demo: what it is called, what the user does, and the driver calls.
struct DemoStep {
    std::string title;
    std::string action;
    std::string outcome;  // what the plug-in is meant to do, in a sentence
    std::function<void(Session&)> run;
    // The check rules this step is known to leave findings under (empty: none), and why.
    // A step passes when it leaves findings under exactly these rules.
    std::vector<std::string> expectedFindings = {};
    std::string findingsWhy = {};
};

// The roads the demo plays, in order, on the demo order of `righeOrdine` lines.
std::vector<DemoStep> DemoRoads(std::int32_t righeOrdine);

struct DemoOptions {
    std::optional<std::string> dbPath;  // none: a temporary file, removed afterwards
    bool force = false;  // an existing database of this program at dbPath may be replaced
    bool json = false;
    // Lines of the demo order: its nine, then generated size-grid families up to this many.
    std::int32_t lines = sim::demo::kRigheDemo;
};

// Plays the roads and prints each step. Returns 0 when every step ran and the check found
// after each exactly what that step expects (nothing, for most steps), 1 otherwise, and 2
// when the database cannot be made where the options say (nothing is then changed).
int RunDemo(const DemoOptions& options, std::ostream& out, std::ostream& err);

}  // namespace zq::tool
