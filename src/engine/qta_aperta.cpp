// A line cancelled as a whole holds, as its cancelled quantity, what was still open on it.
// The settlement reads a cancelled quantity left empty or zero on such a line as "all that
// is open" and fills it in. A line edited in the grid and stored, or carried along by one
// of the plug-in's own body writes, never passes through the settlement: without the same
// reading it would keep the cancelled state with nothing cancelled, and taking the whole
// order back later would lower its flag while the line stays cancelled.

#include "data/query.h"
#include "data/sql_text.h"
#include "engine/line_ui.h"
#include "engine/query_evasione.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

// Whether the current line is cancelled as a whole: the cancelled state, neither line of a
// pair.
bool CLSRF_REGDOC_STATI::RigaAnnullataIntera() {
    host::RigaCorpoPtr riga = RegDoc().objRigaCorpo();
    if (!riga || riga->StatoRiga() != lngStatoAnnulloRighe) return false;
    const Variant guid(host::GetGuidRiga(riga));
    Variant altra;
    return !IsTrue(FindMasterGuid(guid, altra)) && !IsTrue(FindDetailGuid(guid, altra));
}

// Whether the current line is cancelled as a whole and holds no cancelled quantity in `qta`.
bool CLSRF_REGDOC_STATI::RigaAnnullataSenzaQta(const Variant& qta) {
    double q = 0;
    IgnoreErrors([&] { q = NvlVar(qta, Variant::Int32(0)).ToDouble(); });
    return QtaZero(q) && RigaAnnullataIntera();
}

// What is still open on the current line: its starting quantity less what was delivered;
// a line delivered in full is cancelled for its whole quantity, as the settlement does.
double CLSRF_REGDOC_STATI::QtaApertaRigaCorrente() {
    auto& doc = RegDoc();
    auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    const double qta1 = NvlVar(corpo->Get("DO30_QTA1"), Variant::Int32(0)).ToDouble();
    double iniziale = 0;
    const ado::RecordsetPtr vert = doc.rstDocCorpoVert();
    if (vert && !vert->EOF_() && !vert->BOF())
        iniziale = NvlVar(vert->Get("DO77_ZQ_QTA_ORIG"), Variant::Int32(0)).ToDouble();
    if (QtaZero(iniziale)) iniziale = qta1;

    auto evasione = OpenQuery(Cnn(), QueryEvasioneDocumento(corpo->Get("DO30_DITTA_CG18"),
                                                            corpo->Get("DO30_NUMREG_CO99")));
    double evasa = 0;
    if (evasione) {
        evasione->SetFilter(Variant("DO30_PROGRIGA = " + SqlBare(corpo->Get("DO30_PROGRIGA"))));
        if (!evasione->BOF() && !evasione->EOF_())
            evasa = NvlVar(evasione->Get("VFW_QTA1TRASF"), Variant::Int32(0)).ToDouble();
        evasione->Close();
    }
    const double residuo = iniziale - evasa;
    return NullaAperto(residuo) ? qta1 : residuo;
}

// Gives the current line, cancelled as a whole with no cancelled quantity, what is open on
// it, in the field and in the control.
void CLSRF_REGDOC_STATI::CompletaQtaRigaAnnullata() {
    const Variant aperta(QtaApertaRigaCorrente());
    ui::Richiesto(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert")
        ->Set("DO77_ZQ_QTA_ANNULLO", aperta);
    ui::Mostra(ctlQtaAnnullo, aperta);
}

}  // namespace zq::plugin
