#include "tools/random_invariants.h"

#include "host/screen.h"
#include "sim/audit/audit.h"
#include "sim/db/progressives.h"
#include "tools/host_checks.h"

namespace zq::tool {

namespace {

std::string Bare(const std::string& guid) {
    std::string out;
    for (char c : guid)
        if (c != '{' && c != '}') out += c;
    return out;
}

std::string Line(std::int32_t n) {
    return "line " + std::to_string(n);
}

// One line's link columns against the lines they name.
std::string PairOf(std::int32_t n, const LinkRow& r, const std::map<std::string, LinkRow>& byGuid,
                   const std::map<std::string, int>& namedAsMaster) {
    const std::string own = Bare(r.guid);
    if (r.master.empty())
        return r.detail.empty() ? std::string()
                                : Line(n) + " names a cancellation line but no master";
    if (r.detail != own) return Line(n) + " names " + r.detail + " as its cancellation line";
    if (r.master == own)
        return namedAsMaster.count(own) ? std::string()
                                        : Line(n) + " is a master no cancellation line names";
    const auto m = byGuid.find(r.master);
    if (m == byGuid.end()) return Line(n) + " names a master the document does not have";
    if (m->second.master != r.master || m->second.detail != r.master)
        return Line(n) + " names a master that is not marked as one";
    return {};
}

}  // namespace

bool AlwaysSucceeds(const std::string& event) {
    for (const char* name : {"StatiCORPOChange", "StatiTESTATAChange", "GRIDRowChange", "OpenForm",
                             "FunzGenInit", "EndDeleteDocCorpo"})
        if (event == name) return true;
    return false;
}

std::string FailedEvents(Session& s, std::size_t from) {
    std::string out;
    const auto events = s.Events();
    for (std::size_t i = from; i < events.size(); ++i)
        if (AlwaysSucceeds(events[i].name) && events[i].result.Failed())
            out += (out.empty() ? "" : ", ") + events[i].name;
    return out.empty() ? out : "failed events that always succeed: " + out;
}

std::string LeftSuspended(Session& s) {
    sim::SimHost& h = s.Host();
    std::string out;
    if (h.doc->GridSuspendDepth() != 0) out += " the grid's refresh bracket is open;";
    if (h.window->docCorpo->LockCount() != 0) out += " the grid's repaint lock is taken;";
    if (!h.window->docCorpo->Redraw() || !h.window->docCorpoVert->Redraw())
        out += " a grid does not draw;";
    if (h.screen->MousePointer() != host::vbDefault)
        out += " the mouse pointer is " + std::to_string(h.screen->MousePointer()) + ";";
    return out.empty() ? out : "left behind:" + out;
}

std::string UnpairedLinks(Session& s) {
    const auto rows = LinksInHost(s);
    std::map<std::string, LinkRow> byGuid;
    std::map<std::string, int> namedAsMaster;
    for (const auto& [n, r] : rows) {
        byGuid[Bare(r.guid)] = r;
        if (!r.master.empty() && r.master != Bare(r.guid)) ++namedAsMaster[r.master];
    }
    std::string out;
    for (const auto& [n, r] : rows)
        if (std::string d = PairOf(n, r, byGuid, namedAsMaster); !d.empty())
            out += (out.empty() ? "" : "; ") + d;
    return out.empty() ? out : "links in memory: " + out;
}

std::string LinksNotSaved(Session& s) {
    const auto host = LinksInHost(s), db = LinksInDatabase(s);
    std::string out;
    for (const auto& [n, r] : host) {
        const auto d = db.find(n);
        if (d == db.end())
            out += " " + Line(n) + " is not in the database;";
        else if (!(d->second == r))
            out += " " + Line(n) + " links " + r.master + "/" + r.detail + " in memory, " +
                   d->second.master + "/" + d->second.detail + " in the database;";
    }
    for (const auto& [n, r] : db)
        if (!host.count(n)) out += " " + Line(n) + " is only in the database;";
    return out.empty() ? out : "after the save:" + out;
}

std::string AuditFindings(Session& s) {
    std::string out;
    for (const auto& f : sim::audit::CheckDatabase(s.Db(), s.Setup().numreg))
        out += "\n  " + sim::audit::FormatFinding(f);
    for (const auto& d : sim::CompareProgressives(s.Db()))
        out += "\n  progressive " + d.key + ": quantity " + std::to_string(d.storedQta1) +
               ", open " + std::to_string(d.expectedQta1);
    return out.empty() ? out : "the audit found:" + out;
}

std::string Unsound(Session& s, std::size_t from) {
    std::string out;
    for (const std::string& d : {FailedEvents(s, from), LeftSuspended(s), UnpairedLinks(s)})
        if (!d.empty()) out += (out.empty() ? "" : "\n") + d;
    return out;
}

std::string CheckSound(Session& s, const StepArgs&) {
    std::string out = Unsound(s, s.soundEvents);
    if (out.empty() && s.Saves() != s.soundSaves) {
        out = LinksNotSaved(s);
        if (out.empty()) out = AuditFindings(s);
    }
    s.soundEvents = s.Events().size();
    s.soundSaves = s.Saves();
    return out;
}

}  // namespace zq::tool
