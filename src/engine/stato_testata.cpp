// Cancelling an order as a whole through its header state, and the validation that
// refuses to save a cancelled order without a reason.
//
// Entering the cancelled state fills the header reason with the default reason, marks the
// order as no longer to be fulfilled (DO18_FLGNONPIUEV), carries the cancelled state down
// to the lines and saves; leaving it clears reason and flag and gives the lines back the
// flow's initial state. The lines are rewritten only when the header state really changed
// as this object saw it.

#include <string>

#include "engine/line_ui.h"
#include "form/form_access.h"
#include "host/control_text.h"
#include "host/host_access.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

using host::LeggiTesto;
using host::Ref;

namespace {

constexpr std::string_view kTitolo = "Stato documento";
constexpr std::string_view kCausaleMancante =
    "Non è stata specificata la causale di annullo, impossibile bloccare l'ordine.";
constexpr std::string_view kNessunaCausaleDefault =
    "Non è stata specificata la causale di annullo, e non ne esiste una di default, impossibile "
    "annullare l'ordine.";
constexpr std::string_view kParametriMancanti =
    "E' necessario impostare nei parametri Vestura il valore dello stato annullato per la "
    "testata e per le righe documento. ";
constexpr std::string_view kChiaviParametri =
    "[ZQ00_IDSTATO_ANNULLO_TESTA_CO4C] [ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C]";

const Variant kAbilitato = Variant::Bool(true);
const Variant kDisabilitato = Variant::Bool(false);

// Text, then IsChanged True, each statement ignoring its own error.
void ScriviTestoIgnorando(const ObjectPtr& ctl, const Variant& testo) {
    IgnoreErrors([&] { SetProp(ctl, "Text", testo); });
    IgnoreErrors([&] { SetProp(ctl, "IsChanged", Variant::Bool(true)); });
}

}  // namespace

// No error trap: a failing host call reaches the host as a failed validation.
HResult CLSRF_REGDOC_STATI::ControllaDati(VBool& Cancel) {
    return ComBoundary([&] {
        // A save that goes ahead writes every line's state with its fields.
        ScopeExit scritto([&] {
            if (!IsTrue(Cancel)) statiRigaScritti.clear();
        });
        if (IsTrue(IsAnnulliOffTestata())) return;
        if (!ctlCodCausaleTesta || !ctlDesCausaleTesta) return;
        if (!TestaAnnullata()) return;
        // A disabled reason field is one the user cannot fill: the order passes.
        if (LeggiTesto(ctlCodCausaleTesta).empty() &&
            GetProp(ctlCodCausaleTesta, "Enabled").ToBool()) {
            Cancel = VTrue;
            host::ShowHostMessage(objProgramma, kCausaleMancante, 64, kTitolo);
        }
    });
}

// Every host or database call that fails is skipped and the handler goes on with the next
// step. Only a change made in the state field itself (or with no control active, or while
// the header reason is being decoded) is handled.
HResult CLSRF_REGDOC_STATI::StatiTESTATAChange(Variant&, std::int32_t IdStato,
                                               std::int32_t IdFlusso) {
    return ComBoundary([&] {
        if (IsTrue(blnAnnullaPercorso)) return;
        // The host has already written the state the user picked into the state control and
        // its field: the road, which completes or leaves the order, its header state
        // included, as it was, begins with the event.
        PercorsoUtente percorso(*this, FotografaCampi());
        RicordaStatoTestata();
        EndQuietly([&] { CambiaStatoTestata(IdStato, IdFlusso); });
    });
}

// The steps of the header state change, inside its road.
void CLSRF_REGDOC_STATI::CambiaStatoTestata(std::int32_t IdStato, std::int32_t IdFlusso) {
    {
        if (IsTrue(IsAnnulliOffTestata())) return;
        lngStatoTesta = IdStato;
        lngFlussoTesta = IdFlusso;
        if (intTipoForm != 1) return;
        if (IdStato == 0 && IdFlusso == 0) return;
        if (!ctlCodCausaleTesta || !ctlDesCausaleTesta) return;

        if (!IsTrue(blnDecodeCausaleTesta)) {
            bool altroAttivo = false;
            IgnoreErrors([&] {
                const ObjectPtr attivo = GetObject(frmCorrente, "ActiveControl");
                altroAttivo = attivo && GetProp(attivo, "Name").ToString() != "TXT_DO11_STATO";
            });
            if (altroAttivo) return;
        }

        // The state the order is already in (as opened, or as the last handled change left
        // it) is no change: reported again when the form shows the document, or picked again
        // by the user, it neither rewrites the reason nor saves; only the body's locks follow.
        if (IdStato == lngUltimoStatoTesta) {
            if (TestaAnnullata()) IgnoreErrors([&] { DisabilitaControlliCorpo(); });
            return;
        }

        if (lngStatoAnnulloRighe == 0 || lngStatoAnnulloTesta == 0) {
            host::ShowHostMessage(
                objProgramma,
                std::string(kParametriMancanti) + "\r\n" + std::string(kChiaviParametri), 48,
                kTitolo);
            return;
        }

        blnCambioStatoTesta = VTrue;
        const auto testaVert = [&]() -> ado::Recordset& {
            return Ref(RegDoc().rstDocTestaVert(), "rstDocTestaVert");
        };
        // The header flag control, or null on a form without it.
        ObjectPtr ctlFlag;
        IgnoreErrors([&] { ctlFlag = ControlloPerNome(frmCorrente, "TXT_DO18_FLGNONPIUEV"); });

        if (IdStato == lngStatoAnnulloTesta) {
            if (strCausaleDefault.empty()) {
                // Refused: the header state goes back to the one the order had, so that no
                // cancelled order without a reason is left waiting to be saved.
                host::ShowHostMessage(objProgramma, kNessunaCausaleDefault, 64, kTitolo);
                blnCambioStatoTesta = VFalse;
                RifiutaPercorso();
                return;
            }
            IgnoreErrors([&] { SetProp(ctlCodCausaleTesta, "Enabled", kAbilitato); });
            IgnoreErrors([&] { SetProp(ctlDesCausaleTesta, "Enabled", kAbilitato); });
            IgnoreErrors([&] {
                if (testaVert().EOF_()) RegDoc().AggiungiRigaTestaVert(0);
            });
            ScriviTestoIgnorando(ctlCodCausaleTesta, Variant(strCausaleDefault));
            ScriviTestoIgnorando(ctlDesCausaleTesta, Variant(strDesCausaleDefault));
            IgnoreErrors([&] { testaVert().Set("DO76_CODCAU_ZQ63", Variant(strCausaleDefault)); });
            IgnoreErrors(
                [&] { testaVert().Set("DO76_DESCAU_ZQ63", Variant(strDesCausaleDefault)); });
            if (ctlFlag) {
                ScriviTestoIgnorando(ctlFlag, Variant("1"));
                IgnoreErrors([&] { SetProp(ctlFlag, "Enabled", kDisabilitato); });
                IgnoreErrors([&] {
                    Ref(RegDoc().rstDocTestaOrd(), "rstDocTestaOrd")
                        .Set("DO18_FLGNONPIUEV", Variant::Int16(1));
                });
                IgnoreErrors([&] { RegDoc().AggiornaTestata(); });
            }
            IgnoreErrors([&] { RegDoc().AcquisisciTestaVert(); });
            IgnoreErrors([&] { DisabilitaControlliCorpo(); });
        } else {
            if (ctlFlag) {
                ScriviTestoIgnorando(ctlFlag, Variant("0"));
                IgnoreErrors([&] { SetProp(ctlFlag, "Enabled", kAbilitato); });
                IgnoreErrors([&] {
                    Ref(RegDoc().rstDocTestaOrd(), "rstDocTestaOrd")
                        .Set("DO18_FLGNONPIUEV", Variant::Int16(0));
                });
                IgnoreErrors([&] { RegDoc().AggiornaTestata(); });
            }
            ScriviTestoIgnorando(ctlCodCausaleTesta, Variant(std::string()));
            ScriviTestoIgnorando(ctlDesCausaleTesta, Variant(std::string()));
            // The code goes back to the empty text, the description to Null.
            IgnoreErrors([&] { testaVert().Set("DO76_CODCAU_ZQ63", Variant(std::string())); });
            IgnoreErrors([&] { testaVert().Set("DO76_DESCAU_ZQ63", Variant::Null()); });
            IgnoreErrors([&] { RegDoc().AcquisisciTestaVert(); });
            IgnoreErrors([&] { AggiornaControlliCorpo(); });
        }

        const std::int32_t statoPrecedente = lngUltimoStatoTesta;
        lngUltimoStatoTesta = IdStato;
        if (statoPrecedente != IdStato && !IsTrue(blnPropagaInCorso))
            IgnoreErrors([&] { PropagaStatoTestata(); });

        IgnoreErrors([&] { GetDocumentiRiferiti(); });
        IgnoreErrors([&] { SalvaDocumento(); });
        blnCambioStatoTesta = VFalse;
    }
}

// Carries the header state down to every line: the cancelled line state with the header
// reason, or the flow's initial state without one. Errors are skipped one by one.
void CLSRF_REGDOC_STATI::PropagaStatoTestata() {
    if (IsTrue(IsAnnulliOffTestata())) return;
    blnPropagaInCorso = VTrue;

    std::string codice;
    std::string descrizione;
    IgnoreErrors([&] { codice = LeggiTesto(ctlCodCausaleTesta); });
    IgnoreErrors([&] { LeggiDescCausaleTestata(); });
    IgnoreErrors([&] { descrizione = LeggiTesto(ctlDesCausaleTesta); });
    IgnoreErrors([&] { ScartaQtaAnnulloInSospeso(); });

    IgnoreErrors([&] {
        if (!TestaAnnullata())
            ApplicaStatoRighe(lngStatoInizialeRighe, lngFlussoTesta, "", "", VFalse, 0);
        else
            ApplicaStatoRighe(lngStatoAnnulloRighe, lngFlussoTesta, codice, descrizione, VFalse, 0);
    });
    IgnoreErrors([&] { AggiornaGrigliaCorpo(); });
    blnPropagaInCorso = VFalse;
    // The redraw left the grid on the first line.
    SeguiRigaCorrente();
}

bool CLSRF_REGDOC_STATI::TestaAnnullata() const {
    return lngStatoAnnulloTesta != 0 && lngStatoTesta == lngStatoAnnulloTesta;
}

// A document opened again is in the state it was saved in: the plug-in takes that state as
// the one in force, so that a cancelled order is guarded from the start and a report of the
// same state is not taken for the user's change. A header without these columns leaves
// the states as they are.
void CLSRF_REGDOC_STATI::LeggiStatoTestata() {
    IgnoreErrors([&] {
        const ado::RecordsetPtr testata = RegDoc().rstDocTestata();
        if (!testata || testata->BOF() || testata->EOF_()) return;
        const Variant stato = testata->Get("DO11_STATO");
        if (stato.IsNull() || stato.IsEmpty()) return;
        lngStatoTesta = stato.ToLong();
        lngUltimoStatoTesta = lngStatoTesta;
        const Variant flusso = testata->Get("DO11_IDFLUSSO_CO4B");
        if (!flusso.IsNull() && !flusso.IsEmpty()) lngFlussoTesta = flusso.ToLong();
    });
}

// Redraws the body grid after the lines were rewritten, leaving it on the first line. The
// body form is then moved to that line too: a host whose redraw does not follow the body
// recordset would otherwise keep its line object, its line sections and the row a deletion
// takes on the line the grid stood on before, while the recordset stands on the first.
void CLSRF_REGDOC_STATI::AggiornaGrigliaCorpo() {
    const ado::RecordsetPtr corpo = RegDoc().rstDocCorpo();
    if (!corpo || corpo->BOF() || corpo->EOF_()) return;
    RegDoc().InizioAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
    // The refresh bracket opened is closed however the move or the closing itself went.
    bool chiusa = false;
    ScopeExit chiudi([&] {
        if (!chiusa) CleanUp([&] { RegDoc().FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue); });
    });
    if (!corpo->EOF_()) corpo->MoveFirst();
    RegDoc().FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
    chiusa = true;
    if (frmDocCorpo && !corpo->EOF_())
        IgnoreErrors([&] { ui::VaiABookmark(frmDocCorpo, corpo->Bookmark()); });
}

}  // namespace zq::plugin
