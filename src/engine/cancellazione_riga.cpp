// Deleting a body line: the guards before it, the line remembered while it is still the
// current one, and the clean-up once it is gone.

#include "engine/line_ui.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

constexpr std::string_view kTitolo = "Stato documento";
constexpr std::string_view kRigaConAnnullo =
    "Non è possibile cancellare una riga che ha generato un annullo! Eliminare l'annullo "
    "parziale prima.";
constexpr std::string_view kDocumentoAnnullato =
    "Non è possibile cancellare una riga perchè il documento è stato annullato totalmente";

}  // namespace

// A master line keeps its cancellation line's link, so it goes only after that line; no
// line of a wholly cancelled order may go. Otherwise the open quantities are captured now,
// while the line still counts, for the reversal after the deletion. Without a cancelled
// header state configured no order is cancelled as a whole, and the other two guards
// stand as in any order that is not.
//
// A deletion is one user road from here to UIAfterDeleteDocBody: it completes, or the line
// comes back with everything it had. A capture that fails refuses the deletion.
HResult CLSRF_REGDOC_STATI::UIBeforeDeleteDocBody(VBool& Cancel) {
    return ComBoundary([&] {
        if (IsTrue(blnAnnullaPercorso)) return;
        // The guard's own reads belong to the road: when one fails the deletion is refused
        // and the user told once that it was not made, rather than refused without a word.
        PercorsoUtente percorso(*this, FotografaCampi(), false);
        enum class Esito { Cancella, ConAnnullo, Annullato, Libera } esito = Esito::Cancella;
        IgnoreErrors([&] {
            if (IsTrue(IsAnnulliOffTestata())) {
                esito = Esito::Libera;
                return;
            }
            if (TestaAnnullata()) {
                esito = Esito::Annullato;
                return;
            }
            auto riga = RegDoc().objRigaCorpo();
            Variant dettaglio;
            if (IsTrue(FindDetailGuid(Variant(host::GetGuidRiga(riga)), dettaglio)))
                esito = Esito::ConAnnullo;
        });
        if (percorso.Fallito()) {
            Cancel = VTrue;
            return;
        }
        if (esito == Esito::Libera) return;
        if (esito == Esito::ConAnnullo) {
            Cancel = VTrue;
            host::ShowHostMessage(objProgramma, kRigaConAnnullo, 64, kTitolo);
            return;
        }
        if (esito == Esito::Annullato) {
            RifiutaCancellazioneTestaAnnullata();
            Cancel = VTrue;
            return;
        }
        percorso.Fotografa();
        if (!percorso.Fallito()) {
            const std::string numReg = host::objFunzioniGlobali().ValoreTesto(
                ui::Richiesto(RegDoc().rstDocTestata(), "rstDocTestata")->Get("DO11_NUMREG_CO99"));
            // The lots are captured as the document's type manages them, as on every other
            // road: a lots working set of a document without lots would be reversed again.
            CreaTempStorno(numReg, DocUI().GestLotti(), VFalse, "#STORNA_PROGMAG",
                           "#STORNA_PROGLOTTI", "#STORNA_PROGPROGETTI");
        }
        if (percorso.Fallito()) {
            Cancel = VTrue;
            return;
        }
        percorso.Trattieni();
    });
}

// A line of a cancelled order is not deleted: said with the busy indicator down.
void CLSRF_REGDOC_STATI::RifiutaCancellazioneTestaAnnullata() {
    intAttesaSalvata = DocUI().IndicatoreAttesa();
    DocUI().SetIndicatoreAttesa(0);
    host::ShowHostMessage(objProgramma, kDocumentoAnnullato, 64, kTitolo);
    DocUI().SetIndicatoreAttesa(intAttesaSalvata);
}

HResult CLSRF_REGDOC_STATI::BeginDeleteDocCorpo() {
    return ComBoundary([&] {
        // The deletion's road goes on in UIAfterDeleteDocBody, whatever happens here; the
        // host has begun deleting, and what it raises until then is part of the deletion.
        PercorsoUtente percorso(*this, std::move(percorsoAperto));
        percorso.Trattieni(true);
        if (!IsTrue(IsAnnulliOffCorpo()) && !TestaAnnullata()) MemorizzaRigaCancellata();
    });
}

// Remembers the GUID and number of the line about to go, so that the clean-up can find
// its master and its extension rows. The grid mode that posts whole grids keeps nothing.
void CLSRF_REGDOC_STATI::MemorizzaRigaCancellata() {
    strGuidRigaCancellata = Variant(std::string());
    lngProgRigaCancellata = 0;
    EndQuietly([&] {
        if (!gclsRegDoc) return;
        auto riga = gclsRegDoc->objRigaCorpo();
        if (!riga) return;
        const Variant guid = NvlVar(Variant(riga->GuidRiga()), Variant(""));
        if (guid.ToString().empty()) return;
        auto corpo = gclsRegDoc->rstDocCorpo();
        if (!corpo || !frmCorrente) return;
        const ObjectPtr documenti = GetObject(frmCorrente, "FrmDocumenti");
        if (!documenti) return;
        if (GetProp(documenti, "Gint_ModalitaGriglia").ToLong() == 2) return;
        strGuidRigaCancellata = guid;
        lngProgRigaCancellata = NvlVar(corpo->Get("DO30_PROGRIGA"), Variant::Int32(0)).ToLong();
    });
}

// The line is gone: give its master back the quantity, drop its extension rows, write the
// body, reverse the progressives captured before the deletion and save. The grid has moved:
// the line it stands on now is the current one.
HResult CLSRF_REGDOC_STATI::UIAfterDeleteDocBody() {
    return ComBoundary([&] {
        // The road the deletion began; a failure anywhere in it brings the line back.
        PercorsoUtente percorso(*this, std::move(percorsoAperto));
        if (IsTrue(IsAnnulliOffCorpo())) return;
        // The pending line is forgotten however the clean-up ends.
        ScopeExit dimentica([&] {
            strGuidRigaCancellata = Variant(std::string());
            lngProgRigaCancellata = 0;
            SeguiRigaCorrente();
        });
        if (strGuidRigaCancellata.ToString().empty() || percorso.Fallito()) return;
        RipristinaMasterAnnullo(strGuidRigaCancellata, lngProgRigaCancellata);
        // After a failure nothing more reaches the database: the road is undone instead.
        if (IsTrue(blnStornoPronto)) {
            if (!percorso.Fallito()) AggiornaBatchCorpo();
            if (!percorso.Fallito()) EseguiProgMagDoc();
        }
        if (!percorso.Fallito()) SalvaDocumento();
    });
}

}  // namespace zq::plugin
