// A partial cancellation made from the body form: the current line becomes the master that
// keeps the residue, and a cancellation line carrying the cancelled quantity, the reason,
// the flag and the cancelled state is appended and linked to it.

#include "engine/line_ui.h"
#include "engine/nuova_riga_annullo.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

Variant B(bool b) {
    return Variant::Bool(b);
}

using ui::TestoDi;

}  // namespace

std::int16_t CLSRF_REGDOC_STATI::CreaAnnulloParziale(double dblQtaOrdine, double dblQtaAnnullo,
                                                     const Variant& varGuidMaster, VBool& blnOk,
                                                     double& dblQtaRipristino,
                                                     EsitoAnnullo* esito) {
    EsitoAnnullo ignorato = EsitoAnnullo::Nulla;
    EsitoAnnullo& fatto = esito ? *esito : ignorato;
    fatto = EsitoAnnullo::Nulla;
    blnOk = VTrue;
    if (IsTrue(blnCreaAnnulloInCorso) || QtaZero(dblQtaAnnullo)) return 0;

    std::string G, codCausale, desCausale;
    // Steps up to the keying of the master: an error ends the procedure quietly with the
    // flag cleared, the refresh bracket closed and the busy indicator restored.
    try {
        // Nothing is done while the user has unsaved edits, nor to a line that already has
        // a cancellation line or is one: the caller gives the line back as it was.
        if (ModificheInSospeso()) return 0;

        const double residuo = dblQtaOrdine - dblQtaAnnullo;
        // A line without a reason is accepted when a default reason exists.
        if (RifiutaAnnullo(dblQtaOrdine, residuo,
                           TestoDi(ctlCodCausaleRiga).empty() && strCausaleDefault.empty(), blnOk,
                           dblQtaRipristino)) {
            fatto = EsitoAnnullo::Rifiutato;
            return 0;
        }

        auto& doc = RegDoc();
        if (QtaZero(residuo)) {
            // A master keeps its one cancellation line and is not cancelled itself, not even
            // when what it still holds is all that is asked (a master delivered in full):
            // the store refuses a master in the cancelled state.
            Variant dettaglio;
            if (IsTrue(FindDetailGuid(varGuidMaster, dettaglio))) return 0;
            // The whole line is cancelled: no new line, the line itself carries it.
            if (ctlQtaAnnullo) {
                ui::Mostra(ctlQtaAnnullo, Variant(dblQtaAnnullo));
                ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")
                    ->Set("DO77_ZQ_QTA_ANNULLO", Variant(dblQtaAnnullo));
            }
            ChiudiAnnulloTotale(doc);
            fatto = EsitoAnnullo::Totale;
            return 0;
        }

        G = varGuidMaster.ToString();
        if (HaGiaAnnullo(G)) return 0;

        blnCreaAnnulloInCorso = VTrue;
        DocUI().SetIndicatoreAttesa(0);

        doc.ImpostaQuantita(residuo, VTrue, VTrue, 0);

        codCausale = TestoDi(ctlCodCausaleRiga);
        if (codCausale.empty()) {
            codCausale = strCausaleDefault;
            desCausale = strDesCausaleDefault;
        } else {
            desCausale = TestoDi(ctlDesCausaleRiga);
        }

        auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
        ui::Mostra(ctlCodCausaleRiga, Variant(""));
        ui::Mostra(ctlDesCausaleRiga, Variant(""));
        vert->Set("DO77_CODCAU_ZQ63", Variant(""));
        vert->Set("DO77_DESCAU_ZQ63", Variant(""));

        ui::Mostra(ctlQtaAnnullo, Variant(dblQtaAnnullo));
        vert->Set("DO77_ZQ_QTA_ANNULLO", Variant(dblQtaAnnullo));

        SetFlgNonPiuEvRiga(Variant::Int16(0));

        SetFlussoStato(G, lngStatoInizialeRighe, lngFlussoDoc);
        if (auto riga = doc.objRigaCorpo()) riga->SetStatoRiga(lngStatoInizialeRighe);

        auto corpoRs = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
        const std::int32_t progMaster = GetProgRigaByGuid(corpoRs, G, VTrue).ToLong();
        ScriviRigaAnnullo(progMaster, Variant(G), Variant(G), dblQtaAnnullo, dblQtaOrdine);
    } catch (const HostError&) {
        NoteTrappedFailure();
        InterrompiCreaAnnullo(true);
        return 0;
    }

    auto& doc = RegDoc();
    ScriviSezioniCorpoIgnorandoErrori(doc);
    // The master's residue and keys are in the database now: from here the split is a
    // change carried out, which the caller reverses and saves.
    fatto = EsitoAnnullo::Diviso;

    // From here an error reaches the caller. Whatever way these steps end, the busy flag,
    // the refresh bracket and the display suspension must not stay behind, or every later
    // partial cancellation of the document would be refused and the grid left frozen; the
    // busy indicator goes back to its saved value when the steps end by an error.
    bool grigliaSospesa = false;
    bool displaySospeso = false;
    bool completata = false;
    ScopeExit chiusura([&] {
        if (completata) return;
        blnCreaAnnulloInCorso = VFalse;
        if (displaySospeso) {
            CleanUp([&] { SetProp(frmDocCorpoVert, ui::kRedraw, B(true)); });
            CleanUp([&] { SetProp(frmDocCorpo, ui::kRedraw, B(true)); });
        }
        InterrompiCreaAnnullo(grigliaSospesa);
    });

    doc.InizioAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
    grigliaSospesa = true;

    auto corpoRs = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    auto master = corpoRs->Clone(ado::adLockUnspecified);
    master->Find(" DO30_GUID = '" + G + "'", 0, ado::adSearchForward);

    NumeriNuovaRiga numeri;
    numeri.progRiga = GetMaxDO30_PROGRIGA(corpoRs);
    numeri.progVisua = numeri.progRiga;
    numeri.progPadre = GetMaxDO30_PROGPADRE(master);

    doc.AggiungiRigaCorpo(0, numeri.progRiga, 0, VTrue);
    const std::string D = CopiaRigaDaMaster(doc, *corpoRs, *master, dblQtaAnnullo, numeri);

    doc.DopoRigaCorpo(numeri.progRiga);
    doc.FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
    grigliaSospesa = false;

    ScriviRigaAnnullo(numeri.progRiga, Variant(G), Variant(D), -1, dblQtaOrdine);
    AddLinkAnnullo(Variant(D), Variant(G), Variant::Int32(numeri.progPadre));

    displaySospeso = true;
    SetProp(frmDocCorpo, ui::kRedraw, B(false));
    SetProp(frmDocCorpo, ui::kMsgOnUpdate, B(false));
    SetProp(frmDocCorpoVert, ui::kRedraw, B(false));
    SetProp(frmDocCorpoVert, ui::kMsgOnUpdate, B(false));
    CallMethod(frmDocCorpo, ui::kRefreshRow, {B(true), B(true)});
    (void)As<ado::Recordset>(GetObject(frmDocCorpo, ui::kRecordset))->Bookmark();

    auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
    ui::Mostra(ctlCodCausaleRiga, Variant(codCausale));
    ui::Mostra(ctlDesCausaleRiga, Variant(desCausale));
    vert->Set("DO77_CODCAU_ZQ63", Variant(codCausale));
    vert->Set("DO77_DESCAU_ZQ63", Variant(desCausale));

    SetFlgNonPiuEvRiga(Variant::Int16(1));

    if (ctlStatoRiga) {
        const ObjectPtr boStati = GetObject(ctlStatoRiga, "BoStati");
        SetProp(boStati, "Guid", Variant(D));
        SetProp(boStati, "IdFlussoDocumento", Variant::Int32(lngFlussoDoc));
        SetProp(boStati, "IdFlusso", Variant::Int32(lngFlussoDoc));
        SetProp(boStati, "IdStato", Variant::Int32(lngStatoAnnulloRighe));
        CallMethod(boStati, "ConfermaModifiche");
        CallMethod(ctlStatoRiga, "Refresh");
    }
    SetFlussoStato(D, lngStatoAnnulloRighe, lngFlussoDoc);

    BloccaControlliRiga();

    RegistraUltimoAnnullo(D, *corpoRs);
    RicalcolaDocumento(doc);

    SetProp(frmDocCorpoVert, ui::kRedraw, B(true));
    SetProp(frmDocCorpo, ui::kRedraw, B(true));
    displaySospeso = false;

    CallMethod(GetObject(frmCorrente, "GRD_CORPO"), "RefreshSummaryFooters");

    ScriviSezioniCorpo(doc);

    // The busy indicator is left at 0 on this road.
    blnCreaAnnulloInCorso = VFalse;
    completata = true;
    SeguiRigaCorrente();
    return 0;
}

}  // namespace zq::plugin
