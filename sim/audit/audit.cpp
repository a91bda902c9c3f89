#include "sim/audit/audit.h"

#include <cctype>
#include <set>

#include "host/error.h"
#include "sim/audit/audit_lines.h"
#include "sim/db/progressives.h"

namespace zq::sim::audit {

namespace {

const char* const kTables[] = {
    "DO11_DOCTESTATA",   "DO18_DOCTESORD", "DO76_DOCTESTAVERT", "DO30_DOCCORPO", "DO31_DOCCORPOORD",
    "DO77_DOCCORPOVERT", "ZQ00_PARAMETRI", "CO4D_STATIOGGETTI", "MG70_PROGMAG",  "MG71_PROGLOTTI"};

std::string Text(const Variant& v) {
    return v.IsNull() || v.IsEmpty() ? std::string() : v.ToString();
}

// The company's cancelled states and whether the document's header stands in the
// cancelled one.
DocumentFacts FactsOf(SqliteConnection& conn, std::int32_t ditta, std::int32_t numreg) {
    DocumentFacts d;
    d.ditta = ditta;
    d.numreg = numreg;
    auto r = conn.QueryRows(
        "SELECT ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C, "
        "DO11_STATO IS NOT NULL AND DO11_STATO = ZQ00_IDSTATO_ANNULLO_TESTA_CO4C "
        "FROM DO11_DOCTESTATA JOIN ZQ00_PARAMETRI ON ZQ00_DITTA_CG18 = DO11_DITTA_CG18 "
        "WHERE DO11_DITTA_CG18 = ? AND DO11_NUMREG_CO99 = ?",
        {Variant::Int32(ditta), Variant::Int32(numreg)});
    if (r.rows.empty()) return d;
    if (!r.rows[0][0].IsNull()) d.statoAnnulloRighe = r.rows[0][0].ToLong();
    d.headerCancelled = !r.rows[0][1].IsNull() && r.rows[0][1].ToLong() != 0;
    return d;
}

void CheckHeader(SqliteConnection& conn, const DocumentFacts& doc, std::vector<Finding>& out) {
    if (!doc.headerCancelled) return;
    auto r = conn.QueryRows(
        "SELECT DO18_NUMREG_CO99 AS HAS18, DO18_FLGNONPIUEV, DO76_CODCAU_ZQ63 "
        "FROM DO11_DOCTESTATA "
        "LEFT JOIN DO18_DOCTESORD ON DO18_DITTA_CG18 = DO11_DITTA_CG18 AND "
        "DO18_NUMREG_CO99 = DO11_NUMREG_CO99 "
        "LEFT JOIN DO76_DOCTESTAVERT ON DO76_DITTA_CG18 = DO11_DITTA_CG18 AND "
        "DO76_NUMREG_CO99 = DO11_NUMREG_CO99 "
        "WHERE DO11_DITTA_CG18 = ? AND DO11_NUMREG_CO99 = ?",
        {Variant::Int32(doc.ditta), Variant::Int32(doc.numreg)});
    if (r.rows.empty()) return;
    const Variant& flag = r.At(0, "DO18_FLGNONPIUEV");
    const bool has18 = !r.At(0, "HAS18").IsNull();
    if (!has18 || flag.IsNull() || flag.IsString() || flag.ToDouble() != 1)
        out.push_back({doc.numreg, 0, "header-flag",
                       "the order is cancelled but DO18_FLGNONPIUEV is " +
                           (has18 ? (flag.IsNull() ? std::string("Null") : Text(flag))
                                  : std::string("missing"))});
    if (Text(r.At(0, "DO76_CODCAU_ZQ63")).empty())
        out.push_back({doc.numreg, 0, "header-reason",
                       "the order is cancelled but DO76_CODCAU_ZQ63 is empty"});
}

// DO31 and DO77 rows whose DO30 line is gone.
void CheckOrphans(SqliteConnection& conn, std::optional<std::int32_t> numreg,
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

std::string Upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

void CheckProgressives(SqliteConnection& conn, std::optional<std::int32_t> numreg,
                       std::vector<Finding>& out) {
    std::set<std::string> articles;
    if (numreg) {
        auto r = conn.QueryRows(
            "SELECT DISTINCT DO30_DITTA_CG18 || '/' || UPPER(DO30_CODART_MG66) FROM DO30_DOCCORPO "
            "WHERE DO30_NUMREG_CO99 = ?",
            {Variant::Int32(*numreg)});
        for (const auto& row : r.rows) articles.insert(Text(row[0]));
    }
    std::vector<ProgressiveDrift> drift;
    try {
        drift = CompareProgressives(conn);
    } catch (const HostError& e) {
        out.push_back({numreg.value_or(0), 0, "progressives",
                       "the open quantities could not be recomputed: " + e.Description()});
        return;
    }
    for (const auto& d : drift) {
        // "ditta/article/option/warehouse[/lot]": with one document, its articles only.
        if (numreg && !articles.count(Upper(d.key.substr(0, d.key.find('/', d.key.find('/') + 1)))))
            continue;
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
        {"link-cancellation-missing",
         "a line linked as a master (its own GUID in DO77_ZQGUID_MASTER_DO30) is named by a "
         "cancellation line"},
        {"link-master-null",
         "a line with a DO77_ZQGUID_DETAIL_DO30 link has a DO77_ZQGUID_MASTER_DO30 link too"},
        {"qta-orig",
         "the quantity of a pair is conserved: the master's DO30_QTA1 plus its cancellation "
         "lines' DO30_QTA1 equals the DO77_ZQ_QTA_ORIG of the master and of each cancellation "
         "line (to 0.000001)"},
        {"qta-annullo",
         "DO77_ZQ_QTA_ANNULLO is not above the starting quantity (DO77_ZQ_QTA_ORIG, or "
         "DO30_QTA1 when that is 0)"},
        {"qta-invalid",
         "an order line's DO30_QTA1, DO30_QTA2, DO77_ZQ_QTA_ORIG and DO77_ZQ_QTA_ANNULLO are "
         "Null or finite numbers not below zero"},
        {"cancellation-flag", "a cancellation line has DO31_FLGNONPIUEV 1"},
        {"cancellation-group", "all cancellation lines of a document share one DO30_PROGPADRE"},
        {"cancellation-state",
         "a cancellation line is in the cancelled line state (ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C) in "
         "the flow-state store"},
        {"line-flag", "a line in the cancelled line state has DO31_FLGNONPIUEV 1"},
        {"line-state",
         "a line with DO31_FLGNONPIUEV 1 is in the cancelled line state, unless its order is "
         "cancelled as a whole (that flags the lines of a line group and leaves their state)"},
        {"orphan-order-row", "every DO31 row has its DO30 line"},
        {"orphan-extension-row", "every DO77 row has its DO30 line"},
        {"header-flag", "a header in the cancelled state has DO18_FLGNONPIUEV 1"},
        {"header-reason", "a header in the cancelled state has a reason in DO76_CODCAU_ZQ63"},
        {"progressives",
         "the warehouse progressives equal the open quantities recomputed from scratch"},
    };
    return rules;
}

void RequireHostSchema(SqliteConnection& conn) {
    for (const char* t : kTables)
        if (!conn.TableExists(t))
            Raise(err::AdoProviderError, "check",
                  std::string("not a host database: table ") + t + " is missing");
}

std::vector<Finding> CheckDatabase(SqliteConnection& conn, std::optional<std::int32_t> numreg) {
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
        const DocumentFacts doc = FactsOf(conn, d[0].ToLong(), d[1].ToLong());
        CheckHeader(conn, doc, out);
        const auto lines = LinesOf(conn, doc);
        CheckPairs(lines, doc.numreg, out);
        CheckFlagsAndStates(lines, doc, out);
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

}  // namespace zq::sim::audit
