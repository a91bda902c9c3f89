// The user roads the fault runs play: each from the order it starts on, with what the user
// did before it, the action that runs it, and a next action that must still work after it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/session.h"

namespace zq::test {

struct Road {
    std::string name;
    SessionOptions options;
    std::function<void(Session&)> setup;  // what the user did before (runs without faults)
    std::function<void(Session&)> act;    // the user action the road answers
    // The next user action, and whether it did what it does on a sound order.
    std::function<void(Session&)> next;
    std::function<bool(Session&)> nextWorked;
    // Without faults the road leaves the order's rows as they were: a refusal, or a driver
    // that re-applies what the user's typing (and its decode) already put there.
    bool unchanged = false;
    // The road is the plug-in's reaction to a change the host made first (its undo of the
    // line): the host's change stays whether the reaction completes or is undone.
    bool reaction = false;
    // Why some faulted runs of this road are known to go wrong (listed under "Open" in
    // docs/reliability.md): the sweep plays them and prints them as open, without failing.
    std::string open = {};
};

// Marks a road whose faulted runs still find what `why` says.
Road Open(Road road, std::string why);

// Every road of the plug-in that exists so far; kRoads of them (the sweep instantiates one
// test per road before any road can be built).
std::vector<Road> Roads();
inline constexpr std::size_t kRoads = 28;

// The roads of the field drivers and the navigator keys (driver_roads.cpp).
std::vector<Road> DriverRoads();

// The pieces the roads are made of.
namespace roads {
// The seven-line order on the body form, and a next action that splits line 5.
Road LineRoad(std::string name, std::function<void(Session&)> setup,
              std::function<void(Session&)> act);
// The demo order on the header form; the next action picks `nextState` for the header and
// works when the order flag DO18_FLGNONPIUEV is then `flag`.
Road HeaderRoad(std::string name, std::function<void(Session&)> setup,
                std::function<void(Session&)> act, std::int32_t nextState, int flag);
}  // namespace roads

// The same road in a session of its own, set up and ready for its action: the database
// built, the forms opened, the user's earlier actions played, new lines' GUIDs seeded.
void Prepare(Session& s, const Road& road);

}  // namespace zq::test
