// The body grid moved to another line: remember the line and set the cancellation
// controls for it.

#include "data/sql_text.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

// While the plug-in itself rewrites or appends lines the grid moves under it; those moves
// are not the user's and leave the controls and the current-line fields alone.
HResult CLSRF_REGDOC_STATI::GRIDRowChange() {
    return ComBoundary([&] {
        if (IsTrue(IsAnnulliOffCorpo()) || lngStatoTesta == lngStatoAnnulloTesta ||
            IsTrue(blnApplicaInCorso) || IsTrue(blnCreaAnnulloInCorso))
            return;

        host::RigaCorpoPtr riga = RegDoc().objRigaCorpo();
        strGuidRigaCorrente = host::GetGuidRiga(riga);
        // The state the line shows on arrival: a later state change on it is the user's
        // when it differs, and a road that is undone gives the line back this state.
        lngStatoRigaCorrente = host::Ref(riga, "objRigaCorpo").StatoRiga();
        const ado::RecordsetPtr corpo = RegDoc().rstDocCorpo();
        lngProgRigaCorrente =
            NvlVar(host::Ref(corpo, "rstDocCorpo").Get("DO30_PROGRIGA"), Variant::Int32(0))
                .ToLong();

        SbloccaControlliRiga();
        const Variant guid(strGuidRigaCorrente);
        Variant altra;
        if (IsTrue(FindMasterGuid(guid, altra))) {
            BloccaControlliRiga();
        } else if (IsTrue(FindDetailGuid(guid, altra))) {
            BloccaCausaleRiga();
        }

        AggiornaVisibilitaCorpo();
        AggiornaQtaAnnProgPadre();
        lngProgPadreCorrente = NvlVar(corpo->Get("DO30_PROGPADRE"), Variant::Int32(0)).ToLong();
    });
}

// Total cancelled quantity of the lines that share the current line's parent, shown beside
// the line (the control is visible in grid mode 2 only).
void CLSRF_REGDOC_STATI::AggiornaQtaAnnProgPadre() {
    if (!ctlQtaAnnProgPadre || !GetProp(ctlQtaAnnProgPadre, "Visible").ToBool()) return;

    const ado::RecordsetPtr corpo = RegDoc().rstDocCorpo();
    const Variant padre =
        NvlVar(host::Ref(corpo, "rstDocCorpo").Get("DO30_PROGPADRE"), Variant::Int32(0));
    const ado::RecordsetPtr righe = corpo->Clone();
    const ado::RecordsetPtr vert = host::Ref(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert").Clone();
    righe->SetFilter(Variant(" DO30_PROGPADRE = " + SqlBare(padre)));

    double totale = 0;
    if (!(righe->BOF() && righe->EOF_())) righe->MoveFirst();
    while (!righe->EOF_()) {
        vert->SetFilter(Variant("DO77_PROGRIGA = " + SqlBare(righe->Get("DO30_PROGRIGA"))));
        if (!(vert->BOF() && vert->EOF_()))
            totale += NvlVar(vert->Get("DO77_ZQ_QTA_ANNULLO"), Variant::Int32(0)).ToDouble();
        righe->MoveNext();
    }
    SetProp(ctlQtaAnnProgPadre, "Text", Variant(totale));
}

}  // namespace zq::plugin
