// The state of the current body line changed in the body form.

#include "engine/line_ui.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

// Every step with its errors ignored: a failing call is skipped and the next step runs.
// The open quantities are captured before the line is settled, so that the reversal after
// the save takes out exactly what the cancellation closed.
//
// Only the user's change of the state of the line the plug-in knows as current is
// settled. The host also reports states when the grid lands on a line, and while the
// plug-in's own roads move the grid (a split, a fold-back, a master restored): none of those
// is the user's, so they are only remembered, and the road brings the current line in step
// when it ends.
//
// The settlement is a user road: it completes, or it leaves the order, the line's state
// included, as it was.
HResult CLSRF_REGDOC_STATI::StatiCORPOChange(Variant&, std::int32_t IdStato,
                                             std::int32_t IdFlusso) {
    return ComBoundary([&] {
        if (IsTrue(blnAnnullaPercorso)) return;
        // The host has already given the line the state the user picked: a failure from here
        // on takes the pick back with whatever the road did.
        PercorsoUtente percorso(*this, FotografaCampi(), false, true);
        RicordaStatoRiga(strGuidRigaCorrente, lngStatoRigaCorrente, IdFlusso);
        bool fuori = false;
        IgnoreErrors([&] { fuori = IsTrue(IsAnnulliOffCorpo()); });
        if (fuori || TestaAnnullata() || IsTrue(blnGrigliaInCorso)) return;

        if (!IsTrue(blnCreaAnnulloInCorso) && !IsTrue(blnPropagaInCorso)) {
            blnRigaDaConfermare = VTrue;
            lngFlussoDoc = IdFlusso;
            IgnoreErrors([&] { lngStatoInizialeRighe = GetStatoIniziale(IdFlusso); });
        }

        std::string guid;
        std::int32_t progRiga = 0;
        IgnoreErrors([&] {
            auto riga = RegDoc().objRigaCorpo();
            guid = host::GetGuidRiga(riga);
        });
        IgnoreErrors([&] {
            if (!ui::Richiesto(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert")->EOF_())
                progRiga =
                    NvlVar(
                        ui::Richiesto(RegDoc().rstDocCorpo(), "rstDocCorpo")->Get("DO30_PROGRIGA"),
                        Variant::Int32(0))
                        .ToLong();
        });
        // Pending window events: the simulated host's user interface has none queued.

        std::int32_t stato = 0;
        IgnoreErrors(
            [&] { stato = host::Ref(RegDoc().objRigaCorpo(), "objRigaCorpo").StatoRiga(); });
        const bool stradaInCorso = IsTrue(blnApplicaInCorso) || IsTrue(blnCreaAnnulloInCorso) ||
                                   IsTrue(blnConfermaInCorso) || IsTrue(blnRipristinoInCorso) ||
                                   IsTrue(blnPropagaInCorso);
        const bool daGestire = !stradaInCorso && stato != lngStatoRigaCorrente &&
                               progRiga == lngProgRigaCorrente && guid == strGuidRigaCorrente;
        lngStatoRigaPrecedente = lngStatoRigaCorrente;
        lngStatoRigaCorrente = stato;
        if (!daGestire || percorso.Fallito()) return;
        // The first change since the order was written keeps the state it was written with.
        statiRigaScritti.emplace(guid, lngStatoRigaPrecedente);

        percorso.Fotografa();
        if (percorso.Fallito()) return;

        IgnoreErrors([&] {
            const std::string numReg = host::objFunzioniGlobali().ValoreTesto(
                ui::Richiesto(RegDoc().rstDocTestata(), "rstDocTestata")->Get("DO11_NUMREG_CO99"));
            CreaTempStorno(numReg, DocUI().GestLotti(), VFalse, "#STORNA_PROGMAG",
                           "#STORNA_PROGLOTTI", "#STORNA_PROGPROGETTI");
        });
        bool eseguito = false;
        IgnoreErrors([&] { eseguito = IsTrue(ConfermaAnnulloRiga(VTrue, IdStato)); });
        if (eseguito) {
            ConcludiStorno();
        } else {
            // Nothing was carried out: this capture is not one a later reversal may use.
            blnStornoPronto = VFalse;
        }
        SeguiRigaCorrente();
    });
}

}  // namespace zq::plugin
