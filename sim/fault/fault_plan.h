// Faults at every call the plug-in makes into the substitutes: the simulated host's
// objects, its database connection and procedures, the recordsets and the message boxes.
// One mechanism, used by the tests and by the scenario runner.
//
// Every place where the plug-in calls into a substitute carries a FaultPoint naming the
// kind of call and its site. While a FaultPlan is installed on the thread, each such call
// is counted, the site is noted as reached, and an armed plan makes a chosen call fail
// with a HostError, as the real host or database would fail it:
//   - the n-th call of a kind from the moment the plan is armed (once), or
//   - every call of a kind whose site contains a text (or only the n-th of them).
// Only calls the plug-in makes itself are counted: the host's own calls while it serves one
// (a save writing the document, a grid move filtering the line's sections) and the calls
// made outside the plug-in's events (the driver acting for the user, a test reading the
// result) pass untouched. The driver marks each event it raises with a PluginCallFrame.
//
// Sites: "<object>.<member>" for host objects (a control by its name, a form by its
// name, "gclsRegDoc.ImpostaQuantita"), "<table>.<operation>" for recordsets ("query" for
// the plug-in's own query results), the statement's opening words, the procedure's name.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zq::sim {

enum class FaultKind {
    Statement,  // a SQL statement on the connection
    Procedure,  // a stored procedure (EXEC text or a stored-procedure command)
    Get,        // a property read on a host object (late-bound or early-bound)
    Set,        // a property write on a host object
    Method,     // a method or operation of a host object
    Move,       // a recordset's cursor or view: Move*, Bookmark, Find, Filter
    Write,      // a recordset's writes: AddNew, Update, UpdateBatch, Delete
    Message,    // a message box
};
inline constexpr std::size_t kFaultKinds = 8;
inline constexpr std::array<FaultKind, kFaultKinds> kAllFaultKinds = {
    FaultKind::Statement, FaultKind::Procedure, FaultKind::Get,   FaultKind::Set,
    FaultKind::Method,    FaultKind::Move,      FaultKind::Write, FaultKind::Message};

// "statement", "procedure", "get", "set", "method", "move", "write", "message".
std::string_view FaultKindName(FaultKind kind);
std::optional<FaultKind> FaultKindNamed(std::string_view name);

// The error an injected failure raises: the provider's generic failure.
inline constexpr std::int32_t kInjectedFailure = -2147467259;  // E_FAIL

class FaultPlan {
  public:
    // The n-th call of `kind` counted from now fails, once (n >= 1).
    void FailNth(FaultKind kind, int n);
    // Every call of `kind` whose site contains `text` fails, until Disarm; with `nth`, only
    // the nth such call from now.
    void FailMatching(FaultKind kind, std::string text, int nth = 0);
    void Disarm();

    // Calls of a kind since the plan was made (or Reset); faults that fired.
    int Calls(FaultKind kind) const { return calls_[Index(kind)]; }
    int Fired() const { return fired_; }
    // The sites of a kind the plug-in reached, and those a fault was injected at.
    const std::set<std::string>& Reached(FaultKind kind) const { return reached_[Index(kind)]; }
    const std::set<std::string>& Failed(FaultKind kind) const { return failed_[Index(kind)]; }
    void ResetCounts();

    // A counted call: raises kInjectedFailure when the plan says this call fails.
    void Hit(FaultKind kind, std::string_view site);

  private:
    static std::size_t Index(FaultKind k) { return static_cast<std::size_t>(k); }
    struct Nth {
        FaultKind kind;
        int at;  // the value Calls(kind) has when the call that fails is made
    };
    struct Matching {
        FaultKind kind;
        std::string text;
        int nth;   // 0: every matching call
        int seen;  // matching calls so far
    };
    std::array<int, kFaultKinds> calls_{};
    std::array<std::set<std::string>, kFaultKinds> reached_, failed_;
    std::vector<Nth> nth_;
    std::vector<Matching> matching_;
    int fired_ = 0;
};

// Installs a plan on this thread for the life of the scope (the previous one comes back).
class ActiveFaultPlan {
  public:
    explicit ActiveFaultPlan(FaultPlan& plan);
    ~ActiveFaultPlan();
    ActiveFaultPlan(const ActiveFaultPlan&) = delete;
    ActiveFaultPlan& operator=(const ActiveFaultPlan&) = delete;

  private:
    FaultPlan* previous_;
};

// One call into a substitute, for the life of the call: counted (and possibly failed)
// when the plug-in makes it; the calls the substitute makes while it serves it are not.
class FaultPoint {
  public:
    FaultPoint(FaultKind kind, std::string_view site);
    ~FaultPoint();
    FaultPoint(const FaultPoint&) = delete;
    FaultPoint& operator=(const FaultPoint&) = delete;
};

// A property read of a host object: counted like any call, then the value.
template <class T>
const T& Read(const T& value, std::string_view site) {
    FaultPoint point(FaultKind::Get, site);
    return value;
}

// The host raising one event into the plug-in: the plug-in's calls inside it are counted,
// a save the plug-in asked for included.
class PluginCallFrame {
  public:
    PluginCallFrame();
    ~PluginCallFrame();
    PluginCallFrame(const PluginCallFrame&) = delete;
    PluginCallFrame& operator=(const PluginCallFrame&) = delete;

  private:
    int hostDepth_;
};

}  // namespace zq::sim
