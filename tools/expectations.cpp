// What a scenario step can expect, each a check of the session that answers the readable
// difference when it is not met. A new expectation is one entry here and one paragraph in
// docs/scenarios.md.
#include <algorithm>
#include <cctype>
#include <map>

#include "host/error.h"
#include "sim/db/progressives.h"
#include "tools/check.h"
#include "tools/grid_steps.h"
#include "tools/host_checks.h"
#include "tools/random_invariants.h"
#include "tools/scenario.h"

namespace zq::tool {

namespace {

using A = ArgType;

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

// Rows read from a table or a recordset, checked against a filter and expected values.
struct RowSet {
    std::string source;
    std::vector<std::string> columns;
    std::vector<std::vector<Variant>> rows;

    std::size_t Column(const std::string& name) const {
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (SameName(columns[i], name)) return i;
        throw ScenarioError(source + " has no column " + name);
    }
};

std::string Describe(const Json& object) {
    std::string s;
    for (const auto& [k, v] : object.items()) s += (s.empty() ? "" : ", ") + k + " = " + v.dump();
    return s;
}

std::string CheckRows(const RowSet& set, const StepArgs& a) {
    const Json none = Json::object();
    const Json& where = a.Has("where") ? a.Raw("where") : none;
    const Json& values = a.Has("values") ? a.Raw("values") : none;
    std::vector<std::pair<std::size_t, const Json*>> filter, expected;
    for (const auto& [k, v] : where.items()) filter.emplace_back(set.Column(k), &v);
    for (const auto& [k, v] : values.items()) expected.emplace_back(set.Column(k), &v);
    for (const Json* object : {&where, &values})
        for (const auto& [k, v] : object->items())
            if (v.is_object() || v.is_array())
                throw ScenarioError("the value given for " + k + " must be a single value");

    std::vector<const std::vector<Variant>*> matched;
    for (const auto& row : set.rows)
        if (std::all_of(filter.begin(), filter.end(),
                        [&](const auto& f) { return Matches(*f.second, row[f.first]); }))
            matched.push_back(&row);
    const std::string rows = set.source + (where.empty() ? "" : " where " + Describe(where));
    auto show = [&](const std::vector<Variant>& row) {
        std::string s;
        for (const auto& [col, e] : expected)
            s += (s.empty() ? "" : ", ") + set.columns[col] + " = " + Show(row[col]);
        return s.empty() ? std::string("(a row)") : s;
    };
    if (a.Has("count") && matched.size() != static_cast<std::size_t>(a.Int("count"))) {
        std::string d = "expected " + std::to_string(a.Int("count")) + " rows of " + rows +
                        ", found " + std::to_string(matched.size());
        for (const auto* r : matched) d += "\n  " + show(*r);
        return d;
    }
    if (!a.Has("count") && matched.empty()) return "no row of " + rows;
    for (std::size_t i = 0; i < matched.size(); ++i) {
        std::string d;
        for (const auto& [col, e] : expected)
            if (!Matches(*e, (*matched[i])[col]))
                d += "\n  " + set.columns[col] + ": expected " + e->dump() + ", found " +
                     Show((*matched[i])[col]);
        if (!d.empty())
            return "row " + std::to_string(i + 1) + " of " + std::to_string(matched.size()) +
                   " of " + rows + ":" + d;
    }
    return {};
}

std::string CheckTable(Session& s, const StepArgs& a) {
    const std::string table = a.Text("table");
    const bool plain = !table.empty() && std::all_of(table.begin(), table.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
    if (!plain || !s.Db().TableExists(table))
        throw ScenarioError("the database has no table " + Quote(table));
    auto q = s.Db().QueryRows("SELECT * FROM " + table);
    RowSet set{table, {}, std::move(q.rows)};
    for (const auto& f : q.fields) set.columns.push_back(f.name);
    return CheckRows(set, a);
}

using Member = ado::RecordsetPtr (host::IRegDoc::*)() const;
const std::map<std::string, Member, std::less<>>& Recordsets() {
    using D = host::IRegDoc;
    static const std::map<std::string, Member, std::less<>> m{
        {"rstDocTestata", &D::rstDocTestata},       {"rstDocTestaOrd", &D::rstDocTestaOrd},
        {"rstDocTestaVert", &D::rstDocTestaVert},   {"rstDocCorpo", &D::rstDocCorpo},
        {"rstDocCorpoOrd", &D::rstDocCorpoOrd},     {"rstDocCorpoVert", &D::rstDocCorpoVert},
        {"rstDocCorpoProv", &D::rstDocCorpoProv},   {"rstDocCorpoRif", &D::rstDocCorpoRif},
        {"rstDocCorpoPers", &D::rstDocCorpoPers},   {"rstDocCorpoEst", &D::rstDocCorpoEst},
        {"rstDocCorpoUbic", &D::rstDocCorpoUbic},   {"rstDocCorpoConf", &D::rstDocCorpoConf},
        {"rstDocCorpoProge", &D::rstDocCorpoProge}, {"rstDocCorOrdDet", &D::rstDocCorOrdDet},
        {"rstDocCorpoLot", &D::rstDocCorpoLot},     {"rstDocCorpoGrid", &D::rstDocCorpoGrid},
        {"rstDocCorpoRaggr", &D::rstDocCorpoRaggr}, {"rstDocCorpoScMag", &D::rstDocCorpoScMag},
        {"rstDocCorpoCoin", &D::rstDocCorpoCoin},   {"rstDocCorpoRatei", &D::rstDocCorpoRatei},
    };
    return m;
}

std::string CheckRecordset(Session& s, const StepArgs& a) {
    const std::string name = a.Text("recordset");
    auto it = Recordsets().find(name);
    if (it == Recordsets().end())
        throw ScenarioError("the document object has no recordset " + Quote(name));
    const host::IRegDoc& doc = *s.Host().doc;
    ado::RecordsetPtr rs = (doc.*(it->second))();
    if (!rs) return "the document object's " + name + " is Nothing";
    // A clone sees every row whatever the host's filter, and leaves the host's cursor
    // alone; the row the host stands on is read from the host's recordset itself, so
    // that an edit not yet committed shows as the plug-in would see it.
    auto clone = rs->Clone();
    const Variant current = rs->BOF() || rs->EOF_() ? Variant() : rs->Bookmark();
    RowSet set{name, {}, {}};
    for (std::int32_t i = 0; i < clone->FieldCount(); ++i)
        set.columns.push_back(clone->FieldAt(i)->Name());
    if (!(clone->BOF() && clone->EOF_()))
        for (clone->MoveFirst(); !clone->EOF_(); clone->MoveNext()) {
            const ado::Recordset& from =
                !current.IsEmpty() && clone->Bookmark().SameAs(current) ? *rs : *clone;
            std::vector<Variant> row;
            for (std::int32_t i = 0; i < from.FieldCount(); ++i)
                row.push_back(from.FieldAt(i)->Value());
            set.rows.push_back(std::move(row));
        }
    return CheckRows(set, a);
}

std::string CheckMessages(Session& s, const StepArgs& a) {
    const auto shown = s.TakeMessages();
    const Json& expected = a.Raw("messages");
    bool same = shown.size() == expected.size();
    for (std::size_t i = 0; same && i < shown.size(); ++i) {
        const Json& e = expected[i];
        if (!e.is_object() || !e.contains("text"))
            throw ScenarioError("each expected message is an object with \"text\"");
        same = e["text"] == shown[i].testo &&
               (!e.contains("style") || e["style"] == shown[i].stile) &&
               (!e.contains("title") || e["title"] == shown[i].titolo);
    }
    if (same) return {};
    std::string d = "expected messages:";
    if (expected.empty()) d += " none";
    for (const auto& e : expected)
        d += "\n  - " + e.dump(-1, ' ', false, Json::error_handler_t::replace);
    d += "\nshown:";
    if (shown.empty()) d += " none";
    for (const auto& m : shown)
        d += "\n  - " + MessageJson(m).dump(-1, ' ', false, Json::error_handler_t::replace);
    return d;
}

std::string CheckControl(Session& s, const StepArgs& a) {
    const std::int16_t tipo = a.Form("form");
    auto form = tipo == 1 ? s.Host().header : s.Host().body;
    const std::string name = a.Text("control");
    auto c = form->Control(name);
    const std::string what = (tipo == 1 ? "header" : "body") + std::string(" control ") + name;
    if (a.Has("exists") && a.Flag("exists") != bool(c))
        return what + (c ? " exists" : " does not exist");
    if (!c) return a.Has("exists") ? std::string() : what + " does not exist";
    std::string d;
    if (a.Has("text") && c->Text() != a.Text("text"))
        d += "\n  text: expected " + Quote(a.Text("text")) + ", found " + Quote(c->Text());
    const struct {
        const char* key;
        bool actual;
    } flags[] = {{"enabled", c->Enabled()},
                 {"visible", c->Visible()},
                 {"changed", c->IsChanged()},
                 {"valid", c->IsValid()}};
    for (const auto& f : flags)
        if (a.Has(f.key) && a.Flag(f.key) != f.actual)
            d += std::string("\n  ") + f.key + ": expected " + (f.actual ? "false" : "true") +
                 ", found " + (f.actual ? "true" : "false");
    return d.empty() ? d : what + ":" + d;
}

std::string CheckResult(Session& s, const StepArgs& a) {
    const auto events = s.Events();
    const sim::RaisedEvent* e = nullptr;
    for (auto it = events.rbegin(); it != events.rend() && !e; ++it)
        if (!a.Has("event") || it->name == a.Text("event")) e = &*it;
    if (!e)
        return a.Has("event") ? "no event " + a.Text("event") + " was raised"
                              : "no event was raised";
    std::string d;
    if (a.Has("results")) {
        const Json& r = a.Raw("results");
        bool same = r.size() == e->results.size();
        for (std::size_t i = 0; same && i < r.size(); ++i) same = Matches(r[i], e->results[i]);
        if (!same) {
            std::string found;
            for (const auto& v : e->results) found += (found.empty() ? "" : ", ") + Show(v);
            d += "\n  results: expected " + r.dump() + ", found [" + found + "]";
        }
    }
    if (a.Has("failed") && a.Flag("failed") != e->result.Failed())
        d += "\n  expected the call to " + std::string(a.Flag("failed") ? "fail" : "succeed") +
             (e->result.Failed() ? ", it failed with " + std::to_string(e->result.number) + ": " +
                                       e->result.description
                                 : ", it succeeded");
    return d.empty() ? d : e->name + ":" + d;
}

std::string LineGuid(Session& s, std::int32_t line) {
    // The host's copy first: a line appended and not yet saved is only there.
    if (auto rs = s.Host().doc->rstDocCorpo()) {
        auto clone = rs->Clone();
        if (!(clone->BOF() && clone->EOF_()))
            for (clone->MoveFirst(); !clone->EOF_(); clone->MoveNext())
                if (clone->Get("DO30_PROGRIGA").ToLong() == line)
                    return clone->Get("DO30_GUID").ToString();
    }
    auto q = s.Db().QueryRows(
        "SELECT DO30_GUID FROM DO30_DOCCORPO WHERE DO30_DITTA_CG18 = ? AND DO30_NUMREG_CO99 = ? "
        "AND DO30_PROGRIGA = ?",
        {Variant::Int32(s.Setup().ditta), Variant::Int32(s.Setup().numreg), Variant::Int32(line)});
    return q.rows.empty() ? std::string() : q.rows[0][0].ToString();
}

std::string CheckLineState(Session& s, const StepArgs& a) {
    const std::int32_t line = a.Int("line");
    const Json& state = a.Raw("state");
    if (!state.is_null() && !state.is_number_integer())
        throw ScenarioError("\"state\" must be a state id or null");
    const std::string guid = LineGuid(s, line);
    if (guid.empty()) return "the document has no line " + std::to_string(line);
    const auto actual = s.Host().db->FlowState(guid, a.Int("flow", s.Setup().flussoRighe));
    const bool same = state.is_null() ? !actual : actual && *actual == state.get<std::int32_t>();
    if (same) return {};
    return "line " + std::to_string(line) + " state: expected " + state.dump() + ", found " +
           (actual ? std::to_string(*actual) : std::string("none"));
}

std::string CheckProgressives(Session& s, const StepArgs&) {
    std::string d;
    for (const auto& p : sim::CompareProgressives(s.Db()))
        d += "\n  " + p.table + " " + p.key + ": qta1 " + Json(p.storedQta1).dump() + " stored, " +
             Json(p.expectedQta1).dump() + " open; value " + Json(p.storedValue).dump() +
             " stored, " + Json(p.expectedValue).dump() + " open";
    return d.empty() ? d : "progressives differ from the open quantities:" + d;
}

std::string CheckConsistent(Session& s, const StepArgs&) {
    std::string d;
    for (const auto& f : CheckDatabase(s.Db(), s.Setup().numreg)) d += "\n  " + FormatFinding(f);
    return d.empty() ? d : "the consistency check found:" + d;
}

std::string CheckEvents(Session& s, const StepArgs& a) {
    const auto events = s.Events();
    std::vector<std::string> raised;
    for (std::size_t i = std::min(s.eventsChecked, events.size()); i < events.size(); ++i)
        raised.push_back(events[i].name);
    s.eventsChecked = events.size();
    const Json& expected = a.Raw("names");
    if (expected == Json(raised)) return {};
    return "expected events " + expected.dump() + "\nraised          " + Json(raised).dump();
}

std::string CheckSaves(Session& s, const StepArgs& a) {
    const int n = s.Saves();
    if (n == a.Int("count")) return {};
    return "expected the document written " + std::to_string(a.Int("count")) +
           " times, it was written " + std::to_string(n) + " times";
}

std::string CheckLookup(Session& s, const StepArgs& a) {
    if (!s.lastLookup) return "no look-up was opened";
    const auto& l = *s.lastLookup;
    std::string d;
    if (a.Has("handled") && a.Flag("handled") != l.handled)
        d += std::string("\n  handled: expected ") + (l.handled ? "false" : "true");
    const struct {
        const char* key;
        const std::string& actual;
    } texts[] = {{"title", l.titolo}, {"sql", l.sql}, {"paramInit", l.paramInit}};
    for (const auto& t : texts)
        if (a.Has(t.key) && a.Text(t.key) != t.actual)
            d += std::string("\n  ") + t.key + ": expected " + Quote(a.Text(t.key)) + ", found " +
                 Quote(t.actual);
    if (a.Has("rows") || a.Has("where") || a.Has("values")) {
        RowSet set{"the look-up", {}, {}};
        if (l.rows) {
            auto& rs = *l.rows;
            for (std::int32_t i = 0; i < rs.FieldCount(); ++i)
                set.columns.push_back(rs.FieldAt(i)->Name());
            if (!(rs.BOF() && rs.EOF_()))
                for (rs.MoveFirst(); !rs.EOF_(); rs.MoveNext()) {
                    std::vector<Variant> row;
                    for (std::int32_t i = 0; i < rs.FieldCount(); ++i)
                        row.push_back(rs.FieldAt(i)->Value());
                    set.rows.push_back(std::move(row));
                }
        }
        if (a.Has("rows") && set.rows.size() != static_cast<std::size_t>(a.Int("rows")))
            d += "\n  rows: expected " + std::to_string(a.Int("rows")) + ", found " +
                 std::to_string(set.rows.size());
        else if (a.Has("where") || a.Has("values"))
            if (auto r = CheckRows(set, a); !r.empty()) d += "\n  " + r;
    }
    return d.empty() ? d : "look-up:" + d;
}

std::string CheckLaunched(Session& s, const StepArgs& a) {
    Json launched = Json::array();
    for (const auto& p : s.Host().ambiente->Launched()) launched.push_back(p.progId.ToString());
    if (launched == a.Raw("programs")) return {};
    return "expected programs " + a.Raw("programs").dump() + "\nlaunched          " +
           launched.dump();
}

}  // namespace

const std::vector<ExpectationDef>& Expectations() {
    static const std::vector<ExpectationDef> expectations{
        {"messages", {{"messages", A::Array, true}}, CheckMessages},
        {"rows",
         {{"table", A::Text, true},
          {"where", A::Object},
          {"values", A::Object},
          {"count", A::Integer}},
         CheckTable},
        {"recordset",
         {{"recordset", A::Text, true},
          {"where", A::Object},
          {"values", A::Object},
          {"count", A::Integer}},
         CheckRecordset},
        {"control",
         {{"form", A::Form, true},
          {"control", A::Text, true},
          {"exists", A::Flag},
          {"text", A::Text},
          {"enabled", A::Flag},
          {"visible", A::Flag},
          {"changed", A::Flag},
          {"valid", A::Flag}},
         CheckControl},
        {"result", {{"event", A::Text}, {"results", A::Array}, {"failed", A::Flag}}, CheckResult},
        {"lineState",
         {{"line", A::Integer, true}, {"state", A::Value, true}, {"flow", A::Integer}},
         CheckLineState},
        {"progressivesConsistent", {}, CheckProgressives},
        {"consistent", {}, CheckConsistent},
        {"events", {{"names", A::Array, true}}, CheckEvents},
        {"saves", {{"count", A::Integer, true}}, CheckSaves},
        {"launched", {{"programs", A::Array, true}}, CheckLaunched},
        {"link",
         {{"line", A::Integer, true},
          {"master", A::Integer, true},
          {"in", A::Text},
          {"linked", A::Flag}},
         CheckLink},
        {"busyIndicator", {{"value", A::Integer, true}}, CheckBusyIndicator},
        {"asBefore", {{"step", A::Integer, true}}, CheckAsBefore},
        {"sound", {}, CheckSound},
        {"calls", {{"calls", A::Array, true}, {"only", A::Texts}}, CheckCalls},
        {"lookup",
         {{"handled", A::Flag},
          {"title", A::Text},
          {"sql", A::Text},
          {"paramInit", A::Text},
          {"rows", A::Integer},
          {"where", A::Object},
          {"values", A::Object}},
         CheckLookup},
        {"sizeGrid", kSizeGridArgs, CheckSizeGrid},
        {"gridPosting", kGridPostingArgs, CheckGridPosting},
    };
    return expectations;
}

std::string CheckRowSet(const std::string& source, const std::vector<std::string>& columns,
                        const std::vector<std::vector<Variant>>& rows, const StepArgs& a) {
    return CheckRows(RowSet{source, columns, rows}, a);
}

}  // namespace zq::tool
