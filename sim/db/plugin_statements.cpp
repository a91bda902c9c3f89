#include "sim/db/plugin_statements.h"

namespace zq::sim::stmt {
namespace {

// Replaces {tabella}, {ditta}, {elenco} and {decimali} in one pass, so that a value is
// never searched again.
struct Values {
    std::string_view tabella, ditta, elenco, decimali;
};

std::string Fill(std::string_view fragment, const Values& v) {
    std::string out;
    for (size_t i = 0; i < fragment.size();) {
        auto take = [&](std::string_view key, std::string_view value) {
            if (fragment.substr(i, key.size()) != key) return false;
            out += value;
            i += key.size();
            return true;
        };
        if (take("{tabella}", v.tabella) || take("{ditta}", v.ditta) ||
            take("{elenco}", v.elenco) || take("{decimali}", v.decimali))
            continue;
        out += fragment[i++];
    }
    return out;
}

const char* const kCatturaRighe[] = {
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

const char* const kCatturaLotti[] = {
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

template <size_t N>
std::string Join(const char* const (&fragments)[N], const Values& v) {
    std::string out;
    for (const char* f : fragments) out += Fill(f, v);
    return out;
}

}  // namespace

std::string Parametri(std::string_view ditta) {
    return " SELECT ZQ00_IDSTATO_ANNULLO_TESTA_CO4C,ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C FROM "
           "ZQ00_PARAMETRI WHERE ZQ00_DITTA_CG18 = " +
           std::string(ditta);
}

std::string CausaleDefault() {
    return " SELECT ZQ63_CODCAU_ANNULLO,ZQ63_DESCAU_ANNULLO FROM ZQ63_CAU_ANNULLO with (nolock)  "
           "WHERE ZQ63_FLG_DEFAULT = 1 ";
}

std::string StatoIniziale(std::int32_t idFlusso) {
    return std::string(
               " SELECT MIN(CO4C_IDSTATO) as STATO_INIZIALE FROM "
               "CO4C_STATI,CO4A_ENTITA,CO4B_FLUSSI ") +
           " WHERE CO4A_ENTITA.CO4A_IDENTITA = CO4C_STATI.CO4C_IDENTITA_CO4A " +
           " AND CO4B_FLUSSI.CO4B_IDENTITA_CO4A = CO4C_STATI.CO4C_IDENTITA_CO4A " +
           " AND CO4B_FLUSSI.CO4B_IDFLUSSO =  " + std::to_string(idFlusso);
}

std::string SetFlussoStato(std::string_view guid, std::int32_t codStato, std::int32_t codFlusso) {
    return "EXEC SPCO_SETFLUSSOSTATO @GUID='" + std::string(guid) + "'" +
           " ,@CODSTATO=" + std::to_string(codStato) + " ,@CODFLUSSO=" + std::to_string(codFlusso);
}

std::string LookupCausali() {
    return std::string("SELECT ZQ63_CODCAU_ANNULLO,ZQ63_DESCAU_ANNULLO,  ") +
           " CASE WHEN ZQ63_FLG_DEFAULT=0 THEN '' ELSE 'Si' END AS ZQ63_FLG_DEFAULT " +
           " FROM ZQ63_CAU_ANNULLO WITH (NOLOCK) ";
}

std::string DescCausale(std::string_view codice) {
    return std::string(" SELECT ZQ63_DESCAU_ANNULLO") + " FROM ZQ63_CAU_ANNULLO WITH (NOLOCK)" +
           " WHERE ZQ63_CODCAU_ANNULLO = '" + std::string(codice) + "'";
}

std::string Evasioni(std::string_view ditta, std::string_view numreg) {
    const char cr = '\r';
    std::string s;
    for (const char* f :
         {" SELECT * From DO30_DOCCORPO with (nolock) ", " left join [VFW_SELDOC] ON ",
          "     VFW_SELDOC.VFW_DITTA_CG18 = DO30_DITTA_CG18 AND ",
          "     VFW_SELDOC.VFW_NUMREG_CO99 = DO30_NUMREG_CO99 AND ",
          "     VFW_SELDOC.VFW_PROGRIGA_DO30 = DO30_PROGRIGA "}) {
        s += f;
        s += cr;
    }
    return s + "Where DO30_DITTA_CG18 = " + std::string(ditta) +
           " And DO30_NUMREG_CO99 = " + std::string(numreg);
}

std::string DropTemp(std::string_view table) {
    return "IF NOT OBJECT_ID('TEMPDB.DBO." + std::string(table) + "') IS NULL DROP TABLE " +
           std::string(table);
}

std::string CatturaRighe(std::string_view tabella, std::string_view ditta, std::string_view elenco,
                         std::int32_t decimali) {
    std::string dec = std::to_string(decimali);
    return Join(kCatturaRighe, {tabella, ditta, elenco, dec});
}

std::string CatturaLotti(std::string_view tabella, std::string_view ditta, std::string_view elenco,
                         std::int32_t decimali) {
    std::string dec = std::to_string(decimali);
    return Join(kCatturaLotti, {tabella, ditta, elenco, dec});
}

std::string IndiceProgMag(std::string_view table) {
    return " CREATE NONCLUSTERED INDEX IDXSTORNA_PROGMAG ON " + std::string(table) + " (" +
           "    DO30_NUMREG_CO99," + "    DO30_PROGRIGA" + " )";
}

std::string IndiceProgLotti(std::string_view table) {
    return " CREATE NONCLUSTERED INDEX IDXSTORNA_PROGLOTTI ON " + std::string(table) + " (" +
           "    DO52_NUMREG_CO99," + "    DO52_PROGRIGA," + "    DO52_PROG_MG4F," +
           "    DO52_PROG" + " )";
}

std::string DropStornaProgMag() {
    return "IF NOT object_id(N'tempdb..#STORNA_PROGMAG') IS NULL DROP TABLE #STORNA_PROGMAG";
}

std::string DocumentiRiferiti(std::string_view ditta, std::string_view numreg) {
    return std::string(" SELECT DISTINCT") + "    DO33_NUMREGRIF_CO99" + " FROM" +
           "    DO33_DOCCORPORIF WITH (NOLOCK)" + " WHERE" +
           "    DO33_DITTA_CG18 = " + std::string(ditta) + " AND" + "    DO33_NUMREG_CO99 = '" +
           std::string(numreg) + "' AND" + "    NOT DO33_NUMREGRIF_CO99 IS NULL";
}

std::string DimeConf(std::int32_t ditta) {
    std::string s;
    for (const char* f : {" SELECT",
                          "    MG5F_CODICEVAR,",
                          "    MG5F_INDGRIGLIA,",
                          "    (",
                          "    SELECT",
                          "        CASE",
                          "            WHEN SUM(INIZIO.MG5F_SIZE) IS NULL",
                          "            THEN 1",
                          "            ELSE SUM(INIZIO.MG5F_SIZE) + 1",
                          "        END",
                          "    FROM",
                          "        MG5F_DIMECONF AS INIZIO WITH (NOLOCK)",
                          "    WHERE",
                          "        INIZIO.MG5F_DITTA_CG18 = MG5F_DIMECONF.MG5F_DITTA_CG18 AND",
                          "        INIZIO.MG5F_CODICEVAR < MG5F_DIMECONF.MG5F_CODICEVAR",
                          "    ) AS MG5F_START,",
                          "    MG5F_SIZE,",
                          "    MG5F_INDGENGRIDDOC",
                          " FROM",
                          "    MG5F_DIMECONF WITH (NOLOCK)",
                          " WHERE",
                          "    MG5F_DITTA_CG18 = "})
        s += f;
    s += std::to_string(ditta);
    for (const char* f : {" AND", "    MG5F_INDGRIGLIA <> 0", " ORDER BY", "    MG5F_CODICEVAR"})
        s += f;
    return s;
}

std::string Stagione(std::string_view idStagione, std::string_view ditta) {
    const std::string crlf = "\r\n";
    return "           SELECT" + crlf + "   MG5T_CODICE" + crlf + " FROM" + crlf +
           "   MG5T_STAGIONI with (nolock) " + crlf + " WHERE" + crlf +
           "   MG5T_IDSTAGIONE = " + std::string(idStagione) + crlf +
           "   AND MG5T_DITTA_CG18 = " + std::string(ditta) + crlf;
}

std::vector<CatalogEntry> Catalog(const CatalogValues& v) {
    const std::string ditta = std::to_string(v.ditta);
    const std::string elenco = "'" + v.numreg + "'";
    return {
        {"LeggiParametriAnnullo", Parametri(ditta), kQuery},
        {"GetCausaleDefault", CausaleDefault(), kQuery},
        {"GetStatoIniziale", StatoIniziale(v.idFlusso), kQuery},
        {"SetFlussoStato", SetFlussoStato(v.guid, v.idStato, v.idFlusso), kUnspecified},
        {"LookupCausaleTestata", LookupCausali(), kQuery},
        {"LeggiDescCausaleTestata", DescCausale(v.codCausale), kQuery},
        {"ApplicaStatoRighe", Evasioni(ditta, v.numreg), kQuery},
        {"CreaTempStorno (drop lines)", DropTemp("#STORNA_PROGMAG"), kNoRecords},
        {"CreaTempStorno (capture lines)",
         CatturaRighe("#STORNA_PROGMAG", ditta, elenco, v.decimali), kNoRecords},
        {"CreaTempStorno (index lines)", IndiceProgMag("#STORNA_PROGMAG"), kNoRecords},
        {"CreaTempStorno (drop lots)", DropTemp("#STORNA_PROGLOTTI"), kNoRecords},
        {"CreaTempStorno (capture lots)",
         CatturaLotti("#STORNA_PROGLOTTI", ditta, elenco, v.decimali), kNoRecords},
        {"CreaTempStorno (index lots)", IndiceProgLotti("#STORNA_PROGLOTTI"), kNoRecords},
        {"EseguiProgMagDoc (drop)", DropStornaProgMag(), kNoRecords},
        {"GetDocumentiRiferiti", DocumentiRiferiti(ditta, v.numreg), kQuery},
        {"GetDimeConf", DimeConf(v.ditta), kQuery},
        {"Get_MG5T_CODICE", Stagione(std::to_string(v.idStagione), ditta), kQuery},
    };
}

}  // namespace zq::sim::stmt
