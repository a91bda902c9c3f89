// The objects the plug-in creates: by ProgID the ADO Command and Recordset, the host's
// global conversion functions, the reasons maintenance program and the screen; by class id
// the host's size-grid and grid-posting components. Each is created through the system's
// class registry and wrapped in the adapter the plug-in expects (a typed one, or the
// late-bound one for the grid components). A ProgID or class id that is not registered,
// or an object that cannot be created, gives the plug-in's CreateObject error 429.
#pragma once

namespace zq::com {

// Registers the factories once per process; later calls do nothing.
void RegisterHostObjectFactories();

}  // namespace zq::com
