// The "Gestione annulli" command of the body form: the size grid opened on the family of the
// current line, its result posted to the document by the host's posting component, written
// back into cancellations and cancellation lines, the progressives reversed and the
// document saved.
//
// The command is one user road: it completes, or it leaves the order as it was.

#include <string>
#include <utility>

#include "engine/line_ui.h"
#include "form/form_access.h"
#include "grid/grid_members.h"
#include "host/create_object.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "host/screen.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace g = grid;

namespace {

constexpr std::string_view kTitolo = "Stato documento";
constexpr std::string_view kNonGriglia = "Per questo articolo non è possibile aprire la griglia!";
constexpr std::string_view kRigaAnnullo =
    "Selezionare una riga di documento che non sia un annullo parziale!";
constexpr std::string_view kErroreConfiguratore =
    "Errore lettura opzioni configuratore commerciale!";

Variant B(bool b) {
    return Variant::Bool(b);
}

// A clean-up the host's busy state depends on is tried a second time when the first try
// fails: a busy document, a locked grid or an hourglass left behind stops the user.
template <class F>
void RiprovaPulizia(F&& passo) {
    if (!CleanUp(passo)) CleanUp(passo);
}

// The group number of a grid line: a number. Null, Empty and texts that are no number mark
// an article the grid does not manage.
bool IsProgPadre(const Variant& v) {
    return !v.IsNull() && !v.IsEmpty() && v.IsNumeric();
}

}  // namespace

// The values of the current header and body rows the grid is given, calls 1 to 42. False
// when the grid layout cannot be read (after call 2).
bool CLSRF_REGDOC_STATI::PreparaGriglia(const RigaGriglia& riga) {
    auto& f = host::objFunzioniGlobali();
    const ado::RecordsetPtr testa = As<ado::Recordset>(GetObject(frmDocTestata, ui::kRecordset));
    const ado::RecordsetPtr corpo = As<ado::Recordset>(GetObject(frmDocCorpo, ui::kRecordset));
    const ado::Recordset& t = host::Ref(testa, "FME_DocTestata.Recordset");
    const ado::Recordset& c = host::Ref(corpo, "FME_DocCorpo.Recordset");
    const auto testo = [&](const ado::Recordset& r, std::string_view campo) {
        return Variant(f.ValoreTesto(r.Get(campo)));
    };
    const auto numero = [&](const ado::Recordset& r, std::string_view campo) {
        return Variant(f.ValoreNumero(r.Get(campo)));
    };
    const auto scrivi = [&](std::string_view membro, Variant v) {
        SetProp(objGriglia, membro, std::move(v));
    };
    scrivi(g::kGrigliaDitta,
           Variant::Int32(host::Ref(objDitta, "objDitta").CodiceDitta().ToLong()));
    const std::int32_t ditta = GetProp(objGriglia, g::kGrigliaDitta).ToLong();
    // A layout that cannot be read is the command's refusal with its message, not a
    // failure of the road: the query's error stays inside GetDimeConf's own trap.
    bool letto = false;
    if (!detail::RoadSkips()) {
        FailureWatch propria(false);
        FailureWatch::Install installa(&propria);
        letto = IsTrue(GetDimeConf(ditta));
    }
    if (!letto) return false;
    scrivi(g::kGrigliaProgramma, Variant(ObjectPtr(objProgramma)));
    scrivi(g::kGrigliaConnessione, Variant(ObjectPtr(cnnDB)));
    scrivi(g::kGrigliaTipoDocumento, Variant(t.Get("DO11_DOCUM_MG36").ToString()));
    scrivi(g::kGrigliaDocStandPers,
           Variant::Int16(
               GetProp(GetObject(frmCorrente, "FrmDocumenti"), "Gvar_DocumentoStandPers").ToInt()));
    for (std::string_view m : {g::kGrigliaModalitaAnnulli, g::kGrigliaSoloRigheEsistenti,
                               g::kGrigliaBloccaArticolo, g::kGrigliaBloccaPrezzi})
        scrivi(m, B(true));
    scrivi(g::kGrigliaProgPadre, Variant::Int32(riga.progPadre));
    scrivi(g::kGrigliaArticolo, Variant(f.ValoreTesto(riga.articolo)));
    scrivi(g::kGrigliaOpzione, Variant(f.ValoreTesto(riga.opzione)));
    scrivi(g::kGrigliaValuta, testo(t, "DO11_VALUTA_CG08"));
    scrivi(g::kGrigliaCambio, numero(t, "DO11_CAMBIO"));
    scrivi(g::kGrigliaDataDocumento, testo(t, "DO11_DATADOC"));
    scrivi(g::kGrigliaDaDocumento, B(true));
    const LayoutGriglia& l = layoutGriglia;
    scrivi(g::kGrigliaDim1GenGriglia2, B(l.intDim1IndGenGridDoc == 2));
    scrivi(g::kGrigliaDim1GenGriglia1, B(l.intDim1IndGenGridDoc == 1));
    scrivi(g::kGrigliaDim1Presente, B(IsTrue(l.blnDim1Trovata)));
    scrivi(g::kGrigliaDim2Presente, B(IsTrue(l.blnDim2Trovata)));
    scrivi(g::kGrigliaDim1Codice, Variant(l.strDim1Codice));
    scrivi(g::kGrigliaDim2Codice, Variant(l.strDim2Codice));
    scrivi(g::kGrigliaDim1Inizio, Variant::Int16(l.intDim1Start));
    scrivi(g::kGrigliaDim2Inizio, Variant::Int16(l.intDim2Start));
    scrivi(g::kGrigliaDim1Lunghezza, Variant::Int16(l.intDim1Size));
    scrivi(g::kGrigliaDim2Lunghezza, Variant::Int16(l.intDim2Size));
    // The counterpart's own article code, by the kind of counterpart of the order.
    const std::string tipoCliFor = f.ValoreTesto(t.Get("DO11_TIPOCF_CG44"));
    std::int16_t tipo = 0;
    std::string articolo;
    std::int32_t cliFor = 0;
    if (tipoCliFor == "0" || tipoCliFor == "1") {
        tipo = tipoCliFor == "0" ? 0 : 1;
        articolo = f.ValoreTesto(c.Get(tipo == 0 ? "DO30_CODARTCLI" : "DO30_CODARTFOR"));
        cliFor = Variant(f.ValoreNumero(t.Get("DO11_CLIFOR_CG44"))).ToLong();
    }
    scrivi(g::kGrigliaTipoCliFor, Variant::Int16(tipo));
    scrivi(g::kGrigliaArticoloCliFor, Variant(articolo));
    scrivi(g::kGrigliaCliFor, Variant::Int32(cliFor));
    scrivi(g::kGrigliaCliForDest, testo(t, "DO11_CLIFORDEST"));
    scrivi(g::kGrigliaIndListinoAcqVen, Variant::Int16(numero(c, "DO30_INDLISACQVEN").ToInt()));
    scrivi(g::kGrigliaIndListinoFisso, Variant::Int16(numero(c, "DO30_INDLISFISSO").ToInt()));
    scrivi(g::kGrigliaNumListinoFisso, Variant::Int32(numero(c, "DO30_NUMLISFISSO").ToLong()));
    scrivi(g::kGrigliaListinoMagazzino, Variant::Int32(numero(t, "DO11_LISTMAG").ToLong()));
    scrivi(g::kGrigliaDefaultPiede, B(numero(t, "DO11_FLGDEFPIEDE").ToDouble() == 1));
    scrivi(g::kGrigliaMostraStati, B(true));
    scrivi(g::kGrigliaChiamante, Variant(ObjectPtr()));
    scrivi(g::kGrigliaRegDoc, Variant(ObjectPtr(gclsRegDoc)));
    scrivi(g::kGrigliaDataRegistrazione, testo(t, "DO11_DATAREG"));
    CallMethod(objGriglia, g::kGrigliaInizializza);
    CallMethod(objGriglia, g::kGrigliaCreaStruttura);
    return true;
}

// Steps 2 to 18 of the command inside its road; answers whether the order changed.
bool CLSRF_REGDOC_STATI::EseguiComandoGriglia() {
    if (objGriglia) {
        const ObjectPtr vecchia = std::exchange(objGriglia, nullptr);
        CallMethod(vecchia, g::kGrigliaUnload);
    }
    objGriglia = CreateObject(g::kClsidGriglia);
    DocUI().SetIndicatoreAttesa(0);
    // The capture is taken from the database before the body is written: a change of an
    // earlier road the user has not saved yet (a line cancelled wholly waits for the save)
    // reaches the database with this write, and only a capture taken before it lets the
    // reversal take that change out of the progressives together with the grid's own.
    const std::string numReg = host::objFunzioniGlobali().ValoreTesto(
        ui::Richiesto(RegDoc().rstDocTestata(), "rstDocTestata")->Get("DO11_NUMREG_CO99"));
    CreaTempStorno(numReg, DocUI().GestLotti(), VFalse, "#STORNA_PROGMAG", "#STORNA_PROGLOTTI",
                   "#STORNA_PROGPROGETTI");
    const bool inSospeso = CorpoInSospeso();
    AggiornaBatchCorpo();

    const ado::RecordsetPtr corpo = As<ado::Recordset>(GetObject(frmDocCorpo, ui::kRecordset));
    const ado::Recordset& c = host::Ref(corpo, "FME_DocCorpo.Recordset");
    RigaGriglia riga;
    riga.guid = c.Get("DO30_GUID");
    const Variant progPadre = c.Get("DO30_PROGPADRE");
    riga.progRiga = c.Get("DO30_PROGRIGA");
    riga.opzione = c.Get("DO30_OPZIONE_MG5E");
    riga.articolo = c.Get("DO30_CODART_MG66");

    auto screen = host::Screen();
    const auto rifiuta = [&](std::string_view messaggio) {
        screen->SetMousePointer(host::vbDefault);
        host::ShowHostMessage(objProgramma, messaggio, 64, kTitolo);
        RifiutaPercorso();
        return false;
    };
    if (!IsProgPadre(progPadre)) return rifiuta(kNonGriglia);
    riga.progPadre = progPadre.ToLong();
    Variant master;
    if (IsTrue(FindMasterGuid(riga.guid, master)) && !IsModalitaGriglia(frmCorrente, 2))
        return rifiuta(kRigaAnnullo);
    if (!PreparaGriglia(riga)) return rifiuta(kErroreConfiguratore);

    ado::RecordsetPtr struttura =
        As<ado::Recordset>(GetProp(objGriglia, g::kGrigliaDati).ToObject());
    ado::RecordsetPtr dati = ClonaStrutturaRecordset(struttura);
    host::Ref(dati, "DatiGriglia").Open();
    RiempiDatiGriglia(*dati, riga.progPadre);
    if (!dati->EOF_() && !dati->BOF()) dati->MoveFirst();
    SetProp(objGriglia, g::kGrigliaDati, Variant(ObjectPtr(dati)));
    if (!IsTrue(ControllaCampiGriglia(dati))) {
        RifiutaPercorso();
        return false;
    }
    return ConcludiComandoGriglia(riga, inSospeso);
}

// Whether a body section holds a change the database does not have yet: a row being edited,
// or a row added, changed or deleted and waiting for the batch write. A section that cannot
// be asked counts as holding one, so that its write is reversed rather than left posted.
bool CLSRF_REGDOC_STATI::CorpoInSospeso() {
    const auto inSospeso = [](const ado::RecordsetPtr& rst) {
        if (!rst) return false;
        if (rst->EditMode() != ado::adEditNone) return true;
        const ado::RecordsetPtr copia = rst->Clone();
        copia->SetFilter(Variant::Int32(ado::adFilterPendingRecords));
        return !copia->EOF_();
    };
    bool trovato = false;
    const bool letto = Probe([&] {
        trovato = inSospeso(RegDoc().rstDocCorpo());
        for (host::SezioneDoc s : host::kSezioniRiga)
            if (!trovato) trovato = inSospeso((RegDoc().*s)());
    });
    return trovato || !letto;
}

// The write-back leaves the body elsewhere (on a cancellation line it appended, the line
// objects on the lines whose states they took): the grid goes back to the line the command
// was started on, and the host's line object with it, so that the user's next change of
// state reaches the line the form shows. A line the grid removed leaves the grid where it is.
void CLSRF_REGDOC_STATI::TornaAllaRigaGriglia(const Variant& guid) {
    ado::RecordsetPtr righe = ui::Richiesto(RegDoc().rstDocCorpo(), "rstDocCorpo")->Clone();
    const Variant segnalibro = GetBookmarkByGuid(righe, guid.ToString(), VFalse);
    if (segnalibro.IsEmpty() || segnalibro.IsNull()) return;
    // The host reports the state of the line it lands on. The grid gave that state itself:
    // the report is no pick of the user's to settle (settled, a line the grid cancelled
    // could be refused back to its old state beside the flag the grid wrote). It is only
    // remembered, and the current line follows the grid's states once the move is done.
    blnGrigliaInCorso = VTrue;
    ScopeExit segui([&] {
        blnGrigliaInCorso = VFalse;
        SeguiRigaCorrente();
    });
    const ObjectPtr gridCorpo = GetObject(frmCorrente, "GRD_CORPO");
    CallMethod(gridCorpo, "BeginDataSourceSuspend");
    ScopeExit riprendi([&] { CleanUp([&] { CallMethod(gridCorpo, "EndDataSourceSuspend"); }); });
    ui::VaiABookmark(frmDocCorpo, segnalibro);
}

// Steps 15 to 17: the grid shown, posted, and its result written back. `corpoInSospeso`: the
// body held changes of an earlier road when the command wrote it, before the grid.
bool CLSRF_REGDOC_STATI::ConcludiComandoGriglia(const RigaGriglia& riga, bool corpoInSospeso) {
    const ado::RecordsetPtr formCorpo = As<ado::Recordset>(GetObject(frmDocCorpo, ui::kRecordset));
    bool bloccato = false;
    ScopeExit sblocca([&] {
        if (bloccato) RiprovaPulizia([&] { CallMethod(frmDocCorpo, ui::kUnlock); });
    });
    CallMethod(frmDocCorpo, ui::kLock);
    bloccato = true;
    const Variant segnalibro = host::Ref(formCorpo, "FME_DocCorpo.Recordset").Bookmark();
    SetProp(objGriglia, g::kGrigliaRigaCorrente, riga.progRiga);
    SetProp(objGriglia, g::kGrigliaMostra, Variant());
    std::int32_t a = 0, b = 0;
    std::string testo;
    const bool registrato = IsTrue(RegistraGriglia(a, b, testo));
    CallMethod(frmDocCorpo, ui::kUnlock);
    bloccato = false;

    const ObjectPtr gridCorpo = GetObject(frmCorrente, "GRD_CORPO");
    CallMethod(gridCorpo, "BeginDataSourceSuspend");
    {
        ScopeExit riprendi(
            [&] { CleanUp([&] { CallMethod(gridCorpo, "EndDataSourceSuspend"); }); });
        ui::VaiABookmark(frmDocCorpo, segnalibro);
    }
    if (registrato) {
        ElaboraGrigliaAnnulli();
        // A split refused with its message refuses the command: the road puts the order back.
        if (percorsoCorrente && percorsoCorrente->rifiutato) return false;
        ui::Richiesto(RegDoc().rstDocCorpoOrd(), "rstDocCorpoOrd")
            ->SetFilter(Variant::Int32(ado::adFilterNone));
        ui::Richiesto(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert")
            ->SetFilter(Variant::Int32(ado::adFilterNone));
        // A step that failed under its own trap ends the command here: the road puts the
        // order back, and the host must not save a half-written document.
        if (detail::RoadSkips()) return false;
        AggiornaBatchCorpo();
        if (detail::RoadSkips()) return false;
        EseguiProgMagDoc();
        if (detail::RoadSkips()) return false;
        TornaAllaRigaGriglia(riga.guid);
        SalvaDocumento();
    } else if (corpoInSospeso) {
        // Nothing was posted, but writing the body before the grid was shown took an earlier
        // road's unsaved change (a line cancelled wholly) to the database: the capture taken
        // before that write reverses it, or the progressives would keep what the order no
        // longer holds open.
        EseguiProgMagDoc();
    } else {
        // Nothing was posted nor written: the capture is no one's to reverse.
        blnStornoPronto = VFalse;
    }
    CallMethod(gridCorpo, "RefreshSummaryFooters");
    return registrato;
}

// Always False. The whole command is one road: a refusal or a failure leaves the order as it
// was; the busy property, the busy indicator and the mouse pointer are given back on every
// way out.
VBool CLSRF_REGDOC_STATI::GestioneAnnulliGriglia() {
    PercorsoUtente percorso(*this, FotografaCampi());
    auto& doc = RegDoc();
    auto screen = host::Screen();
    ScopeExit fine([&] {
        RiprovaPulizia([&] { DocUI().SetIndicatoreAttesa(intAttesaSalvata); });
        RiprovaPulizia([&] { screen->SetMousePointer(host::vbDefault); });
        RiprovaPulizia([&] { RegDoc().SetInElaborazione(VFalse); });
        blnGrigliaInCorso = VFalse;
    });
    doc.SetInElaborazione(VTrue);
    screen->SetMousePointer(host::vbHourglass);
    blnCreaAnnulloInCorso = VFalse;
    EndQuietly([&] { (void)EseguiComandoGriglia(); });
    SeguiRigaCorrente();
    return VFalse;
}

// Runs the host's posting component on the grid. A failure shows the platform's error box
// and reaches the caller; the component is then released by the next run or by the plug-in.
VBool CLSRF_REGDOC_STATI::RegistraGriglia(std::int32_t& a, std::int32_t& b, std::string& testo) {
    const auto rilascia = [&] {
        SetProp(objRegistraGriglia, g::kRegistraGriglia, Variant(ObjectPtr()));
        SetProp(objRegistraGriglia, g::kRegistraConnessione, Variant(ObjectPtr()));
        SetProp(objRegistraGriglia, g::kRegistraProgramma, Variant(ObjectPtr()));
    };
    try {
        if (objRegistraGriglia) {
            rilascia();
            objRegistraGriglia.reset();
        }
        objRegistraGriglia = CreateObject(g::kClsidRegistraGriglia);
        SetProp(objRegistraGriglia, g::kRegistraProgramma, Variant(ObjectPtr(objProgramma)));
        SetProp(objRegistraGriglia, g::kRegistraConnessione, Variant(ObjectPtr(cnnDB)));
        SetProp(objRegistraGriglia, g::kRegistraGriglia, Variant(objGriglia));
        Variant args[] = {Variant::Int32(a), Variant::Int32(b), Variant(testo), B(false)};
        CallMethodRef(objRegistraGriglia, g::kRegistraEsegui, args);
        a = args[0].ToLong();
        b = args[1].ToLong();
        testo = args[2].IsNull() ? std::string() : args[2].ToString();
        const VBool ok = args[3].ToBool() ? VTrue : VFalse;
        rilascia();
        objRegistraGriglia.reset();
        return ok;
    } catch (const HostError& e) {
        // The platform's own box: OK only, no title.
        host::ShowHostMessage(objProgramma,
                              "Errore: " + std::to_string(e.Number()) +
                                  "\rDescrizione: " + e.Description() + "\rSource: " + e.Source(),
                              0, "");
        if (percorsoCorrente) percorsoCorrente->avvisato = true;
        throw;
    }
}

}  // namespace zq::plugin
