// The host details a host may do either way (sim::HostBehaviour), as scenario files name
// them in "host", and the combinations `zqstati run --host-matrix` plays.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "tools/json_out.h"
#include "tools/session.h"

namespace zq::tool {

struct HostOption {
    const char* name;          // the key in a scenario's "host"
    std::vector<Json> values;  // every value it may take; the first is the default
    const char* meaning;       // for the help and the docs
    void (*apply)(sim::HostBehaviour&, const Json&);
};
const std::vector<HostOption>& HostOptions();

// The option of that name, or null.
const HostOption* FindHostOption(const std::string& name);
// Sets `value` of option `o` in the setup; ScenarioError when the option does not take it.
void ApplyHostOption(const HostOption& o, const Json& value, SessionSetup& setup);

// Every combination of the options not in `pinned`, each an object naming the value of
// every unpinned option. Without unpinned options, one empty combination.
std::vector<Json> HostCombinations(const std::set<std::string>& pinned);

}  // namespace zq::tool
