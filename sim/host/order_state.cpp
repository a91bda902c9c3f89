#include "sim/host/order_state.h"

#include <cmath>
#include <set>
#include <sstream>

#include "sim/db/progressives.h"

namespace zq::sim {

namespace {

constexpr const char* kPrefixes[] = {"DO11", "DO18", "DO76", "DO30", "DO31", "DO77"};
constexpr const char* kTables[] = {"DO11_DOCTESTATA", "DO18_DOCTESORD",   "DO76_DOCTESTAVERT",
                                   "DO30_DOCCORPO",   "DO31_DOCCORPOORD", "DO77_DOCCORPOVERT"};

bool IsLine(const std::string& prefix) {
    return prefix == "DO30" || prefix == "DO31" || prefix == "DO77";
}

std::string Text(const Variant& v) {
    if (v.IsNull() || v.IsEmpty()) return "null";
    return v.ToString();
}

// "DO30 line 3"; "DO11" for the header's one row. A second row under the same key (which
// no sound order has) keeps its own entry.
void Put(std::map<std::string, OrderState::Row>& rows, const std::string& prefix,
         OrderState::Row row) {
    std::string key = prefix;
    if (IsLine(prefix)) key += " line " + Text(row[prefix + "_PROGRIGA"]);
    std::string unique = key;
    for (int n = 2; rows.count(unique); ++n) unique = key + " (" + std::to_string(n) + ")";
    rows[unique] = std::move(row);
}

void ReadSection(const ado::RecordsetPtr& rs, const std::string& prefix,
                 std::map<std::string, OrderState::Row>& out) {
    if (!rs || rs->State() != ado::adStateOpen) return;
    const ado::RecordsetPtr c = rs->Clone();
    if (c->BOF() && c->EOF_()) return;
    // The recordset the host shows from may hold an edit it has not updated yet: its
    // current row is read through it.
    Variant edited;
    if (!rs->BOF() && !rs->EOF_() && rs->EditMode() == ado::adEditInProgress)
        edited = rs->Bookmark();
    for (c->MoveFirst(); !c->EOF_(); c->MoveNext()) {
        const ado::Recordset& from = !edited.IsEmpty() && c->Bookmark().SameAs(edited) ? *rs : *c;
        OrderState::Row row;
        for (std::int32_t i = 0; i < from.FieldCount(); ++i)
            row[from.FieldAt(i)->Name()] = from.FieldAt(i)->Value();
        Put(out, prefix, std::move(row));
    }
}

bool SameValue(const Variant& a, const Variant& b) {
    const bool an = a.IsNull() || a.IsEmpty(), bn = b.IsNull() || b.IsEmpty();
    if (an || bn) return an == bn;
    if (a.IsNumeric() && b.IsNumeric()) {
        const double x = a.ToDouble(), y = b.ToDouble();
        return std::fabs(x - y) <= 1e-9 * std::max(1.0, std::fabs(x));
    }
    return a.ToString() == b.ToString();
}

void CompareRows(const char* what, const std::map<std::string, OrderState::Row>& expected,
                 const std::map<std::string, OrderState::Row>& actual, bool zeroIfMissing,
                 std::vector<std::string>& out) {
    std::set<std::string> keys;
    for (const auto& [k, r] : expected) keys.insert(k);
    for (const auto& [k, r] : actual) keys.insert(k);
    for (const std::string& k : keys) {
        const auto e = expected.find(k), a = actual.find(k);
        if ((e == expected.end() || a == actual.end()) && !zeroIfMissing) {
            out.push_back(std::string(what) + ": " + k +
                          (e == expected.end() ? " was not there" : " is gone"));
            continue;
        }
        static const OrderState::Row none;
        const OrderState::Row& er = e == expected.end() ? none : e->second;
        const OrderState::Row& ar = a == actual.end() ? none : a->second;
        std::set<std::string> fields;
        for (const auto& [f, v] : er) fields.insert(f);
        for (const auto& [f, v] : ar) fields.insert(f);
        for (const std::string& f : fields) {
            const auto ef = er.find(f), af = ar.find(f);
            const Variant ev = ef == er.end() ? Variant::Int32(0) : ef->second;
            const Variant av = af == ar.end() ? Variant::Int32(0) : af->second;
            if (!SameValue(ev, av))
                out.push_back(std::string(what) + ": " + k + " " + f + " was " + Text(ev) +
                              ", is " + Text(av));
        }
    }
}

}  // namespace

OrderState TakeOrderState(const SimRegDoc& doc, SqliteConnection& conn, std::int32_t flussoRighe,
                          std::int32_t statoIniziale) {
    OrderState s;
    const ado::RecordsetPtr sections[] = {doc.rstDocTestata(),   doc.rstDocTestaOrd(),
                                          doc.rstDocTestaVert(), doc.rstDocCorpo(),
                                          doc.rstDocCorpoOrd(),  doc.rstDocCorpoVert()};
    const Variant ditta = doc.Key().ditta;
    const Variant numreg(doc.Key().numreg);
    for (std::size_t i = 0; i < std::size(kPrefixes); ++i) {
        const std::string p = kPrefixes[i];
        ReadSection(sections[i], p, s.memory);
        const QueryResult q =
            conn.QueryRows("SELECT * FROM " + std::string(kTables[i]) + " WHERE " + p +
                               "_DITTA_CG18 = ? AND " + p + "_NUMREG_CO99 = ?",
                           {ditta, numreg});
        for (const auto& r : q.rows) {
            OrderState::Row row;
            for (std::size_t c = 0; c < q.fields.size(); ++c) row[q.fields[c].name] = r[c];
            Put(s.database, p, std::move(row));
        }
    }
    for (const auto* rows : {&s.memory, &s.database}) {
        for (const auto& [key, row] : *rows) {
            if (key.rfind("DO30 ", 0) != 0) continue;
            const auto g = row.find("DO30_GUID");
            if (g == row.end() || g->second.IsNull() || g->second.IsEmpty()) continue;
            s.flowStates["line " + Text(row.at("DO30_PROGRIGA"))] =
                ReadFlowState(conn, g->second.ToString(), flussoRighe).value_or(statoIniziale);
        }
    }
    for (const char* table : {"MG70_PROGMAG", "MG71_PROGLOTTI"}) {
        const std::string p = std::string(table).substr(0, 4);
        const QueryResult q = conn.QueryRows("SELECT * FROM " + std::string(table));
        for (const auto& r : q.rows) {
            std::string key = p;
            OrderState::Row amounts;
            for (std::size_t c = 0; c < q.fields.size(); ++c) {
                const std::string& f = q.fields[c].name;
                if (f.find("QTA") != std::string::npos || f.find("VAL") != std::string::npos) {
                    amounts[f] = r[c];
                } else {
                    key += " " + Text(r[c]);
                }
            }
            s.progressives[key] = std::move(amounts);
        }
    }
    return s;
}

std::string OrderDifferences(const OrderState& expected, const OrderState& actual,
                             std::size_t max) {
    std::vector<std::string> diff;
    CompareRows("in memory", expected.memory, actual.memory, false, diff);
    CompareRows("in the database", expected.database, actual.database, false, diff);
    for (const auto& [line, state] : expected.flowStates) {
        const auto it = actual.flowStates.find(line);
        if (it != actual.flowStates.end() && it->second != state)
            diff.push_back("flow state of " + line + " was " +
                           (state ? std::to_string(*state) : "none") + ", is " +
                           (it->second ? std::to_string(*it->second) : "none"));
    }
    CompareRows("progressives", expected.progressives, actual.progressives, true, diff);
    std::ostringstream out;
    for (std::size_t i = 0; i < diff.size() && i < max; ++i) out << diff[i] << "\n";
    if (diff.size() > max) out << "... and " << diff.size() - max << " more\n";
    return out.str();
}

}  // namespace zq::sim
