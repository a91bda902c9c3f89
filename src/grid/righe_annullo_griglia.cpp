// Cancellation lines after the grid: made for cells set to "2" (or, for a line that has one,
// given the cell's quantity and reason), removed for cells set to "1" or "3" with the line's
// rows in every body section.

#include <string>

#include "data/sql_text.h"
#include "engine/line_ui.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

double Valore(const KeyedCollection& c, const std::string& chiave) {
    const Variant* v = c.Find(chiave);
    return v ? NvlVar(*v, Variant::Int32(0)).ToDouble() : 0;
}

double Numero(const ado::Recordset& rs, std::string_view campo) {
    return NvlVar(rs.Get(campo), Variant::Int32(0)).ToDouble();
}

void SenzaFiltro(ado::Recordset& rs) {
    rs.SetFilter(Variant::Int32(ado::adFilterNone));
}

// Puts `rs` on the first row of line `prog` through a filter; false when it has none.
bool SuRiga(ado::Recordset& rs, std::string_view colonna, std::int32_t prog) {
    rs.SetFilter(Variant(std::string(colonna) + " = " + SqlLong(prog)));
    if (rs.EOF_()) {
        SenzaFiltro(rs);
        return false;
    }
    const Variant bm = rs.Bookmark();
    SenzaFiltro(rs);
    rs.SetBookmark(bm);
    return true;
}

}  // namespace

// A master that already has its cancellation line: the cancellation line takes the cell's
// cancelled quantity and the reason, the master the rest of the pair's starting quantity.
void CLSRF_REGDOC_STATI::AggiornaCoppiaDaGriglia(ado::RecordsetPtr& clone, const Variant& B,
                                                 const Variant& D, double qtaAnnullo,
                                                 double qtaOrig) {
    auto& doc = RegDoc();
    const auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    const auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
    corpo->SetBookmark(B);
    vert->SetFilter(
        Variant("DO77_PROGRIGA = " +
                SqlLong(NvlVar(corpo->Get("DO30_PROGRIGA"), Variant::Int32(0)).ToLong())));
    std::string codice = NvlVar(vert->Get("DO77_CODCAU_ZQ63"), Variant("")).ToString();
    std::string descrizione = NvlVar(vert->Get("DO77_DESCAU_ZQ63"), Variant("")).ToString();
    if (codice.empty()) {
        codice = strCausaleDefault;
        descrizione = strDesCausaleDefault;
    }
    vert->Set("DO77_CODCAU_ZQ63", Variant::Null());
    vert->Set("DO77_DESCAU_ZQ63", Variant::Null());
    SenzaFiltro(*vert);
    vert->Update();
    if (QtaMaggiore(qtaOrig, qtaAnnullo) &&
        !QtaUguale(Numero(*corpo, "DO30_QTA1"), qtaOrig - qtaAnnullo))
        doc.ImpostaQuantita(qtaOrig - qtaAnnullo, VTrue, VTrue, 0);

    corpo->SetBookmark(GetBookmarkByGuid(clone, D.ToString(), VFalse));
    vert->SetFilter(Variant("DO77_PROGRIGA = " + SqlLong(corpo->Get("DO30_PROGRIGA").ToLong())));
    doc.ImpostaQuantita(qtaAnnullo, VTrue, VTrue, 0);
    vert->Set("DO77_CODCAU_ZQ63", Variant(codice));
    vert->Set("DO77_DESCAU_ZQ63", Variant(descrizione));
    SenzaFiltro(*vert);
    vert->Update();
    corpo->SetBookmark(B);
    SenzaFiltro(*vert);
}

// Stops at a line that is itself a cancellation line. A split the checks refuse (no reason at
// all, a quantity above the line's) refuses the whole command: the order stays as it was.
void CLSRF_REGDOC_STATI::CreaRigaAnnullo(KeyedCollection& righeDaDividere,
                                         KeyedCollection& qtaAnnullate,
                                         KeyedCollection& qtaOriginali) {
    auto& doc = RegDoc();
    const auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    if (righeDaDividere.Count() == 0 || (corpo->BOF() && corpo->EOF_())) return;
    ado::RecordsetPtr clone = corpo->Clone();
    for (std::size_t i = 0; i < righeDaDividere.Count(); ++i) {
        const std::string G = righeDaDividere.ItemAt(i).ToString();
        const Variant B = GetBookmarkByGuid(clone, G, VFalse);
        const std::int32_t P = GetProgRigaByGuid(clone, G, VFalse).ToLong();
        const std::string k = "K" + std::to_string(P);
        Variant D, M;
        if (IsTrue(FindDetailGuid(Variant(G), D))) {
            AggiornaCoppiaDaGriglia(clone, B, D, Valore(qtaAnnullate, k), Valore(qtaOriginali, k));
            continue;
        }
        if (IsTrue(FindMasterGuid(Variant(G), M))) return;
        corpo->SetBookmark(B);
        VBool ok = VTrue;
        double ripristino = 0;
        DuplicaRigaCorpoGrid(Valore(qtaOriginali, k), Valore(qtaAnnullate, k), Variant(G), ok,
                             ripristino, VTrue);
        if (!IsTrue(ok)) {
            RifiutaPercorso();
            return;
        }
    }
}

// The master G's cancellation line D goes: the master is unlinked and takes D's quantity
// back (wholly cancelled when its cell is "3"), D's rows leave every body section.
void CLSRF_REGDOC_STATI::RimuoviAnnulloDaGriglia(ado::RecordsetPtr& clone, const std::string& G,
                                                 const Variant& D, bool annullata) {
    auto& doc = RegDoc();
    const auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    const auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
    const auto ord = ui::Richiesto(doc.rstDocCorpoOrd(), "rstDocCorpoOrd");
    const Variant bmD = GetBookmarkByGuid(clone, D.ToString(), VFalse);
    const Variant bmG = GetBookmarkByGuid(clone, G, VFalse);
    doc.InizioAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);

    corpo->SetBookmark(bmD);
    const std::int32_t progD = corpo->Get("DO30_PROGRIGA").ToLong();
    const double qtaD = Numero(*corpo, "DO30_QTA1");
    corpo->SetBookmark(bmG);
    vert->SetFilter(Variant("DO77_PROGRIGA = " + SqlLong(corpo->Get("DO30_PROGRIGA").ToLong())));
    const Variant bmVert = vert->Bookmark();
    const double annullo = Numero(*vert, "DO77_ZQ_QTA_ANNULLO");
    const double orig = Numero(*vert, "DO77_ZQ_QTA_ORIG");
    ScollegaRigaAnnullo(D, Variant(G), bmG, bmVert, Variant(orig), Variant(annullo));
    const double qtaMaster = Numero(*corpo, "DO30_QTA1") + qtaD;
    doc.ImpostaQuantita(qtaMaster, VTrue, VTrue, 0);
    if (annullata) {
        // The cancelled state already counted the pair's whole open quantity (its starting
        // quantity less what was delivered), which the unlinking cleared.
        vert->Set("DO77_ZQ_QTA_ANNULLO", Variant(annullo));
        vert->Set("DO77_ZQ_QTA_ORIG", Variant(qtaMaster));
    }
    SenzaFiltro(*vert);
    vert->Update();

    corpo->SetBookmark(bmD);
    if (SuRiga(*vert, "DO77_PROGRIGA", progD)) {
        vert->Delete(ado::adAffectCurrent);
        vert->Update();
        vert->UpdateBatch(ado::adAffectAll);
    }
    if (!ord->EOF_() && SuRiga(*ord, "DO31_PROGRIGA", progD)) {
        ord->Delete(ado::adAffectCurrent);
        ord->Update();
        ord->UpdateBatch(ado::adAffectAll);
    }
    EliminaSottorigheCorpo(progD);
    corpo->SetBookmark(bmD);
    corpo->Delete(ado::adAffectCurrent);
    corpo->SetBookmark(bmG);
    corpo->UpdateBatch(ado::adAffectAll);
    doc.FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
}

void CLSRF_REGDOC_STATI::EliminaRigaAnnullo(KeyedCollection& righeDaLiberare,
                                            const KeyedCollection& righeAnnullate) {
    auto& doc = RegDoc();
    const auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    if (righeDaLiberare.Count() == 0 || (corpo->BOF() && corpo->EOF_())) return;
    ado::RecordsetPtr clone = corpo->Clone();
    for (std::size_t i = 0; i < righeDaLiberare.Count(); ++i) {
        const std::string G = righeDaLiberare.ItemAt(i).ToString();
        Variant D;
        if (!IsTrue(FindDetailGuid(Variant(G), D))) continue;
        RimuoviAnnulloDaGriglia(clone, G, D,
                                righeAnnullate.Find(righeDaLiberare.KeyAt(i)) != nullptr);
    }
}

}  // namespace zq::plugin
