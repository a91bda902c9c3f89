#include "tools/runner.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "host/error.h"
#include "tools/host_matrix.h"
#include "tools/scenario.h"

namespace zq::tool {

namespace {

namespace fs = std::filesystem;

std::string Indent(const std::string& text, const std::string& by) {
    std::string out = by;
    for (char c : text) {
        out += c;
        if (c == '\n') out += by;
    }
    return out;
}

std::string StepName(const Step& step) {
    return (step.isAction ? "do " : "expect ") + step.kind;
}

struct Outcome {
    bool passed = false;
    std::string report;  // why it did not pass
};

// What the progressive comparison and the audit find on the scenario's database now ("" when
// nothing), through the same checks as the expectations of those names.
std::string AuditNow(Session& session) {
    std::string found;
    const StepArgs none(Json::object());
    for (const auto& e : Expectations())
        if (std::string(e.name) == "progressivesConsistent" || std::string(e.name) == "consistent")
            if (std::string d = e.check(session, none); !d.empty())
                found += (found.empty() ? "" : "\n") + d;
    return found;
}

Outcome Play(const Scenario& sc, const SessionSetup& setup) {
    std::unique_ptr<Session> session;
    try {
        session = std::make_unique<Session>(setup);
    } catch (const HostError& e) {
        return {false, "the session could not start: " + e.Description() + " (error " +
                           std::to_string(e.Number()) + ")"};
    }
    // Every save of a road leaves the progressives and the audit as clean as the data set
    // was when the session opened (a data set may start unclean on purpose).
    const bool startedClean = AuditNow(*session).empty();
    std::set<std::size_t> noted;  // the steps an "asBefore" expectation looks back to
    for (const Step& step : sc.steps)
        if (!step.isAction && step.kind == "asBefore")
            noted.insert(step.json["step"].get<std::size_t>());
    for (std::size_t i = 0; i < sc.steps.size(); ++i) {
        const Step& step = sc.steps[i];
        if (noted.count(i + 1)) session->orderBefore[i + 1] = session->OrderNow();
        const std::string where = "step " + std::to_string(i + 1) + " (" + StepName(step) + ")";
        StepArgs args(step.json);
        try {
            if (step.isAction) {
                const int saves = session->Saves();
                step.action->run(*session, args);
                if (startedClean && session->Saves() != saves)
                    if (std::string d = AuditNow(*session); !d.empty())
                        return {false, where + ", after the save it made:\n" + Indent(d, "  ")};
            } else if (std::string diff = step.expectation->check(*session, args); !diff.empty()) {
                return {false, where + ":\n" + Indent(diff, "  ")};
            }
        } catch (const HostError& e) {
            return {false, where + ": error " + std::to_string(e.Number()) + " (" + e.Source() +
                               "): " + e.Description()};
        } catch (const ScenarioError& e) {
            return {false, where + ": " + e.what()};
        } catch (const std::exception& e) {
            // A fault of the program, not of the scenario: still reported, never a crash.
            return {false, where + ": internal error: " + e.what()};
        }
    }
    return {true, {}};
}

// Under every host combination the scenario leaves open; the first failure names its
// combination, and the others that failed are counted.
Outcome PlayMatrix(const Scenario& sc, std::size_t& combinations) {
    const auto all = HostCombinations(sc.pinnedHost);
    combinations = all.size();
    Outcome first{true, {}};
    std::size_t failed = 0;
    for (const Json& c : all) {
        SessionSetup setup = sc.setup;
        for (const auto& [name, value] : c.items())
            ApplyHostOption(*FindHostOption(name), value, setup);
        Outcome o = Play(sc, setup);
        if (o.passed) continue;
        if (failed++ == 0) first = {false, "under host " + c.dump() + ":\n" + o.report};
    }
    if (failed > 1)
        first.report += "\n(" + std::to_string(failed) + " of " + std::to_string(all.size()) +
                        " host combinations failed)";
    return first;
}

std::vector<fs::path> Collect(const std::string& arg, std::vector<std::string>& errors) {
    std::vector<fs::path> files;
    std::error_code ec;
    const fs::path p(arg);
    if (fs::is_regular_file(p, ec)) return {p};
    if (!fs::is_directory(p, ec)) {
        errors.push_back(arg + (fs::exists(p, ec) ? ": not a regular file or folder"
                                                  : ": no such file or folder"));
        return {};
    }
    for (auto it = fs::recursive_directory_iterator(p, ec); !ec && it != fs::end(it);
         it.increment(ec))
        if (it->is_regular_file() && it->path().extension() == ".json") files.push_back(it->path());
    if (ec) errors.push_back(arg + ": " + ec.message());
    std::sort(files.begin(), files.end());
    if (files.empty() && !ec) errors.push_back(arg + ": no scenario files (*.json) in the folder");
    return files;
}

}  // namespace

int RunScenarios(const std::vector<std::string>& paths, std::ostream& out, bool hostMatrix) {
    int passed = 0, failed = 0;
    for (const auto& arg : paths) {
        std::vector<std::string> errors;
        for (const auto& file : Collect(arg, errors)) {
            Scenario sc;
            try {
                sc = ReadScenario(file);
            } catch (const ScenarioError& e) {
                ++failed;
                out << "ERROR " << file.string();
                if (e.Step() != 0) out << ": step " << e.Step();
                out << ": " << e.what() << "\n";
                continue;
            } catch (const std::exception& e) {
                ++failed;
                out << "ERROR " << file.string() << ": " << e.what() << "\n";
                continue;
            }
            std::size_t combinations = 1;
            const Outcome o = hostMatrix ? PlayMatrix(sc, combinations) : Play(sc, sc.setup);
            if (o.passed) {
                ++passed;
                out << "PASS  " << file.string() << ": " << sc.description;
                if (hostMatrix) out << " (" << combinations << " host combinations)";
                out << "\n";
            } else {
                ++failed;
                out << "FAIL  " << file.string() << ": " << sc.description << "\n"
                    << Indent(o.report, "      ") << "\n";
            }
        }
        for (const auto& e : errors) {
            ++failed;
            out << "ERROR " << e << "\n";
        }
    }
    out << passed << " passed, " << failed << " failed\n";
    return failed == 0 ? 0 : 1;
}

}  // namespace zq::tool
