#include "sim/db/progressives.h"

#include <cctype>
#include <cmath>
#include <map>

#include "data/ado.h"
#include "host/error.h"
#include "sim/db/plugin_statements.h"
#include "sim/db/schema.h"

namespace zq::sim {
namespace {

constexpr double kTolerance = 1e-6;

std::string Quote(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

std::string InClause(std::string_view column, std::string_view elenco) {
    return elenco.empty() ? "1=1" : std::string(column) + " IN (" + std::string(elenco) + ")";
}

// SQL Server stops a capture on a division by zero; SQLite gives Null instead.
void RequireNoNull(SqliteConnection& conn, std::string_view table, std::string_view numregCol,
                   std::string_view elenco, std::string_view q1, std::string_view q2,
                   std::string_view amount) {
    auto q =
        conn.QueryRows("SELECT COUNT(*) FROM " + Quote(table) + " WHERE " +
                       InClause(numregCol, elenco) + " AND (" + std::string(q1) + " IS NULL OR " +
                       std::string(q2) + " IS NULL OR " + std::string(amount) + " IS NULL)");
    if (q.rows[0][0].ToLong() > 0)
        Raise(err::AdoProviderError, "SPMG_PROGMAG_DOC", "Divide by zero error encountered.");
}

struct Totals {
    double q1 = 0, q2 = 0, value = 0;
};
using TotalsMap = std::map<std::string, Totals>;

std::string KeyText(const Row& r, size_t n) {
    std::string k;
    for (size_t i = 0; i < n; ++i) {
        if (i) k += "/";
        std::string part = r[i].IsNull() ? "" : r[i].ToString();
        for (char& c : part) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        k += part;
    }
    return k;
}

void Accumulate(const QueryResult& q, size_t keyCols, TotalsMap& into) {
    for (const auto& r : q.rows) {
        Totals& t = into[KeyText(r, keyCols)];
        t.q1 += r[keyCols].IsNull() ? 0 : r[keyCols].ToDouble();
        t.q2 += r[keyCols + 1].IsNull() ? 0 : r[keyCols + 1].ToDouble();
        t.value += r[keyCols + 2].IsNull() ? 0 : r[keyCols + 2].ToDouble();
    }
}

std::vector<std::int32_t> Companies(SqliteConnection& conn) {
    std::vector<std::int32_t> out;
    for (const auto& r :
         conn.QueryRows("SELECT DISTINCT DO11_DITTA_CG18 FROM DO11_DOCTESTATA").rows)
        out.push_back(r[0].ToLong());
    return out;
}

std::vector<std::string> DocumentsOf(SqliteConnection& conn, std::int32_t ditta) {
    std::vector<std::string> out;
    for (const auto& r : conn.QueryRows("SELECT DO11_NUMREG_CO99 FROM DO11_DOCTESTATA WHERE "
                                        "DO11_DITTA_CG18 = ?",
                                        {Variant::Int32(ditta)})
                             .rows)
        out.push_back(r[0].ToString());
    return out;
}

const char* const kLineSums =
    "SELECT IFNULL(DO30_CODART_MG66,''), IFNULL(DO30_OPZIONE_MG5E,''), "
    "IFNULL(DO30_CODDEP_MG58,''), SUM(DO30_QTA1), SUM(DO30_QTA2), SUM(DO30_IMPNETSCP) FROM ";
const char* const kLotSums =
    "SELECT IFNULL(DO52_CODART_MG66,''), IFNULL(DO52_OPZIONE_MG5E,''), "
    "IFNULL(DO52_CODDEP_MG58,''), IFNULL(DO52_CODLOTTO_MG4G,''), SUM(DO52_QTA1), "
    "SUM(DO52_QTA2), SUM(DO52_IMPNETSCP) FROM ";

}  // namespace

std::string ElencoNumreg(const std::vector<std::string>& numregs) {
    std::string out;
    for (const auto& n : numregs) {
        if (!out.empty()) out += ",";
        out += "'" + n + "'";
    }
    return out;
}

void CaptureOpenLines(SqliteConnection& conn, std::int32_t ditta, std::string_view elenco) {
    conn.Execute(stmt::DropTemp(kOpenLinesTable), nullptr, stmt::kNoRecords);
    conn.Execute(stmt::CatturaRighe(kOpenLinesTable, std::to_string(ditta), elenco, 2), nullptr,
                 stmt::kNoRecords);
}

void CaptureOpenLots(SqliteConnection& conn, std::int32_t ditta, std::string_view elenco) {
    conn.Execute(stmt::DropTemp(kOpenLotsTable), nullptr, stmt::kNoRecords);
    conn.Execute(stmt::CatturaLotti(kOpenLotsTable, std::to_string(ditta), elenco, 2), nullptr,
                 stmt::kNoRecords);
}

void PostLineWorkingSet(SqliteConnection& conn, std::int32_t ditta, std::string_view table,
                        std::string_view elenco, int sign) {
    RequireNoNull(conn, table, "DO30_NUMREG_CO99", elenco, "DO30_QTA1", "DO30_QTA2",
                  "DO30_IMPNETSCP");
    conn.RunSqlite(
        "INSERT INTO MG70_PROGMAG (MG70_DITTA_CG18, MG70_CODART_MG66, MG70_OPZIONE_MG5E, "
        "MG70_CODDEP_MG58, MG70_QTA1ORD, MG70_QTA2ORD, MG70_VALORD) "
        "SELECT ?1, IFNULL(DO30_CODART_MG66,''), IFNULL(DO30_OPZIONE_MG5E,''), "
        "IFNULL(DO30_CODDEP_MG58,''), ?2 * SUM(DO30_QTA1), ?2 * SUM(DO30_QTA2), "
        "?2 * SUM(DO30_IMPNETSCP) FROM " +
            Quote(table) + " WHERE " + InClause("DO30_NUMREG_CO99", elenco) +
            " GROUP BY 2, 3, 4 ON CONFLICT DO UPDATE SET "
            "MG70_QTA1ORD = MG70_QTA1ORD + excluded.MG70_QTA1ORD, "
            "MG70_QTA2ORD = MG70_QTA2ORD + excluded.MG70_QTA2ORD, "
            "MG70_VALORD = MG70_VALORD + excluded.MG70_VALORD",
        {Variant::Int32(ditta), Variant::Int32(sign)});
}

void PostLotWorkingSet(SqliteConnection& conn, std::int32_t ditta, std::string_view table,
                       std::string_view elenco, int sign) {
    RequireNoNull(conn, table, "DO52_NUMREG_CO99", elenco, "DO52_QTA1", "DO52_QTA2",
                  "DO52_IMPNETSCP");
    conn.RunSqlite(
        "INSERT INTO MG71_PROGLOTTI (MG71_DITTA_CG18, MG71_CODART_MG66, MG71_OPZIONE_MG5E, "
        "MG71_CODDEP_MG58, MG71_CODLOTTO_MG4G, MG71_QTA1ORD, MG71_QTA2ORD, MG71_VALORD) "
        "SELECT ?1, IFNULL(DO52_CODART_MG66,''), IFNULL(DO52_OPZIONE_MG5E,''), "
        "IFNULL(DO52_CODDEP_MG58,''), IFNULL(DO52_CODLOTTO_MG4G,''), ?2 * SUM(DO52_QTA1), "
        "?2 * SUM(DO52_QTA2), ?2 * SUM(DO52_IMPNETSCP) FROM " +
            Quote(table) + " WHERE " + InClause("DO52_NUMREG_CO99", elenco) +
            " GROUP BY 2, 3, 4, 5 ON CONFLICT DO UPDATE SET "
            "MG71_QTA1ORD = MG71_QTA1ORD + excluded.MG71_QTA1ORD, "
            "MG71_QTA2ORD = MG71_QTA2ORD + excluded.MG71_QTA2ORD, "
            "MG71_VALORD = MG71_VALORD + excluded.MG71_VALORD",
        {Variant::Int32(ditta), Variant::Int32(sign)});
}

void PostOpenQuantities(SqliteConnection& conn, std::int32_t ditta,
                        const std::vector<std::string>& numregs, int sign) {
    if (numregs.empty()) return;
    std::string elenco = ElencoNumreg(numregs);
    CaptureOpenLines(conn, ditta, elenco);
    PostLineWorkingSet(conn, ditta, kOpenLinesTable, "", sign);
    CaptureOpenLots(conn, ditta, elenco);
    PostLotWorkingSet(conn, ditta, kOpenLotsTable, "", sign);
}

void RecomputeProgressivesFromScratch(SqliteConnection& conn) {
    conn.RunSqlite("DELETE FROM MG70_PROGMAG");
    conn.RunSqlite("DELETE FROM MG71_PROGLOTTI");
    for (std::int32_t ditta : Companies(conn))
        PostOpenQuantities(conn, ditta, DocumentsOf(conn, ditta), +1);
}

std::vector<ProgressiveDrift> CompareProgressives(SqliteConnection& conn) {
    TotalsMap expectedLines, expectedLots, storedLines, storedLots;
    for (std::int32_t ditta : Companies(conn)) {
        auto docs = DocumentsOf(conn, ditta);
        if (docs.empty()) continue;
        std::string elenco = ElencoNumreg(docs);
        std::string prefix = "SELECT " + std::to_string(ditta) + ", * FROM (";
        CaptureOpenLines(conn, ditta, elenco);
        RequireNoNull(conn, kOpenLinesTable, "DO30_NUMREG_CO99", "", "DO30_QTA1", "DO30_QTA2",
                      "DO30_IMPNETSCP");
        Accumulate(
            conn.QueryRows(prefix + kLineSums + Quote(kOpenLinesTable) + " GROUP BY 1, 2, 3)"), 4,
            expectedLines);
        CaptureOpenLots(conn, ditta, elenco);
        RequireNoNull(conn, kOpenLotsTable, "DO52_NUMREG_CO99", "", "DO52_QTA1", "DO52_QTA2",
                      "DO52_IMPNETSCP");
        Accumulate(
            conn.QueryRows(prefix + kLotSums + Quote(kOpenLotsTable) + " GROUP BY 1, 2, 3, 4)"), 5,
            expectedLots);
    }
    Accumulate(conn.QueryRows("SELECT MG70_DITTA_CG18, MG70_CODART_MG66, MG70_OPZIONE_MG5E, "
                              "MG70_CODDEP_MG58, MG70_QTA1ORD, MG70_QTA2ORD, MG70_VALORD FROM "
                              "MG70_PROGMAG"),
               4, storedLines);
    Accumulate(conn.QueryRows("SELECT MG71_DITTA_CG18, MG71_CODART_MG66, MG71_OPZIONE_MG5E, "
                              "MG71_CODDEP_MG58, MG71_CODLOTTO_MG4G, MG71_QTA1ORD, MG71_QTA2ORD, "
                              "MG71_VALORD FROM MG71_PROGLOTTI"),
               5, storedLots);

    std::vector<ProgressiveDrift> drift;
    auto compare = [&drift](std::string_view table, TotalsMap& stored, TotalsMap& expected) {
        for (const auto& [k, v] : expected) stored[k];  // every key on both sides
        for (const auto& [k, s] : stored) {
            const Totals e = expected.count(k) ? expected.at(k) : Totals{};
            if (std::fabs(s.q1 - e.q1) > kTolerance || std::fabs(s.q2 - e.q2) > kTolerance ||
                std::fabs(s.value - e.value) > kTolerance)
                drift.push_back({std::string(table), k, s.q1, e.q1, s.q2, e.q2, s.value, e.value});
        }
    };
    compare(kProgMagTable, storedLines, expectedLines);
    compare(kProgLottiTable, storedLots, expectedLots);
    return drift;
}

bool ProgressivesConsistent(SqliteConnection& conn) {
    return CompareProgressives(conn).empty();
}

std::string NormalizeGuid(std::string_view guid) {
    std::string out;
    for (char c : guid) {
        if (c == '{' || c == '}' || std::isspace(static_cast<unsigned char>(c))) continue;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

void WriteFlowState(SqliteConnection& conn, std::string_view guid, std::int32_t idStato,
                    std::int32_t idFlusso) {
    conn.RunSqlite(
        "INSERT INTO CO4D_STATIOGGETTI (CO4D_GUID, CO4D_IDFLUSSO_CO4B, CO4D_IDSTATO_CO4C) "
        "VALUES (?1, ?2, ?3) ON CONFLICT DO UPDATE SET CO4D_IDSTATO_CO4C = "
        "excluded.CO4D_IDSTATO_CO4C",
        {Variant(NormalizeGuid(guid)), Variant::Int32(idFlusso), Variant::Int32(idStato)});
}

std::optional<std::int32_t> ReadFlowState(SqliteConnection& conn, std::string_view guid,
                                          std::int32_t idFlusso) {
    auto q = conn.QueryRows(
        "SELECT CO4D_IDSTATO_CO4C FROM CO4D_STATIOGGETTI WHERE CO4D_GUID = ?1 AND "
        "CO4D_IDFLUSSO_CO4B = ?2",
        {Variant(NormalizeGuid(guid)), Variant::Int32(idFlusso)});
    if (q.rows.empty() || q.rows[0][0].IsNull()) return std::nullopt;
    return q.rows[0][0].ToLong();
}

}  // namespace zq::sim
