#include "tools/runner.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "host/error.h"
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

Outcome Play(const Scenario& sc) {
    std::unique_ptr<Session> session;
    try {
        session = std::make_unique<Session>(sc.setup);
    } catch (const HostError& e) {
        return {false, "the session could not start: " + e.Description() + " (error " +
                           std::to_string(e.Number()) + ")"};
    }
    for (std::size_t i = 0; i < sc.steps.size(); ++i) {
        const Step& step = sc.steps[i];
        const std::string where = "step " + std::to_string(i + 1) + " (" + StepName(step) + ")";
        StepArgs args(step.json);
        try {
            if (step.isAction) {
                step.action->run(*session, args);
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

int RunScenarios(const std::vector<std::string>& paths, std::ostream& out) {
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
            const Outcome o = Play(sc);
            if (o.passed) {
                ++passed;
                out << "PASS  " << file.string() << ": " << sc.description << "\n";
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
