#include "roads.h"

#include <benchmark/benchmark.h>

#include <memory>

#include "host/error.h"

namespace zq::bench {

namespace {

struct Size {
    std::int32_t lines;
    int iterations;  // each one loads a fresh copy of the order
    bool scanning;   // also measured on a cursor without Optimize
};
constexpr Size kSizes[] = {{100, 20, true}, {1000, 5, true}, {10000, 2, true}, {30000, 2, false}};

// A road whose host events failed measured something else than the road.
const char* FailedEvent(RoadRun& run) {
    for (const auto& e : run.Driver().Events())
        if (e.result.Failed()) return e.name.c_str();
    return nullptr;
}

void RunRoad(benchmark::State& state, const Road& road, bool optimised) {
    const auto lines = static_cast<std::int32_t>(state.range(0));
    double total = 0, saves = 0, host = 0, hostSave = 0;
    for (auto _ : state) {
        try {
            RoadRun run(lines, optimised);
            road.prepare(run);
            const double savedBefore = run.SavedSeconds();
            const auto start = Clock::now();
            road.act(run);
            const double seconds = Seconds(Clock::now() - start);
            if (const char* failed = FailedEvent(run)) {
                state.SkipWithError((std::string(failed) + " failed").c_str());
                break;
            }
            state.SetIterationTime(seconds);
            total += seconds;
            saves += run.SavedSeconds() - savedBefore;
            host += run.hostLoadSeconds + run.hostSaveSeconds;
            hostSave += run.hostSaveSeconds;
        } catch (const HostError& e) {
            state.SkipWithError(e.Description().c_str());
            break;
        }
    }
    const double n = static_cast<double>(state.iterations());
    if (n == 0 || total == 0) return;
    state.counters["lines"] = lines;
    state.counters["us_per_line"] = 1e6 * total / n / lines;
    state.counters["own_ms"] = 1e3 * (total - saves) / n;
    state.counters["saves_ms"] = 1e3 * saves / n;
    state.counters["host_ms"] = 1e3 * host / n;
    state.counters["host_save_ms"] = 1e3 * hostSave / n;
    state.counters["own_vs_host"] = (total - saves) / host;
    state.counters["road_vs_save"] = total / hostSave;
}

}  // namespace

bool RegisterRoad(Road road) {
    auto shared = std::make_shared<const Road>(std::move(road));
    for (const bool optimised : {true, false}) {
        for (const Size& size : kSizes) {
            if (!optimised && !size.scanning) continue;
            const std::string name =
                "road/" + shared->name + (optimised ? "/optimised" : "/scanning");
            benchmark::RegisterBenchmark(
                name.c_str(),
                [shared, optimised](benchmark::State& s) { RunRoad(s, *shared, optimised); })
                ->Arg(size.lines)
                ->Iterations(!optimised && size.lines >= 10000 ? 1 : size.iterations)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}

}  // namespace zq::bench
