#include "sim/host/default_forms.h"

namespace zq::sim {

std::vector<ControlDef> DefaultHeaderControls() {
    return {
        Bound("TXT_DO11_NUMREG_CO99", "DO11_NUMREG_CO99"),
        Bound("TXT_DO11_STATO", "DO11_STATO"),
        Bound("TXT_DO76_CODCAU_ZQ63", "DO76_CODCAU_ZQ63"),
        Bound("TXT_DO76_DESCAU_ZQ63", "DO76_DESCAU_ZQ63"),
        Bound("TXT_DO18_FLGNONPIUEV", "DO18_FLGNONPIUEV"),
    };
}

std::vector<ControlDef> DefaultBodyControls() {
    return {
        Bound("TXT_DO30_PROGRIGA", "DO30_PROGRIGA"),
        Bound("TXT_DO30_CODART_MG66", "DO30_CODART_MG66"),
        Bound("TXT_DO30_QTA1", "DO30_QTA1"),
        Bound("TXT_DO30_QTA2", "DO30_QTA2"),
        // The host binds the line-type control under its own name.
        Bound("TXT_DO30_INDTIPORIGA", "TXT_DO30_INDTIPORIGA"),
        Bound("TXT_DO30_STATO", "DO30_GUID"),
        Bound("TXT_DO77_CODCAU_ZQ63", "DO77_CODCAU_ZQ63"),
        Bound("TXT_DO77_DESCAU_ZQ63", "DO77_DESCAU_ZQ63"),
        Bound("TXT_DO77_ZQ_QTA_ORIG", "DO77_ZQ_QTA_ORIG"),
        Bound("TXT_DO77_ZQ_QTA_ANNULLO", "DO77_ZQ_QTA_ANNULLO"),
        Bound("TXT_DO77_ZQGUID_MASTER_DO30", "DO77_ZQGUID_MASTER_DO30"),
        Bound("TXT_DO77_ZQGUID_DETAIL_DO30", "DO77_ZQGUID_DETAIL_DO30"),
        Bound("TXT_DO77_ZQ_QTA_ANNPROGPADRE", ""),
        Bound("TXT_DO31_FLGNONPIUEV", "DO31_FLGNONPIUEV"),
    };
}

}  // namespace zq::sim
