// The grid navigator's "griglia" key: while the host's size grid of the current line is
// open, the lines of its family that belong to a cancellation pair are moved out of the
// family (group 9999), so that the host's grid does not show them; when it closes they come
// back and the pairs' starting quantities are re-aligned with what the grid left.

#include <optional>
#include <string>
#include <vector>

#include "data/recordset_guard.h"
#include "data/sql_text.h"
#include "engine/line_ui.h"
#include "host/host_access.h"
#include "host/nvl.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

namespace {

constexpr std::int32_t kFuoriGruppo = 9999;

void SenzaFiltro(ado::Recordset& rs) {
    rs.SetFilter(Variant::Int32(ado::adFilterNone));
}

std::string Testo(const ado::Recordset& rs, std::string_view campo) {
    return NvlVar(rs.Get(campo), Variant("")).ToString();
}

double Numero(const ado::Recordset& rs, std::string_view campo) {
    return NvlVar(rs.Get(campo), Variant::Int32(0)).ToDouble();
}

// What a master's cancellation lines hold, or nothing when it has none. The master's own
// cancelled-quantity field may hold a quantity the user typed and the host has not stored
// (or a refused one): the pair's starting quantity is what its lines hold.
std::optional<double> QtaAnnullataDaiDettagli(ado::Recordset& vert, ado::Recordset& corpo,
                                              const std::string& master) {
    const ado::RecordsetPtr estensioni = vert.Clone();
    estensioni->SetFilter(Variant("DO77_ZQGUID_MASTER_DO30 = '" + master + "'"));
    const ado::RecordsetPtr righe = corpo.Clone();
    std::optional<double> totale;
    for (; !estensioni->EOF_(); estensioni->MoveNext()) {
        if (Testo(*estensioni, "DO77_ZQGUID_DETAIL_DO30") == master) continue;
        righe->SetFilter(Variant("DO30_PROGRIGA= " + SqlLong(static_cast<std::int32_t>(
                                                         Numero(*estensioni, "DO77_PROGRIGA")))));
        if (righe->EOF_()) continue;
        totale = totale.value_or(0) + Numero(*righe, "DO30_QTA1");
    }
    return totale;
}

// The lines of group `gruppo`, with their line numbers, read before any of them moves.
std::vector<std::int32_t> RigheDelGruppo(ado::Recordset& corpo, std::int32_t gruppo) {
    std::vector<std::int32_t> righe;
    const ado::RecordsetPtr c = corpo.Clone();
    c->SetFilter(Variant("DO30_PROGPADRE = " + SqlLong(gruppo)));
    if (!c->EOF_()) c->MoveFirst();
    for (; !c->EOF_(); c->MoveNext()) righe.push_back(c->Get("DO30_PROGRIGA").ToLong());
    return righe;
}

}  // namespace

// Every line marked 9999 goes back to the family's group.
void CLSRF_REGDOC_STATI::RiportaNelGruppo(ado::Recordset& corpo, std::int32_t gruppo) {
    std::vector<Variant> segnati;
    corpo.SetFilter(Variant("DO30_PROGPADRE = " + SqlLong(kFuoriGruppo)));
    if (!corpo.EOF_()) corpo.MoveFirst();
    for (; !corpo.EOF_(); corpo.MoveNext()) segnati.push_back(corpo.Bookmark());
    SenzaFiltro(corpo);
    for (const Variant& bm : segnati) {
        corpo.SetBookmark(bm);
        corpo.Set("DO30_PROGPADRE", Variant::Int32(gruppo));
        corpo.Update();
    }
}

// After the grid: a cancellation line's starting quantity is its master's quantity plus its
// own; a master's is its quantity plus its cancelled quantity, which never exceeds it.
void CLSRF_REGDOC_STATI::RiallineaCoppia(ado::Recordset& vert, ado::Recordset& corpo,
                                         std::int32_t progRiga) {
    const std::string master = Testo(vert, "DO77_ZQGUID_MASTER_DO30");
    const std::string dettaglio = Testo(vert, "DO77_ZQGUID_DETAIL_DO30");
    corpo.SetFilter(Variant("DO30_PROGRIGA= " + SqlLong(progRiga)));
    if (corpo.EOF_()) return;
    const double qta = Numero(corpo, "DO30_QTA1");
    double orig = Numero(vert, "DO77_ZQ_QTA_ORIG");
    if (master != dettaglio) {
        const ado::RecordsetPtr righe = corpo.Clone();
        righe->SetFilter(Variant("DO30_GUID = {" + master + "}"));
        if (righe->EOF_()) return;
        const double somma = Numero(*righe, "DO30_QTA1") + qta;
        if (QtaUguale(orig, somma)) return;
        vert.Set("DO77_ZQ_QTA_ORIG", Variant(somma));
        vert.Update();
        return;
    }
    const double annullo =
        QtaAnnullataDaiDettagli(vert, corpo, master).value_or(Numero(vert, "DO77_ZQ_QTA_ANNULLO"));
    if (!QtaUguale(orig, qta + annullo)) {
        orig = qta + annullo;
        vert.Set("DO77_ZQ_QTA_ORIG", Variant(orig));
    }
    if (QtaMaggiore(annullo, orig)) vert.Set("DO77_ZQ_QTA_ANNULLO", Variant(orig));
    vert.Update();
}

// DopoGriglia False: the grid is about to open; True: it has just closed. The family's group
// is the one of the line the grid was opened on, remembered from the first click, so that
// opening it on a cancellation line (which is itself moved to 9999) leaves no line behind.
void CLSRF_REGDOC_STATI::RicalcolaQtaAnnulloGriglia(VBool DopoGriglia) {
    auto& doc = RegDoc();
    const auto corpo = ui::Richiesto(doc.rstDocCorpo(), "rstDocCorpo");
    const auto vert = ui::Richiesto(doc.rstDocCorpoVert(), "rstDocCorpoVert");
    std::optional<std::int32_t> gruppo = std::exchange(lngProgPadreGriglia, std::nullopt);
    if (!IsTrue(DopoGriglia) || !gruppo) {
        const Variant padre =
            corpo->EOF_() || corpo->BOF() ? Variant::Null() : corpo->Get("DO30_PROGPADRE");
        if (padre.IsNull() || padre.IsEmpty()) return;
        gruppo = padre.ToLong();
    }
    if (!IsTrue(DopoGriglia)) lngProgPadreGriglia = gruppo;
    const Variant segnalibro = corpo->EOF_() || corpo->BOF() ? Variant() : corpo->Bookmark();
    doc.InizioAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
    ScopeExit chiudi([&] {
        CleanUp([&] { SenzaFiltro(*corpo); });
        if (!segnalibro.IsEmpty()) CleanUp([&] { corpo->SetBookmark(segnalibro); });
        CleanUp([&] { RegDoc().FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue); });
    });
    // The extension section goes back to the host's own filter on the current line, and to
    // its row, before the grid is redrawn: a host that does not bind its sections again
    // when the grid's refresh closes would otherwise leave it on the first line of the
    // order, and the next cancelled quantity typed would be written there.
    const RecordsetGuard sezioneVert(vert);
    if (IsTrue(DopoGriglia)) RiportaNelGruppo(*corpo, *gruppo);

    const ado::RecordsetPtr estensioni = vert->Clone();
    for (const std::int32_t progRiga : RigheDelGruppo(*corpo, *gruppo)) {
        estensioni->SetFilter(Variant("DO77_PROGRIGA= " + SqlLong(progRiga)));
        if (estensioni->EOF_()) continue;
        const std::string master = Testo(*estensioni, "DO77_ZQGUID_MASTER_DO30");
        const std::string dettaglio = Testo(*estensioni, "DO77_ZQGUID_DETAIL_DO30");
        if (master.empty() && dettaglio.empty()) continue;
        if (!IsTrue(DopoGriglia)) {
            if (master == dettaglio) continue;
            corpo->SetFilter(Variant("DO30_PROGRIGA= " + SqlLong(progRiga)));
            if (corpo->EOF_()) continue;
            corpo->Set("DO30_PROGPADRE", Variant::Int32(kFuoriGruppo));
            corpo->Update();
            continue;
        }
        vert->SetFilter(Variant("DO77_PROGRIGA = " + SqlLong(progRiga)));
        if (!vert->EOF_()) RiallineaCoppia(*vert, *corpo, progRiga);
    }
}

}  // namespace zq::plugin
