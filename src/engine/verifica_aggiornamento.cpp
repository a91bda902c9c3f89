// Checks a body line before the host stores it: a cancellation line in the cancelled state
// needs a reason, a master line may not be cancelled itself, a cancelled quantity must be
// one, and a line that is not cancelled loses any reason left over.

#include <cmath>

#include "engine/line_ui.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"
#include "plugin/percorso.h"

namespace zq::plugin {

namespace {

constexpr std::string_view kTitolo = "Stato documento";
constexpr std::string_view kAnnulloSenzaCausale =
    "Non è possibile inserire un annullo parziale senza specificare la causale annullo!";
constexpr std::string_view kMasterAnnullato =
    "Non è possibile annullare un ordine che ha generato righe di annullo!";

}  // namespace

HResult CLSRF_REGDOC_STATI::UIBeforeUpdateDocBody(VBool& Cancel) {
    return ComBoundary([&] {
        // The plug-in's own writes of lines are not the user's edits.
        if (IsTrue(blnCreaAnnulloInCorso) || IsTrue(blnGrigliaInCorso)) return;
        if (IsTrue(blnAnnullaPercorso)) return;
        // Without the body form open there is no line the user edited to check.
        if (!frmDocCorpo) return;
        // The checks' own reads belong to the road: when one fails the store is refused and
        // the user told once that the line was not stored, rather than refused without a word.
        PercorsoUtente percorso(*this, FotografaCampi(), false);
        Variant G;
        std::string_view rifiuto;
        IgnoreErrors([&] { rifiuto = RifiutoMemorizzazione(G); });
        if (percorso.Fallito()) {
            Cancel = VTrue;
            return;
        }
        if (!rifiuto.empty()) {
            Cancel = VTrue;
            host::ShowHostMessage(objProgramma, rifiuto, 64, kTitolo);
            if (rifiuto == ui::kQtaNonValida || rifiuto == ui::kQtaMaggiore)
                IgnoreErrors([&] { SetProp(ctlQtaAnnullo, "IsValid", Variant::Bool(false)); });
            return;
        }
        PulisciRigaNonAnnullata(G, percorso);
        if (!percorso.Fallito()) CompletaRigaAnnullata(percorso);
        if (percorso.Fallito()) Cancel = VTrue;
    });
}

// Why the current line may not be stored as it is ("" when it may); G gets its GUID.
std::string_view CLSRF_REGDOC_STATI::RifiutoMemorizzazione(Variant& G) {
    SetProp(frmDocCorpo, ui::kMsgOnUpdate, Variant::Bool(false));
    SetProp(frmDocCorpoVert, ui::kMsgOnUpdate, Variant::Bool(false));
    SetProp(GetObject(frmCorrente, "FME_DocCorpoOrd"), ui::kMsgOnUpdate, Variant::Bool(false));

    auto riga = RegDoc().objRigaCorpo();
    G = Variant(host::GetGuidRiga(riga));
    Variant altra;
    if (IsTrue(FindMasterGuid(G, altra))) {
        const std::int32_t S = host::Ref(riga, "objRigaCorpo").StatoRiga();
        if (S == lngStatoAnnulloRighe &&
            NvlVar(ui::Testo(ctlCodCausaleRiga), Variant("")).ToString().empty())
            return kAnnulloSenzaCausale;
    } else if (IsTrue(FindDetailGuid(G, altra))) {
        if (host::Ref(riga, "objRigaCorpo").StatoRiga() == lngStatoAnnulloRighe)
            return kMasterAnnullato;
    }
    // A cancelled quantity that is no quantity, or more than the line, is never stored: the
    // user corrects it on the line (the settlement refuses it the same way).
    if (!ui::TestoDi(ctlQtaAnnullo).empty() && !ui::QuantitaDigitata(ctlQtaAnnullo))
        return ui::kQtaNonValida;
    if (QtaAnnulloOltreRiga(G)) return ui::kQtaMaggiore;
    return {};
}

// A line that is not cancelled loses a reason and cancelled quantity left on it. Cleaning
// the line changes it: the road's snapshot is taken first, and when a call fails the store
// is refused, so that the line is never stored half cleaned.
void CLSRF_REGDOC_STATI::PulisciRigaNonAnnullata(const Variant& G, PercorsoUtente& percorso) {
    auto& doc = RegDoc();
    auto riga = doc.objRigaCorpo();
    if (!riga || riga->StatoRiga() == lngStatoAnnulloRighe) return;
    Variant C(""), Q = Variant::Int32(0);
    IgnoreErrors([&] { C = NvlVar(ui::Testo(ctlCodCausaleRiga), Variant("")); });
    IgnoreErrors([&] { Q = NvlVar(ui::Testo(ctlQtaAnnullo), Variant::Int32(0)); });
    bool daPulire = true;
    IgnoreErrors([&] { daPulire = VarNe(Q, Variant::Int32(0)) || !C.ToString().empty(); });
    if (!daPulire || percorso.Fallito()) return;

    percorso.Fotografa();
    if (percorso.Fallito()) return;
    IgnoreErrors([&] { ui::Mostra(ctlCodCausaleRiga, Variant("")); });
    IgnoreErrors([&] {
        ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")
            ->Set("DO77_CODCAU_ZQ63", Variant::Null());
    });
    IgnoreErrors([&] { ui::Mostra(ctlDesCausaleRiga, Variant("")); });
    IgnoreErrors([&] {
        ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")
            ->Set("DO77_DESCAU_ZQ63", Variant::Null());
    });
    // A cancelled quantity belongs to a cancelled line or to the master of a pair; any
    // other line loses it with the reason, so that it never reaches the database.
    Variant dettaglio;
    if (!IsTrue(FindDetailGuid(G, dettaglio))) {
        IgnoreErrors([&] { ui::Mostra(ctlQtaAnnullo, Variant::Int32(0)); });
        IgnoreErrors([&] {
            ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")
                ->Set("DO77_ZQ_QTA_ANNULLO", Variant::Int32(0));
        });
    }
    IgnoreErrors([&] { doc.AcquisisciCorpoVert(); });
}

// A line cancelled as a whole whose cancelled quantity was emptied or zeroed in the grid is
// stored with what is open on it, as leaving the quantity's control would have given it.
void CLSRF_REGDOC_STATI::CompletaRigaAnnullata(PercorsoUtente& percorso) {
    bool completare = false;
    IgnoreErrors([&] { completare = RigaAnnullataSenzaQta(ui::Testo(ctlQtaAnnullo)); });
    if (!completare || percorso.Fallito()) return;
    percorso.Fotografa();
    if (!percorso.Fallito()) IgnoreErrors([&] { CompletaQtaRigaAnnullata(); });
}

// A cancelled line or the master of a pair keeps its cancelled quantity when stored: typed
// above the line's starting quantity (the pair's, for a master) it would cancel more than
// was ordered. Any other line loses the quantity on the store, whatever it is.
bool CLSRF_REGDOC_STATI::QtaAnnulloOltreRiga(const Variant& guid) {
    std::optional<double> qta;
    IgnoreErrors([&] { qta = ui::QuantitaDigitata(ctlQtaAnnullo); });
    if (!qta || *qta <= 0) return false;
    auto& doc = RegDoc();
    host::RigaCorpoPtr riga = doc.objRigaCorpo();
    Variant dettaglio;
    const bool tiene = (riga && riga->StatoRiga() == lngStatoAnnulloRighe) ||
                       IsTrue(FindDetailGuid(guid, dettaglio));
    if (!tiene) return false;
    return QtaOltreInizio(*qta);
}

// Before the plug-in writes the body itself (the size grid, a deletion, a reversal, the
// header state carried down to the lines), the current line may still hold a cancelled
// quantity the user typed and the host has not stored. One that is no quantity (below
// zero, not finite, above the line) goes back to the written one, as the store refused it;
// on a line that is neither cancelled nor the master of a pair any quantity goes, as
// storing the line would clear it. Either way it never reaches the database. A line
// cancelled as a whole whose quantity was emptied gets what is open on it, as the store
// gives it.
void CLSRF_REGDOC_STATI::ScartaQtaAnnulloInSospeso() {
    auto& doc = RegDoc();
    const ado::RecordsetPtr vert = doc.rstDocCorpoVert();
    host::RigaCorpoPtr riga = doc.objRigaCorpo();
    if (!vert || !riga || vert->EOF_() || vert->BOF()) return;
    const ado::FieldPtr campo = vert->FieldByName("DO77_ZQ_QTA_ANNULLO");
    const Variant qta = campo->Value();
    const Variant scritta = campo->OriginalValue();
    // A quantity the database already holds is not the user's pending edit.
    if (qta.SameAs(scritta)) return;
    double q = 0;
    IgnoreErrors([&] { q = NvlVar(qta, Variant::Int32(0)).ToDouble(); });
    if (!std::isfinite(q) || q < 0 || QtaOltreInizio(q)) {
        vert->Set("DO77_ZQ_QTA_ANNULLO", scritta);
        IgnoreErrors([&] { ui::Mostra(ctlQtaAnnullo, NvlVar(scritta, Variant::Int32(0))); });
        // A line cancelled since the last save has nothing written to go back to.
        if (RigaAnnullataSenzaQta(scritta)) {
            CompletaQtaRigaAnnullata();
            return;
        }
        // A line taken out of the cancelled state since the save loses the written one too.
        q = 0;
        IgnoreErrors([&] { q = NvlVar(scritta, Variant::Int32(0)).ToDouble(); });
    } else if (RigaAnnullataSenzaQta(qta)) {
        CompletaQtaRigaAnnullata();
        return;
    }
    if (QtaZero(q) || riga->StatoRiga() == lngStatoAnnulloRighe) return;
    Variant dettaglio;
    if (IsTrue(FindDetailGuid(Variant(host::GetGuidRiga(riga)), dettaglio))) return;
    vert->Set("DO77_ZQ_QTA_ANNULLO", Variant::Int32(0));
    IgnoreErrors([&] { ui::Mostra(ctlQtaAnnullo, Variant::Int32(0)); });
}

// Whether a cancelled quantity exceeds the current line's starting quantity (the pair's
// for a line of a pair, else the line's own).
bool CLSRF_REGDOC_STATI::QtaOltreInizio(double qta) {
    auto& doc = RegDoc();
    double inizio = 0;
    IgnoreErrors([&] {
        const ado::RecordsetPtr vert = doc.rstDocCorpoVert();
        if (vert && !vert->EOF_() && !vert->BOF())
            inizio = NvlVar(vert->Get("DO77_ZQ_QTA_ORIG"), Variant::Int32(0)).ToDouble();
    });
    if (QtaZero(inizio))
        inizio = NvlVar(ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo")->Get("DO30_QTA1"),
                        Variant::Int32(0))
                     .ToDouble();
    return qta > inizio && !QtaZero(qta - inizio);
}

}  // namespace zq::plugin
