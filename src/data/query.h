// Running statements on the host's connection and reading their results.
//
// Options are those of the host's data layer: queries run as text (1), statements without
// rows as text without records (129), the flow-state call unspecified (-1). A row is read
// by field name, each value through NvlVar with the default of its kind, so that a Null
// column and a missing row read the same.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/ado.h"

namespace zq {

// A query that returns rows (adCmdText). The result may be null or empty: see HasRow.
ado::RecordsetPtr OpenQuery(ado::Connection& cnn, std::string_view sql);
// A statement without rows: temporary tables, indexes, drops (adCmdText | adExecuteNoRecords).
void ExecNoRecords(ado::Connection& cnn, std::string_view sql);
// A statement run with adOptionUnspecified (the flow-state procedure call).
void ExecUnspecified(ado::Connection& cnn, std::string_view sql);

// Whether a query result stands on a row: not null, and not both BOF and EOF.
bool HasRow(const ado::RecordsetPtr& rst);

// A field of the current row through NvlVar: 0 or "" when Null, blank or empty; the
// host's conversion errors otherwise (a text that is no number: 13). 91 on a null
// recordset, 3265 on an unknown field.
std::int32_t ReadLong(const ado::RecordsetPtr& rst, std::string_view field);
std::string ReadText(const ado::RecordsetPtr& rst, std::string_view field);
double ReadDouble(const ado::RecordsetPtr& rst, std::string_view field);

}  // namespace zq
