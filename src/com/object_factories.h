// The objects the plug-in creates by ProgID (the ADO Command and Recordset, the host's
// global conversion functions, the reasons maintenance program, the screen), created through the
// system's class registry and wrapped in the typed adapters the plug-in expects. A
// ProgID that is not registered, or an object that cannot be created, gives the
// plug-in's CreateObject error 429.
#pragma once

namespace zq::com {

// Registers the factories once per process; later calls do nothing.
void RegisterHostObjectFactories();

}  // namespace zq::com
