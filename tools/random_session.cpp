#include "tools/random_session.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>

#include "host/error.h"
#include "tools/random_generator.h"
#include "tools/random_invariants.h"
#include "tools/scenario.h"

namespace zq::tool {

namespace {

// The setup a scenario object describes, read as `zqstati run` reads it.
SessionSetup SetupOf(const Json& scenario) {
    Json j = scenario;
    j["description"] = "random session";
    j["steps"] = Json::array({Json{{"expect", "sound"}}});
    return ParseScenario(j.dump(), "random.json",
                         [](const std::filesystem::path& p) -> std::string {
                             throw ScenarioError("a random session reads no file: " + p.string());
                         })
        .setup;
}

const ActionDef& ActionNamed(const std::string& name) {
    static const std::map<std::string, const ActionDef*> byName = [] {
        std::map<std::string, const ActionDef*> m;
        for (const auto& a : Actions()) m[a.name] = &a;
        return m;
    }();
    const auto it = byName.find(name);
    if (it == byName.end()) throw ScenarioError("unknown action \"" + name + "\"");
    return *it->second;
}

// One action and the checks after it: "" when everything holds.
std::string PlayAndCheck(Session& s, const Json& step,
                         const std::function<std::string(Session&)>& extra) {
    const std::size_t eventsFrom = s.Events().size();
    const int saves = s.Saves();
    const std::int16_t indicator = s.Host().doc->DocUI()->IndicatoreAttesa();
    try {
        const StepArgs args(step);
        ActionNamed(step.at("do").get<std::string>()).run(s, args);
    } catch (const HostError& e) {
        return "refused: error " + std::to_string(e.Number()) + ": " + e.Description();
    } catch (const ScenarioError& e) {
        return std::string("refused: ") + e.what();
    } catch (const std::exception& e) {
        // A fault of the program, not a refusal of the host: the session fails on it.
        return std::string("internal error: ") + e.what();
    }
    std::string found = Unsound(s, eventsFrom);
    const std::int16_t after = s.Host().doc->DocUI()->IndicatoreAttesa();
    // The plug-in switches the indicator off on some roads and puts back the host's own
    // setting on others: any other value is one it left behind.
    const std::int16_t hostSetting = sim::DocumentType().indicatoreAttesa;
    if (found.empty() && after != indicator && after != 0 && after != hostSetting)
        found = "busy indicator: " + std::to_string(after) + " after the action, " +
                std::to_string(indicator) + " before";
    if (found.empty() && extra) found = extra(s);
    if (found.empty() && s.Saves() != saves) {
        found = LinksNotSaved(s);
        if (found.empty()) found = AuditFindings(s);
    }
    return found;
}

constexpr int kShrinkSeconds = 90;

// The kind of a failure, for the shrinking: its text up to the first colon and, for the
// audit's findings, the rule of each ("  document 1001 line 7: qta-annullo: ...").
std::string KindOf(const std::string& failure) {
    std::string kind = failure.substr(0, failure.find(':'));
    std::size_t at = failure.find('\n');
    while (at != std::string::npos) {
        const std::size_t end = failure.find('\n', at + 1);
        const std::string line =
            failure.substr(at + 1, end == std::string::npos ? end : end - at - 1);
        const std::size_t a = line.find(": ");
        if (a != std::string::npos) kind += "/" + line.substr(a + 2, line.find(':', a + 2) - a - 2);
        at = end;
    }
    return kind;
}

std::uint64_t SessionSeed(std::uint64_t& state) {
    // splitmix64: well-spread session seeds from consecutive run states.
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

const std::string* OpenFault(const std::vector<std::string>& open, const std::string& failure) {
    for (const auto& text : open)
        if (failure.find(text) != std::string::npos) return &text;
    return nullptr;
}

}  // namespace

std::string PlayChecked(const Json& scenario, const std::function<std::string(Session&)>& extra,
                        std::size_t* failedAt) {
    Session s(SetupOf(scenario));
    const Json& steps = scenario.at("steps");
    for (std::size_t i = 0; i < steps.size(); ++i)
        if (std::string f = PlayAndCheck(s, steps[i], extra); !f.empty()) {
            if (failedAt) *failedAt = i;
            return f;
        }
    return {};
}

Json Shrink(const Json& scenario, const std::string& failure,
            const std::function<std::string(Session&)>& extra) {
    const std::string kind = KindOf(failure);
    Json best = scenario;
    // The opening stays: a user finds the document open.
    const std::size_t opening = std::min(RandomUser::Opening().size(), best["steps"].size());
    const std::vector<Json> head(best["steps"].begin(),
                                 best["steps"].begin() + static_cast<std::ptrdiff_t>(opening));
    std::vector<Json> steps(best["steps"].begin() + static_cast<std::ptrdiff_t>(opening),
                            best["steps"].end());
    auto withHead = [&](const std::vector<Json>& tail) {
        std::vector<Json> all = head;
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    // Shrinking replays the session many times: it stops with the shortest session found
    // so far once its time is up.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kShrinkSeconds);
    auto stillFails = [&](const std::vector<Json>& candidate) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        Json c = best;
        c["steps"] = withHead(candidate);
        std::size_t at = 0;
        const std::string f = PlayChecked(c, extra, &at);
        return !f.empty() && KindOf(f) == kind && KindOf(f) != "refused";
    };
    // Delta debugging: drop chunks while the session still fails, halving the chunks when
    // none can go, down to single steps.
    std::size_t parts = 2;
    while (steps.size() >= 2) {
        const std::size_t chunk = (steps.size() + parts - 1) / parts;
        bool dropped = false;
        for (std::size_t from = 0; from < steps.size() && !dropped; from += chunk) {
            std::vector<Json> c(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(from));
            c.insert(
                c.end(),
                steps.begin() + static_cast<std::ptrdiff_t>(std::min(steps.size(), from + chunk)),
                steps.end());
            if (stillFails(c)) {
                steps = std::move(c);
                parts = std::max<std::size_t>(2, parts - 1);
                dropped = true;
            }
        }
        if (dropped) continue;
        if (chunk == 1) break;
        parts = std::min(steps.size(), parts * 2);
    }
    best["steps"] = withHead(steps);
    return best;
}

Json RegressionScenario(const Json& shrunk, std::uint64_t sessionSeed, const std::string& what) {
    Json out;
    out["description"] = "Random session " + std::to_string(sessionSeed) +
                         ", shrunk: every action leaves the order sound (" +
                         what.substr(0, what.find('\n')) + ")";
    out["data"] = shrunk.at("data");
    out["host"] = shrunk.at("host");
    out["steps"] = Json::array();
    for (const auto& step : shrunk.at("steps")) {
        out["steps"].push_back(step);
        out["steps"].push_back(Json{{"expect", "sound"}});
    }
    return out;
}

RandomReport RunRandom(const RandomOptions& o) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    RandomReport report;
    std::uint64_t state = o.seed;
    while (report.events < o.events && (o.budgetSeconds <= 0 || elapsed() < o.budgetSeconds)) {
        const std::uint64_t seed = SessionSeed(state);
        RandomUser user(seed);
        Json scenario = user.Shape();
        scenario["steps"] = Json::array();
        Session s(SetupOf(scenario));
        ++report.sessions;
        std::string failure;
        for (const Json& step : RandomUser::Opening()) {
            scenario["steps"].push_back(step);
            if (failure = PlayAndCheck(s, step, o.extraCheck); !failure.empty()) break;
        }
        for (int i = 0; failure.empty() && i < o.sessionLength && report.events < o.events; ++i) {
            if (o.budgetSeconds > 0 && elapsed() >= o.budgetSeconds) break;
            Json step = user.Next(s);
            scenario["steps"].push_back(step);
            ++report.events;
            failure = PlayAndCheck(s, step, o.extraCheck);
        }
        if (failure.empty()) continue;
        if (const std::string* known = OpenFault(o.open, failure)) {
            ++report.openSessions;
            ++report.openCounts[*known];
            bool seen = false;
            for (const auto& f : report.openSeen)
                seen = seen || f.what.find(*known) != std::string::npos;
            if (!seen) report.openSeen.push_back({seed, failure, scenario, {}, {}});
            continue;
        }
        RandomFailure f{seed, failure, scenario, Shrink(scenario, failure, o.extraCheck), {}};
        if (!o.saveDir.empty()) {
            std::filesystem::create_directories(o.saveDir);
            const auto file =
                std::filesystem::path(o.saveDir) / ("random_" + std::to_string(seed) + ".json");
            std::ofstream(file) << RegressionScenario(f.shrunk, seed, failure).dump(2) << "\n";
            // The whole session as played, beside it: the shrinking may drop a step the
            // user needed (a form switched to) and leave a road no user takes.
            const auto whole = std::filesystem::path(o.saveDir) /
                               ("random_" + std::to_string(seed) + "_played.json");
            std::ofstream(whole) << RegressionScenario(f.scenario, seed, failure).dump(2) << "\n";
            f.savedAs = file.string();
        }
        report.failure = std::move(f);
        break;
    }
    report.seconds = elapsed();
    return report;
}

int RandomCommand(const RandomOptions& options, std::ostream& out) {
    out << "seed " << options.seed << "\n" << std::flush;
    const RandomReport r = RunRandom(options);
    out << r.events << " user actions in " << r.sessions << " sessions, "
        << static_cast<long long>(r.seconds * 1000) << " ms";
    if (r.seconds > 0)
        out << " (" << static_cast<long long>(r.events / r.seconds) << " per second)";
    out << "\n";
    if (r.openSessions > 0) {
        out << r.openSessions << " sessions ended on a fault still open:\n";
        for (const auto& [text, count] : r.openCounts)
            out << "  " << count << " x \"" << text << "\"\n";
        for (const auto& f : r.openSeen)
            out << "  [ open ] session " << f.sessionSeed << " after " << f.scenario["steps"].size()
                << " steps: " << f.what << "\n";
    }
    if (!r.failure) {
        out << "every invariant held\n";
        return 0;
    }
    const RandomFailure& f = *r.failure;
    out << "FAIL  session " << f.sessionSeed << " after " << f.scenario["steps"].size()
        << " steps: " << f.what << "\n"
        << "      shrunk to " << f.shrunk["steps"].size() << " steps";
    if (!f.savedAs.empty()) out << ", written to " << f.savedAs;
    out << "\n      replay: zqstati random --seed " << options.seed << " --events " << r.events
        << "\n";
    return 1;
}

}  // namespace zq::tool
