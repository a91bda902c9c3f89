// The grid's result written back into the document after the posting component applied it:
// line quantities and cancellation rows, line states, cancellation lines made, moved or
// removed.
//
// A grid row without a line number (0 or empty) is a cell without a line: it is passed over
// in every pass, so that it never reaches the all-lines mode of ApplicaStatoRighe.

#include <string>

#include "data/sql_text.h"
#include "engine/line_ui.h"
#include "form/form_access.h"
#include "grid/grid_members.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "host/screen.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

Variant B(bool b) {
    return Variant::Bool(b);
}

double Numero(const ado::Recordset& rs, std::string_view campo) {
    return NvlVar(rs.Get(campo), Variant::Int32(0)).ToDouble();
}

std::int32_t ProgRigaDati(const ado::Recordset& dati) {
    return NvlVar(dati.Get("DO30_PROGRIGA"), Variant::Int32(0)).ToLong();
}

std::string Chiave(std::int32_t progRiga) {
    return "K" + std::to_string(progRiga);
}

// The status of a data row, 0 to 3; -1 for anything else.
int StatoDati(const ado::Recordset& dati) {
    const Variant v = dati.Get("DO30_GUID");
    if (v.IsNull() || v.IsEmpty() || !v.IsNumeric()) return -1;
    const double d = v.ToDouble();
    return d == 0 || d == 1 || d == 2 || d == 3 ? static_cast<int>(d) : -1;
}

}  // namespace

// First pass for one data row: the line's quantity and its DO77 row as the grid holds them.
void CLSRF_REGDOC_STATI::ScriviRigaDaGriglia(ado::Recordset& dati, ado::Recordset& vertClone) {
    auto& doc = RegDoc();
    const std::int32_t prog = ProgRigaDati(dati);
    const auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    const auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
    corpo->SetFilter(Variant("DO30_PROGRIGA = " + SqlLong(prog)));
    if (!corpo->EOF_() && corpo->Get("DO30_PROGRIGA").ToLong() == prog) {
        if (Numero(*corpo, "DO30_QTA1") != Numero(dati, "DO30_QTA1")) {
            if (Numero(dati, "DO30_QTA1") == 0) {
                const double orig = Numero(dati, "DO77_ZQ_QTA_ORIG");
                const double annullo = Numero(dati, "DO77_ZQ_QTA_ANNULLO");
                if (annullo == orig) {
                    if (orig != 0) dati.Set("DO30_QTA1", Variant(orig));
                } else {
                    dati.Set("DO30_QTA1", Variant(orig - annullo));
                }
            }
            doc.ImpostaQuantita(Numero(dati, "DO30_QTA1"), VTrue, VTrue, 0);
        }
        vertClone.MoveFirst();
        vertClone.Find(" DO77_PROGRIGA = " + SqlLong(prog), 0, ado::adSearchForward);
        if (vertClone.EOF_()) {
            doc.AggiungiRigaCorpoVert(0);
            vert->Set("DO77_DITTA_CG18", corpo->Get("DO30_DITTA_CG18"));
            vert->Set("DO77_NUMREG_CO99", corpo->Get("DO30_NUMREG_CO99"));
            vert->Set("DO77_PROGRIGA", corpo->Get("DO30_PROGRIGA"));
        } else {
            vert->SetFilter(Variant("DO77_PROGRIGA = " + SqlLong(prog)));
        }
        vert->Set("DO77_ZQ_QTA_ORIG", Variant(Numero(dati, "DO77_ZQ_QTA_ORIG")));
        // A cell set free cancels nothing, whatever cancelled quantity it still shows.
        const int stato = StatoDati(dati);
        vert->Set("DO77_ZQ_QTA_ANNULLO",
                  stato == 0 || stato == 1 ? Variant::Int32(0) : dati.Get("DO77_ZQ_QTA_ANNULLO"));
        vert->Set("DO77_CODCAU_ZQ63", dati.Get("DO77_CODCAU_ZQ63"));
        vert->Set("DO77_DESCAU_ZQ63", dati.Get("DO77_DESCAU_ZQ63"));
        vert->SetFilter(Variant::Int32(ado::adFilterNone));
        vert->Update();
    }
    corpo->SetFilter(Variant::Int32(ado::adFilterNone));
    vert->SetFilter(Variant::Int32(ado::adFilterNone));
}

// Second pass for one data row: the line's state, and the collections of lines to split
// and to clear.
void CLSRF_REGDOC_STATI::StatoRigaDaGriglia(ado::Recordset& dati, ColonneGriglia& c) {
    const std::int32_t prog = ProgRigaDati(dati);
    std::string codice = NvlVar(dati.Get("DO77_CODCAU_ZQ63"), Variant("")).ToString();
    std::string descrizione;
    if (codice.empty()) {
        codice = strCausaleDefault;
        descrizione = strDesCausaleDefault;
    } else {
        descrizione = NvlVar(dati.Get("DO77_DESCAU_ZQ63"), Variant("")).ToString();
    }
    ado::RecordsetPtr corpo = RegDoc().rstDocCorpo();
    const Variant guid = GetCampoByProgRiga(corpo, prog, "DO30_GUID", VFalse);
    const std::string k = Chiave(prog);
    switch (StatoDati(dati)) {
        case 0:
        case 1:
            c.daLiberare.Add(k, guid);
            ApplicaStatoRighe(lngStatoInizialeRighe, lngFlussoDoc, "", "", VTrue, prog);
            break;
        case 2: {
            c.daDividere.Add(k, guid);
            c.qtaAnnullate.Add(k, Variant(Numero(dati, "DO77_ZQ_QTA_ANNULLO")));
            double orig = Numero(dati, "DO77_ZQ_QTA_ORIG");
            if (orig == 0) orig = Numero(dati, "DO30_QTA1");
            c.qtaOriginali.Add(k, Variant(orig));
            ApplicaStatoRighe(lngStatoInizialeRighe, lngFlussoDoc, "", "", VFalse, prog);
            break;
        }
        case 3:
            c.daLiberare.Add(k, guid);
            c.daAnnullare.Add(k, guid);
            ApplicaStatoRighe(lngStatoAnnulloRighe, lngFlussoDoc, codice, descrizione, VFalse,
                              prog);
            break;
        default:
            break;
    }
}

// Third pass: the host's line object of every freed or cancelled line takes its state. A
// cancellation line stays cancelled whatever its cell says.
void CLSRF_REGDOC_STATI::AcquisisciStatiGriglia(ado::Recordset& dati) {
    auto& doc = RegDoc();
    const auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    const Variant segnalibro = corpo->Bookmark();
    for (dati.MoveFirst(); !dati.EOF_(); dati.MoveNext()) {
        const int stato = StatoDati(dati);
        const std::int32_t prog = ProgRigaDati(dati);
        if ((stato != 1 && stato != 3) || prog <= 0) continue;
        corpo->SetFilter(Variant("DO30_PROGRIGA = " + SqlLong(prog)));
        if (corpo->EOF_()) {
            corpo->SetFilter(Variant::Int32(ado::adFilterNone));
            continue;
        }
        const Variant bm = corpo->Bookmark();
        corpo->SetFilter(Variant::Int32(ado::adFilterNone));
        corpo->SetBookmark(bm);
        const std::string guid = corpo->Get("DO30_GUID").ToString();
        Variant master;
        const bool rigaAnnullo = IsTrue(FindMasterGuid(Variant(guid), master));
        host::IRigaCorpo& riga = host::Ref(doc.objRigaCorpo(), "objRigaCorpo");
        riga.SetGuidRiga(guid);
        riga.SetStatoRiga(stato == 3 || rigaAnnullo ? lngStatoAnnulloRighe : lngStatoInizialeRighe);
        riga.AcquisisciStato();
    }
    corpo->SetBookmark(segnalibro);
}

void CLSRF_REGDOC_STATI::ElaboraGrigliaAnnulli() {
    auto& doc = RegDoc();
    const auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    if (corpo->EOF_() && corpo->BOF()) return;

    const ObjectPtr gridCorpo = GetObject(frmCorrente, "GRD_CORPO");
    blnGrigliaInCorso = VTrue;
    bool completata = false;
    ScopeExit pulizia([&] {
        if (completata) return;
        // The display resumed and the filters removed however the write-back ended.
        for (const ObjectPtr& f : {frmDocCorpoOrd, frmDocCorpoVert, frmDocCorpo})
            CleanUp([&] { SetProp(f, ui::kRedraw, B(true)); });
        CleanUp([&] { CallMethod(gridCorpo, "EndDataSourceSuspend"); });
        CleanUp([&] { RegDoc().FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue); });
        blnGrigliaInCorso = VFalse;
        CleanUp([&] { corpo->SetFilter(Variant::Int32(ado::adFilterNone)); });
        CleanUp([&] {
            ui::Richiesto(RegDoc().rstDocCorpoVert(), "rstDocCorpoVert")
                ->SetFilter(Variant::Int32(ado::adFilterNone));
        });
        CleanUp([&] { DocUI().SetIndicatoreAttesa(intAttesaSalvata); });
        CleanUp([&] { host::Screen()->SetMousePointer(host::vbDefault); });
    });
    CallMethod(gridCorpo, "BeginDataSourceSuspend");
    for (const ObjectPtr& f : {frmDocCorpo, frmDocCorpoVert, frmDocCorpoOrd})
        SetProp(f, ui::kRedraw, B(false));
    doc.InizioAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);

    const ado::RecordsetPtr dati =
        As<ado::Recordset>(GetProp(objGriglia, grid::kGrigliaDati).ToObject());
    ado::Recordset& d = host::Ref(dati, "DatiGriglia");
    host::Screen()->SetMousePointer(host::vbHourglass);
    d.MoveFirst();
    const Variant segnalibro = corpo->Bookmark();
    if (corpo->RecordCount() > 0) corpo->MoveFirst();
    {
        const ado::RecordsetPtr vertClone =
            ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert")->Clone();
        for (; !d.EOF_(); d.MoveNext())
            if (ProgRigaDati(d) > 0) ScriviRigaDaGriglia(d, *vertClone);
    }
    corpo->SetBookmark(segnalibro);

    ColonneGriglia c;
    for (d.MoveFirst(); !d.EOF_(); d.MoveNext())
        if (ProgRigaDati(d) > 0) StatoRigaDaGriglia(d, c);
    corpo->SetBookmark(segnalibro);
    doc.FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
    doc.RicalcolaIva();
    doc.RicalcolaScadenze();
    doc.RicalcolaTotali(VFalse, VTrue, VFalse, VTrue, VTrue, VTrue, VTrue);

    CreaRigaAnnullo(c.daDividere, c.qtaAnnullate, c.qtaOriginali);
    if (percorsoCorrente && percorsoCorrente->rifiutato) {
        completata = false;
        return;
    }
    EliminaRigaAnnullo(c.daLiberare, c.daAnnullare);

    host::Screen()->SetMousePointer(host::vbDefault);
    doc.FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
    for (const ObjectPtr& f : {frmDocCorpoOrd, frmDocCorpoVert, frmDocCorpo})
        SetProp(f, ui::kRedraw, B(true));
    CallMethod(gridCorpo, "EndDataSourceSuspend");
    if (!IsModalitaGriglia(frmCorrente, 2)) AcquisisciStatiGriglia(d);
    completata = true;
    blnGrigliaInCorso = VFalse;
    DocUI().SetIndicatoreAttesa(intAttesaSalvata);
}

}  // namespace zq::plugin
