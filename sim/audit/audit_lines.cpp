#include "sim/audit/audit_lines.h"

#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "sim/db/progressives.h"

namespace zq::sim::audit {

namespace {

std::string Text(const Variant& v) {
    return v.IsNull() || v.IsEmpty() ? std::string() : v.ToString();
}

// A stored quantity judged: texts and non-finite or negative numbers are no quantity. NaN
// never reaches here as such (SQLite stores it as Null), but a text column value can.
Quantity QuantityOf(const Variant& v) {
    Quantity q;
    if (v.IsNull() || v.IsEmpty()) return q;
    if (v.IsString()) {
        q.invalid = "the text \"" + v.RawString() + "\", not a number";
        return q;
    }
    const double d = v.ToDouble();
    q.value = d;
    if (std::isnan(d)) {
        q.invalid = "not a number";
    } else if (std::isinf(d)) {
        q.invalid = d > 0 ? "infinite" : "minus infinite";
    } else if (d < 0) {
        q.invalid = Num(d) + ", below zero";
    }
    return q;
}

std::optional<double> FlagOf(const Variant& v) {
    if (v.IsNull() || v.IsEmpty() || v.IsString()) return std::nullopt;
    return v.ToDouble();
}

bool Same(double a, double b) {
    return std::fabs(a - b) <= kQuantityTolerance;
}

}  // namespace

std::string Num(double d) {
    std::ostringstream s;
    s.precision(15);
    s << d;
    return s.str();
}

std::vector<Line> LinesOf(SqliteConnection& conn, const DocumentFacts& doc) {
    // The flow-state store keys a line by its GUID without braces, in any case.
    const std::string storeGuid = "REPLACE(REPLACE(DO30_GUID, '{', ''), '}', '')";
    auto r = conn.QueryRows(
        "SELECT DO30_PROGRIGA, DO30_GUID, DO30_QTA1, DO30_QTA2, DO30_PROGPADRE, "
        "DO31_PROGRIGA AS HAS31, DO31_FLGNONPIUEV, DO77_PROGRIGA AS HAS77, DO77_ZQ_QTA_ORIG, "
        "DO77_ZQ_QTA_ANNULLO, DO77_ZQGUID_MASTER_DO30, DO77_ZQGUID_DETAIL_DO30, "
        "(SELECT GROUP_CONCAT(IFNULL(CO4D_IDSTATO_CO4C, 'Null'), ', ') FROM CO4D_STATIOGGETTI "
        "WHERE CO4D_GUID = " +
            storeGuid +
            ") AS STATES, "
            "EXISTS (SELECT 1 FROM CO4D_STATIOGGETTI WHERE CO4D_GUID = " +
            storeGuid +
            " AND CO4D_IDSTATO_CO4C = ?3) AS CANCELLED "
            "FROM DO30_DOCCORPO "
            "LEFT JOIN DO31_DOCCORPOORD ON DO31_DITTA_CG18 = DO30_DITTA_CG18 AND "
            "DO31_NUMREG_CO99 = DO30_NUMREG_CO99 AND DO31_PROGRIGA = DO30_PROGRIGA "
            "LEFT JOIN DO77_DOCCORPOVERT ON DO77_DITTA_CG18 = DO30_DITTA_CG18 AND "
            "DO77_NUMREG_CO99 = DO30_NUMREG_CO99 AND DO77_PROGRIGA = DO30_PROGRIGA "
            "WHERE DO30_DITTA_CG18 = ?1 AND DO30_NUMREG_CO99 = ?2 ORDER BY DO30_PROGRIGA",
        {Variant::Int32(doc.ditta), Variant::Int32(doc.numreg),
         doc.statoAnnulloRighe ? Variant::Int32(*doc.statoAnnulloRighe) : Variant::Null()});
    std::vector<Line> out;
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        Line l;
        l.progRiga = r.At(i, "DO30_PROGRIGA").ToLong();
        l.guid = NormalizeGuid(Text(r.At(i, "DO30_GUID")));
        l.qta1 = QuantityOf(r.At(i, "DO30_QTA1"));
        l.qta2 = QuantityOf(r.At(i, "DO30_QTA2"));
        l.progPadre = Text(r.At(i, "DO30_PROGPADRE"));
        l.hasOrd = !r.At(i, "HAS31").IsNull();
        l.flag = FlagOf(r.At(i, "DO31_FLGNONPIUEV"));
        l.hasVert = !r.At(i, "HAS77").IsNull();
        l.qtaOrig = QuantityOf(r.At(i, "DO77_ZQ_QTA_ORIG"));
        l.qtaAnnullo = QuantityOf(r.At(i, "DO77_ZQ_QTA_ANNULLO"));
        l.master = NormalizeGuid(Text(r.At(i, "DO77_ZQGUID_MASTER_DO30")));
        l.detail = NormalizeGuid(Text(r.At(i, "DO77_ZQGUID_DETAIL_DO30")));
        l.states = Text(r.At(i, "STATES"));
        l.inCancelledState = r.At(i, "CANCELLED").ToLong() != 0;
        out.push_back(std::move(l));
    }
    return out;
}

namespace {

using Adder = std::function<void(const Line&, const char*, std::string)>;

// Quantities no order line may hold, and a cancelled quantity above the line's start.
void CheckQuantities(const std::vector<Line>& lines, const Adder& add) {
    for (const auto& l : lines) {
        if (!l.hasOrd && !l.hasVert) continue;  // not an order line
        const std::pair<const char*, const Quantity*> columns[] = {
            {"DO30_QTA1", &l.qta1},
            {"DO30_QTA2", &l.qta2},
            {"DO77_ZQ_QTA_ORIG", &l.qtaOrig},
            {"DO77_ZQ_QTA_ANNULLO", &l.qtaAnnullo}};
        for (const auto& [name, q] : columns)
            if (!q->invalid.empty()) add(l, "qta-invalid", std::string(name) + " is " + q->invalid);
        if (!l.hasVert || !l.QuantitiesValid()) continue;
        const double start = l.qtaOrig.Or0() != 0 ? l.qtaOrig.Or0() : l.qta1.Or0();
        if (l.qtaAnnullo.Or0() > start + kQuantityTolerance)
            add(l, "qta-annullo",
                "DO77_ZQ_QTA_ANNULLO " + Num(l.qtaAnnullo.Or0()) +
                    " is above the starting quantity " + Num(start));
    }
}

// A master and its cancellation lines: links back, and the pair's quantity conserved in
// the DO77_ZQ_QTA_ORIG of every line of it.
void CheckPair(const Line& master, const std::vector<const Line*>& cancellations,
               const Adder& add) {
    if (master.master != master.guid || master.detail != master.guid)
        add(master, "link-master-back",
            "the master's DO77_ZQGUID_MASTER_DO30 '" + master.master +
                "' and DO77_ZQGUID_DETAIL_DO30 '" + master.detail +
                "' are not both its own GUID '" + master.guid + "'");
    if (!master.QuantitiesValid()) return;
    double cancelled = 0;
    for (const Line* c : cancellations) {
        if (!c->QuantitiesValid()) return;
        cancelled += c->qta1.Or0();
    }
    const double total = master.qta1.Or0() + cancelled;
    const std::string sum = "DO30_QTA1 " + Num(master.qta1.Or0()) + " plus the cancelled " +
                            Num(cancelled) + " (" + Num(total) + ")";
    if (!Same(master.qtaOrig.Or0(), total))
        add(master, "qta-orig",
            "DO77_ZQ_QTA_ORIG " + Num(master.qtaOrig.Or0()) + " differs from " + sum);
    for (const Line* c : cancellations)
        if (!Same(c->qtaOrig.Or0(), total))
            add(*c, "qta-orig",
                "DO77_ZQ_QTA_ORIG " + Num(c->qtaOrig.Or0()) + " differs from its master's " + sum);
}

// All cancellation lines of a document share one group; the group most of them are in is
// taken as the document's and the others are reported.
void CheckGroups(const std::map<std::string, std::vector<const Line*>>& groups, const Adder& add) {
    if (groups.size() < 2) return;
    auto main = groups.begin();
    for (auto it = groups.begin(); it != groups.end(); ++it)
        if (it->second.size() > main->second.size()) main = it;
    auto name = [](const std::string& g) { return g.empty() ? std::string("Null") : g; };
    for (const auto& [group, members] : groups) {
        if (group == main->first) continue;
        for (const Line* l : members)
            add(*l, "cancellation-group",
                "DO30_PROGPADRE " + name(group) +
                    ", the document's other cancellation lines are in group " + name(main->first));
    }
}

}  // namespace

void CheckPairs(const std::vector<Line>& lines, std::int32_t numreg, std::vector<Finding>& out) {
    const Adder add = [&](const Line& l, const char* rule, std::string detail) {
        out.push_back({numreg, l.progRiga, rule, std::move(detail)});
    };
    CheckQuantities(lines, add);
    std::map<std::string, const Line*> byGuid;
    for (const auto& l : lines) byGuid[l.guid] = &l;

    std::map<const Line*, std::vector<const Line*>> cancellationsOf;
    std::map<std::string, std::vector<const Line*>> groups;  // DO30_PROGPADRE -> lines
    for (const auto& l : lines) {
        if (!l.IsCancellation()) continue;
        if (l.detail != l.guid)
            add(l, "link-detail",
                "DO77_ZQGUID_DETAIL_DO30 '" + l.detail + "' is not the line's own GUID '" + l.guid +
                    "'");
        auto m = byGuid.find(l.master);
        // A cancellation line the size grid made stays in its master's size family; it is
        // no member of the document's cancellation group.
        const bool inFamiglia = m != byGuid.end() && !l.progPadre.empty() &&
                                m->second->progPadre == l.progPadre;
        if (!inFamiglia) groups[l.progPadre].push_back(&l);
        if (m == byGuid.end()) {
            add(l, "link-master-missing",
                "DO77_ZQGUID_MASTER_DO30 '" + l.master + "' names no line of the document");
            continue;
        }
        cancellationsOf[m->second].push_back(&l);
    }
    for (const auto& [master, cancellations] : cancellationsOf)
        CheckPair(*master, cancellations, add);
    // Links left behind on a line no cancellation line names (those are judged above).
    for (const auto& l : lines) {
        if (cancellationsOf.count(&l)) continue;
        if (l.ClaimsMaster())
            add(l, "link-cancellation-missing",
                "the line is linked as a master (its own GUID in DO77_ZQGUID_MASTER_DO30) but "
                "no cancellation line names it; DO30_QTA1 " +
                    Num(l.qta1.Or0()) + ", DO77_ZQ_QTA_ORIG " + Num(l.qtaOrig.Or0()));
        else if (l.master.empty() && !l.detail.empty())
            add(l, "link-master-null",
                "DO77_ZQGUID_DETAIL_DO30 is '" + l.detail +
                    "' but DO77_ZQGUID_MASTER_DO30 is Null");
    }
    CheckGroups(groups, add);
}

void CheckFlagsAndStates(const std::vector<Line>& lines, const DocumentFacts& doc,
                         std::vector<Finding>& out) {
    auto add = [&](const Line& l, const char* rule, std::string detail) {
        out.push_back({doc.numreg, l.progRiga, rule, std::move(detail)});
    };
    auto flagText = [](const Line& l) {
        return l.hasOrd ? "DO31_FLGNONPIUEV is " + (l.flag ? Num(*l.flag) : std::string("Null"))
                        : std::string("the line has no DO31 row");
    };
    auto stateText = [&](const Line& l) {
        return l.states.empty() ? std::string("the line has no state in the flow-state store")
                                : "the line is in state " + l.states + ", not " +
                                      std::to_string(*doc.statoAnnulloRighe);
    };
    for (const auto& l : lines) {
        if (l.IsCancellation()) {
            if (!l.Flagged()) add(l, "cancellation-flag", flagText(l) + ", not 1");
            if (doc.statoAnnulloRighe && !l.inCancelledState)
                add(l, "cancellation-state", "a cancellation line: " + stateText(l));
            continue;
        }
        if (!doc.statoAnnulloRighe) continue;  // no cancelled line state to hold to
        if (l.inCancelledState && !l.Flagged())
            add(l, "line-flag", "the line is in the cancelled state but " + flagText(l));
        // Cancelling the whole order flags the lines of a line group and leaves their state.
        if (l.Flagged() && !l.inCancelledState && !doc.headerCancelled)
            add(l, "line-state", "DO31_FLGNONPIUEV is 1 but " + stateText(l));
    }
}

}  // namespace zq::sim::audit
