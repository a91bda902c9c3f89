// The test host's side of the boundary: the simulated host's early-bound objects (the
// document, its UI options, the current line, the program, environment, company,
// message service, conversion functions) and the substitutes' ADO objects (Connection,
// Recordset, Fields, Field, Command, Parameters, Parameter) exposed as IDispatch objects
// that answer by member name, as the host's dual interfaces do. An exposed recordset
// also answers ADO's Recordset interface id, which is how the plug-in recognises a
// recordset it receives late-bound (it uses only the IDispatch part).
//
// Forms, controls, grids and menus are late-bound objects already and go through the
// binding's generic exposer.
#pragma once

namespace zq::comtest {

// Registers the exposers with the binding (once per process).
void InstallHostExposers();

}  // namespace zq::comtest
