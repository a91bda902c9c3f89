// The consistency audit of cancellation data in a host database: partial-cancellation
// pairs and their links, quantities, flags, states and groups, stray order and extension
// rows, cancelled headers, and the warehouse progressives against the open quantities.
//
// One definition of "consistent" for everything that asks: `zqstati check`, the scenario
// expectation `consistent`, and the tests that play user roads or inject faults.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/db/sqlite_connection.h"

namespace zq::sim::audit {

struct Finding {
    std::int32_t numreg = 0;    // 0: not tied to one document (progressives)
    std::int32_t progRiga = 0;  // 0: the document as a whole
    std::string rule;           // short rule name, e.g. "cancellation-flag"
    std::string detail;         // what was found, in words
};

// The rules, by name, with what each one requires (for --help and the docs).
struct CheckRule {
    const char* name;
    const char* requirement;
};
const std::vector<CheckRule>& CheckRules();

// Two quantities are the same when they differ by at most this much. The host keeps at
// most five decimals (a step of 1e-5), and the rounding of sums of doubles stays far
// below this for any quantity under a billion.
inline constexpr double kQuantityTolerance = 1e-6;

// Raises HostError when a table the audit reads is missing.
void RequireHostSchema(SqliteConnection& conn);

// Every finding in the documents of the database, or in the one registration number
// (its progressives: those of its articles). Raises HostError when `numreg` names no
// document.
std::vector<Finding> CheckDatabase(SqliteConnection& conn,
                                   std::optional<std::int32_t> numreg = std::nullopt);

// "document 1001 line 9: cancellation-flag: ..." / "document 1001: ..." / "progressives: ..."
std::string FormatFinding(const Finding& f);

}  // namespace zq::sim::audit
