// JSON forms of what the program reports: host values, the document snapshot, events,
// messages and findings.
#pragma once

#include <nlohmann/json.hpp>
#include <vector>

#include "host/variant.h"
#include "sim/host/driver.h"
#include "sim/host/sim_messaggi.h"
#include "tools/check.h"
#include "tools/snapshot.h"

namespace zq::tool {

using Json = nlohmann::ordered_json;

// Empty and Null as null, numbers as numbers, Booleans as true/false, texts as strings,
// dates and other values in their text form.
Json VariantJson(const Variant& v);
Json SnapshotJson(const DocumentSnapshot& s);
Json ProgressivesJson(const std::vector<ProgressiveSnapshot>& p);
Json EventJson(const sim::RaisedEvent& e);
Json MessageJson(const sim::ShownMessage& m);
Json FindingsJson(const std::vector<Finding>& findings, std::size_t documents);

}  // namespace zq::tool
