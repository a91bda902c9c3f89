// User roads: the snapshot taken before a road changes the order, and its undo.

#include "plugin/percorso.h"

#include <exception>

#include "engine/line_ui.h"
#include "form/form_access.h"
#include "host/host_access.h"
#include "host/identity.h"
#include "host/nvl.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

constexpr std::string_view kTitolo = "Stato documento";
constexpr std::string_view kModificaNonEseguita =
    "Si è verificato un errore: la modifica non è stata eseguita e il documento è rimasto "
    "com'era prima.";

using Sezione = ado::RecordsetPtr (host::IRegDoc::*)() const;

// Every section a road may change or write: the header sections, the body, and the
// per-line sections the batch write of the body stores.
constexpr Sezione kSezioniTestaCorpo[] = {
    &host::IRegDoc::rstDocTestata, &host::IRegDoc::rstDocTestaOrd, &host::IRegDoc::rstDocTestaVert,
    &host::IRegDoc::rstDocCorpo};

// The body sections the batch write of the body leaves alone, but that the removal of a
// line's sub-rows writes.
constexpr Sezione kSezioniSottorighe[] = {&host::IRegDoc::rstDocCorpoCoin,
                                          &host::IRegDoc::rstDocCorpoRatei};

// The controls found on the form by name rather than kept by the plug-in.
constexpr std::string_view kControlliPerNome[] = {"TXT_DO31_FLGNONPIUEV", "TXT_DO18_FLGNONPIUEV",
                                                  "TXT_DO11_STATO"};

void RipristinaProprieta(const ObjectPtr& ctl, std::string_view nome, const Variant& valore) {
    if (valore.IsEmpty()) return;
    Variant ora;
    if (!Probe([&] { ora = GetProp(ctl, nome); })) return;
    if (ora.SameAs(valore)) return;
    CleanUp([&] { SetProp(ctl, nome, valore); });
    if (nome == "Text") CleanUp([&] { SetProp(ctl, "IsChanged", Variant::Bool(true)); });
}

}  // namespace

// ---- the road's scope ----

PercorsoUtente::PercorsoUtente(CLSRF_REGDOC_STATI& plugin, const CampiPercorso& campi,
                               bool fotografa, bool notifica)
    : plugin_(plugin), eccezioni_(std::uncaught_exceptions()) {
    if (plugin.percorsoCorrente) return;  // part of the road already running
    if (notifica && plugin.percorsoAperto && plugin.percorsoAperto->accoglie) {
        // The host's own part of a road kept open: this event belongs to it.
        unito_ = plugin.percorsoAperto.get();
        install_.emplace(&unito_->watch);
        plugin.percorsoCorrente = unito_;
        return;
    }
    plugin.ChiudiPercorsoAperto();
    percorso_ = std::make_unique<Percorso>();
    percorso_->campi = campi;
    install_.emplace(&percorso_->watch);
    plugin.percorsoCorrente = percorso_.get();
    if (fotografa) Fotografa();
}

void PercorsoUtente::Fotografa() {
    if (!percorso_ || percorso_->fotografato) return;
    percorso_->fotografato = true;
    plugin_.FotografaDocumento(*percorso_);
}

// A road opened light (its picture waiting) begins changing the order here. A road that
// has already failed changes nothing more: its later steps would not be in the picture.
bool CLSRF_REGDOC_STATI::FotografaPercorso() {
    Percorso* p = percorsoCorrente;
    if (!p) return true;
    if (!p->watch.Failed() && !p->fotografato) {
        p->fotografato = true;
        FotografaDocumento(*p);
    }
    return !p->watch.Failed();
}

PercorsoUtente::PercorsoUtente(CLSRF_REGDOC_STATI& plugin, std::unique_ptr<Percorso> ripreso)
    : plugin_(plugin), percorso_(std::move(ripreso)), eccezioni_(std::uncaught_exceptions()) {
    if (!percorso_) return;
    install_.emplace(&percorso_->watch);
    plugin.percorsoCorrente = percorso_.get();
}

bool PercorsoUtente::Fallito() const {
    const Percorso* p = percorso_ ? percorso_.get() : unito_;
    return p && p->watch.Failed();
}

PercorsoUtente::~PercorsoUtente() {
    // An error that leaves the event unwinds through here: the road did not complete.
    const bool errore = std::uncaught_exceptions() > eccezioni_;
    if (unito_) {
        if (errore) unito_->watch.Note();
        install_.reset();
        plugin_.percorsoCorrente = nullptr;
        return;
    }
    if (percorso_ && errore) percorso_->watch.Note();
    if (trattieni_ && percorso_) {
        percorso_->accoglie = accogli_;
        install_.reset();
        plugin_.percorsoCorrente = nullptr;
        plugin_.percorsoAperto = std::move(percorso_);
        return;
    }
    try {
        Concludi();
    } catch (...) {
    }
}

bool PercorsoUtente::Concludi() {
    if (!percorso_) return true;
    install_.reset();
    plugin_.percorsoCorrente = nullptr;
    const std::unique_ptr<Percorso> p = std::move(percorso_);
    return plugin_.ConcludiPercorso(*p);
}

// ---- the plug-in's side ----

bool CLSRF_REGDOC_STATI::ConcludiPercorso(Percorso& p) {
    if (!p.watch.Failed() && !p.rifiutato) return true;
    AnnullaPercorso(p);
    if (p.watch.Failed() && !p.avvisato) AvvisaPercorsoAnnullato();
    return false;
}

void CLSRF_REGDOC_STATI::ChiudiPercorsoAperto() {
    if (!percorsoAperto) return;
    const std::unique_ptr<Percorso> p = std::move(percorsoAperto);
    ConcludiPercorso(*p);
}

void CLSRF_REGDOC_STATI::RifiutaPercorso() {
    if (percorsoCorrente) percorsoCorrente->rifiutato = true;
}

void CLSRF_REGDOC_STATI::RegistraProgressivi() {
    if (percorsoCorrente) percorsoCorrente->registrato = true;
}

// The form saves the whole document: the host writes it and posts the progressives.
void CLSRF_REGDOC_STATI::SalvaDocumento() {
    RegistraProgressivi();
    CallMethod(frmCorrente, "SalvaDocumento");
}

CampiPercorso CLSRF_REGDOC_STATI::FotografaCampi() const {
    CampiPercorso c;
    c.lngStatoTesta = lngStatoTesta;
    c.lngFlussoTesta = lngFlussoTesta;
    c.lngUltimoStatoTesta = lngUltimoStatoTesta;
    c.lngStatoRigaCorrente = lngStatoRigaCorrente;
    c.lngStatoRigaPrecedente = lngStatoRigaPrecedente;
    c.blnStornoPronto = blnStornoPronto;
    c.lngFlussoDoc = lngFlussoDoc;
    c.lngStatoInizialeRighe = lngStatoInizialeRighe;
    c.strGuidRigaCorrente = strGuidRigaCorrente;
    c.lngProgRigaCorrente = lngProgRigaCorrente;
    c.lngProgPadreCorrente = lngProgPadreCorrente;
    c.strDesCausaleTestaPrec = strDesCausaleTestaPrec;
    c.intAttesaSalvata = intAttesaSalvata;
    c.blnRigaDaConfermare = blnRigaDaConfermare;
    if (colLinkAnnulli) c.colLinkAnnulli = *colLinkAnnulli;
    c.lngProgPadreAnnulli = lngProgPadreAnnulli;
    c.strGuidUltimoAnnullo = strGuidUltimoAnnullo;
    c.lngProgRigaUltimoAnnullo = lngProgRigaUltimoAnnullo;
    c.statiRigaScritti = statiRigaScritti;
    c.lngProgPadreUltimoAnnullo = lngProgPadreUltimoAnnullo;
    c.lngStatoUltimoAnnullo = lngStatoUltimoAnnullo;
    c.strGuidRigaCancellata = strGuidRigaCancellata;
    c.lngProgRigaCancellata = lngProgRigaCancellata;
    c.blnDecodeCausaleTesta = blnDecodeCausaleTesta;
    c.blnPropagaInCorso = blnPropagaInCorso;
    c.blnApplicaInCorso = blnApplicaInCorso;
    c.blnCambioStatoTesta = blnCambioStatoTesta;
    c.blnConfermaInCorso = blnConfermaInCorso;
    c.blnCreaAnnulloInCorso = blnCreaAnnulloInCorso;
    c.blnRipristinoInCorso = blnRipristinoInCorso;
    return c;
}

void CLSRF_REGDOC_STATI::RipristinaCampi(const CampiPercorso& c) {
    lngStatoTesta = c.lngStatoTesta;
    lngFlussoTesta = c.lngFlussoTesta;
    lngUltimoStatoTesta = c.lngUltimoStatoTesta;
    lngStatoRigaCorrente = c.lngStatoRigaCorrente;
    lngStatoRigaPrecedente = c.lngStatoRigaPrecedente;
    statiRigaScritti = c.statiRigaScritti;
    blnStornoPronto = c.blnStornoPronto;
    lngFlussoDoc = c.lngFlussoDoc;
    lngStatoInizialeRighe = c.lngStatoInizialeRighe;
    strGuidRigaCorrente = c.strGuidRigaCorrente;
    lngProgRigaCorrente = c.lngProgRigaCorrente;
    lngProgPadreCorrente = c.lngProgPadreCorrente;
    strDesCausaleTestaPrec = c.strDesCausaleTestaPrec;
    intAttesaSalvata = c.intAttesaSalvata;
    blnRigaDaConfermare = c.blnRigaDaConfermare;
    if (c.colLinkAnnulli) {
        colLinkAnnulli = std::make_unique<LinkAnnulli>(*c.colLinkAnnulli);
    } else {
        colLinkAnnulli.reset();
    }
    lngProgPadreAnnulli = c.lngProgPadreAnnulli;
    strGuidUltimoAnnullo = c.strGuidUltimoAnnullo;
    lngProgRigaUltimoAnnullo = c.lngProgRigaUltimoAnnullo;
    lngProgPadreUltimoAnnullo = c.lngProgPadreUltimoAnnullo;
    lngStatoUltimoAnnullo = c.lngStatoUltimoAnnullo;
    strGuidRigaCancellata = c.strGuidRigaCancellata;
    lngProgRigaCancellata = c.lngProgRigaCancellata;
    blnDecodeCausaleTesta = c.blnDecodeCausaleTesta;
    blnPropagaInCorso = c.blnPropagaInCorso;
    blnApplicaInCorso = c.blnApplicaInCorso;
    blnCambioStatoTesta = c.blnCambioStatoTesta;
    blnConfermaInCorso = c.blnConfermaInCorso;
    blnCreaAnnulloInCorso = c.blnCreaAnnulloInCorso;
    blnRipristinoInCorso = c.blnRipristinoInCorso;
}

// Each part under its own trap: the first one that fails is the road's failure, and the
// road then changes nothing (its statements are passed over) before it is undone.
void CLSRF_REGDOC_STATI::FotografaDocumento(Percorso& p) {
    if (!gclsRegDoc) return;
    const auto fotografa = [&](Sezione s) {
        EndQuietly([&] {
            const ado::RecordsetPtr rst = (RegDoc().*s)();
            if (rst) p.sezioni.push_back({rst, TakeSectionImage(rst)});
        });
    };
    for (Sezione s : kSezioniTestaCorpo) fotografa(s);
    for (Sezione s : host::kSezioniRiga) fotografa(s);
    for (Sezione s : kSezioniSottorighe) fotografa(s);
    std::vector<ObjectPtr> controlli = {
        ctlCodCausaleTesta, ctlDesCausaleTesta, ctlCodCausaleRiga, ctlDesCausaleRiga, ctlQtaAnnullo,
        ctlQtaOrig,         ctlStatoRiga,       ctlQta1,           ctlTipoRiga,       ctlQta2,
        ctlGuidMaster,      ctlGuidDetail,      ctlQtaAnnProgPadre};
    if (frmCorrente)
        for (std::string_view nome : kControlliPerNome)
            EndQuietly([&] {
                if (const ObjectPtr ctl = ControlloPerNome(frmCorrente, nome))
                    controlli.push_back(ctl);
            });
    for (const ObjectPtr& ctl : controlli) {
        if (!ctl) continue;
        ControlloPercorso c{ctl, {}, {}, {}};
        EndQuietly([&] { c.testo = GetProp(ctl, "Text"); });
        EndQuietly([&] { c.abilitato = GetProp(ctl, "Enabled"); });
        EndQuietly([&] { c.visibile = GetProp(ctl, "Visible"); });
        p.controlli.push_back(std::move(c));
    }
    EndQuietly([&] { p.indicatore = DocUI().IndicatoreAttesa(); });
    // The current line's state lives in the flow-state store, outside the sections: a road
    // that settles the line gives it back from here (a road the user's pick began has
    // already noted the state the line had before the pick).
    if (!p.statoRiga)
        EndQuietly([&] {
            const host::RigaCorpoPtr riga = RegDoc().objRigaCorpo();
            if (!riga) return;
            const std::string guid = riga->GuidRiga();
            if (!guid.empty())
                p.statoRiga = StatoPrecedente{guid, riga->StatoRiga(), riga->IdFlusso()};
        });
}

// The line the user picked a state on goes back to the state it had.
void CLSRF_REGDOC_STATI::RicordaStatoRiga(const std::string& guid, std::int32_t stato,
                                          std::int32_t flusso) {
    if (percorsoCorrente && !percorsoCorrente->statoRiga)
        percorsoCorrente->statoRiga = StatoPrecedente{guid, stato, flusso};
}

// The header state the user picked goes back to the one the order was saved with: the host
// has written the pick into the state control and its field before it told the plug-in.
// Reading them is the road's first step: a failure there is the road's failure.
void CLSRF_REGDOC_STATI::RicordaStatoTestata() {
    if (!percorsoCorrente || !frmCorrente) return;
    Percorso& p = *percorsoCorrente;
    p.pickTestata = true;
    // Read even when the snapshot failed: the pick is then all the undo has to take back.
    if (!CleanUp([&] { p.statoTestata = LeggiStatoTestataSalvato(); })) p.watch.Note();
    if (!p.statoTestata) return;
    const StatoTestataSalvato& st = *p.statoTestata;
    ado::RecordsetPtr testata;
    if (!CleanUp([&] { testata = RegDoc().rstDocTestata(); })) p.watch.Note();
    for (SezionePercorso& s : p.sezioni) {
        if (!testata || !SameObject(s.rst, testata)) continue;
        const int riga = s.immagine.RowAt(s.immagine.bookmark);
        const int colonna = s.immagine.FieldIndex(st.campo);
        if (riga < 0 || colonna < 0) return;
        const auto r = static_cast<std::size_t>(riga);
        if (s.immagine.rows[r].state == RowState::New) return;
        s.immagine.Override(r, static_cast<std::size_t>(colonna), st.salvato);
        s.ripristinaStato = false;
    }
    for (ControlloPercorso& cp : p.controlli)
        if (SameObject(cp.ctl, st.ctl))
            cp.testo = st.salvato.IsNull() ? Variant("") : Variant(st.salvato.ToString());
}

// The header state control, its field and the state the database holds for it; nothing
// on a form without that control or a header on no row. Raises the host's errors.
std::optional<StatoTestataSalvato> CLSRF_REGDOC_STATI::LeggiStatoTestataSalvato() {
    const ObjectPtr ctl = ControlloPerNome(frmCorrente, "TXT_DO11_STATO");
    if (!ctl) return std::nullopt;
    const std::string campo = GetProp(ctl, "DBField").ToString();
    const ado::RecordsetPtr testata = RegDoc().rstDocTestata();
    if (!testata || testata->BOF() || testata->EOF_()) return std::nullopt;
    return StatoTestataSalvato{ctl, campo, testata->FieldByName(campo)->OriginalValue()};
}

// Where the header section could not be pictured, its state field and control are given
// the saved state directly.
void CLSRF_REGDOC_STATI::RiportaStatoTestata(const StatoTestataSalvato& st) {
    CleanUp([&] {
        const ado::RecordsetPtr testata = RegDoc().rstDocTestata();
        if (testata && !testata->Get(st.campo).SameAs(st.salvato))
            testata->Set(st.campo, st.salvato);
    });
    CleanUp([&] {
        SetProp(st.ctl, "Text", st.salvato.IsNull() ? Variant("") : Variant(st.salvato.ToString()));
    });
}

void CLSRF_REGDOC_STATI::AnnullaPercorso(Percorso& p) {
    blnAnnullaPercorso = VTrue;
    // Every step of the undo is tried, whatever an earlier one did.
    FailureWatch annullo(false);
    FailureWatch::Install installa(&annullo);

    // What the road posted to the progressives goes back with the order: the open
    // quantities the database holds now are captured, the order put back, and the
    // reversal posts the difference.
    std::string numReg;
    VBool lotti = VFalse;
    if (p.registrato) {
        CleanUp([&] {
            numReg = host::objFunzioniGlobali().ValoreTesto(
                ui::Richiesto(RegDoc().rstDocTestata(), "rstDocTestata")->Get("DO11_NUMREG_CO99"));
            lotti = DocUI().GestLotti();
            CreaTempStorno(numReg, lotti, VFalse, "#STORNA_PROGMAG", "#STORNA_PROGLOTTI",
                           "#STORNA_PROGPROGETTI");
        });
    }
    Variant segnalibroCorpo;
    ado::RecordsetPtr corpo;
    CleanUp([&] { corpo = RegDoc().rstDocCorpo(); });
    for (SezionePercorso& s : p.sezioni) {
        RestoreResult r;
        if (!CleanUp([&] { r = RestoreSection(s.rst, s.immagine); })) continue;
        if (SameObject(s.rst, corpo) && s.immagine.RowAt(s.immagine.bookmark) >= 0)
            segnalibroCorpo = r.Bookmark(s.immagine.bookmark.ToDouble());
    }
    if (p.registrato) CleanUp([&] { EseguiProgMagDoc(); });

    for (const StatoPrecedente& st : p.statiRighe)
        CleanUp([&] { SetFlussoStato(st.guid, st.stato, st.flusso); });
    if (p.statoRiga)
        CleanUp(
            [&] { SetFlussoStato(p.statoRiga->guid, p.statoRiga->stato, p.statoRiga->flusso); });
    // The grid goes back to the line it stood on, and the host's line object with it.
    if (frmDocCorpo && !segnalibroCorpo.IsEmpty())
        CleanUp([&] { ui::VaiABookmark(frmDocCorpo, segnalibroCorpo); });
    if (p.statoRiga) {
        CleanUp([&] {
            host::IRigaCorpo& riga = host::Ref(RegDoc().objRigaCorpo(), "objRigaCorpo");
            if (riga.GuidRiga() != p.statoRiga->guid) return;
            riga.SetStatoRiga(p.statoRiga->stato);
            riga.AcquisisciStato();
        });
    }
    if (p.pickTestata) {
        bool immaginata = false;
        for (const SezionePercorso& s : p.sezioni) immaginata |= !s.ripristinaStato;
        if (!p.statoTestata) CleanUp([&] { p.statoTestata = LeggiStatoTestataSalvato(); });
        if (!immaginata && p.statoTestata) RiportaStatoTestata(*p.statoTestata);
    }
    for (const ControlloPercorso& c : p.controlli) {
        RipristinaProprieta(c.ctl, "Text", c.testo);
        RipristinaProprieta(c.ctl, "Enabled", c.abilitato);
        RipristinaProprieta(c.ctl, "Visible", c.visibile);
    }
    if (p.indicatore) CleanUp([&] { DocUI().SetIndicatoreAttesa(*p.indicatore); });
    RipristinaCampi(p.campi);
    if (p.lasciato && ctlQta1 && SameObject(p.lasciato, ctlQta1))
        CleanUp([&] { RimettiQtaCoppia(); });
    blnAnnullaPercorso = VFalse;
}

// Said once, without the database's words, with the busy indicator down while it shows.
void CLSRF_REGDOC_STATI::AvvisaPercorsoAnnullato() {
    std::int16_t attesa = 0;
    const bool letto = CleanUp([&] { attesa = DocUI().IndicatoreAttesa(); });
    CleanUp([&] { DocUI().SetIndicatoreAttesa(0); });
    host::ShowHostMessage(objProgramma, kModificaNonEseguita, 48, kTitolo);
    if (letto) CleanUp([&] { DocUI().SetIndicatoreAttesa(attesa); });
}

}  // namespace zq::plugin
