// Opening a document form: binding to it, finding the cancellation controls by their
// bound column, the parameter warnings, the "Gestione annulli" menu item and the
// controls' first state.

#include "data/sql_text.h"
#include "form/form_access.h"
#include "host/host_access.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

constexpr std::string_view kTitolo = "Stato documento";
constexpr std::int32_t kStileAvviso = 48;

VBool VisibleOf(const ObjectPtr& ctl) {
    return ToVBool(GetProp(ctl, "Visible").ToBool());
}

}  // namespace

HResult CLSRF_REGDOC_STATI::OpenForm(ObjectPtr& Form, std::int16_t TipoForm) {
    return ComBoundary([&] {
        frmCorrente = Form;
        intTipoForm = TipoForm;
        CercaControlliForm(Form, TipoForm);
        LeggiStatoTestata();

        // The warnings only tell the user; the form opens all the same.
        if (TipoForm == 1) {
            if (!IsTrue(IsAnnulliOffTestata()) && IsTrue(blnMancaStatoTesta))
                host::ShowHostMessage(objProgramma,
                                      "E' necessario impostare nei parametri Vestura il valore "
                                      "dello stato annullato per la testata documento. " +
                                          std::string(kCrLf) + "[ZQ00_IDSTATO_ANNULLO_TESTA_CO4C]",
                                      kStileAvviso, kTitolo);
        } else if (TipoForm == 2) {
            if (IsTrue(IsAnnulliOffCorpo())) {
                if (IsModalitaGriglia(frmCorrente, 1))
                    host::ShowHostMessage(
                        objProgramma,
                        "La gestione degli annulli non funziona con la modalità griglia 1",
                        kStileAvviso, kTitolo);
            } else if (IsTrue(blnMancaStatoRighe)) {
                host::ShowHostMessage(objProgramma,
                                      "E' necessario impostare nei parametri Vestura il valore "
                                      "dello stato annullato per le righe documento. " +
                                          std::string(kCrLf) + "[ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C]",
                                      kStileAvviso, kTitolo);
            } else {
                lngFlussoDoc = host::Ref(RegDoc().objRigaCorpo(), "objRigaCorpo").IdFlusso();
                lngStatoInizialeRighe = GetStatoIniziale(lngFlussoDoc);
                CallMethod(objMenuFunzGen, "AddMenuItem",
                           {Variant("Gestione annulli"), Variant("GestAnnulli"),
                            Variant::Bool(true), Variant::Bool(true)});
            }
        }

        // A new document starts with nothing pending.
        blnCambioStatoTesta = VFalse;
        blnGrigliaInCorso = VFalse;
        blnConfermaInCorso = VFalse;
        for (const ObjectPtr* sub : {&frmDocCorpo, &frmDocCorpoVert, &frmDocCorpoOrd})
            SetProp(*sub, "MsgOnUpdate", Variant::Bool(false));
        blnRigaDaConfermare = VFalse;

        if (TipoForm == 2) {
            CaricaLinkAnnulli(RegDoc().rstDocCorpoVert(), RegDoc().rstDocCorpo());
            // The grid already stands on a line: the plug-in starts from it.
            SeguiRigaCorrente();
        }

        if (!TestaAnnullata()) {
            AggiornaControlliCorpo();
        } else {
            DisabilitaControlliCorpo();
        }
    });
}

// The sub-forms are read again on every opening; the controls of each form kind are
// searched once for the life of the object. A later control bound to the same column
// replaces an earlier one.
void CLSRF_REGDOC_STATI::CercaControlliForm(const ObjectPtr& Form, std::int16_t TipoForm) {
    frmDocCorpo = GetObject(frmCorrente, "FME_DocCorpo");
    frmDocCorpoOrd = GetObject(frmCorrente, "FME_DocCorpoOrd");
    frmDocCorpoVert = GetObject(frmCorrente, "FME_DocCorpoVert");
    frmDocTestata = GetObject(frmCorrente, "FME_DocTestata");

    if (TipoForm == 1 && !IsTrue(blnControlliTestataTrovati)) {
        for (const ObjectPtr& ctl : ControlliForm(Form)) {
            const std::string campo = GetDBField(ctl);
            if (campo.empty()) continue;
            if (campo == "DO76_CODCAU_ZQ63") {
                ctlCodCausaleTesta = ctl;
                SetProp(ctl, "IsGestione", Variant::Bool(true));
            } else if (campo == "DO76_DESCAU_ZQ63") {
                ctlDesCausaleTesta = ctl;
            }
        }
        blnControlliTestataTrovati = VTrue;
    } else if (TipoForm == 2 && !IsTrue(blnControlliCorpoTrovati)) {
        for (const ObjectPtr& ctl : ControlliForm(Form)) {
            const std::string campo = GetDBField(ctl);
            if (campo.empty()) {
                // The sibling total is not bound to a column: it is known by its name.
                if (GetNomeControllo(ctl) == "TXT_DO77_ZQ_QTA_ANNPROGPADRE") {
                    ctlQtaAnnProgPadre = ctl;
                    SetProp(ctl, "Visible", Variant::Bool(IsModalitaGriglia(frmCorrente, 2)));
                }
            } else if (campo == "DO77_CODCAU_ZQ63") {
                ctlCodCausaleRiga = ctl;
                SetProp(ctl, "IsGestione", Variant::Bool(true));
                blnVisCodCausaleRiga = VisibleOf(ctl);
            } else if (campo == "DO77_DESCAU_ZQ63") {
                ctlDesCausaleRiga = ctl;
                blnVisDesCausaleRiga = VisibleOf(ctl);
            } else if (campo == "DO77_ZQ_QTA_ANNULLO") {
                ctlQtaAnnullo = ctl;
                blnVisQtaAnnullo = VisibleOf(ctl);
            } else if (campo == "DO77_ZQ_QTA_ORIG") {
                ctlQtaOrig = ctl;
                ImpostaEnabled(ctl, false);
                blnVisQtaOrig = VisibleOf(ctl);
            } else if (campo == "DO30_GUID") {
                ctlStatoRiga = ctl;
            } else if (campo == "DO30_QTA1") {
                ctlQta1 = ctl;
            } else if (campo == "TXT_DO30_INDTIPORIGA") {
                ctlTipoRiga = ctl;
            } else if (campo == "DO30_QTA2") {
                ctlQta2 = ctl;
            } else if (campo == "DO77_ZQGUID_MASTER_DO30") {
                ctlGuidMaster = ctl;
                ImpostaEnabled(ctl, false);
                blnVisGuidMaster = VisibleOf(ctl);
            } else if (campo == "DO77_ZQGUID_DETAIL_DO30") {
                ctlGuidDetail = ctl;
                ImpostaEnabled(ctl, false);
                blnVisGuidDetail = VisibleOf(ctl);
            }
        }
        AggiornaVisibilitaCorpo();
        blnControlliCorpoTrovati = VTrue;
    }
}

// Controls that are not bound to a column have no DBField member at all.
std::string CLSRF_REGDOC_STATI::GetDBField(const ObjectPtr& ctl) {
    std::string campo;
    IgnoreErrors([&] { ProbeMember([&] { campo = GetProp(ctl, "DBField").ToString(); }); });
    return campo;
}

std::string CLSRF_REGDOC_STATI::GetNomeControllo(const ObjectPtr& ctl) {
    std::string nome;
    IgnoreErrors([&] { ProbeMember([&] { nome = GetProp(ctl, "Name").ToString(); }); });
    return nome;
}

}  // namespace zq::plugin
