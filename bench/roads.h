// The roads the benchmarks play: each is one registration, a name, what the user does
// before the road (not timed) and the action that is timed.
#pragma once

#include <functional>
#include <string>

#include "road_run.h"

namespace zq::bench {

struct Road {
    std::string name;
    std::function<void(RoadRun&)> prepare;
    std::function<void(RoadRun&)> act;
};

// Registers the road on every order size, once on a cursor where the plug-in's Optimize
// takes effect ("optimised") and once on one that refuses it ("scanning"; the largest size
// is left out there, its quadratic passes take minutes). Returns true, so that a
// registration is one namespace-scope constant.
bool RegisterRoad(Road road);

}  // namespace zq::bench
