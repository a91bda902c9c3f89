// Every road, failed at every call it makes: for each kind of call and each k from 1 to the
// number of calls of that kind the road makes, a fresh session plays the road with its
// k-th call of that kind failing, and the outcome is checked:
//   - the interface methods that always succeed did succeed, no busy flag is left set;
//   - the order, in memory and in the database (lines, flow states, progressives), is
//     either as it was before the road or as the road completes it without a fault;
//   - the busy indicator is as that outcome leaves it;
//   - a road that was undone said so in one message, a road that completed said nothing;
//   - the audit `zqstati check` runs finds nothing in the database;
//   - the next user action works, the order can then be saved, the audit still finds
//     nothing, and the order loaded again from the database is the order saved.
// It prints, per kind, the call sites the roads reach and those a fault was injected at.
// The sanitizer build plays a sample of the call indexes (every tenth, and the last).

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <set>

#include "faults/roads.h"
#include "sim/audit/audit.h"
#include "sim/host/order_state.h"
#include "support/test_access.h"

namespace zq::test {
namespace {

using sim::FaultKind;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kStride = 10;
#else
constexpr int kStride = 1;
#endif

constexpr const char* kAlwaysSucceed[] = {"StatiCORPOChange", "StatiTESTATAChange",
                                          "GRIDRowChange",    "OpenForm",
                                          "FunzGenInit",      "EndDeleteDocCorpo"};

sim::OrderState StateOf(Session& s) {
    return sim::TakeOrderState(*s.host->doc, *s.conn, kFlussoRighe);
}

std::string BusyFlags(Session& s) {
    auto& p = s.Plugin();
    std::string out;
    const std::pair<const char*, VBool> flags[] = {
        {"blnPropagaInCorso", ClsrfTestAccess::PropagaInCorso(p)},
        {"blnApplicaInCorso", ClsrfTestAccess::ApplicaInCorso(p)},
        {"blnCambioStatoTesta", ClsrfTestAccess::CambioStatoTesta(p)},
        {"blnConfermaInCorso", ClsrfTestAccess::ConfermaInCorso(p)},
        {"blnCreaAnnulloInCorso", ClsrfTestAccess::CreaAnnulloInCorso(p)},
        {"blnRipristinoInCorso", ClsrfTestAccess::RipristinoInCorso(p)},
        {"blnGrigliaInCorso", ClsrfTestAccess::GrigliaInCorso(p)}};
    for (const auto& [name, value] : flags)
        if (IsTrue(value)) out += std::string(name) + " ";
    if (s.host->doc->GridSuspendDepth() != 0) out += "grid refresh open ";
    if (s.host->window->docCorpo->LockCount() != 0) out += "grid lock taken ";
    if (IsTrue(s.host->doc->InElaborazione())) out += "document busy ";
    if (s.host->screen->MousePointer() != 0) out += "hourglass ";
    if (!s.host->window->docCorpo->Redraw() || !s.host->window->docCorpoVert->Redraw())
        out += "display suspended ";
    return out;
}

constexpr std::string_view kNonEseguita = "la modifica non è stata eseguita";

// What the audit of `zqstati check` finds in the session's database, one finding a line.
std::string Audit(Session& s) {
    std::string out;
    for (const auto& f : sim::audit::CheckDatabase(*s.conn))
        out += sim::audit::FormatFinding(f) + "\n";
    return out;
}

int NotDoneMessages(Session& s) {
    int n = 0;
    for (const auto& m : s.Messages()) n += m.testo.find(kNonEseguita) != std::string::npos;
    return n;
}

std::string FailedEvents(Session& s) {
    std::string out;
    for (const auto& e : s.driver->Events())
        for (const char* name : kAlwaysSucceed)
            if (e.name == name && e.result.Failed()) out += e.name + " ";
    return out;
}

// After the road: the next user action works, the order is saved, the audit finds nothing
// in it, and the order loaded again from the database is the one the session saved.
std::string NextActionsWork(Session& s, const Road& road) {
    std::string problems;
    road.next(s);
    if (!road.nextWorked(s)) problems += "the next user action did not work\n";
    if (!s.driver->Save()) problems += "the order could not be saved after the next action\n";
    if (const std::string a = Audit(s); !a.empty()) problems += "audit after the save:\n" + a;
    sim::OrderState saved = StateOf(s);
    const auto reloaded = s.NewHost();
    sim::OrderState again = sim::TakeOrderState(*reloaded->doc, *s.conn, kFlussoRighe);
    saved.database.clear();
    again.database.clear();
    if (const std::string d = sim::OrderDifferences(saved, again); !d.empty())
        problems += "loaded again, the order is not the one saved:\n" + d;
    return problems;
}

// What a run without faults gives: the order before and after, the indicator after, and
// the calls of each kind the road makes.
struct Reference {
    sim::OrderState before, after;
    std::int16_t indicatoreBefore = 0, indicatoreAfter = 0;
    // What the audit finds before and after: a road that leaves its change for the user's
    // save (a whole line cancelled waits for the save to flag it) is not yet clean.
    std::string auditBefore, auditAfter;
    std::array<int, sim::kFaultKinds> calls{};
    std::array<std::set<std::string>, sim::kFaultKinds> sites;  // the call sites it reaches
};

Reference RunWithoutFaults(const Road& road) {
    Reference r;
    Session s(road.options);
    Prepare(s, road);
    r.before = StateOf(s);
    r.indicatoreBefore = s.Indicatore();
    r.auditBefore = Audit(s);
    s.faults.ResetCounts();
    road.act(s);
    for (FaultKind k : sim::kAllFaultKinds) {
        r.calls[static_cast<std::size_t>(k)] = s.faults.Calls(k);
        r.sites[static_cast<std::size_t>(k)] = s.faults.Reached(k);
    }
    r.after = StateOf(s);
    r.indicatoreAfter = s.Indicatore();
    r.auditAfter = Audit(s);
    if (NotDoneMessages(s) != 0) ADD_FAILURE() << road.name << ": without faults it says not done";
    if (const std::string p = NextActionsWork(s, road); !p.empty())
        ADD_FAILURE() << road.name << ": without faults\n" << p;
    return r;
}

struct Coverage {
    std::array<std::set<std::string>, sim::kFaultKinds> reached, failed;
    int runs = 0, completed = 0, undone = 0;
};

// ZQ_SWEEP_TRACE=get:71 plays only that run of each road and tells where the fault struck
// and what followed.
bool Traced(FaultKind kind, int k) {
    const char* t = std::getenv("ZQ_SWEEP_TRACE");
    return !t || std::string(t) == std::string(sim::FaultKindName(kind)) + ":" + std::to_string(k);
}

// One faulted run; returns what went wrong (empty when the outcome is sound).
std::string FaultedRun(const Road& road, const Reference& ref, FaultKind kind, int k,
                       Coverage& cov) {
    Session s(road.options);
    Prepare(s, road);
    s.faults.ResetCounts();
    s.faults.FailNth(kind, k);
    road.act(s);
    s.faults.Disarm();
    const std::size_t ki = static_cast<std::size_t>(kind);
    cov.failed[ki].insert(s.faults.Failed(kind).begin(), s.faults.Failed(kind).end());
    ++cov.runs;

    std::string problems;
    if (s.faults.Fired() == 0) return {};  // the road took another way: nothing failed
    if (std::getenv("ZQ_SWEEP_TRACE")) {
        for (const auto& site : s.faults.Failed(kind)) problems += "failed at " + site + "\n";
        for (const auto& e : s.driver->Events())
            problems += "event " + e.name + (e.result.Failed() ? " (failed)" : "") + "\n";
        for (const auto& m : s.TakeMessages()) problems += "message " + m.testo + "\n";
    }
    if (const std::string f = FailedEvents(s); !f.empty()) problems += "failed events: " + f + "\n";
    if (const std::string b = BusyFlags(s); !b.empty()) problems += "left set: " + b + "\n";

    const sim::OrderState now = StateOf(s);
    const std::string asBefore = sim::OrderDifferences(ref.before, now);
    const std::string asDone = sim::OrderDifferences(ref.after, now);
    const bool undone = asBefore.empty();
    if (!undone && !asDone.empty()) {
        problems += "half-written order; against before:\n" + asBefore +
                    "against the completed road:\n" + asDone;
    }
    (undone ? cov.undone : cov.completed)++;
    const std::int16_t expected = undone ? ref.indicatoreBefore : ref.indicatoreAfter;
    if (!asDone.empty() || undone) {
        if (s.Indicatore() != expected)
            problems += "busy indicator " + std::to_string(s.Indicatore()) + ", expected " +
                        std::to_string(expected) + "\n";
    }
    // Undone because a call failed: said once (unless the failed call was that message box).
    // Completed: nothing said, unless the road is a reaction to the host's own change,
    // which stays whether the reaction was undone or not.
    const int avvisi = NotDoneMessages(s);
    const bool changes = !road.unchanged && !road.reaction;
    if (avvisi > 1) problems += "said " + std::to_string(avvisi) + " times that it was not done\n";
    // A road that ended on a refusal of its own (the grid's unreadable layout) has told the
    // user why in that message.
    const bool detto = avvisi > 0 || !s.Messages().empty();
    if (undone && changes && !detto && kind != FaultKind::Message)
        problems += "undone without saying so\n";
    if (!undone && !road.reaction && avvisi != 0) problems += "completed, yet said not done\n";
    // The audit finds what it finds on the outcome without faults, and nothing else.
    if (const std::string a = Audit(s); a != (undone ? ref.auditBefore : ref.auditAfter))
        problems += "audit after the road:\n" + a;
    problems += NextActionsWork(s, road);
    return problems;
}

// The call sites reached and failed over every road this run played, printed at its end.
Coverage& Total() {
    static Coverage total;
    return total;
}

void PrintCoverage(const char* label, const Coverage& cov) {
    for (FaultKind kind : sim::kAllFaultKinds) {
        const auto i = static_cast<std::size_t>(kind);
        std::size_t hit = 0;
        for (const auto& site : cov.reached[i]) hit += cov.failed[i].count(site);
        std::cout << "[ " << label << " ] " << sim::FaultKindName(kind) << ": " << hit << "/"
                  << cov.reached[i].size() << " call sites failed\n";
    }
}

class TotalCoverage : public ::testing::Environment {
  public:
    void TearDown() override {
        const Coverage& t = Total();
        if (t.runs == 0) return;
        std::cout << "[ sweep ] " << t.runs << " faulted runs, " << t.completed << " completed, "
                  << t.undone << " undone\n";
        PrintCoverage("coverage", t);
    }
};
const auto* const kTotal = ::testing::AddGlobalTestEnvironment(new TotalCoverage);

class FaultSweep : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FaultSweep, EveryCallCompletesOrLeavesTheOrderAsItWas) {
    const Road road = Roads().at(GetParam());
    const auto start = std::chrono::steady_clock::now();
    Coverage cov;
    std::vector<std::string> failures;
    const Reference ref = RunWithoutFaults(road);
    for (std::size_t i = 0; i < sim::kFaultKinds; ++i)
        cov.reached[i].insert(ref.sites[i].begin(), ref.sites[i].end());
    if (road.unchanged) {
        ASSERT_EQ(sim::OrderDifferences(ref.before, ref.after), "")
            << road.name << ": the road changed the order";
    } else {
        ASSERT_NE(sim::OrderDifferences(ref.before, ref.after), "")
            << road.name << ": the road changes nothing without faults";
    }
    std::string counts;
    for (FaultKind kind : sim::kAllFaultKinds) {
        const int n = ref.calls[static_cast<std::size_t>(kind)];
        counts += std::string(sim::FaultKindName(kind)) + " " + std::to_string(n) + "  ";
        for (int k = 1; k <= n; ++k) {
            if (k % kStride != 0 && k != n) continue;
            if (!Traced(kind, k)) continue;
            const std::string p = FaultedRun(road, ref, kind, k, cov);
            if (!p.empty())
                failures.push_back(road.name + ", " + std::string(sim::FaultKindName(kind)) +
                                   " call " + std::to_string(k) + ":\n" + p);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "[ road ] " << road.name << ": calls " << counts << "\n[ road ] " << cov.runs
              << " faulted runs, " << cov.completed << " completed, " << cov.undone << " undone, "
              << seconds << " s\n";
    PrintCoverage("road coverage", cov);
    if (kStride == 1 && !std::getenv("ZQ_SWEEP_TRACE")) {
        // Calls before the failing one are the road's own, so every site it reaches fails.
        for (FaultKind kind : sim::kAllFaultKinds) {
            const auto i = static_cast<std::size_t>(kind);
            for (const auto& site : cov.reached[i])
                EXPECT_TRUE(cov.failed[i].count(site)) << "never failed: " << site;
        }
    }
    Coverage& t = Total();
    for (std::size_t i = 0; i < sim::kFaultKinds; ++i) {
        t.reached[i].insert(cov.reached[i].begin(), cov.reached[i].end());
        t.failed[i].insert(cov.failed[i].begin(), cov.failed[i].end());
    }
    t.runs += cov.runs;
    t.completed += cov.completed;
    t.undone += cov.undone;
    if (!road.open.empty()) {
        std::cout << "[ open ] " << road.name << ": " << failures.size()
                  << " faulted runs go wrong (" << road.open << ")\n";
        for (std::size_t i = 0; i < failures.size() && i < 3; ++i) std::cout << failures[i];
        return;
    }
    for (std::size_t i = 0; i < failures.size() && i < 15; ++i) ADD_FAILURE() << failures[i];
    EXPECT_EQ(failures.size(), 0u);
}

std::string RoadName(const ::testing::TestParamInfo<std::size_t>& info) {
    std::string out;
    bool up = true;
    const std::string name = Roads().at(info.param).name;
    for (char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            up = true;
            continue;
        }
        out += up ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        up = false;
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(Roads, FaultSweep, ::testing::Range<std::size_t>(0, kRoads), RoadName);

TEST(FaultSweepRoads, EveryRoadHasItsTest) {
    EXPECT_EQ(Roads().size(), kRoads);
}

}  // namespace
}  // namespace zq::test
