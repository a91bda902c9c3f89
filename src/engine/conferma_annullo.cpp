// Settles the cancellation of the current body line: checks the cancelled quantity against
// what was already delivered, fills in the reason, folds an existing cancellation line back
// when the whole line is cancelled, withdraws a cancellation, or has a partial
// cancellation line made.

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
constexpr std::string_view kMasterAnnullato =
    "Non è possibile annullare un ordine che ha generato righe di annullo!";
constexpr std::int32_t kRigaParzialmenteEvasa = 2;

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

// What the line showed and held before the settlement touched it.
struct CLSRF_REGDOC_STATI::RigaPrima {
    std::string guid;
    std::int32_t stato = 0;
    Variant codice, descrizione, qtaMostrata;  // the controls' texts
    Variant codiceCampo, descrizioneCampo;     // DO77 reason columns
    Variant qtaCampo;                          // DO77_ZQ_QTA_ANNULLO as last stored
};

// The state before the settlement: the one the user's pick replaced when a state change
// started it, the line's current state when a field or a key did (an earlier pick stays).
CLSRF_REGDOC_STATI::RigaPrima CLSRF_REGDOC_STATI::FotografaRiga(const std::string& guid,
                                                                bool cambioStato) {
    RigaPrima p;
    p.guid = guid;
    p.stato = cambioStato ? lngStatoRigaPrecedente : lngStatoRigaCorrente;
    IgnoreErrors([&] { p.codice = ui::Testo(ctlCodCausaleRiga); });
    IgnoreErrors([&] { p.descrizione = ui::Testo(ctlDesCausaleRiga); });
    IgnoreErrors([&] { p.qtaMostrata = ui::Testo(ctlQtaAnnullo); });
    IgnoreErrors([&] {
        auto vert = ui::Richiesto(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert");
        p.codiceCampo = vert->Get("DO77_CODCAU_ZQ63");
        p.descrizioneCampo = vert->Get("DO77_DESCAU_ZQ63");
        p.qtaCampo = vert->FieldByName("DO77_ZQ_QTA_ANNULLO")->OriginalValue();
    });
    // A line that was neither cancelled nor the master of a pair held no cancelled
    // quantity, whatever was last stored: one taken out of the cancelled state since the
    // save would otherwise get back the quantity it was cancelled for.
    IgnoreErrors([&] {
        Variant dettaglio;
        if (p.stato != lngStatoAnnulloRighe && !IsTrue(FindDetailGuid(Variant(guid), dettaglio)))
            p.qtaCampo = Variant::Int32(0);
    });
    return p;
}

// Each step on its own: what can be put back is put back.
void CLSRF_REGDOC_STATI::RipristinaRiga(const RigaPrima& prima, std::optional<double> qtaMostrata) {
    IgnoreErrors([&] { ui::Mostra(ctlCodCausaleRiga, prima.codice); });
    IgnoreErrors([&] { ui::Mostra(ctlDesCausaleRiga, prima.descrizione); });
    IgnoreErrors([&] {
        auto vert = ui::Richiesto(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert");
        vert->Set("DO77_CODCAU_ZQ63", prima.codiceCampo);
        vert->Set("DO77_DESCAU_ZQ63", prima.descrizioneCampo);
        vert->Set("DO77_ZQ_QTA_ANNULLO", prima.qtaCampo);
    });
    IgnoreErrors([&] {
        ui::Mostra(ctlQtaAnnullo, qtaMostrata ? Variant(*qtaMostrata) : prima.qtaMostrata);
        if (qtaMostrata) SetProp(ctlQtaAnnullo, "IsValid", Variant::Bool(false));
    });
    RimettiStatoRiga(prima.guid, prima.stato);
    // A line back in the cancelled state whose stored cancelled quantity does not fit it
    // (none stored yet, the line cancelled since the last save; or more than the line's
    // quantity changed since) keeps what is open on it; the control keeps what the user
    // typed, marked invalid.
    IgnoreErrors([&] {
        if (prima.stato != lngStatoAnnulloRighe) return;
        auto vert = ui::Richiesto(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert");
        const Variant qta = vert->Get("DO77_ZQ_QTA_ANNULLO");
        const bool oltre =
            QtaOltreInizio(NvlVar(qta, Variant::Int32(0)).ToDouble()) && RigaAnnullataIntera();
        if (oltre || RigaAnnullataSenzaQta(qta))
            vert->Set("DO77_ZQ_QTA_ANNULLO", Variant(QtaApertaRigaCorrente()));
    });
}

// The current line's quantity goes back to the one last stored, through the host's quantity
// operation so that its amounts follow.
void CLSRF_REGDOC_STATI::RimettiQtaRigaScritta() {
    auto& doc = RegDoc();
    const Variant scritta =
        ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo")->FieldByName("DO30_QTA1")->OriginalValue();
    const double qta = NvlVar(scritta, Variant::Int32(0)).ToDouble();
    doc.ImpostaQuantita(qta, VTrue, VTrue, 0);
    ui::Mostra(ctlQta1, Variant(qta));
}

// The current line goes back to a state: the host's line object takes it over and the
// flow-state store keeps it; the plug-in remembers it, so that picking the refused state
// again is a change once more.
void CLSRF_REGDOC_STATI::RimettiStatoRiga(const std::string& guid, std::int32_t stato) {
    IgnoreErrors([&] {
        auto& riga = host::Ref(RegDoc().objRigaCorpo(), "objRigaCorpo");
        riga.SetStatoRiga(stato);
        riga.AcquisisciStato();
    });
    IgnoreErrors([&] { SetFlussoStato(guid, stato, lngFlussoDoc); });
    lngStatoRigaCorrente = stato;
}

VBool CLSRF_REGDOC_STATI::ConfermaAnnulloRiga(VBool Conferma, std::optional<std::int32_t> IdStato) {
    VBool risultato = VFalse;
    if (intTipoForm != 2 || IsTrue(blnCreaAnnulloInCorso) || !gclsRegDoc) return risultato;
    if (IsTrue(IsAnnulliOffCorpo()) || IsTrue(blnConfermaInCorso) || IsTrue(blnRipristinoInCorso))
        return risultato;
    blnConfermaInCorso = VTrue;
    // The settlement may have moved the grid: the current line follows it.
    ScopeExit fine([&] {
        blnConfermaInCorso = VFalse;
        SeguiRigaCorrente();
    });

    // An error ends the settlement quietly with the result it had reached.
    EndQuietly([&] {
        if (!ctlCodCausaleRiga || !ctlQtaAnnullo || !ctlStatoRiga || !ctlQta1 || !ctlGuidMaster ||
            !ctlGuidDetail)
            return;
        auto& doc = RegDoc();
        auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
        auto& objRiga = host::Ref(doc.objRigaCorpo(), "objRigaCorpo");

        const std::string guidRiga = corpo->Get("DO30_GUID").ToString();
        objRiga.SetGuidRiga(guidRiga);
        // A cancelled quantity that is no number, negative or too large is refused: the
        // line goes back as it was, its state and its stored quantity included (a negative
        // number the binding took is not left waiting to be saved); the control keeps what
        // was typed, marked invalid.
        const std::optional<double> digitata = ui::QuantitaDigitata(ctlQtaAnnullo);
        if (!digitata) {
            host::ShowHostMessage(objProgramma, ui::kQtaNonValida, 64, kTitolo);
            RipristinaRiga(FotografaRiga(guidRiga, IsTrue(Conferma)), std::nullopt);
            IgnoreErrors([&] { SetProp(ctlQtaAnnullo, "IsValid", Variant::Bool(false)); });
            return;
        }
        double qtaAnnullo = *digitata;

        auto evasione = OpenQuery(Cnn(), QueryEvasioneDocumento(corpo->Get("DO30_DITTA_CG18"),
                                                                corpo->Get("DO30_NUMREG_CO99")));
        if (evasione)
            evasione->SetFilter(Variant("DO30_PROGRIGA = " + SqlBare(corpo->Get("DO30_PROGRIGA"))));

        double qtaIniziale = ui::QtaDi(ctlQtaOrig);
        if (QtaZero(qtaIniziale)) qtaIniziale = ui::QtaDi(ctlQta1);
        const double qtaEvasa = Evasione(evasione, "VFW_QTA1TRASF").ToDouble();
        const double residuo = qtaIniziale - qtaEvasa;
        const std::int32_t indicatore = Evasione(evasione, "VFW_INDSTATORIGA").ToLong();
        // Every line of the order is in it, and nothing more is read from it: it goes before
        // the settlement makes and writes lines, rather than at the end.
        if (evasione) evasione->Close();
        evasione.reset();

        // The line's own quantity is below what was delivered (typed below it, or delivered
        // beyond it): nothing is open to cancel, and cancelling "what is left" would append
        // a line below zero.
        if (residuo < 0 && !QtaZero(residuo)) {
            host::ShowHostMessage(objProgramma, kOltreResiduo, 64, kTitolo);
            // A line that stays cancelled keeps the quantity it was cancelled from: the one
            // typed below what was delivered would stand beside a cancelled quantity larger
            // than the line. It goes back first, so that the line's cancellation is put
            // back against it.
            const RigaPrima prima = FotografaRiga(guidRiga, IsTrue(Conferma));
            if (prima.stato == lngStatoAnnulloRighe) RimettiQtaRigaScritta();
            RipristinaRiga(prima, std::nullopt);
            return;
        }
        // The partly delivered line's quantity check is about what to cancel: a line neither
        // going into the cancelled state nor in a pair (a "conferma" on a line whose state
        // was not changed) cancels nothing, and is given no cancelled quantity to store.
        if (indicatore == kRigaParzialmenteEvasa && DaAnnullareORiallineare(Conferma, IdStato)) {
            if (QtaMaggiore(qtaAnnullo, residuo)) {
                host::ShowHostMessage(objProgramma, kOltreResiduo, 64, kTitolo);
                qtaAnnullo = residuo;
            } else if (QtaZero(qtaAnnullo)) {
                host::ShowHostMessage(objProgramma, kNonTotalmente, 64, kTitolo);
                qtaAnnullo = residuo;
            }
            ui::Mostra(ctlQtaAnnullo, Variant(qtaAnnullo));
            ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")
                ->Set("DO77_ZQ_QTA_ANNULLO", Variant(qtaAnnullo));
        }

        // A cancelled quantity of the whole pair folds it back into a master that carries
        // the cancellation itself; not when the user picked another state, which keeps the
        // pair as it is (the master would be left cancelled beside a lowered flag).
        const bool altroStato = IsTrue(Conferma) && IdStato.value_or(0) != lngStatoAnnulloRighe;
        const bool tutta = QtaUguale(qtaAnnullo, qtaIniziale) && !altroStato;
        Variant dettaglio;
        if ((QtaZero(qtaAnnullo) || tutta) &&
            IsTrue(FindDetailGuid(Variant(guidRiga), dettaglio))) {
            RipiegaRigaAnnullo(dettaglio, tutta, qtaIniziale);
            risultato = VTrue;
        }

        const std::int32_t statoVoluto =
            IsTrue(Conferma) ? IdStato.value_or(0) : objRiga.StatoRiga();
        if (statoVoluto != lngStatoAnnulloRighe) {
            if (RitiraAnnulloRiga(guidRiga, IsTrue(Conferma), qtaIniziale, qtaAnnullo))
                risultato = VTrue;
            return;
        }
        if (IsTrue(AnnullaRigaCorrente(guidRiga, IsTrue(Conferma), indicatore, residuo)))
            risultato = VTrue;
    });
    return risultato;
}

// Whether the settlement is to cancel the current line, or to re-align its pair.
bool CLSRF_REGDOC_STATI::DaAnnullareORiallineare(VBool Conferma,
                                                 std::optional<std::int32_t> IdStato) {
    const std::int32_t stato = IsTrue(Conferma)
                                   ? IdStato.value_or(0)
                                   : host::Ref(RegDoc().objRigaCorpo(), "objRigaCorpo").StatoRiga();
    if (stato == lngStatoAnnulloRighe) return true;
    const Variant guid(ui::Richiesto(RegDoc().rstDocCorpo(), "rstDocCorpo")->Get("DO30_GUID"));
    Variant altra;
    return IsTrue(FindMasterGuid(guid, altra)) || IsTrue(FindDetailGuid(guid, altra));
}

// The whole line is cancelled while it has a cancellation line: that line goes, the master
// takes back the quantity and, when the whole starting quantity is cancelled, carries the
// cancellation itself with the reason the cancellation line had.
void CLSRF_REGDOC_STATI::RipiegaRigaAnnullo(const Variant& dettaglio, bool tuttaLaRiga,
                                            double qtaIniziale) {
    auto& doc = RegDoc();
    auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    auto& objRiga = host::Ref(doc.objRigaCorpo(), "objRigaCorpo");
    const Variant segnalibro = corpo->Bookmark();
    strGuidRigaCancellata = dettaglio;
    const Variant segnalibroDettaglio = GetBookmarkByGuid(corpo, dettaglio.ToString(), VTrue);
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

    if (!tuttaLaRiga) return;
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

// The line leaves the cancelled state. A cancellation line stays what it is: given another
// state in the state field (which the plug-in keeps locked on it) it is put back into the
// cancelled state, since its quantity, flag and link still cancel; from the "conferma"
// button it re-settles its master. A master changed from the "conferma" button gives its
// new quantities to the pair; given another state in the state field it keeps its pair as
// it is, since clearing its cancelled quantity would leave the cancellation line counted
// on neither side. An ordinary line loses its cancelled quantity, reason and flag. Answers
// whether the body must be written.
bool CLSRF_REGDOC_STATI::RitiraAnnulloRiga(const std::string& guidRiga, bool conferma,
                                           double qtaIniziale, double qtaAnnullo) {
    auto& doc = RegDoc();
    Variant altra;
    if (IsTrue(FindMasterGuid(Variant(guidRiga), altra))) {
        if (conferma) {
            RimettiStatoRiga(guidRiga, lngStatoAnnulloRighe);
            return false;
        }
        ImpostaQtaAnnulloMaster(altra, qtaAnnullo, ui::QtaDi(ctlQta1), VTrue);
        return true;
    }
    if (IsTrue(FindDetailGuid(Variant(guidRiga), altra))) {
        // The master stays open for what it still holds, whatever an earlier pick of the
        // cancelled state left in its flag; its cancelled quantity is what its cancellation
        // line holds, whatever was edited in the grid and not settled.
        if (conferma) {
            SetFlgNonPiuEvRiga(Variant::Int16(0));
            const double annullata = QtaRigaByGuid(altra);
            auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
            if (!QtaUguale(NvlVar(vert->Get("DO77_ZQ_QTA_ANNULLO"), Variant::Int32(0)).ToDouble(),
                           annullata)) {
                vert->Set("DO77_ZQ_QTA_ANNULLO", Variant(annullata));
                ui::Mostra(ctlQtaAnnullo, Variant(annullata));
            }
            return false;
        }
        doc.ImpostaQuantita(qtaIniziale - qtaAnnullo, VTrue, VTrue, 0);
        ImpostaQtaAnnulloMaster(altra, qtaAnnullo, ui::QtaDi(ctlQta1), VFalse);
        return true;
    }
    if (!conferma) return false;
    // The line's own cancelled quantity counts as well as the one shown: a line cancelled
    // earlier and come back to holds it in its row whatever the control shows, and any
    // other state leaves an ordinary line open.
    auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
    const double mostrata = NvlVar(ui::Testo(ctlQtaAnnullo), Variant("0")).ToDouble();
    const double scritta =
        vert->BOF() || vert->EOF_()
            ? 0
            : NvlVar(vert->Get("DO77_ZQ_QTA_ANNULLO"), Variant::Int32(0)).ToDouble();
    if (!QtaZero(mostrata) || !QtaZero(scritta)) {
        ui::Mostra(ctlQtaAnnullo, Variant::Int32(0));
        vert->Set("DO77_ZQ_QTA_ANNULLO", Variant::Int32(0));
        ui::Mostra(ctlCodCausaleRiga, Variant(""));
        ui::Mostra(ctlDesCausaleRiga, Variant(""));
        vert->Set("DO77_CODCAU_ZQ63", Variant::Null());
        vert->Set("DO77_DESCAU_ZQ63", Variant::Null());
    }
    SetFlgNonPiuEvRiga(Variant::Int16(0));
    return false;
}

// The line goes into the cancelled state: its reason, then the cancellation of the quantity
// asked for, whole or as a split. A split that wrote its lines answers True. A request that
// is refused, or that comes to nothing (a master split again, unsaved edits), leaves the
// line as it was before the user's change.
VBool CLSRF_REGDOC_STATI::AnnullaRigaCorrente(const std::string& guidRiga, bool conferma,
                                              std::int32_t indicatore, double residuo) {
    auto vert = ui::Richiesto(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert");
    const RigaPrima prima = FotografaRiga(guidRiga, conferma);
    const std::string codice = ui::TestoDi(ctlCodCausaleRiga);
    if (codice.empty()) {
        ui::Mostra(ctlCodCausaleRiga, Variant(strCausaleDefault));
        ui::Mostra(ctlDesCausaleRiga, Variant(strDesCausaleDefault));
        vert->Set("DO77_CODCAU_ZQ63", Variant(strCausaleDefault));
        vert->Set("DO77_DESCAU_ZQ63", Variant(strDesCausaleDefault));
    } else {
        auto causale = OpenQuery(Cnn(), " SELECT ZQ63_DESCAU_ANNULLO" +
                                            std::string(" FROM ZQ63_CAU_ANNULLO WITH (NOLOCK)") +
                                            " WHERE ZQ63_CODCAU_ANNULLO = " + SqlText(codice));
        if (HasRow(causale)) {
            const std::string descrizione = Trim(ReadText(causale, "ZQ63_DESCAU_ANNULLO"));
            ui::Mostra(ctlDesCausaleRiga, Variant(descrizione));
            vert->Set("DO77_DESCAU_ZQ63", Variant(descrizione));
        } else {
            ui::Mostra(ctlDesCausaleRiga, Variant(""));
            vert->Set("DO77_DESCAU_ZQ63", Variant::Null());
        }
    }

    Variant altra;
    if (IsTrue(FindMasterGuid(Variant(guidRiga), altra))) return VFalse;
    if (indicatore == 1) DocUI().SetIndicatoreAttesa(intAttesaSalvata);

    // A line delivered in full is cancelled for its whole quantity, whichever way the
    // settlement began: lowered to the nothing that is open, a reason typed on the
    // cancelled line (or a quantity left on it) would take back the quantity its pick gave.
    double daAnnullare = ui::QtaDi(ctlQtaAnnullo);
    if (NullaAperto(residuo)) {
        daAnnullare = ui::QtaDi(ctlQta1);
    } else if (QtaZero(daAnnullare) || QtaMaggiore(daAnnullare, residuo)) {
        daAnnullare = residuo;
    }

    VBool ok = VTrue;
    double ripristino = 0;
    EsitoAnnullo esito = EsitoAnnullo::Nulla;
    (void)CreaAnnulloParziale(ui::QtaDi(ctlQta1), daAnnullare, Variant(guidRiga), ok, ripristino,
                              &esito);
    switch (esito) {
        case EsitoAnnullo::Rifiutato:
            RipristinaRiga(prima, ripristino);
            return VFalse;
        case EsitoAnnullo::Nulla:
            // A master keeps its one cancellation line: it is not cancelled itself.
            if (IsTrue(FindDetailGuid(Variant(guidRiga), altra)))
                host::ShowHostMessage(objProgramma, kMasterAnnullato, 64, kTitolo);
            RipristinaRiga(prima, std::nullopt);
            return VFalse;
        case EsitoAnnullo::Totale:
            return VFalse;
        case EsitoAnnullo::Diviso:
            return VTrue;
    }
    return VFalse;
}

}  // namespace zq::plugin
