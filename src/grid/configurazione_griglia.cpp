// The size-grid layout and the season codes, read from the host database: which variant
// dimensions of the company make the grid's rows and columns and where each one's segment
// lies in a variant code, and the code of a line's season.

#include <string>

#include "data/query.h"
#include "data/sql_text.h"
#include "host/host_access.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

using host::Ref;

namespace {

// The grid dimensions of a company in code order, each with the 1-based start of its
// segment: 1 plus the sizes of every dimension with a smaller code, grid or not.
std::string QueryDimeConf(std::int32_t ditta) {
    return std::string(" SELECT") + "    MG5F_CODICEVAR," + "    MG5F_INDGRIGLIA," + "    (" +
           "    SELECT" + "        CASE" + "            WHEN SUM(INIZIO.MG5F_SIZE) IS NULL" +
           "            THEN 1" + "            ELSE SUM(INIZIO.MG5F_SIZE) + 1" + "        END" +
           "    FROM" + "        MG5F_DIMECONF AS INIZIO WITH (NOLOCK)" + "    WHERE" +
           "        INIZIO.MG5F_DITTA_CG18 = MG5F_DIMECONF.MG5F_DITTA_CG18 AND" +
           "        INIZIO.MG5F_CODICEVAR < MG5F_DIMECONF.MG5F_CODICEVAR" + "    ) AS MG5F_START," +
           "    MG5F_SIZE," + "    MG5F_INDGENGRIDDOC" + " FROM" +
           "    MG5F_DIMECONF WITH (NOLOCK)" + " WHERE" +
           "    MG5F_DITTA_CG18 = " + SqlLong(ditta) + " AND" + "    MG5F_INDGRIGLIA <> 0" +
           " ORDER BY" + "    MG5F_CODICEVAR";
}

// A number of the host database as a 16-bit integer, rounded as the host language does.
std::int16_t Numero16(const ado::Recordset& rst, std::string_view campo) {
    return Variant(host::objFunzioniGlobali().ValoreNumero(rst.Get(campo))).ToInt();
}

std::string Codice(const ado::Recordset& rst, std::string_view campo) {
    return host::objFunzioniGlobali().ValoreTesto(rst.Get(campo));
}

}  // namespace

// True also when the company has no grid dimension; False on any error, the layout then
// holding what it had reached.
VBool CLSRF_REGDOC_STATI::GetDimeConf(std::int32_t ditta) {
    LayoutGriglia& l = layoutGriglia;
    const bool letto = EndQuietly([&] {
        l.blnDim1Trovata = VFalse;
        l.blnDim1Griglia = VFalse;
        l.blnDim2Trovata = VFalse;
        l.intDim2IndGriglia = 1;

        const ado::RecordsetPtr rst = OpenQuery(Cnn(), QueryDimeConf(ditta));
        ado::Recordset& righe = Ref(rst, "MG5F_DIMECONF");
        // Rows come in code order: when several qualify for one dimension, the last wins.
        while (!righe.EOF_()) {
            const double indGriglia =
                host::objFunzioniGlobali().ValoreNumero(righe.Get("MG5F_INDGRIGLIA"));
            if (indGriglia == 1) {
                l.intDim1IndGenGridDoc = Numero16(righe, "MG5F_INDGENGRIDDOC");
                l.blnDim1Trovata = VTrue;
                l.blnDim1Griglia = VTrue;
                l.strDim1Codice = Codice(righe, "MG5F_CODICEVAR");
                l.intDim1Start = Numero16(righe, "MG5F_START");
                l.intDim1Size = Numero16(righe, "MG5F_SIZE");
            } else if (indGriglia > 1) {
                l.blnDim2Trovata = VTrue;
                l.strDim2Codice = Codice(righe, "MG5F_CODICEVAR");
                l.intDim2Start = Numero16(righe, "MG5F_START");
                l.intDim2Size = Numero16(righe, "MG5F_SIZE");
                l.intDim2IndGriglia = Numero16(righe, "MG5F_INDGRIGLIA");
            }
            righe.MoveNext();
        }
        righe.Close();
    });
    return ToVBool(letto);
}

// "" when the company has no such season. An error goes back to the caller with this
// procedure's name in front of its source.
std::string CLSRF_REGDOC_STATI::Get_MG5T_CODICE(std::int16_t idStagione) {
    const std::string crlf(kCrLf);
    std::string codice;
    try {
        host::IFunzioniGlobali& f = host::objFunzioniGlobali();
        const Variant ditta = Ref(objDitta, "CodiceDitta").CodiceDitta();
        const std::string sql =
            "           SELECT" + crlf + "   MG5T_CODICE" + crlf + " FROM" + crlf +
            "   MG5T_STAGIONI with (nolock) " + crlf + " WHERE" + crlf +
            "   MG5T_IDSTAGIONE = " + SqlBare(Variant(f.ValoreNumero(Variant::Int16(idStagione)))) +
            crlf + "   AND MG5T_DITTA_CG18 = " + SqlBare(Variant(f.ValoreNumero(ditta))) + crlf;
        const ado::RecordsetPtr rst = OpenQuery(Cnn(), sql);
        ado::Recordset& stagioni = Ref(rst, "MG5T_STAGIONI");
        if (!(stagioni.BOF() && stagioni.EOF_()))
            codice = f.ValoreTesto(stagioni.Get("MG5T_CODICE"));
        stagioni.Close();
    } catch (const HostError& e) {
        Raise(e.Number(), "Get_MG5T_CODICE:" + crlf + e.Source(), e.Description());
    }
    return codice;
}

}  // namespace zq::plugin
