#include "engine/nuova_riga_annullo.h"

#include "engine/line_ui.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

std::string CopiaRigaDaMaster(host::IRegDoc& doc, ado::Recordset& corpo, ado::Recordset& master,
                              double qtaAnnullo, const NumeriNuovaRiga& numeri) {
    std::string guid;
    const std::int32_t campi = corpo.FieldCount();
    for (std::int32_t i = 0; i < campi; ++i) {
        auto campo = corpo.FieldAt(i);
        const std::string nome = campo->Name();
        if (nome == "DO30_CODDEPCOL_MG58") {
            doc.ImpostaDepositoCollegato(master.Get(nome));
        } else if (nome == "DO30_GUID") {
            guid = campo->Value().ToString();
        } else if (nome == "DO30_OPZIONE_MG5E") {
            doc.ImpostaArticoloOpzione(NvlVar(master.Get("DO30_CODART_MG66"), Variant("")),
                                       NvlVar(master.Get("DO30_OPZIONE_MG5E"), Variant("")), VTrue,
                                       VTrue, VTrue);
        } else if (nome == "DO30_QTA1") {
            doc.ImpostaQuantita(qtaAnnullo, VFalse, VFalse, 0);
        } else if (nome == "DO30_PROGRIGA") {
            campo->SetValue(Variant::Int32(numeri.progRiga));
        } else if (nome == "DO30_PROGVISUASTA") {
            campo->SetValue(Variant::Int32(numeri.progVisua));
        } else if (nome == "DO30_PROGPADRE") {
            campo->SetValue(Variant::Int32(numeri.progPadre));
        } else if (nome == "GRIGLIA") {
            campo->SetValue(Variant::Int32(0));
        } else if (nome == "DO30_ID" || nome == "DO30_ID_DO11") {
            // The host's identities of the new line.
        } else {
            campo->SetValue(master.Get(nome));
        }
    }
    return guid;
}

void ScriviSezioniCorpo(host::IRegDoc& doc) {
    ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo")->UpdateBatch(ado::adAffectAll);
    ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")->UpdateBatch(ado::adAffectAll);
    ui::Richiesto(doc.rstDocCorpoOrd(), "rstDocCorpoOrd")->UpdateBatch(ado::adAffectAll);
}

void ScriviSezioniCorpoIgnorandoErrori(host::IRegDoc& doc) {
    IgnoreErrors(
        [&] { ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo")->UpdateBatch(ado::adAffectAll); });
    IgnoreErrors([&] {
        ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")->UpdateBatch(ado::adAffectAll);
    });
    IgnoreErrors([&] {
        ui::Richiesto(doc.rstDocCorpoOrd(), "rstDocCorpoOrd")->UpdateBatch(ado::adAffectAll);
    });
}

void RicalcolaDocumento(host::IRegDoc& doc) {
    doc.RicalcolaTotali(VFalse, VTrue, VFalse, VTrue, VTrue, VTrue, VTrue);
    doc.RicalcolaIva();
    doc.RicalcolaScadenze();
}

namespace {

constexpr std::string_view kTitolo = "Stato documento";
constexpr std::string_view kSenzaCausale =
    "Non è possibile annullare l'ordine, senza specificare la causale di annullo!";

}  // namespace

bool CLSRF_REGDOC_STATI::RifiutaAnnullo(double dblQtaOrdine, double residuo, bool senzaCausale,
                                        VBool& blnOk, double& dblQtaRipristino) {
    if (residuo < 0 && !QtaZero(residuo)) {
        blnOk = VFalse;
        dblQtaRipristino = dblQtaOrdine;
        host::ShowHostMessage(objProgramma, ui::kQtaMaggiore, 64, kTitolo);
        return true;
    }
    if (senzaCausale) {
        blnOk = VFalse;
        dblQtaRipristino = 0;
        host::ShowHostMessage(objProgramma, kSenzaCausale, 64, kTitolo);
        return true;
    }
    return false;
}

bool CLSRF_REGDOC_STATI::ModificheInSospeso() {
    return GetProp(frmDocCorpo, ui::kEditMode).ToLong() == ui::kEditModeModificato ||
           GetProp(frmDocTestata, ui::kEditMode).ToLong() == ui::kEditModeModificato;
}

bool CLSRF_REGDOC_STATI::HaGiaAnnullo(const std::string& guid) {
    Variant trovato;
    return IsTrue(FindDetailGuid(Variant(guid), trovato)) ||
           IsTrue(FindMasterGuid(Variant(guid), trovato));
}

void CLSRF_REGDOC_STATI::ChiudiAnnulloTotale(host::IRegDoc& doc) {
    SetFlgNonPiuEvRiga(Variant::Int16(1));
    ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo")->Update();
    ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")->Update();
    ui::Richiesto(doc.rstDocCorpoOrd(), "rstDocCorpoOrd")->Update();
}

void CLSRF_REGDOC_STATI::InterrompiCreaAnnullo(bool chiudiGriglia) {
    blnCreaAnnulloInCorso = VFalse;
    if (chiudiGriglia && gclsRegDoc)
        CleanUp([&] { gclsRegDoc->FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue); });
    CleanUp([&] { DocUI().SetIndicatoreAttesa(intAttesaSalvata); });
}

void CLSRF_REGDOC_STATI::RegistraUltimoAnnullo(const std::string& guid, ado::Recordset& corpo) {
    strGuidUltimoAnnullo = guid;
    lngProgRigaUltimoAnnullo = NvlVar(corpo.Get("DO30_PROGRIGA"), Variant::Int32(0)).ToLong();
    lngProgPadreUltimoAnnullo = NvlVar(corpo.Get("DO30_PROGPADRE"), Variant::Int32(0)).ToLong();
    lngStatoUltimoAnnullo = lngStatoAnnulloRighe;
}

}  // namespace zq::plugin
