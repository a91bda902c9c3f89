// Conversions between SQLite's storage classes and the host's values.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "host/variant.h"
#include "sim/recordset/mem_recordset.h"

namespace zq::sim {

// OLE date (days from 30 Dec 1899, fraction = time of day) to and from the text form
// SQLite keeps: "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS".
std::string OleDateToIso(double oleDate);
bool IsoToOleDate(std::string_view iso, double* oleDate);

// ADO type of a column from its declared type ("VARCHAR(20)", "REAL", "SMALLINT", ...);
// adEmpty when the declaration says nothing (computed columns).
FieldDef FieldFromDeclaredType(std::string name, std::string_view declared);

// Binds a host value to parameter `index` (1-based); objects and arrays raise 13.
void BindVariant(sqlite3_stmt* stmt, int index, const Variant& v);

}  // namespace zq::sim
