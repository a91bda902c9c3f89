// A partial cancellation made by the size-grid write-back: the same split as from the body
// form, worked on the document's recordsets only (no controls, no display suspension).

#include "data/sql_text.h"
#include "engine/line_ui.h"
#include "engine/nuova_riga_annullo.h"
#include "form/form_access.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

// Brings the order data onto the row of line `progRiga` when it stands elsewhere. With
// `filtroDaRipristinare` the filter saved before is put back instead of lifting it.
void PortaOrdSuRiga(const ado::RecordsetPtr& ord, std::int32_t progRiga,
                    const Variant* filtroDaRipristinare) {
    const bool suRiga =
        !ord->BOF() && !ord->EOF_() && VarEq(ord->Get("DO31_PROGRIGA"), Variant::Int32(progRiga));
    if (suRiga) return;
    ord->SetFilter(Variant(" DO31_PROGRIGA = " + SqlLong(progRiga)));
    const Variant bookmark = ord->Bookmark();
    ord->SetFilter(filtroDaRipristinare ? *filtroDaRipristinare
                                        : Variant::Int32(ado::adFilterNone));
    ord->SetBookmark(bookmark);
}

}  // namespace

// The reason code of the current body line's extension row ("" when it has none).
std::string CLSRF_REGDOC_STATI::CausaleRigaCorrente() {
    auto& doc = RegDoc();
    auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
    const std::int32_t prog =
        ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo")->Get("DO30_PROGRIGA").ToLong();
    const Variant filtro = vert->Filter();
    vert->SetFilter(Variant(" DO77_PROGRIGA = " + SqlLong(prog)));
    const std::string codice = vert->EOF_()
                                   ? std::string()
                                   : NvlVar(vert->Get("DO77_CODCAU_ZQ63"), Variant("")).ToString();
    vert->SetFilter(filtro);
    return codice;
}

// A cell marked partly cancelled for its whole quantity leaves nothing to split: the line is
// cancelled in place, and takes the cancelled state with its flag, as a cell marked
// cancelled does (left in the state the grid's pass gave it, its flag would stand beside an
// open state). The write-back moves the body alone: the line's extension and order rows are
// brought to it, or its quantity and flag would land on the line the sections stand on.
void CLSRF_REGDOC_STATI::AnnullaRigaInteraGriglia(host::IRegDoc& doc, const std::string& guid,
                                                  double qtaAnnullo) {
    const std::int32_t prog =
        ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo")->Get("DO30_PROGRIGA").ToLong();
    auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
    const Variant filtroVert = vert->Filter();
    vert->SetFilter(Variant(" DO77_PROGRIGA = " + SqlLong(prog)));
    vert->Set("DO77_ZQ_QTA_ANNULLO", Variant(qtaAnnullo));
    vert->SetFilter(filtroVert);
    auto ord = ui::Richiesto(doc.rstDocCorpoOrd(), "rstDocCorpoOrd");
    const Variant filtroOrd = ord->Filter();
    PortaOrdSuRiga(ord, prog, nullptr);
    ChiudiAnnulloTotale(doc);
    ord->SetFilter(filtroOrd);
    if (auto riga = doc.objRigaCorpo()) {
        riga->SetGuidRiga(guid);
        riga->SetStatoRiga(lngStatoAnnulloRighe);
        riga->AcquisisciStato();
    }
    SetFlussoStato(guid, lngStatoAnnulloRighe, lngFlussoDoc);
}

std::int16_t CLSRF_REGDOC_STATI::DuplicaRigaCorpoGrid(double dblQtaOrdine, double dblQtaAnnullo,
                                                      const Variant& varGuidMaster, VBool& blnOk,
                                                      double& dblQtaRipristino,
                                                      VBool blnAggiornaGriglia) {
    blnOk = VTrue;
    if (IsTrue(blnCreaAnnulloInCorso) || QtaZero(dblQtaAnnullo)) return 0;

    std::string G, codCausale, desCausale;
    try {
        if (ModificheInSospeso()) return 0;

        const double residuo = dblQtaOrdine - dblQtaAnnullo;
        // A cell's own reason stands; without one the default reason is given.
        if (RifiutaAnnullo(dblQtaOrdine, residuo,
                           strCausaleDefault.empty() && CausaleRigaCorrente().empty(), blnOk,
                           dblQtaRipristino))
            return 0;

        auto& doc = RegDoc();
        auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
        if (QtaZero(residuo)) {
            AnnullaRigaInteraGriglia(doc, varGuidMaster.ToString(), dblQtaAnnullo);
            return 0;
        }

        G = varGuidMaster.ToString();
        if (HaGiaAnnullo(G)) return 0;

        blnCreaAnnulloInCorso = VTrue;
        DocUI().SetIndicatoreAttesa(0);

        doc.ImpostaQuantita(residuo, VTrue, VTrue, 0);

        // The reason moves from the master's own extension row to the new line.
        auto corpoRs = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
        const std::int32_t progMaster = corpoRs->Get("DO30_PROGRIGA").ToLong();
        {
            const Variant filtro = vert->Filter();
            vert->SetFilter(Variant(" DO77_PROGRIGA = " + SqlLong(progMaster)));
            codCausale = NvlVar(vert->Get("DO77_CODCAU_ZQ63"), Variant("")).ToString();
            desCausale = NvlVar(vert->Get("DO77_DESCAU_ZQ63"), Variant("")).ToString();
            if (codCausale.empty()) {
                codCausale = strCausaleDefault;
                desCausale = strDesCausaleDefault;
            }
            vert->Set("DO77_CODCAU_ZQ63", Variant(""));
            vert->Set("DO77_DESCAU_ZQ63", Variant(""));
            vert->SetFilter(filtro);
            vert->Update();
        }

        auto ord = ui::Richiesto(doc.rstDocCorpoOrd(), "rstDocCorpoOrd");
        PortaOrdSuRiga(ord, progMaster, nullptr);
        SetFlgNonPiuEvRiga(Variant::Int16(0));

        SetFlussoStato(G, lngStatoInizialeRighe, lngFlussoDoc);
        if (auto riga = doc.objRigaCorpo()) {
            riga->SetGuidRiga(G);
            riga->SetStatoRiga(lngStatoInizialeRighe);
            riga->AcquisisciStato();
        }

        const std::int32_t P = GetProgRigaByGuid(corpoRs, G, VFalse).ToLong();
        ScriviRigaAnnullo(P, Variant(G), Variant(G), dblQtaAnnullo, dblQtaOrdine);
    } catch (const HostError& e) {
        blnCreaAnnulloInCorso = VFalse;
        NoteTrappedFailure();
        host::ShowHostMessage(objProgramma, "DuplicaRigaCorpoGrid " + e.Description(), 0, "");
        InterrompiCreaAnnullo(true);
        return 0;
    }

    auto& doc = RegDoc();
    ScriviSezioniCorpoIgnorandoErrori(doc);

    // As for the body form's road: an error of the later steps reaches the caller, and the
    // busy flag, the refresh bracket and the busy indicator do not stay behind.
    bool grigliaSospesa = false;
    bool completata = false;
    ScopeExit chiusura([&] {
        if (!completata) InterrompiCreaAnnullo(grigliaSospesa);
    });

    if (IsTrue(blnAggiornaGriglia)) {
        doc.InizioAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
        grigliaSospesa = true;
    }

    auto corpoRs = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    auto master = corpoRs->Clone(ado::adLockUnspecified);
    master->Find(" DO30_GUID = '" + G + "'", 0, ado::adSearchForward);

    NumeriNuovaRiga numeri;
    numeri.progRiga = GetMaxDO30_PROGRIGA(corpoRs);
    // The new line joins its master's group.
    numeri.progPadre = NvlVar(corpoRs->Get("DO30_PROGPADRE"), Variant::Int32(0)).ToLong();
    numeri.progVisua = IsModalitaGriglia(frmCorrente, 2) ? numeri.progPadre : numeri.progRiga;

    doc.AggiungiRigaCorpo(0, numeri.progRiga, 0, VTrue);
    const std::string D = CopiaRigaDaMaster(doc, *corpoRs, *master, dblQtaAnnullo, numeri);

    doc.DopoRigaCorpo(numeri.progRiga);
    if (IsTrue(blnAggiornaGriglia)) {
        doc.FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
        grigliaSospesa = false;
    }

    ScriviRigaAnnullo(numeri.progRiga, Variant(G), Variant(D), -1, dblQtaOrdine);

    auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
    {
        const Variant filtro = vert->Filter();
        vert->SetFilter(Variant(" DO77_PROGRIGA = " + SqlLong(numeri.progRiga)));
        vert->Set("DO77_CODCAU_ZQ63", Variant(codCausale));
        vert->Set("DO77_DESCAU_ZQ63", Variant(desCausale));
        vert->SetFilter(filtro);
        vert->Update();
    }
    AddLinkAnnullo(Variant(D), Variant(G), Variant::Int32(numeri.progPadre));

    auto ord = ui::Richiesto(doc.rstDocCorpoOrd(), "rstDocCorpoOrd");
    const Variant filtroOrd = ord->Filter();
    PortaOrdSuRiga(ord, numeri.progRiga, &filtroOrd);
    SetFlgNonPiuEvRiga(Variant::Int16(1));

    SetFlussoStato(D, lngStatoAnnulloRighe, lngFlussoDoc);

    RegistraUltimoAnnullo(D, *corpoRs);
    RicalcolaDocumento(doc);

    blnCreaAnnulloInCorso = VFalse;
    completata = true;
    return 0;
}

}  // namespace zq::plugin
