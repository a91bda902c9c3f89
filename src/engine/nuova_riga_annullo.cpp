#include "engine/nuova_riga_annullo.h"

#include "engine/line_ui.h"
#include "host/nvl.h"

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

}  // namespace zq::plugin
