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
    // A refusal: without faults too the road ends with the order as it was.
    bool refusal = false;
    // Faulted runs of this road still leave half-written orders (listed in
    // docs/reliability.md): the sweep plays it and prints them as open, without failing.
    bool open = false;
};

// Every road of the plug-in that exists so far; kRoads of them (the sweep instantiates one
// test per road before any road can be built).
std::vector<Road> Roads();
inline constexpr std::size_t kRoads = 17;

// The same road in a session of its own, set up and ready for its action: the database
// built, the forms opened, the user's earlier actions played, new lines' GUIDs seeded.
void Prepare(Session& s, const Road& road);

}  // namespace zq::test
