#include "engine/query_evasione.h"

#include <string_view>

#include "data/sql_text.h"

namespace zq::plugin {

std::string QueryEvasioneDocumento(const Variant& ditta, const Variant& numreg) {
    std::string sql;
    for (std::string_view riga :
         {" SELECT * From DO30_DOCCORPO with (nolock) ", " left join [VFW_SELDOC] ON ",
          "     VFW_SELDOC.VFW_DITTA_CG18 = DO30_DITTA_CG18 AND ",
          "     VFW_SELDOC.VFW_NUMREG_CO99 = DO30_NUMREG_CO99 AND ",
          "     VFW_SELDOC.VFW_PROGRIGA_DO30 = DO30_PROGRIGA "}) {
        sql += riga;
        sql += '\r';
    }
    return sql + "Where DO30_DITTA_CG18 = " + SqlBare(ditta) +
           " And DO30_NUMREG_CO99 = " + SqlBare(numreg);
}

}  // namespace zq::plugin
