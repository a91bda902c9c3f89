// Cancellation parameters, default reason and flow states, read from the host database.
// Each procedure traps its own errors and ends quietly: a missing configuration shows up
// as a state 0 or an empty reason, never as an error, and the database's messages never
// reach the user.

#include <string>

#include "data/query.h"
#include "data/sql_text.h"
#include "host/host_access.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

using host::Ref;

// An error leaves the states as far as it got: both 0 and both flags set when the query
// itself failed.
void CLSRF_REGDOC_STATI::LeggiParametriAnnullo() {
    EndQuietly([&] {
        lngStatoAnnulloTesta = 0;
        lngStatoAnnulloRighe = 0;
        blnMancaStatoTesta = VTrue;
        blnMancaStatoRighe = VTrue;

        // The company of the program's environment, which is the one being registered.
        const host::AmbientePtr ambiente = Ref(objProgramma, "Ambiente").Ambiente();
        const Variant ditta =
            Ref(Ref(ambiente, "DittaAmbiente").DittaAmbiente(), "CodiceDitta").CodiceDitta();

        const ado::RecordsetPtr rst = OpenQuery(
            Cnn(),
            " SELECT ZQ00_IDSTATO_ANNULLO_TESTA_CO4C,ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C FROM "
            "ZQ00_PARAMETRI WHERE ZQ00_DITTA_CG18 = " +
                SqlBare(ditta));
        if (HasRow(rst)) {
            lngStatoAnnulloTesta = ReadLong(rst, "ZQ00_IDSTATO_ANNULLO_TESTA_CO4C");
            lngStatoAnnulloRighe = ReadLong(rst, "ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C");
        }

        if (lngStatoAnnulloTesta != 0) blnMancaStatoTesta = VFalse;
        if (lngStatoAnnulloRighe != 0) blnMancaStatoRighe = VFalse;
    });
}

// The first row the server returns wins when several reasons carry the default flag.
std::string CLSRF_REGDOC_STATI::GetCausaleDefault(std::string& descrizione) {
    std::string codice;
    EndQuietly([&] {
        descrizione.clear();
        const ado::RecordsetPtr rst = OpenQuery(
            Cnn(),
            " SELECT ZQ63_CODCAU_ANNULLO,ZQ63_DESCAU_ANNULLO FROM ZQ63_CAU_ANNULLO with (nolock) "
            " WHERE ZQ63_FLG_DEFAULT = 1 ");
        if (HasRow(rst)) {
            codice = ReadText(rst, "ZQ63_CODCAU_ANNULLO");
            descrizione = ReadText(rst, "ZQ63_DESCAU_ANNULLO");
        }
    });
    return codice;
}

// The lowest state id of the entity the flow belongs to. Once the callers hold a
// non-zero initial state it is answered for any flow, without a query.
std::int32_t CLSRF_REGDOC_STATI::GetStatoIniziale(std::int32_t idFlusso) {
    if (lngStatoInizialeRighe != 0) return lngStatoInizialeRighe;
    std::int32_t stato = 0;
    EndQuietly([&] {
        const ado::RecordsetPtr rst = OpenQuery(
            Cnn(), std::string(" SELECT MIN(CO4C_IDSTATO) as STATO_INIZIALE FROM "
                               "CO4C_STATI,CO4A_ENTITA,CO4B_FLUSSI ") +
                       " WHERE CO4A_ENTITA.CO4A_IDENTITA = CO4C_STATI.CO4C_IDENTITA_CO4A " +
                       " AND CO4B_FLUSSI.CO4B_IDENTITA_CO4A = CO4C_STATI.CO4C_IDENTITA_CO4A " +
                       " AND CO4B_FLUSSI.CO4B_IDFLUSSO =  " + SqlLong(idFlusso));
        if (HasRow(rst)) stato = ReadLong(rst, "STATO_INIZIALE");
    });
    return stato;
}

// Moves the object with that GUID to a state of a flow through the host's flow engine.
// The GUID goes in as the caller holds it (braced or not); a failure leaves the state
// unchanged on the server and the caller goes on.
void CLSRF_REGDOC_STATI::SetFlussoStato(const std::string& guid, std::int32_t codStato,
                                        std::int32_t codFlusso) {
    EndQuietly([&] {
        ExecUnspecified(Cnn(), "EXEC SPCO_SETFLUSSOSTATO @GUID=" + SqlText(guid) + " ,@CODSTATO=" +
                                   SqlLong(codStato) + " ,@CODFLUSSO=" + SqlLong(codFlusso));
    });
}

}  // namespace zq::plugin
