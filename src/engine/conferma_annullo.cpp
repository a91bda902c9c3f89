// Settles the cancellation of the current body line: checks the cancelled quantity against
// what was already delivered, fills in the reason, folds an existing cancellation line back
// when the whole line is cancelled, withdraws a cancellation, or has a partial
// cancellation line made.

#include <algorithm>

#include "data/query.h"
#include "data/sql_text.h"
#include "engine/line_ui.h"
#include "engine/query_evasione.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

constexpr std::string_view kTitolo = "Stato documento";
constexpr std::string_view kOltreResiduo =
    "Riga Parzialmente evasa: la quantità di riga non può essere inferiore alla quantità "
    "consegnata ";
constexpr std::string_view kNonTotalmente =
    "Riga Parzialmente evasa: Impossibile annullare totalmente";
constexpr std::string_view kQtaNonValida =
    "La quantità annullata non è valida: indicare un numero maggiore o uguale a zero.";
constexpr std::int32_t kRigaParzialmenteEvasa = 2;

double NumeroDi(const ObjectPtr& ctl) {
    return NvlVar(ui::Testo(ctl), Variant::Int32(0)).ToDouble();
}

std::string TestoDi(const ObjectPtr& ctl) {
    return NvlVar(ui::Testo(ctl), Variant("")).ToString();
}

std::string Trim(std::string s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// A column of the line's fulfilment row through NvlVar; a line the database does not hold
// yet has delivered nothing.
Variant Evasione(const ado::RecordsetPtr& rs, std::string_view campo) {
    if (!rs || rs->BOF() || rs->EOF_()) return Variant::Int32(0);
    return NvlVar(rs->Get(campo), Variant::Int32(0));
}

}  // namespace

VBool CLSRF_REGDOC_STATI::ConfermaAnnulloRiga(VBool Conferma, std::optional<std::int32_t> IdStato) {
    VBool risultato = VFalse;
    if (intTipoForm != 2 || IsTrue(blnCreaAnnulloInCorso) || !gclsRegDoc) return risultato;
    if (IsTrue(IsAnnulliOffCorpo()) || IsTrue(blnConfermaInCorso) || IsTrue(blnRipristinoInCorso))
        return risultato;
    blnConfermaInCorso = VTrue;
    ScopeExit fine([&] { blnConfermaInCorso = VFalse; });

    // An error ends the settlement quietly with the result it had reached.
    EndQuietly([&] {
        if (!ctlCodCausaleRiga || !ctlQtaAnnullo || !ctlStatoRiga || !ctlQta1 || !ctlGuidMaster ||
            !ctlGuidDetail)
            return;
        auto& doc = RegDoc();
        auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
        auto riga = doc.objRigaCorpo();
        auto& objRiga = host::Ref(riga, "objRigaCorpo");

        const std::string guidRiga = corpo->Get("DO30_GUID").ToString();
        objRiga.SetGuidRiga(guidRiga);
        // A cancelled quantity that is no number, negative or too large is refused: the
        // field is marked and the line goes back as it was, its state included.
        const std::optional<double> digitata = ui::QuantitaDigitata(ctlQtaAnnullo);
        if (!digitata) {
            host::ShowHostMessage(objProgramma, kQtaNonValida, 64, kTitolo);
            SetProp(ctlQtaAnnullo, "IsValid", Variant::Bool(false));
            RifiutaPercorso();
            return;
        }
        double qtaAnnullo = *digitata;

        auto evasione = OpenQuery(Cnn(), QueryEvasioneDocumento(corpo->Get("DO30_DITTA_CG18"),
                                                                corpo->Get("DO30_NUMREG_CO99")));
        if (evasione)
            evasione->SetFilter(Variant("DO30_PROGRIGA = " + SqlBare(corpo->Get("DO30_PROGRIGA"))));

        double qtaIniziale = NumeroDi(ctlQtaOrig);
        if (qtaIniziale == 0) qtaIniziale = NumeroDi(ctlQta1);
        const double qtaEvasa = Evasione(evasione, "VFW_QTA1TRASF").ToDouble();
        const double residuo = qtaIniziale - qtaEvasa;
        const std::int32_t indicatore = Evasione(evasione, "VFW_INDSTATORIGA").ToLong();

        auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
        if (indicatore == kRigaParzialmenteEvasa) {
            if (qtaAnnullo > residuo) {
                host::ShowHostMessage(objProgramma, kOltreResiduo, 64, kTitolo);
                qtaAnnullo = residuo;
            } else if (qtaAnnullo == 0) {
                host::ShowHostMessage(objProgramma, kNonTotalmente, 64, kTitolo);
                qtaAnnullo = residuo;
            }
            ui::Mostra(ctlQtaAnnullo, Variant(qtaAnnullo));
            vert->Set("DO77_ZQ_QTA_ANNULLO", Variant(qtaAnnullo));
        }

        Variant dettaglio;
        if ((qtaAnnullo == 0 || qtaAnnullo == qtaIniziale) &&
            IsTrue(FindDetailGuid(Variant(guidRiga), dettaglio))) {
            // The whole line is cancelled: its cancellation line goes, the master takes back
            // the quantity and carries the cancellation itself.
            const Variant segnalibro = corpo->Bookmark();
            strGuidRigaCancellata = dettaglio;
            const Variant segnalibroDettaglio =
                GetBookmarkByGuid(corpo, dettaglio.ToString(), VTrue);
            lngProgRigaCancellata = GetProgRigaByGuid(corpo, dettaglio.ToString(), VTrue).ToLong();
            ui::VaiABookmark(frmDocCorpo, segnalibroDettaglio);
            auto vertDettaglio = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
            const Variant codCausale = vertDettaglio->Get("DO77_CODCAU_ZQ63");
            const Variant desCausale = vertDettaglio->Get("DO77_DESCAU_ZQ63");
            CallMethod(frmDocCorpo, ui::kDeleteRow,
                       {Variant::Bool(true), Variant::Bool(true), Variant::Int32(0)});

            RipristinaMasterAnnullo(strGuidRigaCancellata, lngProgRigaCancellata);
            corpo->SetBookmark(segnalibro);
            ui::VaiABookmark(frmDocCorpo, segnalibro);

            if (qtaAnnullo == qtaIniziale) {
                objRiga.SetStatoRiga(lngStatoAnnulloRighe);
                objRiga.AcquisisciStato();
                auto vertMaster = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
                ui::Mostra(ctlCodCausaleRiga, codCausale);
                ui::Mostra(ctlDesCausaleRiga, desCausale);
                vertMaster->Set("DO77_CODCAU_ZQ63", codCausale);
                vertMaster->Set("DO77_DESCAU_ZQ63", desCausale);
                ui::Mostra(ctlQtaAnnullo, Variant(qtaIniziale));
                vertMaster->Set("DO77_ZQ_QTA_ANNULLO", Variant(qtaIniziale));
                vertMaster->Update();
            }
            risultato = VTrue;
        }

        const std::int32_t statoVoluto =
            IsTrue(Conferma) ? IdStato.value_or(0) : objRiga.StatoRiga();
        auto vertCorrente = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
        Variant altra;
        if (statoVoluto != lngStatoAnnulloRighe) {
            if (IsTrue(FindMasterGuid(Variant(guidRiga), altra))) {
                ImpostaQtaAnnulloMaster(altra, qtaAnnullo, NumeroDi(ctlQta1), VTrue);
                risultato = VTrue;
                return;
            }
            if (IsTrue(FindDetailGuid(Variant(guidRiga), altra)) && !IsTrue(Conferma)) {
                doc.ImpostaQuantita(qtaIniziale - qtaAnnullo, VTrue, VTrue, 0);
                ImpostaQtaAnnulloMaster(altra, qtaAnnullo, NumeroDi(ctlQta1), VFalse);
                risultato = VTrue;
                return;
            }
            const double mostrata = NvlVar(ui::Testo(ctlQtaAnnullo), Variant("0")).ToDouble();
            if (mostrata != 0 && IsTrue(Conferma)) {
                // The cancellation is withdrawn: no quantity, no reason, the flag cleared.
                ui::Mostra(ctlQtaAnnullo, Variant::Int32(0));
                vertCorrente->Set("DO77_ZQ_QTA_ANNULLO", Variant::Int32(0));
                ui::Mostra(ctlCodCausaleRiga, Variant(""));
                ui::Mostra(ctlDesCausaleRiga, Variant(""));
                vertCorrente->Set("DO77_CODCAU_ZQ63", Variant::Null());
                vertCorrente->Set("DO77_DESCAU_ZQ63", Variant::Null());
                SetFlgNonPiuEvRiga(Variant::Int16(0));
            }
            return;
        }

        const std::string codice = TestoDi(ctlCodCausaleRiga);
        if (codice.empty()) {
            ui::Mostra(ctlCodCausaleRiga, Variant(strCausaleDefault));
            ui::Mostra(ctlDesCausaleRiga, Variant(strDesCausaleDefault));
            vertCorrente->Set("DO77_CODCAU_ZQ63", Variant(strCausaleDefault));
            vertCorrente->Set("DO77_DESCAU_ZQ63", Variant(strDesCausaleDefault));
        } else {
            auto causale =
                OpenQuery(Cnn(), " SELECT ZQ63_DESCAU_ANNULLO" +
                                     std::string(" FROM ZQ63_CAU_ANNULLO WITH (NOLOCK)") +
                                     " WHERE ZQ63_CODCAU_ANNULLO = " + SqlText(codice));
            if (HasRow(causale)) {
                const std::string descrizione = Trim(ReadText(causale, "ZQ63_DESCAU_ANNULLO"));
                ui::Mostra(ctlDesCausaleRiga, Variant(descrizione));
                vertCorrente->Set("DO77_DESCAU_ZQ63", Variant(descrizione));
            } else {
                ui::Mostra(ctlDesCausaleRiga, Variant(""));
                vertCorrente->Set("DO77_DESCAU_ZQ63", Variant::Null());
            }
        }

        if (IsTrue(FindMasterGuid(Variant(guidRiga), altra))) return;
        if (indicatore == 1) DocUI().SetIndicatoreAttesa(intAttesaSalvata);

        double daAnnullare = NumeroDi(ctlQtaAnnullo);
        if (daAnnullare == 0) {
            daAnnullare = residuo;
            if (IsTrue(Conferma) && residuo == 0) daAnnullare = NumeroDi(ctlQta1);
        } else {
            daAnnullare = std::min(daAnnullare, residuo);
        }

        VBool ok = VTrue;
        double ripristino = 0;
        // Its answer is always 0: making a cancellation line does not by itself make the
        // caller write back, reverse and save.
        (void)CreaAnnulloParziale(NumeroDi(ctlQta1), daAnnullare, Variant(guidRiga), ok,
                                  ripristino);
        if (!IsTrue(ok)) {
            // Refused with a message: the line goes back as it was, its state included.
            SetProp(ctlQtaAnnullo, "IsValid", Variant::Bool(false));
            RifiutaPercorso();
        }
        if (evasione) evasione->Close();
    });
    return risultato;
}

}  // namespace zq::plugin
