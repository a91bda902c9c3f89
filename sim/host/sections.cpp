#include "sim/host/sections.h"

namespace zq::sim {

std::string DocumentWhere(const Section& s, const Variant& ditta, std::string_view numreg) {
    std::string quoted;
    for (char c : numreg) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    std::string p(s.prefix);
    return p + "_DITTA_CG18 = " + ditta.ToString() + " AND " + p + "_NUMREG_CO99 = '" + quoted +
           "'";
}

}  // namespace zq::sim
