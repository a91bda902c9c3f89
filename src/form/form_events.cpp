// Host events of the document form: control focus and keys, navigator buttons and the
// general-functions menu.

#include <cctype>

#include "engine/line_ui.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "host/screen.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

constexpr std::string_view kStatoRiga = "TXT_DO30_STATO";

std::string Minuscolo(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The fields whose lost focus has a driver: the header reason, and the line's cancelled
// quantity, quantity and reason.
bool CampoConDriver(const std::string& campo) {
    return campo == "DO76_CODCAU_ZQ63" || campo == "DO77_ZQ_QTA_ANNULLO" || campo == "DO30_QTA1" ||
           campo == "DO77_CODCAU_ZQ63";
}

}  // namespace

// Entering the line-state field means a line change may follow: "conferma" settles it.
HResult CLSRF_REGDOC_STATI::ControlEventBeforeItem(ObjectPtr&, ObjectPtr& Control) {
    return ComBoundary([&] {
        if (IsTrue(IsAnnulliOffCorpo())) return;
        if (GetNomeControllo(Control) == kStatoRiga) blnRigaDaConfermare = VTrue;
    });
}

HResult CLSRF_REGDOC_STATI::ControlEventGotFocus(ObjectPtr&, ObjectPtr& Control) {
    return ComBoundary([&] {
        if (intTipoForm == 1 && GetDBField(Control) == "DO76_CODCAU_ZQ63") {
            // The description as it was: leaving the field re-applies the reason only when
            // the user's edit changed it.
            strDesCausaleTestaPrec = NvlVar(host::Ref(RegDoc().rstDocTestaVert(), "rstDocTestaVert")
                                                .Get("DO76_DESCAU_ZQ63"),
                                            Variant(""))
                                         .ToString();
        } else if (intTipoForm == 2) {
            const std::string nome = GetNomeControllo(Control);
            if (nome == kStatoRiga) {
                blnRigaDaConfermare = VTrue;
            } else if (nome.find("TXT_") != std::string::npos) {
                blnRigaDaConfermare = VFalse;
            }
        }
    });
}

// The host raises the decode of a typed code before the lost focus, so the description
// compared here is already the one of the code the user left.
//
// Leaving a field with a driver is a user road: what the driver settles completes, or the
// order goes back to what it was when the user left the field (what was typed stays).
HResult CLSRF_REGDOC_STATI::ControlEventLostFocus(ObjectPtr&, ObjectPtr& Control) {
    return ComBoundary([&] {
        if (IsTrue(blnAnnullaPercorso)) return;
        PercorsoUtente percorso(*this, FotografaCampi(), false);
        if (percorsoCorrente && !percorsoCorrente->lasciato) percorsoCorrente->lasciato = Control;
        const std::string campo = GetDBField(Control);
        if (campo.empty() || !CampoConDriver(campo)) return;
        if (intTipoForm == 1 && campo == "DO76_CODCAU_ZQ63") {
            const std::string descrizione =
                NvlVar(host::Ref(RegDoc().rstDocTestaVert(), "rstDocTestaVert")
                           .Get("DO76_DESCAU_ZQ63"),
                       Variant(""))
                    .ToString();
            if (descrizione != strDesCausaleTestaPrec) AggiornaCausaleTestata();
        } else if (intTipoForm == 2 && !IsTrue(IsAnnulliOffCorpo()) && !TestaAnnullata()) {
            if (QtaBloccataNonDigitata(Control, campo)) return;
            if (campo == "DO77_ZQ_QTA_ANNULLO") {
                QtaAnnulloChange();
            } else if (campo == "DO30_QTA1") {
                QtaCorpoChange();
            } else if (campo == "DO77_CODCAU_ZQ63") {
                CausaleCorpoChange();
            }
        }
    });
}

// A quantity control the plug-in locked while it had the focus (a road that ended on a
// cancellation line) whose text is not its field's was left, not typed into: on a host that
// shows a line only when the grid is moved there, the text is still the one shown before
// the road, and is nothing to settle. Typed (on a host that lets a locked control be
// typed), the binding gave the field the same quantity, and the driver runs.
bool CLSRF_REGDOC_STATI::QtaBloccataNonDigitata(const ObjectPtr& Control,
                                                const std::string& campo) {
    if (campo != "DO30_QTA1" && campo != "DO77_ZQ_QTA_ANNULLO") return false;
    bool bloccata = false;
    IgnoreErrors([&] { bloccata = !GetProp(Control, "Enabled").ToBool(); });
    if (!bloccata) return false;
    bool diversa = false;
    IgnoreErrors([&] {
        auto sezione = campo == "DO30_QTA1" ? RegDoc().rstDocCorpo() : RegDoc().rstDocCorpoVert();
        if (!sezione || sezione->BOF() || sezione->EOF_()) return;
        const double nelCampo = NvlVar(sezione->Get(campo), Variant::Int32(0)).ToDouble();
        const std::optional<double> mostrata = ui::QuantitaDigitata(Control);
        diversa = !mostrata || !QtaUguale(*mostrata, nelCampo);
    });
    return diversa;
}

// The "Gestione annulli" item opens the size grid only on a document without unsaved edits:
// the command writes the document and saves it.
HResult CLSRF_REGDOC_STATI::FunzGenMenuItemClick(ObjectPtr&, std::int16_t TipoForm, ObjectPtr&,
                                                 Variant Chiave, Variant&, Variant&) {
    return ComBoundary([&] {
        if (TipoForm != 2 || Chiave.IsNull() || Chiave.IsObject() || Chiave.IsArray() ||
            Chiave.ToString() != "GestAnnulli")
            return;
        // The edit state unread, the command may not run: the user is told it was not done.
        bool inSospeso = false;
        if (!Probe([&] { inSospeso = ModificheInSospeso(); })) {
            AvvisaPercorsoAnnullato();
            return;
        }
        if (inSospeso) {
            host::ShowHostMessage(objProgramma, "Occorre salvare il documento!", 64,
                                  "Salvataggio documento");
            return;
        }
        (void)GestioneAnnulliGriglia();
    });
}

// The host has undone the line's pending edits: what the recordsets hold now is what the
// links are, and no line change waits any more.
void CLSRF_REGDOC_STATI::AnnullaModificheRiga() {
    blnRigaDaConfermare = VFalse;
    RimettiStatoScritto();
    CaricaLinkAnnulli(RegDoc().rstDocCorpoVert(), RegDoc().rstDocCorpo());
    RiallineaCoppiaDopoAnnulla();
}

// The host undid the pending edits of one line of a pair, and the other line keeps its own:
// a master's quantity typed re-aligns the pair on both lines. The pair's starting quantity
// becomes what its two lines hold again, so that the pair still adds up when it is saved;
// a pair that adds up is left alone.
void CLSRF_REGDOC_STATI::RiallineaCoppiaDopoAnnulla() {
    host::RigaCorpoPtr riga = RegDoc().objRigaCorpo();
    const Variant guid(host::GetGuidRiga(riga));
    Variant altra;
    if (IsTrue(FindMasterGuid(guid, altra))) {
        if (FotografaPercorso()) AllineaQtaOrigCoppia(altra, guid);
    } else if (IsTrue(FindDetailGuid(guid, altra))) {
        if (FotografaPercorso()) AllineaQtaOrigCoppia(guid, altra);
    }
}

// The host put the line's fields back as they were written; a state the user picked since
// stays in the flow-state store unless the line gets its written state back too (a line
// flagged as open in the cancelled state, or closed in the open one, would be saved next).
// The plug-in may itself have written the line with the picked state since (the size grid's
// write-back): then the fields the host went back to carry that state's flag and the pick
// stays. The state as saved is kept for the close without saving.
// A host that puts the state back itself leaves nothing to do here.
void CLSRF_REGDOC_STATI::RimettiStatoScritto() {
    host::RigaCorpoPtr riga = RegDoc().objRigaCorpo();
    const std::string guid = host::GetGuidRiga(riga);
    const auto scritto = statiRigaScritti.find(guid);
    if (!riga || scritto == statiRigaScritti.end()) return;
    const std::int32_t stato = scritto->second;
    const std::int32_t scelto = riga->StatoRiga();
    if (scelto != stato && !ScrittaConStato(scelto, stato)) RimettiStatoRiga(guid, stato);
    lngStatoRigaCorrente = riga->StatoRiga();
}

// Whether the current line's written "no longer to be fulfilled" flag belongs to the picked
// state and not to the state recorded before the pick.
bool CLSRF_REGDOC_STATI::ScrittaConStato(std::int32_t scelto, std::int32_t prima) {
    const bool sceltoAnnullato = scelto == lngStatoAnnulloRighe;
    if (lngStatoAnnulloRighe == 0 || sceltoAnnullato == (prima == lngStatoAnnulloRighe))
        return false;
    bool chiusa = !sceltoAnnullato;
    IgnoreErrors([&] {
        const ado::RecordsetPtr ordine = RegDoc().rstDocCorpoOrd();
        if (ordine && !ordine->EOF_() && !ordine->BOF())
            chiusa = NvlVar(ordine->Get("DO31_FLGNONPIUEV"), Variant::Int16(0)).ToLong() != 0;
    });
    return chiusa == sceltoAnnullato;
}

HResult CLSRF_REGDOC_STATI::GridnavAfterButtonClick(ObjectPtr&, std::int16_t, std::string& Chiave) {
    return ComBoundary([&] {
        if (Minuscolo(Chiave) != "griglia") return DopoTastoNavigatore(Chiave);
        if (intTipoForm != 2 || IsTrue(IsAnnulliOffCorpo())) return;
        RicalcolaQtaAnnulloGriglia(VTrue);
    });
}
HResult CLSRF_REGDOC_STATI::GridnavButtonClick(ObjectPtr&, std::int16_t, std::string& Chiave) {
    return ComBoundary([&] {
        if (IsTrue(IsAnnulliOffCorpo()) || Minuscolo(Chiave) != "griglia") return;
        RicalcolaQtaAnnulloGriglia(VFalse);
    });
}
HResult CLSRF_REGDOC_STATI::InternavAfterButtonClick(ObjectPtr&, std::int16_t,
                                                     std::string& Chiave) {
    return ComBoundary([&] { DopoTastoNavigatore(Chiave); });
}

// After a navigator key: "annulla" is the host's undo of the line, and the plug-in's
// reaction to it is a road of its own (its fields come back when it fails).
void CLSRF_REGDOC_STATI::DopoTastoNavigatore(const std::string& Chiave) {
    if (IsTrue(blnAnnullaPercorso) || Minuscolo(Chiave) != "annulla") return;
    PercorsoUtente percorso(*this, FotografaCampi(), false);
    if (intTipoForm != 2 || IsTrue(IsAnnulliOffCorpo())) return;
    AnnullaModificheRiga();
}

// "conferma" settles a line change the user left pending and asks no save: the user saves
// the document. The settlement still runs inside the capture and the progressive procedure,
// since the flow-state store takes the line's new state at once and the progressives must
// follow it (docs/decisions.md).
HResult CLSRF_REGDOC_STATI::InternavButtonClick(ObjectPtr&, std::int16_t TipoForm,
                                                std::string& Chiave) {
    return ComBoundary([&] {
        if (IsTrue(blnAnnullaPercorso) || TipoForm != 2 || Minuscolo(Chiave) != "conferma") return;
        // A user road: the settlement completes, or the order goes back as it was.
        PercorsoUtente percorso(*this, FotografaCampi(), false);
        if (IsTrue(IsAnnulliOffCorpo()) || TestaAnnullata()) return;
        auto screen = host::Screen();
        screen->SetMousePointer(host::vbHourglass);
        ScopeExit puntatore([&] { CleanUp([&] { screen->SetMousePointer(host::vbDefault); }); });
        if (IsTrue(blnRigaDaConfermare) && FotografaPercorso()) {
            SequenzaStorno([&] { return IsTrue(ConfermaAnnulloRiga(VFalse)); }, false);
            blnRigaDaConfermare = VFalse;
        }
    });
}

}  // namespace zq::plugin
