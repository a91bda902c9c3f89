#include "tools/check.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "host/error.h"
#include "sim/db/progressives.h"
#include "tools/json_out.h"

namespace zq::tool {

namespace {

constexpr double kTolerance = 1e-6;

const char* const kTables[] = {
    "DO11_DOCTESTATA",   "DO18_DOCTESORD", "DO76_DOCTESTAVERT", "DO30_DOCCORPO", "DO31_DOCCORPOORD",
    "DO77_DOCCORPOVERT", "ZQ00_PARAMETRI", "CO4D_STATIOGGETTI", "MG70_PROGMAG",  "MG71_PROGLOTTI"};

std::string Num(double d) {
    std::ostringstream s;
    s.precision(15);
    s << d;
    return s.str();
}

std::string Text(const Variant& v) {
    return v.IsNull() || v.IsEmpty() ? std::string() : v.ToString();
}

double Dbl(const Variant& v) {
    return v.IsNull() || v.IsEmpty() ? 0.0 : v.ToDouble();
}

struct Line {
    std::int32_t progRiga = 0;
    std::string guid;  // normalised: no braces, upper case
    double qta1 = 0;
    Variant progPadre;
    bool hasOrd = false, hasVert = false;
    Variant flag;
    double qtaOrig = 0, qtaAnnullo = 0;
    std::string master, detail;  // normalised
    bool IsCancellation() const { return !master.empty() && master != guid; }
};

std::vector<Line> LinesOf(sim::SqliteConnection& conn, std::int32_t ditta, std::int32_t numreg) {
    auto r = conn.QueryRows(
        "SELECT DO30_PROGRIGA, DO30_GUID, DO30_QTA1, DO30_PROGPADRE, "
        "DO31_PROGRIGA AS HAS31, DO31_FLGNONPIUEV, DO77_PROGRIGA AS HAS77, DO77_ZQ_QTA_ORIG, "
        "DO77_ZQ_QTA_ANNULLO, DO77_ZQGUID_MASTER_DO30, DO77_ZQGUID_DETAIL_DO30 "
        "FROM DO30_DOCCORPO "
        "LEFT JOIN DO31_DOCCORPOORD ON DO31_DITTA_CG18 = DO30_DITTA_CG18 AND "
        "DO31_NUMREG_CO99 = DO30_NUMREG_CO99 AND DO31_PROGRIGA = DO30_PROGRIGA "
        "LEFT JOIN DO77_DOCCORPOVERT ON DO77_DITTA_CG18 = DO30_DITTA_CG18 AND "
        "DO77_NUMREG_CO99 = DO30_NUMREG_CO99 AND DO77_PROGRIGA = DO30_PROGRIGA "
        "WHERE DO30_DITTA_CG18 = ? AND DO30_NUMREG_CO99 = ? ORDER BY DO30_PROGRIGA",
        {Variant::Int32(ditta), Variant::Int32(numreg)});
    std::vector<Line> out;
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        Line l;
        l.progRiga = r.At(i, "DO30_PROGRIGA").ToLong();
        l.guid = sim::NormalizeGuid(Text(r.At(i, "DO30_GUID")));
        l.qta1 = Dbl(r.At(i, "DO30_QTA1"));
        l.progPadre = r.At(i, "DO30_PROGPADRE");
        l.hasOrd = !r.At(i, "HAS31").IsNull();
        l.flag = r.At(i, "DO31_FLGNONPIUEV");
        l.hasVert = !r.At(i, "HAS77").IsNull();
        l.qtaOrig = Dbl(r.At(i, "DO77_ZQ_QTA_ORIG"));
        l.qtaAnnullo = Dbl(r.At(i, "DO77_ZQ_QTA_ANNULLO"));
        l.master = sim::NormalizeGuid(Text(r.At(i, "DO77_ZQGUID_MASTER_DO30")));
        l.detail = sim::NormalizeGuid(Text(r.At(i, "DO77_ZQGUID_DETAIL_DO30")));
        out.push_back(std::move(l));
    }
    return out;
}

// Links, quantities, flags and the group of a document's partial cancellations.
void CheckLines(const std::vector<Line>& lines, std::int32_t numreg, std::vector<Finding>& out) {
    auto add = [&](std::int32_t prog, const char* rule, std::string detail) {
        out.push_back({numreg, prog, rule, std::move(detail)});
    };
    std::map<std::string, const Line*> byGuid;
    for (const auto& l : lines) byGuid[l.guid] = &l;

    std::map<const Line*, double> cancelledOf;  // master -> its cancellation lines' DO30_QTA1
    std::map<std::string, std::vector<std::int32_t>> groups;  // DO30_PROGPADRE -> lines
    for (const auto& l : lines) {
        if (l.hasVert && l.qtaAnnullo > (l.qtaOrig != 0 ? l.qtaOrig : l.qta1) + kTolerance)
            add(l.progRiga, "qta-annullo",
                "DO77_ZQ_QTA_ANNULLO " + Num(l.qtaAnnullo) + " is above the starting quantity " +
                    Num(l.qtaOrig != 0 ? l.qtaOrig : l.qta1));
        // A master's own links are judged with its cancellation lines, below.
        if (!l.IsCancellation()) continue;
        if (l.detail != l.guid)
            add(l.progRiga, "link-detail",
                "DO77_ZQGUID_DETAIL_DO30 '" + l.detail + "' is not the line's own GUID '" + l.guid +
                    "'");
        groups[Text(l.progPadre)].push_back(l.progRiga);
        if (!l.hasOrd || Dbl(l.flag) != 1)
            add(l.progRiga, "cancellation-flag",
                l.hasOrd ? "DO31_FLGNONPIUEV is " + Text(l.flag) + ", not 1"
                         : std::string("the cancellation line has no DO31 row"));
        auto m = byGuid.find(l.master);
        if (m == byGuid.end()) {
            add(l.progRiga, "link-master-missing",
                "DO77_ZQGUID_MASTER_DO30 '" + l.master + "' names no line of the document");
            continue;
        }
        cancelledOf[m->second] += l.qta1;
    }
    for (const auto& [master, cancelled] : cancelledOf) {
        if (master->master != master->guid || master->detail != master->guid)
            add(master->progRiga, "link-master-back",
                "the master's DO77_ZQGUID_MASTER_DO30 '" + master->master +
                    "' and DO77_ZQGUID_DETAIL_DO30 '" + master->detail +
                    "' are not both its own GUID '" + master->guid + "'");
        if (std::fabs(master->qtaOrig - (master->qta1 + cancelled)) > kTolerance)
            add(master->progRiga, "qta-orig",
                "DO77_ZQ_QTA_ORIG " + Num(master->qtaOrig) + " differs from DO30_QTA1 " +
                    Num(master->qta1) + " plus the cancelled " + Num(cancelled));
    }
    if (groups.size() > 1) {
        // The group most lines are in is taken as the document's; the others are reported.
        auto main = groups.begin();
        for (auto it = groups.begin(); it != groups.end(); ++it)
            if (it->second.size() > main->second.size()) main = it;
        for (const auto& [group, progs] : groups) {
            if (group == main->first) continue;
            for (auto prog : progs)
                add(prog, "cancellation-group",
                    "DO30_PROGPADRE " + (group.empty() ? std::string("Null") : group) +
                        ", the document's other cancellation lines are in group " +
                        (main->first.empty() ? std::string("Null") : main->first));
        }
    }
}

// A cancellation line stands in the company's cancelled line state in the flow-state store.
void CheckCancellationStates(sim::SqliteConnection& conn, std::int32_t ditta,
                             const std::vector<Line>& lines, std::int32_t numreg,
                             std::vector<Finding>& out) {
    auto p = conn.QueryRows(
        "SELECT ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C FROM ZQ00_PARAMETRI WHERE ZQ00_DITTA_CG18 = ?",
        {Variant::Int32(ditta)});
    if (p.rows.empty() || p.rows[0][0].IsNull()) return;  // no cancelled state to hold to
    const std::int32_t annullato = p.rows[0][0].ToLong();
    for (const auto& l : lines) {
        if (!l.IsCancellation()) continue;
        auto r = conn.QueryRows(
            "SELECT CO4D_IDSTATO_CO4C FROM CO4D_STATIOGGETTI "
            "WHERE CO4D_GUID = ? ORDER BY CO4D_IDFLUSSO_CO4B",
            {Variant(l.guid)});
        std::string states;
        bool cancelled = false;
        for (const auto& row : r.rows) {
            states += (states.empty() ? "" : ", ") + Text(row[0]);
            cancelled = cancelled || (!row[0].IsNull() && row[0].ToLong() == annullato);
        }
        if (!cancelled)
            out.push_back({numreg, l.progRiga, "cancellation-state",
                           states.empty()
                               ? "the cancellation line has no state in the flow-state store"
                               : "the cancellation line is in state " + states + ", not " +
                                     std::to_string(annullato)});
    }
}

void CheckHeader(sim::SqliteConnection& conn, std::int32_t ditta, std::int32_t numreg,
                 std::vector<Finding>& out) {
    auto r = conn.QueryRows(
        "SELECT DO18_NUMREG_CO99 AS HAS18, DO18_FLGNONPIUEV, DO76_CODCAU_ZQ63 "
        "FROM DO11_DOCTESTATA JOIN ZQ00_PARAMETRI ON ZQ00_DITTA_CG18 = DO11_DITTA_CG18 "
        "LEFT JOIN DO18_DOCTESORD ON DO18_DITTA_CG18 = DO11_DITTA_CG18 AND "
        "DO18_NUMREG_CO99 = DO11_NUMREG_CO99 "
        "LEFT JOIN DO76_DOCTESTAVERT ON DO76_DITTA_CG18 = DO11_DITTA_CG18 AND "
        "DO76_NUMREG_CO99 = DO11_NUMREG_CO99 "
        "WHERE DO11_DITTA_CG18 = ? AND DO11_NUMREG_CO99 = ? AND "
        "DO11_STATO = ZQ00_IDSTATO_ANNULLO_TESTA_CO4C",
        {Variant::Int32(ditta), Variant::Int32(numreg)});
    if (r.rows.empty()) return;
    if (r.At(0, "HAS18").IsNull() || Dbl(r.At(0, "DO18_FLGNONPIUEV")) != 1)
        out.push_back({numreg, 0, "header-flag",
                       "the order is cancelled but DO18_FLGNONPIUEV is " +
                           (r.At(0, "HAS18").IsNull() ? std::string("missing")
                                                      : Text(r.At(0, "DO18_FLGNONPIUEV")))});
    if (Text(r.At(0, "DO76_CODCAU_ZQ63")).empty())
        out.push_back(
            {numreg, 0, "header-reason", "the order is cancelled but DO76_CODCAU_ZQ63 is empty"});
}

// DO31 and DO77 rows whose DO30 line is gone.
void CheckOrphans(sim::SqliteConnection& conn, std::optional<std::int32_t> numreg,
                  std::vector<Finding>& out) {
    const struct {
        const char* table;
        const char* prefix;
        const char* rule;
    } kinds[] = {{"DO31_DOCCORPOORD", "DO31", "orphan-order-row"},
                 {"DO77_DOCCORPOVERT", "DO77", "orphan-extension-row"}};
    for (const auto& k : kinds) {
        const std::string p = k.prefix;
        std::string sql =
            "SELECT " + p + "_NUMREG_CO99, " + p + "_PROGRIGA FROM " + k.table +
            " WHERE NOT EXISTS (SELECT 1 FROM DO30_DOCCORPO WHERE DO30_DITTA_CG18 = " + p +
            "_DITTA_CG18 AND DO30_NUMREG_CO99 = " + p + "_NUMREG_CO99 AND DO30_PROGRIGA = " + p +
            "_PROGRIGA)";
        std::vector<Variant> binds;
        if (numreg) {
            sql += " AND " + p + "_NUMREG_CO99 = ?";
            binds.push_back(Variant::Int32(*numreg));
        }
        auto r = conn.QueryRows(sql + " ORDER BY 1, 2", binds);
        for (const auto& row : r.rows)
            out.push_back({row[0].ToLong(), row[1].ToLong(), k.rule,
                           std::string(k.table) + " row without its DO30 line"});
    }
}

void CheckProgressives(sim::SqliteConnection& conn, std::optional<std::int32_t> numreg,
                       std::vector<Finding>& out) {
    std::set<std::string> articles;
    if (numreg) {
        auto r = conn.QueryRows(
            "SELECT DISTINCT DO30_DITTA_CG18 || '/' || UPPER(DO30_CODART_MG66) FROM DO30_DOCCORPO "
            "WHERE DO30_NUMREG_CO99 = ?",
            {Variant::Int32(*numreg)});
        for (const auto& row : r.rows) articles.insert(Text(row[0]));
    }
    std::vector<sim::ProgressiveDrift> drift;
    try {
        drift = sim::CompareProgressives(conn);
    } catch (const HostError& e) {
        out.push_back({numreg.value_or(0), 0, "progressives",
                       "the open quantities could not be recomputed: " + e.Description()});
        return;
    }
    for (const auto& d : drift) {
        if (numreg) {
            // "ditta/article/option/warehouse[/lot]": keep the document's articles only.
            auto second = d.key.find('/', d.key.find('/') + 1);
            std::string article = d.key.substr(0, second);
            for (auto& c : article)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (!articles.count(article)) continue;
        }
        out.push_back({numreg.value_or(0), 0, "progressives",
                       d.table + " " + d.key + ": stored " + Num(d.storedQta1) + " / " +
                           Num(d.storedQta2) + " / " + Num(d.storedValue) + ", open " +
                           Num(d.expectedQta1) + " / " + Num(d.expectedQta2) + " / " +
                           Num(d.expectedValue) + " (qta1 / qta2 / value)"});
    }
}

}  // namespace

const std::vector<CheckRule>& CheckRules() {
    static const std::vector<CheckRule> rules{
        {"link-detail",
         "a cancellation line (DO77_ZQGUID_MASTER_DO30 names another line) carries its own GUID "
         "in DO77_ZQGUID_DETAIL_DO30"},
        {"link-master-missing",
         "a cancellation line's DO77_ZQGUID_MASTER_DO30 names a line of the same document"},
        {"link-master-back",
         "the master named by a cancellation line has its own GUID as master and detail"},
        {"qta-orig",
         "a master's DO77_ZQ_QTA_ORIG equals its DO30_QTA1 plus its cancellation lines' "
         "DO30_QTA1"},
        {"cancellation-flag", "a cancellation line has DO31_FLGNONPIUEV 1"},
        {"cancellation-group", "all cancellation lines of a document share one DO30_PROGPADRE"},
        {"cancellation-state",
         "a cancellation line is in the cancelled line state (ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C) in "
         "the flow-state store"},
        {"orphan-order-row", "every DO31 row has its DO30 line"},
        {"orphan-extension-row", "every DO77 row has its DO30 line"},
        {"header-flag", "a header in the cancelled state has DO18_FLGNONPIUEV 1"},
        {"header-reason", "a header in the cancelled state has a reason in DO76_CODCAU_ZQ63"},
        {"qta-annullo",
         "DO77_ZQ_QTA_ANNULLO is not above the starting quantity (DO77_ZQ_QTA_ORIG, or "
         "DO30_QTA1 when that is 0)"},
        {"progressives",
         "the warehouse progressives equal the open quantities recomputed from scratch"},
    };
    return rules;
}

void RequireHostSchema(sim::SqliteConnection& conn) {
    for (const char* t : kTables)
        if (!conn.TableExists(t))
            Raise(err::AdoProviderError, "check",
                  std::string("not a host database: table ") + t + " is missing");
}

std::vector<Finding> CheckDatabase(sim::SqliteConnection& conn,
                                   std::optional<std::int32_t> numreg) {
    RequireHostSchema(conn);
    std::string sql = "SELECT DO11_DITTA_CG18, DO11_NUMREG_CO99 FROM DO11_DOCTESTATA";
    std::vector<Variant> binds;
    if (numreg) {
        sql += " WHERE DO11_NUMREG_CO99 = ?";
        binds.push_back(Variant::Int32(*numreg));
    }
    auto docs = conn.QueryRows(sql + " ORDER BY 1, 2", binds);
    if (numreg && docs.rows.empty())
        Raise(err::AdoBofEof, "check", "document " + std::to_string(*numreg) + " does not exist");
    std::vector<Finding> out;
    for (const auto& d : docs.rows) {
        const std::int32_t ditta = d[0].ToLong(), doc = d[1].ToLong();
        CheckHeader(conn, ditta, doc, out);
        const auto lines = LinesOf(conn, ditta, doc);
        CheckLines(lines, doc, out);
        CheckCancellationStates(conn, ditta, lines, doc, out);
    }
    CheckOrphans(conn, numreg, out);
    CheckProgressives(conn, numreg, out);
    return out;
}

std::string FormatFinding(const Finding& f) {
    std::string where;
    if (f.numreg != 0) where = "document " + std::to_string(f.numreg);
    if (f.progRiga != 0) where += " line " + std::to_string(f.progRiga);
    return (where.empty() ? std::string() : where + ": ") + f.rule + ": " + f.detail;
}

int RunCheck(const std::string& path, std::optional<std::int32_t> numreg, bool json,
             std::ostream& out, std::ostream& err) {
    if (!std::filesystem::is_regular_file(path)) {
        err << "zqstati check: " << path << ": no such file\n";
        return 2;
    }
    std::vector<Finding> findings;
    std::size_t documents = 0;
    try {
        auto conn = sim::SqliteConnection::Open(path);
        findings = CheckDatabase(*conn, numreg);
        documents =
            numreg ? 1
                   : conn->QueryRows("SELECT COUNT(*) FROM DO11_DOCTESTATA").rows[0][0].ToLong();
    } catch (const HostError& e) {
        err << "zqstati check: " << path << ": " << e.Description() << "\n";
        return 2;
    }
    if (json) {
        out << FindingsJson(findings, documents).dump(2) << "\n";
    } else {
        for (const auto& f : findings) out << FormatFinding(f) << "\n";
        out << documents << (documents == 1 ? " document" : " documents") << " checked, "
            << findings.size() << (findings.size() == 1 ? " finding" : " findings") << "\n";
    }
    return findings.empty() ? 0 : 1;
}

}  // namespace zq::tool
