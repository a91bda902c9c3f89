// Giving a master line back what its cancellation line took, when that line is deleted or
// its cancellation is undone or changed.

#include <algorithm>
#include <cmath>

#include "data/recordset_guard.h"
#include "data/sql_text.h"
#include "engine/line_ui.h"
#include "form/form_access.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

Variant Zero() {
    return Variant::Int32(0);
}

constexpr std::string_view kTitolo = "Stato documento";
constexpr std::string_view kAnnulloInteroSulMaster =
    "La quantità della riga di annullo deve essere minore della quantità originale: per "
    "annullare tutta la riga impostare lo stato annullato sulla riga master.";

double NumeroDi(const ObjectPtr& ctl) {
    return NvlVar(ui::Testo(ctl), Variant::Int32(0)).ToDouble();
}

// Deletes the row of line `progRiga` from a line section, and writes the deletion. The
// row is looked for whatever row the host's filter shows: after the last line of an order
// went, the section is filtered on no line at all, and the row must go all the same. The
// host's filter on the current line is put back afterwards.
void EliminaRigaSezione(const ado::RecordsetPtr& rs, std::string_view campoProgRiga,
                        std::int32_t progRiga) {
    RecordsetGuard filtro(rs, RecordsetGuard::kFilter);
    rs->SetFilter(Variant(std::string(campoProgRiga) + " = " + SqlLong(progRiga)));
    if (rs->BOF() && rs->EOF_()) return;
    const Variant bookmark = rs->Bookmark();
    rs->SetFilter(Variant::Int32(ado::adFilterNone));
    rs->SetBookmark(bookmark);
    rs->Delete(ado::adAffectCurrent);
    rs->Update();
    rs->UpdateBatch(ado::adAffectAll);
}

}  // namespace

void CLSRF_REGDOC_STATI::RipristinaMasterAnnullo(const Variant& varGuidCancellata,
                                                 std::int32_t& lngProgRigaCancellata) {
    if (IsTrue(IsAnnulliOffCorpo())) return;
    Variant B;  // the master's bookmark; Empty when the line had no master
    bool bloccato = false;
    const bool completato = EndQuietly([&] {
        blnRipristinoInCorso = VTrue;
        auto& doc = RegDoc();
        auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");

        Variant G;
        FindMasterGuid(varGuidCancellata, G);
        if (VarNe(G, Variant::Int16(0))) {
            B = Variant(GetBookmarkByGuid(corpo, G.ToString(), VTrue).ToDouble());
            ui::VaiABookmark(frmDocCorpo, B);

            // The ordered quantity as the master shows it, else as its extension row keeps it.
            double Q = NumeroDi(ctlQtaOrig);
            if (std::llround(Q * 100000) == 0) {
                auto clone = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")->Clone();
                const std::string g = G.ToString();
                const std::string senzaGraffe = g.size() >= 2 ? g.substr(1, g.size() - 2) : "";
                clone->SetFilter(Variant("DO77_ZQGUID_MASTER_DO30 ='" + senzaGraffe + "'"));
                if (!clone->EOF_()) Q = NvlVar(clone->Get("DO77_ZQ_QTA_ORIG"), Zero()).ToDouble();
                clone->Close();
            }
            doc.ImpostaQuantita(Q, VTrue, VTrue, 0);

            auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
            if (ctlQtaAnnullo) {
                ui::Mostra(ctlQtaAnnullo, Zero());
                vert->Set("DO77_ZQ_QTA_ANNULLO", Zero());
            }
            if (ctlQtaOrig) {
                ui::Mostra(ctlQtaOrig, Zero());
                vert->Set("DO77_ZQ_QTA_ORIG", Zero());
            }
            if (ctlGuidMaster)
                IgnoreErrors([&] {
                    ui::Mostra(ctlGuidMaster, Variant(""));
                    vert->Set("DO77_ZQGUID_MASTER_DO30", Variant::Null());
                    vert->UpdateBatch(ado::adAffectAll);
                });
            if (ctlGuidDetail)
                IgnoreErrors([&] {
                    ui::Mostra(ctlGuidDetail, Variant(""));
                    vert->Set("DO77_ZQGUID_DETAIL_DO30", Variant::Null());
                });
            if (ctlCodCausaleRiga)
                IgnoreErrors([&] {
                    ui::Mostra(ctlCodCausaleRiga, Variant(""));
                    ui::Mostra(ctlDesCausaleRiga, Variant(""));
                    vert->Set("DO77_CODCAU_ZQ63", Variant::Null());
                    vert->Set("DO77_DESCAU_ZQ63", Variant::Null());
                });
            IgnoreErrors([&] {
                ui::Richiesto(doc.rstDocCorpoOrd(), "rstDocCorpoOrd")
                    ->Set("DO31_FLGNONPIUEV", Variant::Int16(0));
            });

            doc.RicalcolaTotali(VFalse, VTrue, VFalse, VTrue, VTrue, VTrue, VTrue);
            doc.RicalcolaScadenze();
            doc.RicalcolaIva();
            RemoveLinkAnnullo(varGuidCancellata);
            (void)GRIDRowChange();
        }

        if (lngProgRigaCancellata > 0) {
            (void)GetProp(frmDocCorpo, ui::kLockCount);
            bloccato = true;  // a lock that failed half-way is given back all the same
            CallMethod(frmDocCorpo, ui::kLock);
            EliminaRigaSezione(ui::Richiesto(doc.rstDocCorpoOrd(), "rstDocCorpoOrd"),
                               "DO31_PROGRIGA", lngProgRigaCancellata);
            EliminaRigaSezione(ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert"),
                               "DO77_PROGRIGA", lngProgRigaCancellata);
            CallMethod(frmDocCorpo, ui::kUnlock);
            bloccato = false;
            (void)GetProp(frmDocCorpo, ui::kLockCount);
        }

        blnRigaDaConfermare = VFalse;
        blnRipristinoInCorso = VFalse;
        doc.DopoRigaCorpo(GetMaxDO30_PROGRIGA(corpo) - 1);

        CallMethod(GetObject(frmCorrente, "GRD_CORPO"), "RefreshSummaryFooters");
        doc.RicalcolaTotali(VFalse, VTrue, VFalse, VTrue, VTrue, VTrue, VTrue);
        doc.RicalcolaIva();
        doc.RicalcolaScadenze();

        // The controls now show the master the grid was brought back to, which has no link
        // any more. Any other line the grid stands on (the one the host landed on after an
        // ordinary line went) keeps what the host shows: it may be a master, whose starting
        // quantity the next typed quantity is measured against.
        if (B.IsEmpty()) return;
        if (ctlQtaAnnullo) ui::Mostra(ctlQtaAnnullo, Zero());
        if (ctlQtaOrig) ui::Mostra(ctlQtaOrig, Zero());
        if (ctlGuidMaster) ui::Mostra(ctlGuidMaster, Variant(""));
        if (ctlGuidDetail) ui::Mostra(ctlGuidDetail, Variant(""));
    });
    if (!completato) {
        // An error ends the restoration where it stands; the grid's repaint lock taken for
        // the row deletions is given back so that the form keeps drawing.
        if (bloccato) CleanUp([&] { CallMethod(frmDocCorpo, ui::kUnlock); });
        blnRipristinoInCorso = VFalse;
        return;
    }
    if (ctlCodCausaleRiga) IgnoreErrors([&] { ui::Mostra(ctlCodCausaleRiga, Variant("")); });
    if (ctlDesCausaleRiga) IgnoreErrors([&] { ui::Mostra(ctlDesCausaleRiga, Variant("")); });
    ObjectPtr flag;
    IgnoreErrors([&] { flag = ControlloPerNome(frmCorrente, "TXT_DO31_FLGNONPIUEV"); });
    if (flag) IgnoreErrors([&] { ui::Mostra(flag, Zero()); });
    IgnoreErrors([&] { ui::VaiABookmark(frmDocCorpo, B); });
    blnRipristinoInCorso = VFalse;
    SeguiRigaCorrente();
}

// The cancellation line (the current line) holds between nothing and less than the pair's
// starting quantity. Below nothing the master would grow past what was ordered: the line is
// held at nothing. At the starting quantity or above it the master would be left with
// nothing or less, and a line of nothing that still has planned-order rows stops every
// capture of the order's open quantities (the planned share of its amount is divided by
// its quantity), so that no later save of the order would go through. That typing is
// refused: the user is told that the whole line is cancelled through the master's state,
// and the line gets back the quantity the pair gave it. False when refused.
bool CLSRF_REGDOC_STATI::TrattieniQtaRigaAnnullo(const Variant& varGuidMaster,
                                                 double& dblQtaAnnullata) {
    const double orig = NumeroDi(ctlQtaOrig);
    if (orig <= 0) return true;
    auto& doc = RegDoc();
    if (dblQtaAnnullata < 0) {
        dblQtaAnnullata = 0;
        doc.ImpostaQuantita(0, VTrue, VTrue, 0);
        return true;
    }
    if (dblQtaAnnullata < orig && !QtaUguale(dblQtaAnnullata, orig)) return true;
    const double master = QtaRigaByGuid(varGuidMaster);
    doc.ImpostaQuantita(std::clamp(orig - master, 0.0, orig), VTrue, VTrue, 0);
    host::ShowHostMessage(objProgramma, kAnnulloInteroSulMaster, 64, kTitolo);
    return false;
}

void CLSRF_REGDOC_STATI::ImpostaQtaAnnulloMaster(const Variant& varGuidMaster,
                                                 double dblQtaRipristinata, double dblQtaAnnullata,
                                                 VBool blnParziale) {
    if (IsTrue(IsAnnulliOffCorpo()) || VarEq(varGuidMaster, Variant::Int16(0))) return;
    auto& doc = RegDoc();
    if (IsTrue(blnParziale) && ctlQtaOrig &&
        !TrattieniQtaRigaAnnullo(varGuidMaster, dblQtaAnnullata))
        return;
    auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    const Variant B(GetBookmarkByGuid(corpo, varGuidMaster.ToString(), VTrue).ToDouble());
    ui::VaiABookmark(frmDocCorpo, B);

    double X = dblQtaRipristinata;
    double V = 0;
    if (IsTrue(blnParziale)) {
        X = NumeroDi(ctlQtaOrig) - dblQtaAnnullata;
        V = dblQtaAnnullata;
    }
    if (ctlQtaAnnullo) {
        ui::Mostra(ctlQtaAnnullo, Variant(V));
        ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")
            ->Set("DO77_ZQ_QTA_ANNULLO", Variant(V));
    }
    doc.ImpostaQuantita(X, VTrue, VTrue, 0);
    SeguiRigaCorrente();
}

void CLSRF_REGDOC_STATI::ScollegaRigaAnnullo(const Variant& varGuidAnnullo,
                                             const Variant& varGuidMaster, const Variant&,
                                             const Variant&, const Variant&, const Variant&) {
    if (IsTrue(IsAnnulliOffCorpo())) return;
    auto& doc = RegDoc();
    if (VarNe(varGuidMaster, Variant::Int16(0))) {
        struct Colonna {
            const ObjectPtr& ctl;
            const char* campo;
            Variant valore;
        };
        const Colonna colonne[] = {{ctlGuidMaster, "DO77_ZQGUID_MASTER_DO30", Variant::Null()},
                                   {ctlGuidDetail, "DO77_ZQGUID_DETAIL_DO30", Variant::Null()},
                                   {ctlQtaOrig, "DO77_ZQ_QTA_ORIG", Zero()},
                                   {ctlQtaAnnullo, "DO77_ZQ_QTA_ANNULLO", Zero()}};
        for (const auto& c : colonne) {
            if (!c.ctl) continue;
            IgnoreErrors([&] {
                if (!IsModalitaGriglia(frmCorrente, 2)) ui::Mostra(c.ctl, Variant(""));
                ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")->Set(c.campo, c.valore);
            });
        }
        RemoveLinkAnnullo(varGuidAnnullo);
    }
    doc.DopoRigaCorpo(GetMaxDO30_PROGRIGA(doc.rstDocCorpo()) - 1);
    blnRigaDaConfermare = VFalse;
}

}  // namespace zq::plugin
