// zqstati run: plays scenario files and reports one line per scenario, the difference
// of the first expectation that failed, and a closing count.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zq::tool {

// Each path is a scenario file or a folder whose *.json files (in its sub-folders too)
// are run in name order. With `hostMatrix` each scenario is played under every combination
// of the host options it does not set itself (host_matrix.h), and passes when it passes
// under all of them; a failure names the combination. Returns 0 when every scenario passed,
// 1 otherwise.
int RunScenarios(const std::vector<std::string>& paths, std::ostream& out, bool hostMatrix = false);

}  // namespace zq::tool
