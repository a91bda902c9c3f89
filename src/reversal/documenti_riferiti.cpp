// The documents an order refers to, and the batch write of the document's body that
// precedes every reversal of warehouse progressives.

#include <iterator>
#include <string>

#include "data/query.h"
#include "data/sql_text.h"
#include "host/host_access.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

using host::Ref;

// Hands the host the comma-separated registration numbers of the documents the lines
// refer to (the empty text when there are none). Errors reach the caller.
void CLSRF_REGDOC_STATI::GetDocumentiRiferiti() {
    const std::string numreg =
        Ref(RegDoc().rstDocTestata(), "rstDocTestata").Get("DO11_NUMREG_CO99").ToString();
    const Variant ditta = Ref(objDitta, "CodiceDitta").CodiceDitta();

    const ado::RecordsetPtr rst =
        OpenQuery(Cnn(), std::string(" SELECT DISTINCT") + "    DO33_NUMREGRIF_CO99" + " FROM" +
                             "    DO33_DOCCORPORIF WITH (NOLOCK)" + " WHERE" +
                             "    DO33_DITTA_CG18 = " + SqlBare(ditta) + " AND" +
                             "    DO33_NUMREG_CO99 = " + SqlText(numreg) + " AND" +
                             "    NOT DO33_NUMREGRIF_CO99 IS NULL");

    std::string elenco;
    if (rst) {
        while (!rst->EOF_()) {
            if (!elenco.empty()) elenco += ",";
            elenco += SqlBare(rst->Get("DO33_NUMREGRIF_CO99"));
            rst->MoveNext();
        }
        rst->Close();
    }
    RegDoc().SetElencoDocRiferiti(elenco);
}

// Writes the body and every per-line section that is open to the database, so that the
// progressive procedure sees the change. Each step ignores its own error: a section that
// fails to write does not stop the others. The filters stay reset afterwards; the current
// rows come back.
void CLSRF_REGDOC_STATI::AggiornaBatchCorpo() {
    using Sezione = ado::RecordsetPtr (host::IRegDoc::*)() const;
    const auto sezione = [&](Sezione membro) -> ado::Recordset& {
        return Ref((RegDoc().*membro)(), "Recordset");
    };
    constexpr Sezione kCorrenti[] = {&host::IRegDoc::rstDocCorpo, &host::IRegDoc::rstDocCorpoOrd,
                                     &host::IRegDoc::rstDocCorpoVert};

    ScartaQtaAnnulloInSospeso();

    Variant segnalibri[3];
    bool salvato[3] = {false, false, false};
    for (int i = 0; i < 3; ++i)
        salvato[i] = Probe([&] { segnalibri[i] = sezione(kCorrenti[i]).Bookmark(); });
    for (Sezione s : kCorrenti)
        IgnoreErrors([&] { sezione(s).SetFilter(Variant::Int32(ado::adFilterNone)); });

    int scritte = 0;
    IgnoreErrors([&] {
        sezione(&host::IRegDoc::rstDocCorpo).UpdateBatch(ado::adAffectAllChapters);
        ++scritte;
    });
    for (Sezione s : host::kSezioniRiga) {
        IgnoreErrors([&] {
            if (const ado::RecordsetPtr rst = (RegDoc().*s)()) rst->UpdateBatch(ado::adAffectAll);
            ++scritte;
        });
    }
    // Every line is in the database now with the fields of the state it shows: the states
    // picked since the last save are the written ones from here on.
    const bool scritto = scritte == 1 + static_cast<int>(std::size(host::kSezioniRiga));
    if (scritto) statiRigaScritti.clear();

    IgnoreErrors([&] { GetDocumentiRiferiti(); });

    // A recordset that had no current row has no bookmark to go back to.
    for (int i = 0; i < 3; ++i) {
        if (salvato[i]) CleanUp([&] { sezione(kCorrenti[i]).SetBookmark(segnalibri[i]); });
    }
}

}  // namespace zq::plugin
