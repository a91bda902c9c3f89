// The host database's tables and views that the plug-in reads or writes, and the
// tables of the two stored procedures (flow states and warehouse progressives).
//
// Quantities, amounts and prices are REAL so that SQLite never divides integers; codes
// compare without regard to case, as under the host's collation.
#pragma once

#include <string_view>

#include "sim/db/sqlite_connection.h"

namespace zq::sim {

std::string_view SchemaSql();
void CreateSchema(SqliteConnection& conn);

// Names of the stored procedures' own tables.
inline constexpr std::string_view kFlowStateTable = "CO4D_STATIOGGETTI";
inline constexpr std::string_view kProgMagTable = "MG70_PROGMAG";
inline constexpr std::string_view kProgLottiTable = "MG71_PROGLOTTI";

// The fourteen body sub-tables of a document, with their line-number column.
struct BodySubTable {
    std::string_view table;
    std::string_view lineColumn;
};
inline constexpr BodySubTable kBodySubTables[] = {
    {"DO41_DOCCORPOPROGE", "DO41_PROGRIGA"}, {"DO35_DOCCORPOPERS", "DO35_PROGRIGA"},
    {"DO46_DOCCORORDDET", "DO46_PROGRIGA"},  {"DO39_DOCCORPOCONF", "DO39_PROGRIGA"},
    {"DO36_DOCCORPOEST", "DO36_PROGRIGA"},   {"DO56_DOCCORPOGRID", "DO56_PROGRIGA"},
    {"DO52_DOCCORPOLOT", "DO52_PROGRIGA"},   {"DO32_DOCCORPOPROV", "DO32_PROGRIGA"},
    {"DO57_DOCCORPORAGGR", "DO30_PROGRIGA"}, {"DO33_DOCCORPORIF", "DO33_PROGRIGA"},
    {"DO69_DOCCORPOSCMAG", "DO69_PROGRIGA"}, {"DO38_DOCCORPOUBIC", "DO38_PROGRIGA"},
    {"DO53_DOCCORPOCOIN", "DO53_PROGRIGA"},  {"DO42_DOCCORPORATEI", "DO42_PROGRIGA"},
};

}  // namespace zq::sim
