// Carrying a state down to the document's lines: the cancelled line state when an order or
// a line is cancelled, the flow's initial state when a cancellation is withdrawn. Each
// line of a line group gets its "no longer to be fulfilled" flag; a single line also gets
// its flow state, its reason and the quantity that is still open, net of what has already
// been delivered.

#include "data/optimize.h"
#include "data/query.h"
#include "data/sql_text.h"
#include "engine/line_ui.h"
#include "engine/query_evasione.h"
#include "form/form_access.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

void RimuoviFiltro(ado::Recordset& rst) {
    rst.SetFilter(Variant::Int32(ado::adFilterNone));
}

// A field of the current row through NvlVar; a recordset on no row reads as the default.
Variant Valore(const ado::RecordsetPtr& rst, std::string_view campo, const Variant& predefinito) {
    return HasRow(rst) ? NvlVar(rst->Get(campo), predefinito) : predefinito;
}

std::string Testo(const ado::RecordsetPtr& rst, std::string_view campo) {
    return Valore(rst, campo, Variant("")).ToString();
}

double Numero(const ado::RecordsetPtr& rst, std::string_view campo) {
    return Valore(rst, campo, Variant::Int32(0)).ToDouble();
}

Variant Flag(std::int16_t valore) {
    return Variant::Int16(valore);
}

}  // namespace

// One line on its way through ApplicaStatoRighe: the call's arguments, the clones narrowed
// on the line, and what the line has left to deliver.
struct CLSRF_REGDOC_STATI::RigaDaApplicare {
    std::int32_t IdStato;
    std::int32_t IdFlusso;
    const std::string& CodCausale;
    const std::string& DesCausale;
    VBool Sovrascrivi;

    std::string progRiga;         // DO30_PROGRIGA as filter text
    ado::RecordsetPtr riga;       // the line clone, on the line
    ado::RecordsetPtr ordine;     // the DO31 clone, on the line's row or on none
    ado::RecordsetPtr verticale;  // the DO77 clone, on the line's row or on none
    double qtaIniziale;           // DO77_ZQ_QTA_ORIG, or DO30_QTA1 when that is 0
    double qtaResidua;            // starting quantity less what was delivered
    std::int32_t indStatoRiga;    // VFW_INDSTATORIGA: 2 = partly delivered
};

// An error before the final updates ends the run quietly: the busy flag and the host's busy
// indicator go back, nothing is shown, and what was written so far stays.
void CLSRF_REGDOC_STATI::ApplicaStatoRighe(std::int32_t IdStato, std::int32_t IdFlusso,
                                           const std::string& CodCausale,
                                           const std::string& DesCausale, VBool Sovrascrivi,
                                           std::int32_t ProgRiga) {
    const bool completed = EndQuietly([&] {
        ado::RecordsetPtr evasioni;
        ScopeExit chiudiEvasioni([&] {
            if (evasioni) evasioni->Close();
        });
        ScopeExit fineApplica([&] {
            flagInPassata.reset();
            blnApplicaInCorso = VFalse;
            DocUI().SetIndicatoreAttesa(intAttesaSalvata);
        });
        flagInPassata.emplace();

        const ado::RecordsetPtr corpo = RegDoc().rstDocCorpo();
        const ado::Recordset& corrente = host::Ref(corpo, "rstDocCorpo");
        evasioni = OpenQuery(Cnn(), QueryEvasioneDocumento(corrente.Get("DO30_DITTA_CG18"),
                                                           corrente.Get("DO30_NUMREG_CO99")));
        blnApplicaInCorso = VTrue;
        DocUI().SetIndicatoreAttesa(0);

        const ado::RecordsetPtr righe = corpo->Clone();
        const ado::RecordsetPtr ordHost = RegDoc().rstDocCorpoOrd();
        const ado::RecordsetPtr vertHost = RegDoc().rstDocCorpoVert();
        const ado::RecordsetPtr ordine = host::Ref(ordHost, "rstDocCorpoOrd").Clone();
        const ado::RecordsetPtr verticale = host::Ref(vertHost, "rstDocCorpoVert").Clone();
        // Every line filters these on its line number: indexed, each filter reads the
        // line's own rows instead of the whole document.
        OttimizzaFiltri(righe, {"DO30_PROGRIGA"});
        OttimizzaFiltri(evasioni, {"DO30_PROGRIGA"});
        for (const auto& rs : {ordHost, ordine}) OttimizzaFiltri(rs, {"DO31_PROGRIGA"});
        for (const auto& rs : {vertHost, verticale}) OttimizzaFiltri(rs, {"DO77_PROGRIGA"});
        if (ProgRiga != 0) righe->SetFilter(Variant(" DO30_PROGRIGA = " + SqlLong(ProgRiga)));
        if (!HasRow(righe)) return;

        righe->MoveFirst();
        while (!righe->EOF_()) {
            const std::string progRiga = FormatDouble(righe->Get("DO30_PROGRIGA").ToDouble());
            const Variant progPadre = NvlVar(righe->Get("DO30_PROGPADRE"), Variant::Int32(0));
            ordine->SetFilter(Variant(" DO31_PROGRIGA = " + progRiga));
            verticale->SetFilter(Variant(" DO77_PROGRIGA = " + progRiga));
            host::Ref(evasioni, "evasioni").SetFilter(Variant(" DO30_PROGRIGA = " + progRiga));

            double qtaIniziale = Numero(verticale, "DO77_ZQ_QTA_ORIG");
            if (qtaIniziale == 0) qtaIniziale = Numero(righe, "DO30_QTA1");
            const double qtaEvasa = Numero(evasioni, "VFW_QTA1TRASF");
            const std::int32_t indStatoRiga =
                Valore(evasioni, "VFW_INDSTATORIGA", Variant::Int32(0)).ToLong();

            // Only the lines of a line group take the state.
            if (Compare(progPadre, Variant::Int32(0)) == CompareResult::Greater) {
                const RigaDaApplicare r{IdStato,
                                        IdFlusso,
                                        CodCausale,
                                        DesCausale,
                                        Sovrascrivi,
                                        progRiga,
                                        righe,
                                        ordine,
                                        verticale,
                                        qtaIniziale,
                                        qtaIniziale - qtaEvasa,
                                        indStatoRiga};
                if (ProgRiga <= 0) {
                    ApplicaRigaDocumento(r);
                } else {
                    ApplicaRigaSingola(r);
                }
            }
            righe->MoveNext();
        }
    });
    if (!completed) return;

    IgnoreErrors([&] { RegDoc().rstDocCorpoVert()->Update(); });
    IgnoreErrors([&] { RegDoc().rstDocCorpoOrd()->Update(); });
    IgnoreErrors([&] { RegDoc().rstDocCorpo()->Update(); });
}

// All-lines mode: the flag of the line, and its reason only when it already has one and
// the caller asked to overwrite it.
void CLSRF_REGDOC_STATI::ApplicaRigaDocumento(const RigaDaApplicare& r) {
    const ado::RecordsetPtr ordHost = RegDoc().rstDocCorpoOrd();
    const ado::RecordsetPtr vertHost = RegDoc().rstDocCorpoVert();
    host::Ref(ordHost, "rstDocCorpoOrd").SetFilter(Variant(" DO31_PROGRIGA = " + r.progRiga));
    host::Ref(vertHost, "rstDocCorpoVert").SetFilter(Variant(" DO77_PROGRIGA = " + r.progRiga));

    if (IsTrue(r.Sovrascrivi) && !Testo(vertHost, "DO77_CODCAU_ZQ63").empty()) {
        vertHost->Set("DO77_CODCAU_ZQ63", Variant(r.CodCausale));
        vertHost->Set("DO77_DESCAU_ZQ63", Variant(r.DesCausale));
    }

    std::int16_t flag = 0;
    if (r.IdStato == lngStatoAnnulloRighe) {
        flag = 1;
    } else if (HasRow(r.verticale)) {
        const std::string master = Testo(r.verticale, "DO77_ZQGUID_MASTER_DO30");
        if (master.empty()) {
            // A master keeps delivering what was not cancelled.
            flag = Numero(r.verticale, "DO77_ZQ_QTA_ANNULLO") != 0 ? 1 : 0;
        } else {
            flag = Testo(r.verticale, "DO77_ZQGUID_DETAIL_DO30") != master ? 1 : 0;
        }
    }
    SetFlgNonPiuEvRiga(Flag(flag));

    RimuoviFiltro(*ordHost);
    RimuoviFiltro(*vertHost);
}

// Single-line mode: the line becomes the host's current line (its DO31 and DO77 rows made
// when missing), takes the state in the host and in the flow-state store, the reason, and,
// when cancelled, the quantity still open.
void CLSRF_REGDOC_STATI::ApplicaRigaSingola(const RigaDaApplicare& r) {
    const ado::RecordsetPtr ordHost = RegDoc().rstDocCorpoOrd();
    const ado::RecordsetPtr vertHost = RegDoc().rstDocCorpoVert();
    const Variant filtroOrd = host::Ref(ordHost, "rstDocCorpoOrd").Filter();
    const Variant filtroVert = host::Ref(vertHost, "rstDocCorpoVert").Filter();
    RimuoviFiltro(*ordHost);
    RimuoviFiltro(*vertHost);

    host::Ref(RegDoc().rstDocCorpo(), "rstDocCorpo").SetBookmark(r.riga->Bookmark());
    if (HasRow(r.ordine)) ordHost->SetBookmark(r.ordine->Bookmark());
    if (HasRow(r.verticale)) vertHost->SetBookmark(r.verticale->Bookmark());

    if (!HasRow(r.ordine)) {
        RegDoc().AggiungiRigaCorpoOrd(0);
        ordHost->Set("DO31_DITTA_CG18", r.riga->Get("DO30_DITTA_CG18"));
        ordHost->Set("DO31_NUMREG_CO99", r.riga->Get("DO30_NUMREG_CO99"));
        ordHost->Set("DO31_PROGRIGA", r.riga->Get("DO30_PROGRIGA"));
    }
    if (!HasRow(r.verticale)) {
        RegDoc().AggiungiRigaCorpoVert(0);
        vertHost->Set("DO77_DITTA_CG18", r.riga->Get("DO30_DITTA_CG18"));
        vertHost->Set("DO77_NUMREG_CO99", r.riga->Get("DO30_NUMREG_CO99"));
        vertHost->Set("DO77_PROGRIGA", r.riga->Get("DO30_PROGRIGA"));
    }

    // A cancellation line stays cancelled whatever state its master takes.
    const bool rigaAnnullo =
        Testo(vertHost, "DO77_ZQGUID_DETAIL_DO30") != Testo(vertHost, "DO77_ZQGUID_MASTER_DO30");
    const std::int32_t stato = rigaAnnullo ? lngStatoAnnulloRighe : r.IdStato;
    const std::string guid = r.riga->Get("DO30_GUID").ToString();
    if (host::RigaCorpoPtr rigaCorpo = RegDoc().objRigaCorpo()) {
        rigaCorpo->SetGuidRiga(guid);
        rigaCorpo->SetStatoRiga(stato);
        rigaCorpo->AcquisisciStato();
    }
    SetFlussoStato(guid, stato, r.IdFlusso);

    if (r.CodCausale.empty()) {
        if (IsTrue(r.Sovrascrivi)) {
            vertHost->Set("DO77_CODCAU_ZQ63", Variant::Null());
            vertHost->Set("DO77_DESCAU_ZQ63", Variant::Null());
        }
    } else if (IsTrue(r.Sovrascrivi) || Testo(vertHost, "DO77_CODCAU_ZQ63").empty()) {
        vertHost->Set("DO77_CODCAU_ZQ63", Variant(r.CodCausale));
        vertHost->Set("DO77_DESCAU_ZQ63", Variant(r.DesCausale));
    }

    if (r.IdStato != lngStatoAnnulloRighe) {
        SetFlgNonPiuEvRiga(Flag(rigaAnnullo ? 1 : 0));
    } else {
        // What is cancelled is what was not delivered; a line that never had its starting
        // quantity recorded gets it from its order quantity.
        const bool origDaRiga =
            r.indStatoRiga != 2 ? r.qtaIniziale == 0 : Numero(r.verticale, "DO77_ZQ_QTA_ORIG") == 0;
        const double qtaAnnullo =
            NullaAperto(r.qtaResidua)
                ? NvlVar(r.riga->Get("DO30_QTA1"), Variant::Int32(0)).ToDouble()
                : r.qtaResidua;
        vertHost->Set("DO77_ZQ_QTA_ANNULLO", Variant(qtaAnnullo));
        if (origDaRiga) vertHost->Set("DO77_ZQ_QTA_ORIG", r.riga->Get("DO30_QTA1"));
        SetFlgNonPiuEvRiga(Flag(1));
    }

    ordHost->SetFilter(filtroOrd);
    vertHost->SetFilter(filtroVert);
}

// Writes the line's "no longer to be fulfilled" flag into the current DO31 row, and into
// the form's flag control where the form shows one line at a time (not in grid mode 2).
void CLSRF_REGDOC_STATI::SetFlgNonPiuEvRiga(const Variant& Valore) {
    if (AnnulliOffCorpoInPassata() || !gclsRegDoc) return;
    ado::RecordsetPtr ordine = gclsRegDoc->rstDocCorpoOrd();
    if (!ordine) return;
    // The host appends the row to the same recordset and stands on it.
    if (ordine->BOF() && ordine->EOF_()) gclsRegDoc->AggiungiRigaCorpoOrd(0);

    const Variant attuale = NvlVar(ordine->Get("DO31_FLGNONPIUEV"), Variant::Int16(-1));
    if (VarNe(Valore, attuale)) {
        ordine->Set("DO31_FLGNONPIUEV", Valore);
        const ObjectPtr flag = ControlloFlagRiga();
        if (flag && VarNe(GetProp(flag, "Text"), Variant(Valore.ToString()))) {
            SetProp(flag, "Text", Valore);
            SetProp(flag, "IsChanged", Variant::Bool(true));
        }
    }
    ordine->Update();
}

// Within a pass of ApplicaStatoRighe the form and its controls do not change, so what
// SetFlgNonPiuEvRiga asks of them is asked by the first line that needs it and reused by
// the others: on a large order these late-bound questions cost more than the line, and on
// the header form, which has no flag control, every look-up of it raised an error.
bool CLSRF_REGDOC_STATI::AnnulliOffCorpoInPassata() {
    if (flagInPassata && flagInPassata->annulliOff) return *flagInPassata->annulliOff;
    const bool off = IsTrue(IsAnnulliOffCorpo());
    if (flagInPassata) flagInPassata->annulliOff = off;
    return off;
}

// The form's flag control, unless the form is in grid mode 2; null when it has none.
ObjectPtr CLSRF_REGDOC_STATI::ControlloFlagRiga() {
    if (flagInPassata && flagInPassata->ctl) return *flagInPassata->ctl;
    ObjectPtr ctl;
    if (!IsModalitaGriglia(frmCorrente, 2))
        ctl = ControlloPerNome(frmCorrente, "TXT_DO31_FLGNONPIUEV");
    if (flagInPassata) flagInPassata->ctl = ctl;
    return ctl;
}

}  // namespace zq::plugin
