#include "sim/host/sim_funzioni.h"

#include <cmath>
#include <cstdio>

#include "sim/fault/fault_plan.h"

namespace zq::sim {

namespace {

// OLE dates count days from 30 Dec 1899; the civil-from-days algorithm of H. Hinnant.
std::string FormatDate(double oleDate) {
    double whole = std::floor(oleDate);
    long long days = static_cast<long long>(whole) - 25569;  // to 1 Jan 1970
    long long secs = std::llround((oleDate - whole) * 86400.0);
    if (secs >= 86400) {
        ++days;
        secs -= 86400;
    }
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long d = doy - (153 * mp + 2) / 5 + 1;
    const long long m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    char buf[128];
    if (secs == 0) {
        std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld", y, m, d);
    } else {
        std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", y, m, d,
                      secs / 3600, secs / 60 % 60, secs % 60);
    }
    return buf;
}

}  // namespace

std::string SimFunzioniGlobali::ValoreTesto(const Variant& v) const {
    FaultPoint point(FaultKind::Method, "FunzioniGlobali.ValoreTesto");
    switch (v.Type()) {
        case VarType::Empty:
        case VarType::Null:
            return "";
        case VarType::Boolean:
            return v.ToBool() ? "1" : "0";
        case VarType::Date:
            return FormatDate(v.ToDouble());
        default:
            return v.ToString();  // numbers in CStr form, texts unchanged; objects raise 13
    }
}

double SimFunzioniGlobali::ValoreNumero(const Variant& v) const {
    FaultPoint point(FaultKind::Method, "FunzioniGlobali.ValoreNumero");
    switch (v.Type()) {
        case VarType::Empty:
        case VarType::Null:
            return 0;
        case VarType::String:
            return v.IsNumeric() ? v.ToDouble() : 0;
        default:
            return v.ToDouble();
    }
}

}  // namespace zq::sim
