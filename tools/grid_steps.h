// The scenario steps of the size grid: the user's edits in the host's size grid, and what
// the plug-in passed to the size-grid and grid-posting components (docs/scenarios.md).
#pragma once

#include <string>

#include "tools/scenario.h"

namespace zq::tool {

// do "gridEdit": one line's cells as the user will edit them in the next grid shown.
extern const std::vector<ArgDef> kGridEditArgs;
void PlanGridEdit(Session& s, const StepArgs& a);

// expect "sizeGrid" and expect "gridPosting".
extern const std::vector<ArgDef> kSizeGridArgs;
std::string CheckSizeGrid(Session& s, const StepArgs& a);
extern const std::vector<ArgDef> kGridPostingArgs;
std::string CheckGridPosting(Session& s, const StepArgs& a);

// Reads the host's posting setting: "apply", "false" or "fail".
sim::GridPosting GridPostingSetting(const std::string& text);

}  // namespace zq::tool
