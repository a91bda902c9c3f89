// An order as it stands at one moment, in the simulated host's memory and in its database:
// what the fault runs and the scenario runner compare to tell whether a road left the
// order as it was, or as the road completes it.
//
// It holds the header and line sections (DO11, DO18, DO76, DO30, DO31, DO77) as the
// document object shows them (pending edits included) and as the database holds them,
// each row by its key, the flow state of every line, and the warehouse progressives.
// Row order, bookmarks and pending marks are not part of it: a row put back under a new
// bookmark is the same row.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "host/variant.h"
#include "sim/db/fixture.h"
#include "sim/db/sqlite_connection.h"
#include "sim/host/sim_regdoc.h"

namespace zq::sim {

struct OrderState {
    using Row = std::map<std::string, Variant>;  // field -> value
    std::map<std::string, Row> memory;           // "DO30 line 3" -> its row
    std::map<std::string, Row> database;
    std::map<std::string, std::optional<std::int32_t>> flowStates;  // "line 3" -> state
    std::map<std::string, Row> progressives;  // "MG70 ART-A//MAG1" -> quantities, value
};

// A line the flow-state store does not know shows `statoIniziale`, as the host shows it:
// the two are the same state.
OrderState TakeOrderState(const SimRegDoc& doc, SqliteConnection& conn, std::int32_t flussoRighe,
                          std::int32_t statoIniziale = demo::kStatoRigheIniziale);

// The differences between two states in words, at most `max` of them; empty when the
// order is the same. Numbers compare to 1e-9, Null and Empty alike, a missing
// progressive as zero.
std::string OrderDifferences(const OrderState& expected, const OrderState& actual,
                             std::size_t max = 6);

}  // namespace zq::sim
