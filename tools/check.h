// zqstati check: the consistency audit (sim/audit/) of a database file, from the command
// line.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "sim/audit/audit.h"

namespace zq::tool {

using sim::audit::CheckDatabase;
using sim::audit::CheckRule;
using sim::audit::CheckRules;
using sim::audit::Finding;
using sim::audit::FormatFinding;

// Opens an existing database read-only, audits it and prints the findings and a closing
// line. Returns 0 when clean, 1 with findings, 2 when it could not check.
int RunCheck(const std::string& path, std::optional<std::int32_t> numreg, bool json,
             std::ostream& out, std::ostream& err);

}  // namespace zq::tool
