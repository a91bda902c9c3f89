// The consistency audit of cancellation data in a host database: partial-cancellation
// pairs and their links, quantities, flags and groups, stray order and extension rows,
// cancelled headers, and the warehouse progressives against the open quantities.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sim/db/sqlite_connection.h"

namespace zq::tool {

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

// Raises HostError when a table the audit reads is missing.
void RequireHostSchema(sim::SqliteConnection& conn);

// Every finding in the documents of the database, or in the one registration number
// (its progressives: those of its articles). Raises HostError when `numreg` names no
// document.
std::vector<Finding> CheckDatabase(sim::SqliteConnection& conn,
                                   std::optional<std::int32_t> numreg = std::nullopt);

// "document 1001 line 9: cancellation-flag: ..." / "document 1001: ..." / "progressives: ..."
std::string FormatFinding(const Finding& f);

// zqstati check: opens an existing database, audits it and prints the findings and a
// closing line. Returns 0 when clean, 1 with findings, 2 when it could not check.
int RunCheck(const std::string& path, std::optional<std::int32_t> numreg, bool json,
             std::ostream& out, std::ostream& err);

}  // namespace zq::tool
