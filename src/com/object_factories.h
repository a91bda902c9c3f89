// The objects the plug-in creates by ProgID (the ADO Command and Recordset, the host's
// global conversion functions, the reasons maintenance program), created through the
// system's class registry and wrapped in the typed adapters the plug-in expects. A
// ProgID that is not registered, or an object that cannot be created, gives the
// plug-in's CreateObject error 429.
#pragma once

#include <string_view>

#include "host/object.h"

namespace zq::com {

// Registers the factories once per process; later calls do nothing.
void RegisterHostObjectFactories();

// The object of `progId` over IDispatch, as a late-bound Object; null when it cannot be
// created.
ObjectPtr CreateByProgId(std::string_view progId);

}  // namespace zq::com
