// Fresh GUIDs in the braced, upper-case text form the host stores in DO30_GUID.
#pragma once

#include <string>

namespace zq::sim {

// "{XXXXXXXX-XXXX-4XXX-YXXX-XXXXXXXXXXXX}", a random (version 4) GUID.
std::string NewBracedGuid();

}  // namespace zq::sim
