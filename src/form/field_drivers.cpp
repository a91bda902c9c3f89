// The body fields' lost-focus drivers: the line reason, the cancelled quantity and the line
// quantity settle the current line against what the user left in them.

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/line_ui.h"
#include "host/control_text.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

// Settling answers a change carried out; a road that failed in the middle answers nothing.
bool Eseguito(VBool v) {
    return IsTrue(v);
}

}  // namespace

// A typed cancelled quantity above the line's starting quantity is taken as the whole of it:
// the pair's arithmetic would otherwise leave the master a negative quantity.
void CLSRF_REGDOC_STATI::LimitaQtaAnnullo() {
    double iniziale = ui::QtaDi(ctlQtaOrig);
    if (iniziale <= 0) iniziale = ui::QtaDi(ctlQta1);
    if (iniziale <= 0 || ui::QtaDi(ctlQtaAnnullo) <= iniziale) return;
    ui::Mostra(ctlQtaAnnullo, Variant(iniziale));
    IgnoreErrors([&] {
        ui::Richiesto(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert")
            ->Set("DO77_ZQ_QTA_ANNULLO", Variant(iniziale));
    });
}

// Only a line in the cancelled state, or a line of a pair, has a cancellation to settle: on
// any other line the quantity the user left waits for the cancelled state, and the checks
// against delivered quantities would only warn about a cancellation nobody asked for.
bool CLSRF_REGDOC_STATI::RigaDaRegolare() {
    host::RigaCorpoPtr riga = RegDoc().objRigaCorpo();
    if (riga && riga->StatoRiga() == lngStatoAnnulloRighe) return true;
    const Variant guid(host::GetGuidRiga(riga));
    Variant altra;
    return IsTrue(FindMasterGuid(guid, altra)) || IsTrue(FindDetailGuid(guid, altra));
}

// Each driver takes the road's picture (FotografaPercorso) where it begins changing the
// order, so that leaving a field that settles nothing costs no picture.
void CLSRF_REGDOC_STATI::CausaleCorpoChange() {
    if (IsTrue(IsAnnulliOffCorpo()) || IsTrue(blnGrigliaInCorso)) return;
    if (host::LeggiTesto(ctlCodCausaleRiga).empty()) {
        if (!FotografaPercorso()) return;
        host::ScriviTesto(ctlDesCausaleRiga, Variant(std::string()));
        host::Ref(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert")
            .Set("DO77_DESCAU_ZQ63", Variant::Null());
        // The cancelled quantity shown goes with the reason, and its field with it: left
        // behind, a quantity the user typed (even one refused, such as -1) would be stored
        // with the line while the control shows nothing to clean.
        if (GetProp(ctlQtaAnnullo, "Enabled").ToBool()) {
            host::ScriviTesto(ctlQtaAnnullo, Variant::Int32(0));
            host::Ref(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert")
                .Set("DO77_ZQ_QTA_ANNULLO", Variant::Int32(0));
        }
        return;
    }
    if (!RigaDaRegolare() || !FotografaPercorso()) return;
    IgnoreErrors([&] { LimitaQtaAnnullo(); });
    SequenzaStorno([&] { return Eseguito(ConfermaAnnulloRiga(VFalse)); }, true);
}

void CLSRF_REGDOC_STATI::QtaAnnulloChange() {
    if (IsTrue(IsAnnulliOffCorpo()) || IsTrue(blnGrigliaInCorso) || TestaAnnullata()) return;
    if (!RigaDaRegolare() || !FotografaPercorso()) return;
    IgnoreErrors([&] { LimitaQtaAnnullo(); });
    SequenzaStorno([&] { return Eseguito(ConfermaAnnulloRiga(VFalse)); }, true);
}

// A line of a pair re-aligns the other one and reverses nothing: the pair's open quantity
// does not change with it. An ordinary line with a cancelled quantity is settled. Which of
// the three applies is read first: the road's picture and the busy indicator follow only
// when something is to change, and the undo then gives back the indicator the user had.
void CLSRF_REGDOC_STATI::QtaCorpoChange() {
    if (intTipoForm != 2 || IsTrue(IsAnnulliOffCorpo()) || IsTrue(blnCreaAnnulloInCorso) ||
        !gclsRegDoc)
        return;
    for (const ObjectPtr* ctl : {&ctlCodCausaleRiga, &ctlQtaAnnullo, &ctlStatoRiga, &ctlQta1,
                                 &ctlGuidMaster, &ctlGuidDetail})
        if (!*ctl) return;
    host::RigaCorpoPtr riga = RegDoc().objRigaCorpo();
    const Variant guid(host::GetGuidRiga(riga));
    const double qtaAnnullo = QtaAnnulloMostrata();
    const double qta = ui::QtaDi(ctlQta1);
    Variant altra;
    const bool master = IsTrue(FindMasterGuid(guid, altra));
    const bool dettaglio = !master && IsTrue(FindDetailGuid(guid, altra));
    if (!master && !dettaglio && !(qtaAnnullo > 0 && RigaDaRegolare())) return;
    if (!FotografaPercorso()) return;

    auto& ui = DocUI();
    ui.SetIndicatoreAttesa(0);
    ScopeExit attesa([&] { CleanUp([&] { ui.SetIndicatoreAttesa(intAttesaSalvata); }); });
    if (master) {
        ImpostaQtaAnnulloMaster(altra, qtaAnnullo, qta, VTrue);
    } else if (dettaglio) {
        // The master keeps the cancelled quantity the pair is re-aligned with: a text left in
        // its field that is no quantity (a -1 typed and never settled) would be stored.
        auto& vert = host::Ref(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert");
        if (!VarEq(NvlVar(vert.Get("DO77_ZQ_QTA_ANNULLO"), Variant::Int32(0)),
                   Variant(qtaAnnullo))) {
            vert.Set("DO77_ZQ_QTA_ANNULLO", Variant(qtaAnnullo));
            ui::Mostra(ctlQtaAnnullo, Variant(qtaAnnullo));
        }
        ImpostaQtaAnnulloMaster(altra, qtaAnnullo, qta, VFalse);
        AllineaQtaOrigCoppia(guid, altra);
    } else {
        IgnoreErrors([&] { LimitaQtaAnnullo(); });
        SequenzaStorno([&] { return Eseguito(ConfermaAnnulloRiga(VFalse)); }, true);
    }
}

}  // namespace zq::plugin

namespace zq::plugin {

// The cancelled quantity the control shows, when it is one. A text that is no quantity (one
// the settlement refused, such as -1, stays in the control marked invalid) is not the
// line's: the field keeps the quantity the line was settled with, and a master re-aligns
// its cancellation line from that one rather than from the refused text.
double CLSRF_REGDOC_STATI::QtaAnnulloMostrata() {
    if (const std::optional<double> digitata = ui::QuantitaDigitata(ctlQtaAnnullo))
        return *digitata;
    const Variant campo =
        host::Ref(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert").Get("DO77_ZQ_QTA_ANNULLO");
    const double scritta = NvlVar(campo, Variant::Int32(0)).ToDouble();
    return std::isfinite(scritta) ? std::max(0.0, scritta) : 0.0;
}

// The quantity the user typed on a line of a pair goes back with an undone re-alignment:
// kept, the pair's two lines would no longer add up to its starting quantity at the next
// save. The line gets what the pair gives it, the starting quantity less the other line.
void CLSRF_REGDOC_STATI::RimettiQtaCoppia() {
    if (intTipoForm != 2 || IsTrue(IsAnnulliOffCorpo()) || TestaAnnullata()) return;
    host::RigaCorpoPtr riga = RegDoc().objRigaCorpo();
    const Variant guid(host::GetGuidRiga(riga));
    Variant altra;
    if (!IsTrue(FindMasterGuid(guid, altra)) && !IsTrue(FindDetailGuid(guid, altra))) return;
    const double origine = ui::QtaDi(ctlQtaOrig);
    if (origine <= 0) return;
    const double prima = std::clamp(origine - QtaRigaByGuid(altra), 0.0, origine);
    // The typing only wrote the field and the control; taking it back does the same.
    ui::Richiesto(RegDoc().rstDocCorpo(), "rstDocCorpo")->Set("DO30_QTA1", Variant(prima));
    ui::Mostra(ctlQta1, Variant(prima));
}

// The user changed a master's own quantity: the pair's starting quantity, held on both of
// its lines, becomes what the two lines hold now, so that folding the pair back gives the
// master exactly that.
void CLSRF_REGDOC_STATI::AllineaQtaOrigCoppia(const Variant& guidMaster,
                                              const Variant& guidDettaglio) {
    ado::RecordsetPtr corpo = ui::Richiesto(RegDoc().rstDocCorpo(), "rstDocCorpo")->Clone();
    const Variant progMaster = GetProgRigaByGuid(corpo, guidMaster.ToString(), VFalse);
    const Variant progDettaglio = GetProgRigaByGuid(corpo, guidDettaglio.ToString(), VFalse);
    const auto qta = [&](const Variant& prog) {
        return NvlVar(GetCampoByProgRiga(corpo, prog.ToLong(), "DO30_QTA1", VFalse),
                      Variant::Int32(0))
            .ToDouble();
    };
    const double annullata = qta(progDettaglio);
    const double origine = qta(progMaster) + annullata;
    ado::RecordsetPtr vert = ui::Richiesto(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert")->Clone();
    const auto allinea = [&](const Variant& prog, std::string_view campo, double valore) {
        vert->SetFilter(Variant("DO77_PROGRIGA = " + std::to_string(prog.ToLong())));
        if (vert->BOF() || vert->EOF_()) return;
        const Variant attuale = vert->Get(campo);
        if (attuale.IsNumeric() && QtaUguale(attuale.ToDouble(), valore)) return;
        vert->Set(campo, Variant(valore));
        vert->Update();
    };
    for (const Variant& prog : {progMaster, progDettaglio})
        allinea(prog, "DO77_ZQ_QTA_ORIG", origine);
    // The master's cancelled quantity is what its cancellation line holds: after the host
    // undid one line of the pair, a quantity the other kept would stand beside the new
    // starting quantity.
    allinea(progMaster, "DO77_ZQ_QTA_ANNULLO", annullata);
    if (ctlQtaOrig) IgnoreErrors([&] { ui::Mostra(ctlQtaOrig, Variant(origine)); });
    if (ctlQtaAnnullo &&
        VarEq(ui::Richiesto(RegDoc().rstDocCorpo(), "rstDocCorpo")->Get("DO30_PROGRIGA"),
              progMaster))
        IgnoreErrors([&] { ui::Mostra(ctlQtaAnnullo, Variant(annullata)); });
}

}  // namespace zq::plugin
