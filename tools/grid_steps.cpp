#include "tools/grid_steps.h"

namespace zq::tool {

namespace {

using A = ArgType;

// Object references the plug-in passed are written "<object>" (set) or null (Nothing).
bool MatchesPassed(const Json& expected, const Variant& actual) {
    if (actual.IsObject()) {
        if (expected.is_null()) return actual.ToObject() == nullptr;
        return expected == "<object>" && actual.ToObject() != nullptr;
    }
    return Matches(expected, actual);
}

std::string ShowPassed(const Variant& v) {
    if (v.IsObject()) return v.ToObject() ? "<object>" : "null (Nothing)";
    return Show(v);
}

bool Written(const sim::SimSizeGrid& grid, const std::string& member) {
    for (const auto& c : grid.Calls())
        if (c.size() == member.size() + 1 && c.back() == '=' &&
            SameName(std::string_view(c).substr(0, member.size()), member))
            return true;
    return false;
}

std::string CheckPassed(const sim::SimSizeGrid& grid, const Json& passed) {
    std::string d;
    for (const auto& [member, expected] : passed.items()) {
        if (expected.is_object() || expected.is_array())
            throw ScenarioError("the value given for " + member + " must be a single value");
        if (!Written(grid, member)) {
            d += "\n  " + member + ": never written";
            continue;
        }
        const Variant actual = grid.Passed(member);
        if (!MatchesPassed(expected, actual))
            d +=
                "\n  " + member + ": expected " + expected.dump() + ", found " + ShowPassed(actual);
    }
    return d;
}

std::string CheckGridRows(const sim::SimSizeGrid& grid, const StepArgs& a) {
    const bool edited = a.Flag("edited");
    sim::GridRows rows;
    if (edited) {
        if (!grid.Dati()) return "\n  the size grid holds no data";
        rows = sim::ReadRows(*grid.Dati());
    } else {
        rows = grid.Handed();
        if (rows.columns.empty()) return "\n  no data was handed to the size grid";
    }
    const std::string source =
        edited ? "the size grid's data" : "the size grid's data as the plug-in handed it over";
    const std::string d = CheckRowSet(source, rows.columns, rows.rows, a);
    return d.empty() ? d : "\n  " + d;
}

}  // namespace

const std::vector<ArgDef> kGridEditArgs{
    {"line", A::Integer, true}, {"quantity", A::Number}, {"status", A::Text},
    {"cancelled", A::Number},   {"reason", A::Text},     {"reasonText", A::Text},
};

void PlanGridEdit(Session& s, const StepArgs& a) {
    sim::GridEdit e = sim::GridEdit::Line(a.Int("line"));
    if (a.Has("quantity")) e.Quantity(a.Number("quantity"));
    if (a.Has("status")) {
        const std::string status = a.Text("status");
        if (status != "0" && status != "1" && status != "2" && status != "3")
            throw ScenarioError("\"status\" is one of \"0\", \"1\", \"2\", \"3\"");
        e.Status(status);
    }
    if (a.Has("cancelled")) e.Cancelled(a.Number("cancelled"));
    if (a.Has("reason")) e.Reason(a.Text("reason"));
    if (a.Has("reasonText")) e.ReasonText(a.Text("reasonText"));
    s.Host().sizeGrid->PlanEdits({e});
}

const std::vector<ArgDef> kSizeGridArgs{
    {"created", A::Integer}, {"passed", A::Object}, {"calls", A::Array},   {"unloaded", A::Flag},
    {"edited", A::Flag},     {"where", A::Object},  {"values", A::Object}, {"count", A::Integer},
};

// The last size grid the plug-in created.
std::string CheckSizeGrid(Session& s, const StepArgs& a) {
    const auto& grids = s.Host().sizeGrid->Grids();
    std::string d;
    if (a.Has("created") && grids.size() != static_cast<std::size_t>(a.Int("created")))
        d += "\n  created: expected " + std::to_string(a.Int("created")) + ", found " +
             std::to_string(grids.size());
    if (grids.empty()) {
        const bool more = a.Has("passed") || a.Has("calls") || a.Has("unloaded") ||
                          a.Has("where") || a.Has("values") || a.Has("count");
        if (more) d += "\n  no size grid was created";
        return d.empty() ? d : "size grid:" + d;
    }
    const sim::SimSizeGrid& grid = *grids.back();
    if (a.Has("passed")) d += CheckPassed(grid, a.Raw("passed"));
    if (a.Has("calls") && a.Raw("calls") != Json(grid.Calls()))
        d += "\n  calls: expected " + a.Raw("calls").dump() + "\n         made     " +
             Json(grid.Calls()).dump();
    if (a.Has("unloaded") && a.Flag("unloaded") != grid.Unloaded())
        d += std::string("\n  unloaded: expected ") + (grid.Unloaded() ? "false" : "true");
    if (a.Has("where") || a.Has("values") || a.Has("count")) d += CheckGridRows(grid, a);
    return d.empty() ? d : "size grid:" + d;
}

const std::vector<ArgDef> kGridPostingArgs{
    {"created", A::Integer}, {"runs", A::Integer}, {"answered", A::Flag}, {"cleared", A::Flag}};

std::string CheckGridPosting(Session& s, const StepArgs& a) {
    const auto& postings = s.Host().sizeGrid->Postings();
    int runs = 0;
    std::optional<bool> answer;
    for (const auto& p : postings) {
        runs += p->Runs();
        if (p->LastAnswer()) answer = p->LastAnswer();
    }
    std::string d;
    if (a.Has("created") && postings.size() != static_cast<std::size_t>(a.Int("created")))
        d += "\n  created: expected " + std::to_string(a.Int("created")) + ", found " +
             std::to_string(postings.size());
    if (a.Has("runs") && runs != a.Int("runs"))
        d += "\n  runs: expected " + std::to_string(a.Int("runs")) + ", found " +
             std::to_string(runs);
    if (a.Has("answered") && answer != a.Flag("answered"))
        d += std::string("\n  answered: expected ") + (a.Flag("answered") ? "true" : "false") +
             ", found " + (answer ? (*answer ? "true" : "false") : "no answer");
    if (a.Has("cleared")) {
        if (postings.empty()) {
            d += "\n  no grid posting was created";
        } else {
            const auto& p = *postings.back();
            const bool cleared = !p.Griglia() && !p.Connessione() && !p.Programma();
            if (cleared != a.Flag("cleared"))
                d += std::string("\n  cleared: expected ") + (cleared ? "false" : "true");
        }
    }
    return d.empty() ? d : "grid posting:" + d;
}

sim::GridPosting GridPostingSetting(const std::string& text) {
    if (text == "apply") return sim::GridPosting::Apply;
    if (text == "false") return sim::GridPosting::AnswerFalse;
    if (text == "fail") return sim::GridPosting::Fail;
    throw ScenarioError("host.gridPosting is \"apply\", \"false\" or \"fail\"");
}

}  // namespace zq::tool
