// The grid data the size-grid command hands to the grid: one row per line of the family,
// with the line's body and order values, its cancellation data and, in DO30_GUID, the
// line's cancellation status ("1" free, "2" partly cancelled or part of a pair, "3" wholly
// cancelled).

#include <string>

#include "data/sql_text.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

bool HaRiga(const ado::RecordsetPtr& rs) {
    return rs && !rs->BOF() && !rs->EOF_();
}

bool Prefisso(const std::string& nome, std::string_view prefisso) {
    return nome.size() >= prefisso.size() && SameName(nome.substr(0, prefisso.size()), prefisso);
}

double Numero(const ado::Recordset& rs, std::string_view campo) {
    return NvlVar(rs.Get(campo), Variant::Int32(0)).ToDouble();
}

}  // namespace

// The status of the line the family clone stands on; `vert` stands on its DO77 row (or at
// its end when it has none).
std::string CLSRF_REGDOC_STATI::StatoRigaGriglia(const ado::Recordset& riga,
                                                 const ado::RecordsetPtr& vert) {
    const Variant guid = riga.Get("DO30_GUID");
    Variant altra;
    if (IsTrue(FindDetailGuid(guid, altra))) return "2";
    if (!HaRiga(vert)) {
        (void)host::Ref(vert, "rstDocCorpoVert").EOF_();  // no section at all: an error
        return "1";
    }
    const double annullo = Numero(*vert, "DO77_ZQ_QTA_ANNULLO");
    const double qta1 = Numero(riga, "DO30_QTA1");
    const double qta2 = Numero(riga, "DO30_QTA2");
    if (annullo != 0 && ((qta1 != 0 && annullo >= qta1) || (qta2 != 0 && annullo >= qta2)))
        return "3";
    if (annullo != 0) return "2";
    return IsTrue(FindMasterGuid(guid, altra)) ? "2" : "1";
}

// The reason a line shows in the grid: a line of a pair shows the reason of the pair's
// cancellation line, any other line its own.
void CLSRF_REGDOC_STATI::CausaleGriglia(ado::Recordset& dati, const ado::Recordset& vert,
                                        ado::Recordset& coppie) {
    const ado::Recordset* fonte = &vert;
    const std::string master = NvlVar(vert.Get("DO77_ZQGUID_MASTER_DO30"), Variant("")).ToString();
    if (!master.empty()) {
        coppie.SetFilter(Variant("DO77_ZQGUID_MASTER_DO30 ='" + master + "'"));
        if (!coppie.EOF_()) {
            coppie.MoveFirst();
            if (VarEq(coppie.Get("DO77_ZQGUID_MASTER_DO30"), coppie.Get("DO77_ZQGUID_DETAIL_DO30")))
                coppie.MoveNext();
            if (!coppie.EOF_()) fonte = &coppie;
        }
    }
    dati.Set("DO77_CODCAU_ZQ63", fonte->Get("DO77_CODCAU_ZQ63"));
    dati.Set("DO77_DESCAU_ZQ63", fonte->Get("DO77_DESCAU_ZQ63"));
}

// The state a line of the family is in, as its status tells it: a wholly cancelled line
// and a cancellation line are in the cancelled state, any other in the initial state. A
// road that does not complete gives the family these states back.
void CLSRF_REGDOC_STATI::RicordaStatoGriglia(const std::string& guid, const std::string& stato) {
    if (!percorsoCorrente) return;
    Variant master;
    const bool annullata = stato == "3" || IsTrue(FindMasterGuid(Variant(guid), master));
    percorsoCorrente->statiRighe.push_back(
        {guid, annullata ? lngStatoAnnulloRighe : lngStatoInizialeRighe, lngFlussoDoc});
}

// One data row for each line of the group `progPadre`, in the body's order.
void CLSRF_REGDOC_STATI::RiempiDatiGriglia(ado::Recordset& dati, std::int32_t progPadre) {
    auto& doc = RegDoc();
    const ado::RecordsetPtr famiglia = host::Ref(doc.rstDocCorpo(), "rstDocCorpo").Clone();
    famiglia->SetFilter(Variant(" DO30_PROGPADRE = " + SqlLong(progPadre)));
    ado::RecordsetPtr ord, vert, coppie;
    if (frmDocCorpoOrd) ord = host::Ref(doc.rstDocCorpoOrd(), "rstDocCorpoOrd").Clone();
    if (frmDocCorpoVert) {
        vert = host::Ref(doc.rstDocCorpoVert(), "rstDocCorpoVert").Clone();
        coppie = vert->Clone();
    }
    auto& f = host::objFunzioniGlobali();
    if (!famiglia->EOF_()) famiglia->MoveFirst();
    for (; !famiglia->EOF_(); famiglia->MoveNext()) {
        const std::string progRiga = SqlLong(famiglia->Get("DO30_PROGRIGA").ToLong());
        if (ord) ord->SetFilter(Variant("DO31_PROGRIGA = " + progRiga));
        if (vert) vert->SetFilter(Variant("DO77_PROGRIGA = " + progRiga));
        dati.AddNew();
        for (std::int32_t i = 0; i < dati.FieldCount(); ++i) {
            const std::string nome = dati.FieldAt(i)->Name();
            if (SameName(nome, "DO30_GUID")) {
                dati.Set(nome, Variant::Int32(0));
                const std::string stato = StatoRigaGriglia(*famiglia, vert);
                dati.Set(nome, Variant(stato));
                RicordaStatoGriglia(famiglia->Get("DO30_GUID").ToString(), stato);
            } else if (SameName(nome, "DO30_STAGIONE_MG5T")) {
                const auto stagione = Variant(f.ValoreNumero(famiglia->Get(nome))).ToInt();
                dati.Set(nome, Variant(Get_MG5T_CODICE(stagione)));
            } else if (Prefisso(nome, "DO30")) {
                dati.Set(nome, famiglia->Get(nome));
            } else if (Prefisso(nome, "DO31")) {
                if (HaRiga(ord)) dati.Set(nome, ord->Get(nome));
            } else if (Prefisso(nome, "DO77") && vert) {
                if (!HaRiga(vert)) {
                    if (SameName(nome, "DO77_ZQ_QTA_ANNULLO")) dati.Set(nome, Variant::Int32(0));
                } else if (SameName(nome, "DO77_CODCAU_ZQ63")) {
                    CausaleGriglia(dati, *vert, *coppie);
                } else if (!SameName(nome, "DO77_DESCAU_ZQ63")) {
                    dati.Set(nome, vert->Get(nome));
                }
            }
        }
        dati.Update();
    }
}

}  // namespace zq::plugin
