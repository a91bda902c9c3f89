#include "reversal/storno_statements.h"

#include <array>

namespace zq::reversal {
namespace {

// The fragments of the line capture, in the order they are concatenated. {tabella},
// {ditta}, {elenco} and {decimali} stand for the values written into them.
constexpr std::array kCatturaRighe = {
    " SELECT",
    "    DO30_NUMREG_CO99,",
    "    DO30_PROGRIGA,",
    "    DO30_CODART_MG66,",
    "    DO30_OPZIONE_MG5E,",
    "    DO30_CODDEP_MG58,",
    "    DO30_CAUSMAG_MG51,",
    "    DO11_DATAREG,",
    "    DO11_TIPOCF_CG44,",
    "    DO11_CLIFOR_CG44,",
    "    DO11_CLIFORDEST,",
    "    CASE WHEN ORDAP.DO65_DITTA_CG18 IS NULL THEN (CASE WHEN ISNULL(DO31_QTA1CONS, 0) = 0 THEN "
    "DO30_QTA1 ELSE DO30_QTA1 - ISNULL(DO31_QTA1CONS, 0) END) ELSE DO65_QTA1 END AS DO30_QTA1,",
    "    CASE WHEN ORDAP.DO65_DITTA_CG18 IS NULL THEN (CASE WHEN ISNULL(DO31_QTA2CONS, 0) = 0 THEN "
    "ISNULL(DO30_QTA2, 0) ELSE ISNULL(DO30_QTA2, 0) - ISNULL(DO31_QTA2CONS, 0) END) ELSE DO65_QTA2 "
    "END AS DO30_QTA2,",
    "     CASE WHEN ORDAP.DO65_DITTA_CG18 IS NULL THEN",
    "          (",
    "         CASE",
    "             WHEN ISNULL(DO30_FLGEVASVAL,0) = 0 THEN",
    "                 CASE",
    "                     WHEN ISNULL(DO31_QTA1CONS, 0) = 0 OR DO30_QTA1 = 0 THEN DO30_IMPNETSCP",
    "                     ELSE ROUND(DO30_IMPNETSCP / DO30_QTA1 * (DO30_QTA1 - "
    "ISNULL(DO31_QTA1CONS, 0)), 2)",
    "                 End",
    "             WHEN ISNULL(DO30_FLGEVASVAL,0) = 1 THEN",
    "                 CASE",
    "                     WHEN ISNULL(DO31_VALORECONS, 0) = 0 OR DO30_PREZZO1 = 0 THEN "
    "DO30_IMPNETSCP",
    "                     ELSE ROUND(DO30_IMPNETSCP - ISNULL(DO31_VALORECONS, 0), 2)",
    "                 End",
    "         End",
    "         )",
    " ELSE ROUND(DO30_IMPNETSCP / DO30_QTA1 * DO65_QTA1, 2)",
    " End",
    " AS DO30_IMPNETSCP,",
    "        CASE DO11_VALUTA_CG08 WHEN 'EURO' THEN DO30_PREZZO1",
    "    ELSE CASE WHEN ISNULL(DO11_CAMBIO, 0) <> 0 THEN",
    "             ROUND(DO30_PREZZO1/DO11_CAMBIO, {decimali})",
    "         ELSE 0 END END AS DO30_PREZZO1,",
    "     CASE DO30_SCPER1 + DO30_SCPER2 + DO30_SCPER3 + DO30_SCPER4 + DO30_SCPER5 + DO30_SCPER6 + "
    "DO30_SCIMP + DO30_MAGPER1 + DO30_MAGPER2 + DO30_MAGIMP + (CASE WHEN DO30_IMPNETSCP = "
    "DO30_IMPORTO THEN 0 ELSE 1 END)",
    "     WHEN 0 THEN 0 ELSE 1",
    "    END AS FLG_SCONTIMAG",
    "    ,ISNULL(DO30_FLGEVASVAL,0) AS DO30_FLGEVASVAL",
    " INTO",
    "    {tabella}",
    " FROM",
    "    DO30_DOCCORPO",
    " INNER JOIN DO11_DOCTESTATA ON",
    "    DO11_DITTA_CG18 = DO30_DITTA_CG18 AND",
    "    DO11_NUMREG_CO99 = DO30_NUMREG_CO99",
    " LEFT JOIN DO31_DOCCORPOORD ON",
    "    DO31_DITTA_CG18 = DO30_DITTA_CG18 AND",
    "    DO31_NUMREG_CO99 = DO30_NUMREG_CO99 AND",
    "    DO31_PROGRIGA = DO30_PROGRIGA",
    " LEFT JOIN DO18_DOCTESORD ON",
    "    DO18_DITTA_CG18 = DO11_DITTA_CG18 AND",
    "    DO18_NUMREG_CO99 = DO11_NUMREG_CO99",
    " LEFT JOIN",
    "    (",
    "    SELECT",
    "        DO65_DITTA_CG18,",
    "        DO65_NUMREG_CO99,",
    "        DO65_PROGRIGA,",
    "        SUM(",
    "            CASE WHEN ISNULL(MG9C_INDTIPO, 0) = 2 AND ISNULL(DO65_FLGNONPIUEV, 0) = 0",
    "            THEN",
    "                (",
    "                CASE WHEN ISNULL(DO65_QUANTCONS, 0) = 0",
    "                THEN ISNULL(DO65_QUANT, 0)",
    "                ELSE",
    "                    (",
    "                    CASE WHEN ISNULL(DO65_QUANT, 0) - ISNULL(DO65_QUANTCONS, 0) > 0",
    "                    THEN ISNULL(DO65_QUANT, 0) - ISNULL(DO65_QUANTCONS, 0)",
    "                    ELSE 0",
    "                    END",
    "                    )",
    "                END",
    "                )",
    "            ELSE 0",
    "            END",
    "        ) AS DO65_QTA1,",
    "        SUM(",
    "            CASE WHEN ISNULL(MG9C_INDTIPO, 0) = 2 AND ISNULL(DO65_FLGNONPIUEV, 0) = 0",
    "            THEN",
    "                (",
    "                CASE WHEN ISNULL(DO65_QUANTCONS2, 0) = 0",
    "                THEN ISNULL(DO65_QUANT2, 0)",
    "                ELSE",
    "                    (",
    "                    CASE WHEN ISNULL(DO65_QUANT2, 0) - ISNULL(DO65_QUANTCONS2, 0) > 0",
    "                    THEN ISNULL(DO65_QUANT2, 0) - ISNULL(DO65_QUANTCONS2, 0)",
    "                    ELSE 0",
    "                    END",
    "                    )",
    "                END",
    "                )",
    "            ELSE 0",
    "            END",
    "        ) AS DO65_QTA2",
    "    FROM",
    "        DO65_PDCORDAP",
    "    LEFT JOIN MG9C_TIPORIGAOAP ON",
    "        MG9C_DITTA_CG18 = DO65_DITTA_CG18 AND",
    "        MG9C_CODICE = DO65_CODICE_MG9C",
    "    GROUP BY",
    "        DO65_DITTA_CG18,",
    "        DO65_NUMREG_CO99,",
    "        DO65_PROGRIGA",
    "    ) AS ORDAP ON",
    "        ORDAP.DO65_DITTA_CG18 = DO30_DITTA_CG18 AND",
    "        ORDAP.DO65_NUMREG_CO99 = DO30_NUMREG_CO99 AND",
    "        ORDAP.DO65_PROGRIGA = DO30_PROGRIGA",
    " WHERE",
    "    DO30_DITTA_CG18 = {ditta} AND",
    "    DO30_NUMREG_CO99 IN ({elenco}) AND",
    "    DO30_INDTIPORIGA = 0 AND",
    "    DO30_FLGAGGMAGAZ = 0 AND",
    "    DO31_FLGNONPIUEV = 0 AND",
    "    ISNULL(DO18_FLGNONPIUEV, 0) = 0 AND",
    "    (",
    "        (",
    "            (",
    "                (",
    "                   (DO30_QTA1 <> 0 AND ISNULL(DO31_QTA1CONS, 0) = 0) OR",
    "                   (DO30_QTA1 > ISNULL(DO31_QTA1CONS, 0)) OR",
    "                    (DO30_QTA1 = 0)",
    "                ) AND ORDAP.DO65_DITTA_CG18 IS NULL",
    "            ) OR",
    "            (",
    "            DO65_QTA1 <> 0 AND NOT ORDAP.DO65_DITTA_CG18 IS NULL",
    "            )",
    "        )",
    "        OR",
    "        (",
    "            (",
    "                (",
    "                   (DO30_QTA2 <> 0 AND ISNULL(DO31_QTA2CONS, 0) = 0) OR",
    "                   (DO30_QTA2 > ISNULL(DO31_QTA2CONS, 0)) OR",
    "                    (DO30_QTA2 = 0)",
    "                ) AND ORDAP.DO65_DITTA_CG18 IS NULL",
    "            ) OR",
    "            (",
    "            DO65_QTA2 <> 0 AND NOT ORDAP.DO65_DITTA_CG18 IS NULL",
    "            )",
    "        )",
    "    )",
};

// The fragments of the lot capture.
constexpr std::array kCatturaLotti = {
    " SELECT",
    "    DO52_NUMREG_CO99,",
    "    DO52_PROGRIGA,",
    "    DO52_PROG_MG4F,",
    "    DO52_PROG,",
    "    DO52_CODART_MG66,",
    "    DO52_OPZIONE_MG5E,",
    "    DO52_CODDEP_MG58,",
    "    ISNULL(DO52_CAUSMAG_MG51, DO30_CAUSMAG_MG51) AS DO30_CAUSMAG_MG51,",
    "    DO11_DATAREG,",
    "    DO11_TIPOCF_CG44,",
    "    DO11_CLIFOR_CG44,",
    "    DO52_CODLOTTO_MG4G,",
    "    DO52_SCADENZA,",
    "    DO52_SERNUM,",
    "    DO52_CODPALLETS,",
    "    DO52_CODPROG_PD14,",
    "    DO52_SOTPROG_PD14,",
    "    DO52_UBICAZ_MG97,",
    "    DO52_CODCONFEZ_MG96,",
    "    DO52_CODBAGNOMAT,",
    "    CASE WHEN ISNULL(DO52_QTA1CONS, 0) = 0 THEN ISNULL(DO52_QTA1, 0) ELSE ISNULL(DO52_QTA1, "
    "0) - ISNULL(DO52_QTA1CONS, 0) END AS DO52_QTA1,",
    "    CASE WHEN ISNULL(DO52_QTA2CONS, 0) = 0 THEN ISNULL(DO52_QTA2, 0) ELSE ISNULL(DO52_QTA2, "
    "0) - ISNULL(DO52_QTA2CONS, 0) END AS DO52_QTA2,",
    "    CASE WHEN ISNULL(DO52_QTA1, 0) = 0 OR ISNULL(DO30_QTA1, 0) = 0 THEN 0",
    " ELSE ROUND(DO30_IMPNETSCP / DO30_QTA1 * (ISNULL(DO52_QTA1, 0) - ISNULL(DO52_QTA1CONS, 0)), "
    "2) END AS DO52_IMPNETSCP,",
    "    CASE DO11_VALUTA_CG08 WHEN 'EURO' THEN DO30_PREZZO1",
    "    ELSE CASE WHEN ISNULL(DO11_CAMBIO, 0) <> 0 THEN",
    "             ROUND(DO30_PREZZO1/DO11_CAMBIO, {decimali})",
    "         ELSE 0 END END AS DO30_PREZZO1,",
    "    CASE DO30_SCPER1 + DO30_SCPER2 + DO30_SCPER3 + DO30_SCPER4 + DO30_SCPER5 + DO30_SCPER6 + "
    "DO30_SCIMP + DO30_MAGPER1 + DO30_MAGPER2 + DO30_MAGIMP + (CASE WHEN DO30_IMPNETSCP = "
    "DO30_IMPORTO THEN 0 ELSE 1 END)",
    "     WHEN 0 THEN 0 ELSE 1",
    "    END AS FLG_SCONTIMAG",
    "    ,ISNULL(DO30_FLGEVASVAL,0) AS DO30_FLGEVASVAL  INTO",
    "    {tabella}",
    " FROM",
    "    DO52_DOCCORPOLOT",
    " INNER JOIN DO30_DOCCORPO ON",
    "    DO30_DITTA_CG18 = DO52_DITTA_CG18 AND",
    "    DO30_NUMREG_CO99 = DO52_NUMREG_CO99 AND",
    "    DO30_PROGRIGA = DO52_PROGRIGA",
    " INNER JOIN DO11_DOCTESTATA ON",
    "    DO11_DITTA_CG18 = DO30_DITTA_CG18 AND",
    "    DO11_NUMREG_CO99 = DO30_NUMREG_CO99",
    " LEFT JOIN DO31_DOCCORPOORD ON",
    "    DO31_DITTA_CG18 = DO30_DITTA_CG18 AND",
    "    DO31_NUMREG_CO99 = DO30_NUMREG_CO99 AND",
    "    DO31_PROGRIGA = DO30_PROGRIGA",
    " LEFT JOIN DO18_DOCTESORD ON",
    "    DO18_DITTA_CG18 = DO11_DITTA_CG18 AND",
    "    DO18_NUMREG_CO99 = DO11_NUMREG_CO99",
    " WHERE",
    "    DO52_DITTA_CG18 = {ditta} AND",
    "    DO52_NUMREG_CO99 IN ({elenco}) AND",
    "    DO30_INDTIPORIGA = 0 AND",
    "    DO30_FLGAGGMAGAZ = 0 AND",
    "    ISNULL(DO31_FLGNONPIUEV, 0) = 0 AND",
    "    ISNULL(DO18_FLGNONPIUEV, 0) = 0 AND",
    "    ISNULL(DO52_FLGNONPIUEV, 0) = 0 AND",
    "    (",
    "        (",
    "            (ISNULL(DO52_QTA1, 0) <> 0 AND ISNULL(DO52_QTA1CONS, 0) = 0) OR",
    "            ISNULL(DO52_QTA1, 0) > ISNULL(DO52_QTA1CONS, 0)",
    "        ) OR",
    "        (",
    "            (ISNULL(DO52_QTA2, 0) <> 0 AND ISNULL(DO52_QTA2CONS, 0) = 0) OR",
    "            ISNULL(DO52_QTA2, 0) > ISNULL(DO52_QTA2CONS, 0)",
    "        )",
    "    )",
};

struct Valori {
    std::string_view tabella, ditta, elenco, decimali;
};

// Concatenates the fragments, writing each value where its place-holder stands. A value is
// written once and never searched again, so a value that looks like a place-holder stays as
// it is.
template <std::size_t N>
std::string Componi(const std::array<const char*, N>& frammenti, const Valori& v) {
    std::string s;
    for (std::string_view f : frammenti) {
        for (std::size_t i = 0; i < f.size();) {
            const auto valore = [&](std::string_view segnaposto, std::string_view testo) {
                if (f.substr(i, segnaposto.size()) != segnaposto) return false;
                s += testo;
                i += segnaposto.size();
                return true;
            };
            if (valore("{tabella}", v.tabella) || valore("{ditta}", v.ditta) ||
                valore("{elenco}", v.elenco) || valore("{decimali}", v.decimali))
                continue;
            s += f[i++];
        }
    }
    return s;
}

}  // namespace

std::string CatturaRigheStorno(std::string_view tabella, std::string_view ditta,
                               std::string_view elenco, std::string_view decimali) {
    return Componi(kCatturaRighe, {tabella, ditta, elenco, decimali});
}

std::string CatturaLottiStorno(std::string_view tabella, std::string_view ditta,
                               std::string_view elenco, std::string_view decimali) {
    return Componi(kCatturaLotti, {tabella, ditta, elenco, decimali});
}

std::string IndiceStornaProgMag(std::string_view tabella) {
    return " CREATE NONCLUSTERED INDEX IDXSTORNA_PROGMAG ON " + std::string(tabella) + " (" +
           "    DO30_NUMREG_CO99," + "    DO30_PROGRIGA" + " )";
}

std::string IndiceStornaProgLotti(std::string_view tabella) {
    return " CREATE NONCLUSTERED INDEX IDXSTORNA_PROGLOTTI ON " + std::string(tabella) + " (" +
           "    DO52_NUMREG_CO99," + "    DO52_PROGRIGA," + "    DO52_PROG_MG4F," +
           "    DO52_PROG" + " )";
}

}  // namespace zq::reversal
