// How Filter and Find reach the rows a criteria names, at the cost a client cursor pays:
// every row is read, unless the compared field has an index (its Optimize property is
// True), in which case only the rows the index names are read.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "sim/recordset/criteria.h"
#include "sim/recordset/row_table.h"

namespace zq::sim {

// The live rows of the table that match, in table order. The index answers when every
// OR-branch of the criteria holds an equality on an indexed field; the rows it names are
// still matched against the whole criteria.
std::vector<RowId> SelectRows(const RowTable& table, const Criteria& criteria);

// The live rows Find may stop on, in table order, when the clause is an equality on an
// indexed field; nullopt when Find has to read every row.
std::optional<std::vector<RowId>> IndexedCandidates(const RowTable& table, const Clause& clause);

}  // namespace zq::sim
