// Fresh GUIDs in the braced, upper-case text form the host stores in DO30_GUID.
#pragma once

#include <cstdint>
#include <string>

namespace zq::sim {

// "{XXXXXXXX-XXXX-4XXX-YXXX-XXXXXXXXXXXX}", a random (version 4) GUID.
std::string NewBracedGuid();

// From now on this thread's GUIDs come from a generator started with `seed`, so that a run
// that appends lines can be played again exactly (the fault runs and the random sessions).
void SeedGuids(std::uint64_t seed);

}  // namespace zq::sim
