#include "tools/host_checks.h"

#include <map>

#include "sim/host/sim_riga_corpo.h"

namespace zq::tool {

namespace {

std::string TextOf(const Variant& v) {
    return v.IsNull() || v.IsEmpty() ? std::string() : v.ToString();
}

std::string Bare(std::string guid) {
    std::string out;
    for (char c : guid)
        if (c != '{' && c != '}') out += c;
    return out;
}

}  // namespace

std::map<std::int32_t, LinkRow> LinksInDatabase(Session& s) {
    auto q = s.Db().QueryRows(
        "SELECT DO30_PROGRIGA, DO30_GUID, DO77_ZQGUID_MASTER_DO30, DO77_ZQGUID_DETAIL_DO30 "
        "FROM DO30_DOCCORPO LEFT JOIN DO77_DOCCORPOVERT ON DO77_DITTA_CG18 = DO30_DITTA_CG18 "
        "AND DO77_NUMREG_CO99 = DO30_NUMREG_CO99 AND DO77_PROGRIGA = DO30_PROGRIGA "
        "WHERE DO30_DITTA_CG18 = ? AND DO30_NUMREG_CO99 = ?",
        {Variant::Int32(s.Setup().ditta), Variant::Int32(s.Setup().numreg)});
    std::map<std::int32_t, LinkRow> out;
    for (const auto& r : q.rows) out[r[0].ToLong()] = {TextOf(r[1]), TextOf(r[2]), TextOf(r[3])};
    return out;
}

// Every row of a host recordset whatever its filter; the row it stands on as the host
// sees it, pending edits included.
template <class Each>
void EveryRow(const ado::RecordsetPtr& rs, Each each) {
    if (!rs) return;
    auto clone = rs->Clone();
    const bool onRow = !rs->BOF() && !rs->EOF_();
    const Variant current = onRow ? rs->Bookmark() : Variant();
    if (clone->BOF() && clone->EOF_()) return;
    for (clone->MoveFirst(); !clone->EOF_(); clone->MoveNext())
        each(onRow && clone->Bookmark().SameAs(current) ? *rs : *clone);
}

std::map<std::int32_t, LinkRow> LinksInHost(Session& s) {
    std::map<std::int32_t, LinkRow> out;
    const auto& doc = *s.Host().doc;
    EveryRow(doc.rstDocCorpo(), [&](ado::Recordset& r) {
        out[r.Get("DO30_PROGRIGA").ToLong()].guid = TextOf(r.Get("DO30_GUID"));
    });
    EveryRow(doc.rstDocCorpoVert(), [&](ado::Recordset& r) {
        auto it = out.find(r.Get("DO77_PROGRIGA").ToLong());
        if (it == out.end()) return;
        it->second.master = TextOf(r.Get("DO77_ZQGUID_MASTER_DO30"));
        it->second.detail = TextOf(r.Get("DO77_ZQGUID_DETAIL_DO30"));
    });
    return out;
}

namespace {

std::string Shown(const LinkRow& r) {
    return "DO30_GUID " + Quote(r.guid) + ", DO77_ZQGUID_MASTER_DO30 " + Quote(r.master) +
           ", DO77_ZQGUID_DETAIL_DO30 " + Quote(r.detail);
}

}  // namespace

std::string CheckLink(Session& s, const StepArgs& a) {
    const std::string in = a.Text("in", "database");
    if (in != "database" && in != "host")
        throw ScenarioError("\"in\" must be \"database\" or \"host\", not " + Quote(in));
    const auto rows = in == "host" ? LinksInHost(s) : LinksInDatabase(s);
    const std::int32_t line = a.Int("line"), master = a.Int("master");
    const auto p = rows.find(line), m = rows.find(master);
    if (p == rows.end()) return "the " + in + " has no line " + std::to_string(line);
    if (m == rows.end()) return "the " + in + " has no line " + std::to_string(master);
    const std::string mg = Bare(m->second.guid);
    const bool names = p->second.master == mg && !mg.empty();
    if (!a.Flag("linked", true))
        return names ? "line " + std::to_string(line) + " still names line " +
                           std::to_string(master) + " as its master: " + Shown(p->second)
                     : std::string();
    std::string d;
    if (!names || p->second.detail != Bare(p->second.guid))
        d += "\n  line " + std::to_string(line) + ": " + Shown(p->second);
    if (m->second.master != mg || m->second.detail != mg)
        d += "\n  master " + std::to_string(master) + ": " + Shown(m->second);
    return d.empty() ? d
                     : "line " + std::to_string(line) + " is not the cancellation line of line " +
                           std::to_string(master) + " in the " + in + ":" + d;
}

std::string CheckBusyIndicator(Session& s, const StepArgs& a) {
    const std::int16_t actual = s.Host().doc->DocUI()->IndicatoreAttesa();
    if (actual == a.Int("value")) return {};
    return "IndicatoreAttesa: expected " + std::to_string(a.Int("value")) + ", found " +
           std::to_string(actual);
}

std::string CheckCalls(Session& s, const StepArgs& a) {
    const auto& all = s.Host().log->Calls();
    std::vector<const sim::HostCall*> made;
    for (std::size_t i = std::min(s.callsChecked, all.size()); i < all.size(); ++i) {
        bool kept = !a.Has("only");
        if (!kept)
            for (const auto& o : a.Raw("only")) {
                // "object." keeps every member of the object; a full name keeps that member.
                const std::string name = o.get<std::string>();
                kept =
                    kept || (!name.empty() && name.back() == '.' ? all[i].member.rfind(name, 0) == 0
                                                                 : all[i].member == name);
            }
        if (kept) made.push_back(&all[i]);
    }
    s.callsChecked = all.size();

    const Json& expected = a.Raw("calls");
    bool same = expected.size() == made.size();
    for (std::size_t i = 0; same && i < made.size(); ++i) {
        const Json& e = expected[i];
        if (e.is_string()) {
            same = e == made[i]->member;
            continue;
        }
        if (!e.is_object() || !e.contains("call") || !e["call"].is_string())
            throw ScenarioError("each expected call is a member name or {\"call\", \"args\"}");
        same = e["call"] == made[i]->member;
        if (same && e.contains("args")) {
            const Json& args = e["args"];
            same = args.is_array() && args.size() == made[i]->args.size();
            for (std::size_t k = 0; same && k < args.size(); ++k)
                same = Matches(args[k], made[i]->args[k]);
        }
    }
    if (same) return {};
    std::string d = "expected calls " + expected.dump() + "\nmade:";
    if (made.empty()) d += " none";
    for (const auto* c : made) {
        std::string args;
        for (const auto& v : c->args) args += (args.empty() ? "" : ", ") + Show(v);
        d += "\n  " + c->member + "(" + args + ")";
    }
    return d;
}

std::string CheckAsBefore(Session& s, const StepArgs& a) {
    const auto it = s.orderBefore.find(static_cast<std::size_t>(a.Int("step")));
    if (it == s.orderBefore.end())
        throw ScenarioError("no order was noted before step " + std::to_string(a.Int("step")));
    const std::string d = sim::OrderDifferences(it->second, s.OrderNow());
    return d.empty() ? d
                     : "the order is not as it was before step " + std::to_string(a.Int("step")) +
                           ":\n" + d;
}

}  // namespace zq::tool
