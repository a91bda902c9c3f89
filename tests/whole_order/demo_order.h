// The demo order as the whole-order tests open it: the reasons program can be launched, the
// body form opens first and the header form is current.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "support/session.h"
#include "support/test_access.h"

namespace zq::test {

inline SessionOptions DemoOrder() {
    SessionOptions o;
    o.reasonsProgram = true;
    o.forms = {2, 1};
    return o;
}

// DO31_FLGNONPIUEV of every line of the order as the database holds it, by DO31_PROGRIGA.
inline std::vector<std::pair<std::int32_t, std::int32_t>> LineFlags(const Session& s) {
    auto r = s.conn->QueryRows(
        "SELECT DO31_PROGRIGA, DO31_FLGNONPIUEV FROM DO31_DOCCORPOORD WHERE DO31_NUMREG_CO99 = ? "
        "ORDER BY DO31_PROGRIGA",
        {Variant::Int32(s.options.numreg)});
    std::vector<std::pair<std::int32_t, std::int32_t>> out;
    for (const auto& row : r.rows) out.emplace_back(row[0].ToLong(), row[1].ToLong());
    return out;
}

}  // namespace zq::test
