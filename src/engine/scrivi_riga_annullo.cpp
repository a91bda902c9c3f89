// Keys and fills the DO77 and DO31 rows of one body line for a partial cancellation.

#include "data/sql_text.h"
#include "engine/line_ui.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

bool SuRiga(const ado::Recordset& rs) {
    return !rs.EOF_();
}

}  // namespace

void CLSRF_REGDOC_STATI::ScriviRigaAnnullo(std::int32_t lngProgRiga, const Variant& varGuidMaster,
                                           const Variant& varGuidDetail, double dblQtaAnnullo,
                                           double dblQtaOrig) {
    if (IsTrue(IsAnnulliOffCorpo())) return;
    auto& doc = RegDoc();
    auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");

    // The host keeps the line sections filtered on the current line: its filter goes back
    // once the line's own row is written.
    const Variant filtroVert = vert->Filter();
    vert->SetFilter(Variant::Int32(ado::adFilterNone));
    vert->SetFilter(Variant(" DO77_PROGRIGA = " + SqlLong(lngProgRiga)));
    if (!SuRiga(*vert)) {
        doc.AggiungiRigaCorpoVert(0);
        vert->Set("DO77_DITTA_CG18", corpo->Get("DO30_DITTA_CG18"));
        vert->Set("DO77_NUMREG_CO99", corpo->Get("DO30_NUMREG_CO99"));
        vert->Set("DO77_PROGRIGA", Variant::Int32(lngProgRiga));
    }
    // The link columns and the GUID controls hold the GUID without braces.
    if (ctlGuidMaster) {
        IgnoreErrors([&] {
            const Variant guid(ui::SenzaGraffe(varGuidMaster.ToString()));
            ui::Mostra(ctlGuidMaster, guid);
            vert->Set("DO77_ZQGUID_MASTER_DO30", guid);
        });
    }
    if (ctlGuidDetail) {
        IgnoreErrors([&] {
            const Variant guid(ui::SenzaGraffe(varGuidDetail.ToString()));
            ui::Mostra(ctlGuidDetail, guid);
            vert->Set("DO77_ZQGUID_DETAIL_DO30", guid);
        });
    }
    if (dblQtaAnnullo != -1.0 && ctlQtaAnnullo) {
        ui::Mostra(ctlQtaAnnullo, Variant(dblQtaAnnullo));
        vert->Set("DO77_ZQ_QTA_ANNULLO", Variant(dblQtaAnnullo));
    }
    if (dblQtaOrig != -1.0 && ctlQtaOrig) {
        ui::Mostra(ctlQtaOrig, Variant(dblQtaOrig));
        vert->Set("DO77_ZQ_QTA_ORIG", Variant(dblQtaOrig));
    }
    doc.AcquisisciCorpoVert();
    vert->SetFilter(filtroVert);

    auto ord = ui::Richiesto(doc.rstDocCorpoOrd(), "rstDocCorpoOrd");
    const Variant filtroOrd = ord->Filter();
    ord->SetFilter(Variant::Int32(ado::adFilterNone));
    ord->SetFilter(Variant(" DO31_PROGRIGA = " + SqlLong(lngProgRiga)));
    if (!SuRiga(*ord)) {
        doc.AggiungiRigaCorpoOrd(0);
        ord->Set("DO31_DITTA_CG18", corpo->Get("DO30_DITTA_CG18"));
        ord->Set("DO31_NUMREG_CO99", corpo->Get("DO30_NUMREG_CO99"));
        ord->Set("DO31_PROGRIGA", Variant::Int32(lngProgRiga));
    }
    ord->SetFilter(filtroOrd);
}

}  // namespace zq::plugin
