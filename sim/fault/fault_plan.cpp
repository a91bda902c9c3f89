#include "sim/fault/fault_plan.h"

#include <algorithm>

#include "host/error.h"

namespace zq::sim {

namespace {

// Who is calling on this thread: the number of plug-in events in progress, and how deep
// the substitutes are in serving a call the plug-in made (0: the plug-in itself calls).
struct Gate {
    FaultPlan* plan = nullptr;
    int pluginEvents = 0;
    int hostDepth = 0;
};
thread_local Gate gate;

constexpr std::array<std::string_view, kFaultKinds> kNames = {
    "statement", "procedure", "get", "set", "method", "move", "write", "message"};

}  // namespace

std::string_view FaultKindName(FaultKind kind) {
    return kNames[static_cast<std::size_t>(kind)];
}

std::optional<FaultKind> FaultKindNamed(std::string_view name) {
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (kNames[i] == name) return kAllFaultKinds[i];
    return std::nullopt;
}

void FaultPlan::FailNth(FaultKind kind, int n) {
    nth_.push_back({kind, calls_[Index(kind)] + n});
}

void FaultPlan::FailMatching(FaultKind kind, std::string text, int nth) {
    matching_.push_back({kind, std::move(text), nth, 0});
}

void FaultPlan::Disarm() {
    nth_.clear();
    matching_.clear();
}

void FaultPlan::ResetCounts() {
    calls_ = {};
    for (auto& s : reached_) s.clear();
    for (auto& s : failed_) s.clear();
    fired_ = 0;
    nth_.clear();
}

void FaultPlan::Hit(FaultKind kind, std::string_view site) {
    const std::size_t k = Index(kind);
    const int call = ++calls_[k];
    reached_[k].emplace(site);
    bool fail = false;
    for (auto it = nth_.begin(); it != nth_.end();) {
        if (it->kind == kind && it->at == call) {
            fail = true;
            it = nth_.erase(it);
        } else {
            ++it;
        }
    }
    for (Matching& m : matching_) {
        if (m.kind != kind || site.find(m.text) == std::string_view::npos) continue;
        ++m.seen;
        if (m.nth == 0 || m.seen == m.nth) fail = true;
    }
    if (!fail) return;
    ++fired_;
    failed_[k].emplace(site);
    Raise(kInjectedFailure, std::string(site), "Injected failure of " + std::string(site));
}

ActiveFaultPlan::ActiveFaultPlan(FaultPlan& plan) : previous_(gate.plan) {
    gate.plan = &plan;
}

ActiveFaultPlan::~ActiveFaultPlan() {
    gate.plan = previous_;
}

FaultPoint::FaultPoint(FaultKind kind, std::string_view site) {
    if (gate.plan && gate.pluginEvents > 0 && gate.hostDepth == 0) gate.plan->Hit(kind, site);
    ++gate.hostDepth;
}

FaultPoint::~FaultPoint() {
    --gate.hostDepth;
}

PluginCallFrame::PluginCallFrame() : hostDepth_(gate.hostDepth) {
    gate.hostDepth = 0;
    ++gate.pluginEvents;
}

PluginCallFrame::~PluginCallFrame() {
    --gate.pluginEvents;
    gate.hostDepth = hostDepth_;
}

}  // namespace zq::sim
