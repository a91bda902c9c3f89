// Whether cancellation handling is active on the header and body forms, and the enabled
// and visible state of the body's cancellation controls for the current line.

#include "form/form_access.h"
#include "host/host_access.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

constexpr std::string_view kFlagRiga = "TXT_DO31_FLGNONPIUEV";

// The line flag control, or null on a form without it (or when the form cannot tell).
ObjectPtr FlagRiga(const ObjectPtr& form) {
    ObjectPtr ctl;
    IgnoreErrors([&] { ctl = ControlloPerNome(form, kFlagRiga); });
    return ctl;
}

}  // namespace

// Without its reason controls the header form is not one the cancellation handling knows;
// grid mode 1 does not support it at all.
VBool CLSRF_REGDOC_STATI::IsAnnulliOffTestata() {
    if (!ctlCodCausaleTesta || !ctlDesCausaleTesta) return VTrue;
    return ToVBool(IsModalitaGriglia(frmCorrente, 1));
}

VBool CLSRF_REGDOC_STATI::IsAnnulliOffCorpo() {
    for (const ObjectPtr* ctl : {&ctlCodCausaleRiga, &ctlDesCausaleRiga, &ctlQtaAnnullo,
                                 &ctlQtaOrig, &ctlStatoRiga, &ctlGuidMaster, &ctlGuidDetail})
        if (!*ctl) return VTrue;
    return ToVBool(IsModalitaGriglia(frmCorrente, 1));
}

void CLSRF_REGDOC_STATI::AbilitaControlliCorpo(VBool Valore) {
    for (const ObjectPtr* ctl :
         {&ctlQta1, &ctlQta2, &ctlQtaAnnullo, &ctlCodCausaleRiga, &ctlStatoRiga})
        ImpostaEnabled(*ctl, IsTrue(Valore));
}

void CLSRF_REGDOC_STATI::DisabilitaControlliCorpo() {
    AbilitaControlliCorpo(VFalse);
}

void CLSRF_REGDOC_STATI::SbloccaControlliRiga() {
    if (IsTrue(IsAnnulliOffCorpo())) return;
    for (const ObjectPtr* ctl :
         {&ctlStatoRiga, &ctlQta1, &ctlTipoRiga, &ctlCodCausaleRiga, &ctlQtaAnnullo})
        ImpostaEnabled(*ctl, true);
    ImpostaEnabled(FlagRiga(frmCorrente), true);
}

// A cancellation line carries what was cancelled: neither its quantity, type, state nor
// flag may change.
void CLSRF_REGDOC_STATI::BloccaControlliRiga() {
    if (IsTrue(IsAnnulliOffCorpo())) return;
    for (const ObjectPtr* ctl : {&ctlQta1, &ctlTipoRiga, &ctlQtaAnnullo, &ctlStatoRiga})
        ImpostaEnabled(*ctl, false);
    ImpostaEnabled(FlagRiga(frmCorrente), false);
}

// A master line keeps the reason its cancellation line was made with.
void CLSRF_REGDOC_STATI::BloccaCausaleRiga() {
    if (IsTrue(IsAnnulliOffCorpo())) return;
    ImpostaEnabled(ctlCodCausaleRiga, false);
    ImpostaEnabled(FlagRiga(frmCorrente), false);
}

void CLSRF_REGDOC_STATI::AggiornaControlliCorpo() {
    if (IsTrue(IsAnnulliOffCorpo())) return;
    AbilitaControlliCorpo(VTrue);
    SbloccaControlliRiga();
    host::RigaCorpoPtr riga = RegDoc().objRigaCorpo();
    const Variant guid(host::GetGuidRiga(riga));
    Variant altra;
    if (IsTrue(FindMasterGuid(guid, altra))) {
        BloccaControlliRiga();
    } else if (IsTrue(FindDetailGuid(guid, altra))) {
        BloccaCausaleRiga();
    }
}

// In grid mode 2 the rows that belong to a parent line show no cancellation fields; the
// other rows get back the visibility the form had when it was searched.
void CLSRF_REGDOC_STATI::AggiornaVisibilitaCorpo() {
    if (!IsModalitaGriglia(frmCorrente, 2)) return;
    // A body without a current row has no parent line either.
    Variant padre = Variant::Null();
    const ado::RecordsetPtr righe = As<ado::Recordset>(GetObject(frmDocCorpo, "Recordset"));
    if (righe && !righe->BOF() && !righe->EOF_()) padre = righe->Get("DO30_PROGPADRE");

    const bool nascondi = padre.IsNumeric();
    const std::pair<const ObjectPtr*, VBool> controlli[] = {
        {&ctlGuidDetail, blnVisGuidDetail},         {&ctlGuidMaster, blnVisGuidMaster},
        {&ctlQtaAnnullo, blnVisQtaAnnullo},         {&ctlDesCausaleRiga, blnVisDesCausaleRiga},
        {&ctlCodCausaleRiga, blnVisCodCausaleRiga}, {&ctlQtaOrig, blnVisQtaOrig},
    };
    for (const auto& [ctl, visibile] : controlli)
        if (*ctl) SetProp(*ctl, "Visible", Variant::Bool(nascondi ? false : IsTrue(visibile)));
}

}  // namespace zq::plugin
