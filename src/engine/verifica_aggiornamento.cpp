// Checks a body line before the host stores it: a cancellation line in the cancelled state
// needs a reason, a master line may not be cancelled itself, a cancelled quantity must be
// one, and a line that is not cancelled loses any reason left over.

#include "engine/line_ui.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

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
        const CampiPercorso campi = FotografaCampi();

        SetProp(frmDocCorpo, ui::kMsgOnUpdate, Variant::Bool(false));
        SetProp(frmDocCorpoVert, ui::kMsgOnUpdate, Variant::Bool(false));
        SetProp(GetObject(frmCorrente, "FME_DocCorpoOrd"), ui::kMsgOnUpdate, Variant::Bool(false));

        auto& doc = RegDoc();
        auto riga = doc.objRigaCorpo();
        const Variant G(host::GetGuidRiga(riga));
        Variant altra;
        if (IsTrue(FindMasterGuid(G, altra))) {
            const std::int32_t S = host::Ref(riga, "objRigaCorpo").StatoRiga();
            if (S == lngStatoAnnulloRighe &&
                NvlVar(ui::Testo(ctlCodCausaleRiga), Variant("")).ToString().empty()) {
                Cancel = VTrue;
                host::ShowHostMessage(objProgramma, kAnnulloSenzaCausale, 64, kTitolo);
                return;
            }
        } else if (IsTrue(FindDetailGuid(G, altra))) {
            const std::int32_t S = host::Ref(riga, "objRigaCorpo").StatoRiga();
            if (S == lngStatoAnnulloRighe) {
                Cancel = VTrue;
                host::ShowHostMessage(objProgramma, kMasterAnnullato, 64, kTitolo);
                return;
            }
        }

        // A cancelled quantity that is no quantity is never stored: the user corrects it on
        // the line (the settlement refuses it the same way).
        bool valida = true;
        IgnoreErrors([&] {
            valida = ui::TestoDi(ctlQtaAnnullo).empty() ||
                     ui::QuantitaDigitata(ctlQtaAnnullo).has_value();
        });
        if (!valida) {
            Cancel = VTrue;
            host::ShowHostMessage(objProgramma, ui::kQtaNonValida, 64, kTitolo);
            IgnoreErrors([&] { SetProp(ctlQtaAnnullo, "IsValid", Variant::Bool(false)); });
            return;
        }

        if (!riga || riga->StatoRiga() == lngStatoAnnulloRighe) return;
        Variant C(""), Q = Variant::Int32(0);
        IgnoreErrors([&] { C = NvlVar(ui::Testo(ctlCodCausaleRiga), Variant("")); });
        IgnoreErrors([&] { Q = NvlVar(ui::Testo(ctlQtaAnnullo), Variant::Int32(0)); });
        bool daPulire = true;
        IgnoreErrors([&] { daPulire = VarNe(Q, Variant::Int32(0)) || !C.ToString().empty(); });
        if (!daPulire) return;

        // Cleaning the line is a user road: when a call fails the store is refused, so that
        // the line is never stored half cleaned.
        PercorsoUtente percorso(*this, campi);
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
        if (percorso.Fallito()) Cancel = VTrue;
    });
}

// Before the plug-in writes the body itself (the size grid, a deletion, a reversal), the
// current line may still hold a cancelled quantity the user typed and the host has not
// stored. On a line that is neither cancelled nor the master of a pair it belongs to no
// road: it goes, as storing the line would clear it, so that it never reaches the database.
void CLSRF_REGDOC_STATI::ScartaQtaAnnulloInSospeso() {
    auto& doc = RegDoc();
    const ado::RecordsetPtr vert = doc.rstDocCorpoVert();
    host::RigaCorpoPtr riga = doc.objRigaCorpo();
    if (!vert || !riga || vert->EOF_() || vert->BOF()) return;
    if (riga->StatoRiga() == lngStatoAnnulloRighe) return;
    const Variant qta = vert->Get("DO77_ZQ_QTA_ANNULLO");
    bool vuota = true;
    IgnoreErrors([&] { vuota = QtaZero(NvlVar(qta, Variant::Int32(0)).ToDouble()); });
    if (vuota) return;
    Variant dettaglio;
    if (IsTrue(FindDetailGuid(Variant(host::GetGuidRiga(riga)), dettaglio))) return;
    vert->Set("DO77_ZQ_QTA_ANNULLO", Variant::Int32(0));
    IgnoreErrors([&] { ui::Mostra(ctlQtaAnnullo, Variant::Int32(0)); });
}

}  // namespace zq::plugin
