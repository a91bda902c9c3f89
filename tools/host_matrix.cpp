#include "tools/host_matrix.h"

#include "tools/scenario.h"

namespace zq::tool {

namespace {

using LS = sim::HostBehaviour::LandingState;

}  // namespace

const std::vector<HostOption>& HostOptions() {
    static const std::vector<HostOption> options{
        {"landingStateChange",
         {"beforeRowChange", "afterRowChange", "none"},
         "when the grid lands on a line whose state control shows another state, the host "
         "raises StatiCORPOChange before GRIDRowChange, after it, or not at all",
         [](sim::HostBehaviour& b, const Json& v) {
             b.landingState = v == "afterRowChange" ? LS::AfterRowChange
                              : v == "none"         ? LS::None
                                                    : LS::BeforeRowChange;
         }},
        {"rowChangeOnEveryMove",
         {false, true},
         "a move of the grid no click made (a line the plug-in appends, its go-to-bookmark "
         "and row deletion, the landing after the user deleted a line) raises GRIDRowChange",
         [](sim::HostBehaviour& b, const Json& v) { b.rowChangeOnEveryMove = v.get<bool>(); }},
        {"headerStateOnOpen",
         {false, true},
         "opening the header form reports the stored header state (StatiTESTATAChange with "
         "DO11_STATO) right after OpenForm",
         [](sim::HostBehaviour& b, const Json& v) { b.headerStateOnOpen = v.get<bool>(); }},
        {"refreshPairRebinds",
         {true, false},
         "closing the body-grid refresh pair binds the line sections and the line object to "
         "the row the body recordset stands on; without it a row the plug-in moved the "
         "recordset to is not followed until the grid is moved there",
         [](sim::HostBehaviour& b, const Json& v) { b.refreshPairRebinds = v.get<bool>(); }},
        {"beforeItemOnFocus",
         {true, false},
         "moving the focus to a control raises ControlEventBeforeItem for it before the lost "
         "focus of the control left; without it only the two focus events",
         [](sim::HostBehaviour& b, const Json& v) { b.beforeItemOnFocus = v.get<bool>(); }},
    };
    return options;
}

const HostOption* FindHostOption(const std::string& name) {
    for (const auto& o : HostOptions())
        if (name == o.name) return &o;
    return nullptr;
}

void ApplyHostOption(const HostOption& o, const Json& value, SessionSetup& setup) {
    bool known = false;
    for (const auto& v : o.values) known = known || v == value;
    if (!known) {
        std::string takes;
        for (const auto& v : o.values) takes += (takes.empty() ? "" : ", ") + v.dump();
        throw ScenarioError("host." + std::string(o.name) + " takes " + takes + ", not " +
                            value.dump());
    }
    o.apply(setup.behaviour, value);
}

std::vector<Json> HostCombinations(const std::set<std::string>& pinned) {
    std::vector<Json> out{Json::object()};
    for (const auto& o : HostOptions()) {
        if (pinned.count(o.name)) continue;
        std::vector<Json> next;
        for (const auto& partial : out)
            for (const auto& v : o.values) {
                Json c = partial;
                c[o.name] = v;
                next.push_back(std::move(c));
            }
        out = std::move(next);
    }
    return out;
}

}  // namespace zq::tool
