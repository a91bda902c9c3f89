// The controls the host's default header and body forms carry: every control the
// plug-in looks for, so that a test removes or renames one to play a form without it.
#pragma once

#include <vector>

#include "sim/host/sim_control.h"

namespace zq::sim {

// Header form: document number, state, header reason code and description, DO18 flag.
std::vector<ControlDef> DefaultHeaderControls();
// Body form: line number, article, quantities, line type, the line-state control (bound to
// DO30_GUID), the DO77 reason, quantities and links, the sibling total (no DBField), the
// DO31 flag.
std::vector<ControlDef> DefaultBodyControls();

}  // namespace zq::sim
