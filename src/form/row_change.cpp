// The body grid moved to another line: remember the line and set the cancellation
// controls for it.

#include "data/optimize.h"
#include "data/sql_text.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

// While the plug-in itself rewrites or appends lines the grid moves under it; those moves
// are not the user's and leave the controls and the current-line fields alone (the road
// brings the current line in step when it ends).
//
// The line's state is remembered with it: the state the line is in when the grid lands on
// it is no change of the user's, whether the host reports it before or after this event.
HResult CLSRF_REGDOC_STATI::GRIDRowChange() {
    return ComBoundary([&] {
        if (IsTrue(IsAnnulliOffCorpo()) || TestaAnnullata() || IsTrue(blnApplicaInCorso) ||
            IsTrue(blnCreaAnnulloInCorso))
            return;

        // The user deleted the last line: the grid has no current line to follow and
        // nothing to lock, and the next line the user adds brings its own row change.
        const ado::RecordsetPtr corpo = RegDoc().rstDocCorpo();
        if (host::Ref(corpo, "rstDocCorpo").BOF() || corpo->EOF_()) {
            strGuidRigaCorrente.clear();
            lngProgRigaCorrente = 0;
            lngProgPadreCorrente = 0;
            return;
        }

        host::RigaCorpoPtr riga = RegDoc().objRigaCorpo();
        strGuidRigaCorrente = host::GetGuidRiga(riga);
        lngProgRigaCorrente =
            NvlVar(host::Ref(corpo, "rstDocCorpo").Get("DO30_PROGRIGA"), Variant::Int32(0))
                .ToLong();
        if (riga) lngStatoRigaCorrente = riga->StatoRiga();

        BloccaSecondoLegame();
        AggiornaVisibilitaCorpo();
        AggiornaQtaAnnProgPadre();
        lngProgPadreCorrente = NvlVar(corpo->Get("DO30_PROGPADRE"), Variant::Int32(0)).ToLong();
    });
}

// A road that moved the grid itself may end on another line than it began on (a master
// re-aligned from its cancellation line, a new cancellation line): the host raises no row
// change for a move it did not make, so the line's controls are locked here as a row change
// would lock them. Otherwise the controls of the line the road began on stayed, and a
// cancellation line reached that way let the user type its quantity.
void CLSRF_REGDOC_STATI::SeguiRigaCorrente() {
    if (!gclsRegDoc) return;
    IgnoreErrors([&] {
        host::RigaCorpoPtr riga = gclsRegDoc->objRigaCorpo();
        strGuidRigaCorrente = host::GetGuidRiga(riga);
        if (riga) lngStatoRigaCorrente = riga->StatoRiga();
    });
    IgnoreErrors([&] {
        if (intTipoForm == 2 && !strGuidRigaCorrente.empty() && !IsTrue(IsAnnulliOffCorpo()) &&
            !TestaAnnullata())
            BloccaSecondoLegame();
    });
    IgnoreErrors([&] {
        const ado::RecordsetPtr corpo = gclsRegDoc->rstDocCorpo();
        if (!corpo || corpo->BOF() || corpo->EOF_()) {
            lngProgRigaCorrente = 0;
            lngProgPadreCorrente = 0;
            return;
        }
        lngProgRigaCorrente = NvlVar(corpo->Get("DO30_PROGRIGA"), Variant::Int32(0)).ToLong();
        lngProgPadreCorrente = NvlVar(corpo->Get("DO30_PROGPADRE"), Variant::Int32(0)).ToLong();
    });
}

// A cancellation line's quantity, type, state and flag are locked, a master's reason is;
// any other line has them free.
void CLSRF_REGDOC_STATI::BloccaSecondoLegame() {
    SbloccaControlliRiga();
    const Variant guid(strGuidRigaCorrente);
    Variant altra;
    if (IsTrue(FindMasterGuid(guid, altra))) {
        BloccaControlliRiga();
    } else if (IsTrue(FindDetailGuid(guid, altra))) {
        BloccaCausaleRiga();
    }
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
    // One filter for the group, then one per line of it.
    OttimizzaFiltri(righe, {"DO30_PROGPADRE"});
    OttimizzaFiltri(vert, {"DO77_PROGRIGA"});
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
