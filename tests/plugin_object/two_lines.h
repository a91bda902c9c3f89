// The order the plug-in object tests run on: two lines on the demo company, initialised as
// a host that passes True as the parameter and 3 as the plug-in index, with no form opened.
#pragma once

#include <string>

#include "support/session.h"
#include "support/spies.h"
#include "support/test_access.h"

namespace zq::test {

inline SessionOptions TwoLines() {
    SessionOptions o;
    o.lines = [](sim::HostDbBuilder& b) { b.Riga(1, "ART-A", 10, 5).Riga(2, "ART-B", 4, 2); };
    o.param = Variant::Bool(true);
    o.indPlugIn = 3;
    o.forms = {};
    return o;
}

using States = ClsrfTestAccess::States;

// The statements Initialize sends for the company of the environment (1).
inline const std::string kParametri =
    " SELECT ZQ00_IDSTATO_ANNULLO_TESTA_CO4C,ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C FROM "
    "ZQ00_PARAMETRI WHERE ZQ00_DITTA_CG18 = 1";
inline const std::string kCausaleDefault =
    " SELECT ZQ63_CODCAU_ANNULLO,ZQ63_DESCAU_ANNULLO FROM ZQ63_CAU_ANNULLO with (nolock)  WHERE "
    "ZQ63_FLG_DEFAULT = 1 ";

}  // namespace zq::test
