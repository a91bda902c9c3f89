// Fuzz target: the scenario reader. Any text is either read into a scenario or refused
// with a ScenarioError; nothing else may happen (no crash, no other exception, no runaway
// memory or stack). The steps read are then asked for every key they declare, through the
// typed accessors the actions and expectations use, so that what the reader accepts is
// what they can take.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/scenario.h"

namespace {

// The scripts a scenario names are not read from the disk here: their text is the name.
std::string ScriptByName(const std::filesystem::path& p) {
    return "-- " + p.filename().string();
}

void ReadEveryKey(const zq::tool::Step& step) {
    using zq::tool::ArgType;
    const auto& defs = step.isAction ? step.action->args : step.expectation->args;
    zq::tool::StepArgs args(step.json);
    for (const auto& def : defs) {
        if (!args.Has(def.name)) continue;
        switch (def.type) {
            case ArgType::Integer:
                (void)args.Int(def.name);
                break;
            case ArgType::Number:
                (void)args.Number(def.name);
                break;
            case ArgType::Text:
                (void)args.Text(def.name);
                break;
            case ArgType::Flag:
                (void)args.Flag(def.name);
                break;
            case ArgType::Form:
                (void)args.Form(def.name);
                break;
            default:
                (void)args.Raw(def.name);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const auto sc = zq::tool::ParseScenario(text, "fuzz/scenario.json", ScriptByName);
        for (const auto& step : sc.steps) ReadEveryKey(step);
    } catch (const zq::tool::ScenarioError&) {
        // a refusal with a reason is an answer
    }
    return 0;
}
