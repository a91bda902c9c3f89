// Warehouse progressives of open order quantities, and the flow-state store: the data
// behind the host's two stored procedures.
//
// The progressives hold, per article/option/warehouse (MG70) and per lot (MG71), the
// quantities and values still to be delivered on orders. Open quantities are computed in
// exactly one way: by running the order capture statements (the same text the plug-in
// sends before a cancellation) on the listed documents. The host's save posts the
// difference of the open quantities before and after it writes; the reversal procedure
// takes a captured working set out and posts what is open now. So, after every save and
// every reversal, the progressives equal the open quantities recomputed from scratch.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/db/sqlite_connection.h"

namespace zq::sim {

// Quoted, comma-separated registration numbers for an IN list: "'1','2'".
std::string ElencoNumreg(const std::vector<std::string>& numregs);

// The open quantities of the listed documents as the capture computes them, in a temporary
// table (lines: "#ZQ_APERTI_PROGMAG"; lots: "#ZQ_APERTI_PROGLOTTI"), replaced on each call.
// `elenco` is an IN list as ElencoNumreg writes it.
inline constexpr std::string_view kOpenLinesTable = "#ZQ_APERTI_PROGMAG";
inline constexpr std::string_view kOpenLotsTable = "#ZQ_APERTI_PROGLOTTI";
void CaptureOpenLines(SqliteConnection& conn, std::int32_t ditta, std::string_view elenco);
void CaptureOpenLots(SqliteConnection& conn, std::int32_t ditta, std::string_view elenco);

// Adds `sign` times the rows of a line working set (columns of #STORNA_PROGMAG) or a lot
// working set (columns of #STORNA_PROGLOTTI) to the progressives, only rows of documents
// in `elenco` (all rows when empty). A Null quantity or amount raises: SQL Server would
// have stopped the capture on its division by zero.
void PostLineWorkingSet(SqliteConnection& conn, std::int32_t ditta, std::string_view table,
                        std::string_view elenco, int sign);
void PostLotWorkingSet(SqliteConnection& conn, std::int32_t ditta, std::string_view table,
                       std::string_view elenco, int sign);

// Posts `sign` times the open quantities (lines and lots) of the listed documents.
// The host's save calls it with -1 before writing a document and +1 after.
void PostOpenQuantities(SqliteConnection& conn, std::int32_t ditta,
                        const std::vector<std::string>& numregs, int sign);

// Empties the progressives and posts every document of every company again.
void RecomputeProgressivesFromScratch(SqliteConnection& conn);

// One progressive whose stored value differs from the recomputed one.
struct ProgressiveDrift {
    std::string table;  // MG70_PROGMAG or MG71_PROGLOTTI
    std::string key;    // "ditta/article/option/warehouse[/lot]"
    double storedQta1 = 0, expectedQta1 = 0;
    double storedQta2 = 0, expectedQta2 = 0;
    double storedValue = 0, expectedValue = 0;
};
std::vector<ProgressiveDrift> CompareProgressives(SqliteConnection& conn);
bool ProgressivesConsistent(SqliteConnection& conn);

// Flow-state store: GUIDs with or without braces, any case, name the same object.
std::string NormalizeGuid(std::string_view guid);
void WriteFlowState(SqliteConnection& conn, std::string_view guid, std::int32_t idStato,
                    std::int32_t idFlusso);
std::optional<std::int32_t> ReadFlowState(SqliteConnection& conn, std::string_view guid,
                                          std::int32_t idFlusso);

}  // namespace zq::sim
