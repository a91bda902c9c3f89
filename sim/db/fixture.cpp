#include "sim/db/fixture.h"

#include <cmath>
#include <cstdio>

#include "host/error.h"
#include "sim/db/progressives.h"
#include "sim/db/schema.h"

namespace zq::sim {
namespace {

Variant I32(std::int32_t v) {
    return Variant::Int32(v);
}
Variant I16(std::int16_t v) {
    return Variant::Int16(v);
}
Variant Text(const std::string& s) {
    return Variant(s);
}
Variant Dbl(double d) {
    return Variant(d);
}

double Round2(double v) {
    return std::round(v * 100.0) / 100.0;
}

}  // namespace

std::string HostDbBuilder::GuidRiga(std::int32_t numreg, std::int32_t progRiga) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "{%08X-0000-4000-8000-%012X}", static_cast<unsigned>(numreg),
                  static_cast<unsigned>(progRiga));
    return buf;
}

HostDbBuilder& HostDbBuilder::Ditta(std::int32_t ditta) {
    FlushLine();
    ditta_ = ditta;
    return *this;
}

HostDbBuilder& HostDbBuilder::Parametri(std::optional<std::int32_t> statoTesta,
                                        std::optional<std::int32_t> statoRighe) {
    auto opt = [](std::optional<std::int32_t> v) { return v ? I32(*v) : Variant::Null(); };
    conn_.RunSqlite("INSERT INTO ZQ00_PARAMETRI VALUES (?, ?, ?)",
                    {I32(ditta_), opt(statoTesta), opt(statoRighe)});
    return *this;
}

HostDbBuilder& HostDbBuilder::Entita(std::int32_t id, const std::string& descrizione) {
    conn_.RunSqlite("INSERT INTO CO4A_ENTITA VALUES (?, ?)", {I32(id), Text(descrizione)});
    return *this;
}

HostDbBuilder& HostDbBuilder::Flusso(std::int32_t id, std::int32_t entita,
                                     const std::string& descrizione) {
    conn_.RunSqlite("INSERT INTO CO4B_FLUSSI VALUES (?, ?, ?)",
                    {I32(id), I32(entita), Text(descrizione)});
    return *this;
}

HostDbBuilder& HostDbBuilder::Stato(std::int32_t id, std::int32_t entita,
                                    const std::string& descrizione) {
    conn_.RunSqlite("INSERT INTO CO4C_STATI VALUES (?, ?, ?)",
                    {I32(id), I32(entita), Text(descrizione)});
    return *this;
}

HostDbBuilder& HostDbBuilder::Causale(const std::string& codice, const std::string& descrizione,
                                      bool predefinita) {
    conn_.RunSqlite("INSERT INTO ZQ63_CAU_ANNULLO VALUES (?, ?, ?)",
                    {Text(codice), Text(descrizione), I16(predefinita ? 1 : 0)});
    return *this;
}

HostDbBuilder& HostDbBuilder::TipoRigaOap(const std::string& codice, std::int16_t indTipo) {
    conn_.RunSqlite("INSERT INTO MG9C_TIPORIGAOAP VALUES (?, ?, ?, ?)",
                    {I32(ditta_), Text(codice), Text("Tipo " + codice), I16(indTipo)});
    return *this;
}

HostDbBuilder& HostDbBuilder::Dimensione(const std::string& codiceVar, std::int16_t size,
                                         std::int16_t indGriglia, std::int16_t indGenGridDoc) {
    conn_.RunSqlite("INSERT INTO MG5F_DIMECONF VALUES (?, ?, ?, ?, ?, ?)",
                    {I32(ditta_), Text(codiceVar), Text("Dimensione " + codiceVar), I16(size),
                     I16(indGriglia), I16(indGenGridDoc)});
    return *this;
}

HostDbBuilder& HostDbBuilder::Stagione(std::int16_t id, const std::string& codice) {
    conn_.RunSqlite("INSERT INTO MG5T_STAGIONI VALUES (?, ?, ?, ?)",
                    {I16(id), I32(ditta_), Text(codice), Text("Stagione " + codice)});
    return *this;
}

HostDbBuilder& HostDbBuilder::Documento(std::int32_t numreg, const std::string& docum) {
    FlushLine();
    numreg_ = numreg;
    isOrder_ = false;
    conn_.RunSqlite(
        "INSERT INTO DO11_DOCTESTATA (DO11_DITTA_CG18, DO11_NUMREG_CO99, DO11_DOCUM_MG36, "
        "DO11_DATAREG, DO11_DATADOC, DO11_TIPOCF_CG44, DO11_CLIFOR_CG44, DO11_VALUTA_CG08, "
        "DO11_CAMBIO, DO11_GUID) VALUES (?, ?, ?, '2026-03-02', '2026-03-02', 'C', 'C0001', "
        "'EURO', 1, ?)",
        {I32(ditta_), I32(numreg), Text(docum), Text(GuidRiga(numreg, 0))});
    return *this;
}

HostDbBuilder& HostDbBuilder::Ordine(std::int32_t numreg, const std::string& docum) {
    Documento(numreg, docum);
    isOrder_ = true;
    conn_.RunSqlite(
        "INSERT INTO DO18_DOCTESORD (DO18_DITTA_CG18, DO18_NUMREG_CO99, "
        "DO18_FLGNONPIUEV) VALUES (?, ?, 0)",
        {I32(ditta_), I32(numreg)});
    conn_.RunSqlite(
        "INSERT INTO DO76_DOCTESTAVERT (DO76_DITTA_CG18, DO76_NUMREG_CO99) VALUES (?, ?)",
        {I32(ditta_), I32(numreg)});
    return *this;
}

HostDbBuilder& HostDbBuilder::Valuta(const std::string& valuta, double cambio) {
    conn_.RunSqlite(
        "UPDATE DO11_DOCTESTATA SET DO11_VALUTA_CG08 = ?, DO11_CAMBIO = ? WHERE "
        "DO11_DITTA_CG18 = ? AND DO11_NUMREG_CO99 = ?",
        {Text(valuta), Dbl(cambio), I32(ditta_), I32(numreg_)});
    return *this;
}

HostDbBuilder& HostDbBuilder::Cliente(const std::string& codice) {
    conn_.RunSqlite(
        "UPDATE DO11_DOCTESTATA SET DO11_CLIFOR_CG44 = ? WHERE DO11_DITTA_CG18 = ? "
        "AND DO11_NUMREG_CO99 = ?",
        {Text(codice), I32(ditta_), I32(numreg_)});
    return *this;
}

HostDbBuilder& HostDbBuilder::FlussoDoc(std::int32_t idFlusso, std::int32_t stato) {
    conn_.RunSqlite(
        "UPDATE DO11_DOCTESTATA SET DO11_IDFLUSSO_CO4B = ?, DO11_STATO = ? WHERE "
        "DO11_DITTA_CG18 = ? AND DO11_NUMREG_CO99 = ?",
        {I32(idFlusso), I32(stato), I32(ditta_), I32(numreg_)});
    WriteFlowState(conn_, GuidRiga(numreg_, 0), stato, idFlusso);
    return *this;
}

HostDbBuilder& HostDbBuilder::OrdineNonPiuEvadibile() {
    conn_.RunSqlite(
        "UPDATE DO18_DOCTESORD SET DO18_FLGNONPIUEV = 1 WHERE DO18_DITTA_CG18 = ? AND "
        "DO18_NUMREG_CO99 = ?",
        {I32(ditta_), I32(numreg_)});
    return *this;
}

HostDbBuilder::Line& HostDbBuilder::Current() {
    if (!line_) Raise(err::InvalidArgument, "HostDbBuilder", "no current line");
    return *line_;
}

HostDbBuilder& HostDbBuilder::Riga(std::int32_t progRiga, const std::string& articolo, double qta1,
                                   double prezzo1) {
    FlushLine();
    if (numreg_ == 0) Raise(err::InvalidArgument, "HostDbBuilder", "no current document");
    Line l;
    l.progRiga = progRiga;
    l.articolo = articolo;
    l.qta1 = qta1;
    l.prezzo1 = prezzo1;
    l.ordine = isOrder_;
    line_ = l;
    return *this;
}

HostDbBuilder& HostDbBuilder::Opzione(const std::string& o) {
    Current().opzione = o;
    return *this;
}
HostDbBuilder& HostDbBuilder::Deposito(const std::string& d) {
    Current().deposito = d;
    return *this;
}
HostDbBuilder& HostDbBuilder::Qta2(double q) {
    Current().qta2 = q;
    return *this;
}
HostDbBuilder& HostDbBuilder::Sconto1(double p) {
    Current().sconto1 = p;
    return *this;
}
HostDbBuilder& HostDbBuilder::Importi(double importo, double netto) {
    Current().importo = importo;
    Current().netto = netto;
    Current().importiExplicit = true;
    return *this;
}
HostDbBuilder& HostDbBuilder::Consegnato(double q1, double q2) {
    Current().qta1Cons = q1;
    Current().qta2Cons = q2;
    return *this;
}
HostDbBuilder& HostDbBuilder::EvasioneAValore(double valore) {
    Current().evasVal = 1;
    Current().valoreCons = valore;
    return *this;
}
HostDbBuilder& HostDbBuilder::NonPiuEvadibile() {
    Current().nonPiuEv = 1;
    return *this;
}
HostDbBuilder& HostDbBuilder::Padre(std::int32_t p) {
    Current().progPadre = p;
    return *this;
}
HostDbBuilder& HostDbBuilder::StagioneRiga(std::int16_t s) {
    Current().stagione = s;
    return *this;
}
HostDbBuilder& HostDbBuilder::TipoRiga(std::int16_t t) {
    Current().indTipoRiga = t;
    return *this;
}
HostDbBuilder& HostDbBuilder::SenzaOrdine() {
    Current().ordine = false;
    return *this;
}

HostDbBuilder& HostDbBuilder::Lotto(std::int32_t prog, const std::string& codLotto, double qta1,
                                    double qta1Cons) {
    const Line& l = Current();
    conn_.RunSqlite(
        "INSERT INTO DO52_DOCCORPOLOT (DO52_DITTA_CG18, DO52_NUMREG_CO99, DO52_PROGRIGA, "
        "DO52_PROG_MG4F, DO52_PROG, DO52_CODART_MG66, DO52_OPZIONE_MG5E, DO52_CODDEP_MG58, "
        "DO52_CODLOTTO_MG4G, DO52_SCADENZA, DO52_QTA1, DO52_QTA2, DO52_QTA1CONS, DO52_QTA2CONS, "
        "DO52_FLGNONPIUEV) VALUES (?, ?, ?, 1, ?, ?, ?, ?, ?, '2027-12-31', ?, 0, ?, 0, 0)",
        {I32(ditta_), I32(numreg_), I32(l.progRiga), I32(prog), Text(l.articolo), Text(l.opzione),
         Text(l.deposito), Text(codLotto), Dbl(qta1), Dbl(qta1Cons)});
    return *this;
}

HostDbBuilder& HostDbBuilder::OrdineAp(std::int32_t prog, const std::string& tipo, double quant,
                                       double quantCons) {
    conn_.RunSqlite(
        "INSERT INTO DO65_PDCORDAP (DO65_DITTA_CG18, DO65_NUMREG_CO99, DO65_PROGRIGA, DO65_PROG, "
        "DO65_CODICE_MG9C, DO65_QUANT, DO65_QUANTCONS, DO65_FLGNONPIUEV) VALUES (?, ?, ?, ?, ?, "
        "?, ?, 0)",
        {I32(ditta_), I32(numreg_), I32(Current().progRiga), I32(prog), Text(tipo), Dbl(quant),
         Dbl(quantCons)});
    return *this;
}

HostDbBuilder& HostDbBuilder::Riferimento(std::int32_t numregRif) {
    Line& l = Current();
    conn_.RunSqlite(
        "INSERT INTO DO33_DOCCORPORIF (DO33_DITTA_CG18, DO33_NUMREG_CO99, DO33_PROGRIGA, "
        "DO33_PROG, DO33_NUMREGRIF_CO99, DO33_PROGRIGARIF) VALUES (?, ?, ?, ?, ?, 1)",
        {I32(ditta_), I32(numreg_), I32(l.progRiga), I32(l.nextRif++), I32(numregRif)});
    return *this;
}

void HostDbBuilder::FlushLine() {
    if (!line_) return;
    Line l = *line_;
    line_.reset();
    double importo = l.importiExplicit ? l.importo : Round2(l.qta1 * l.prezzo1);
    double netto = l.importiExplicit ? l.netto : Round2(importo * (1 - l.sconto1 / 100.0));
    auto padre = l.progPadre ? I32(*l.progPadre) : Variant::Null();
    auto stagione = l.stagione ? I16(*l.stagione) : Variant::Null();
    conn_.RunSqlite(
        "INSERT INTO DO30_DOCCORPO (DO30_DITTA_CG18, DO30_NUMREG_CO99, DO30_PROGRIGA, DO30_ID, "
        "DO30_ID_DO11, DO30_GUID, DO30_PROGPADRE, DO30_PROGVISUASTA, DO30_INDTIPORIGA, "
        "DO30_CODART_MG66, DO30_OPZIONE_MG5E, DO30_CODDEP_MG58, DO30_CODDEPCOL_MG58, "
        "DO30_CAUSMAG_MG51, DO30_DESCART, DO30_QTA1, DO30_QTA2, DO30_PREZZO1, DO30_IMPORTO, "
        "DO30_IMPNETSCP, DO30_SCPER1, DO30_FLGEVASVAL, DO30_STAGIONE_MG5T) VALUES (?, ?, ?, ?, ?, "
        "?, ?, ?, ?, ?, ?, ?, ?, 'OC', ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {I32(ditta_),
         I32(numreg_),
         I32(l.progRiga),
         I32(numreg_ * 1000 + l.progRiga),
         I32(numreg_),
         Text(GuidRiga(numreg_, l.progRiga)),
         padre,
         I32(l.progRiga),
         I16(l.indTipoRiga),
         Text(l.articolo),
         Text(l.opzione),
         Text(l.deposito),
         Text(l.deposito),
         Text("Articolo " + l.articolo),
         Dbl(l.qta1),
         Dbl(l.qta2),
         Dbl(l.prezzo1),
         Dbl(importo),
         Dbl(netto),
         Dbl(l.sconto1),
         I16(l.evasVal),
         stagione});
    if (!l.ordine) return;
    conn_.RunSqlite(
        "INSERT INTO DO31_DOCCORPOORD (DO31_DITTA_CG18, DO31_NUMREG_CO99, DO31_PROGRIGA, "
        "DO31_QTA1CONS, DO31_QTA2CONS, DO31_VALORECONS, DO31_FLGNONPIUEV) VALUES (?, ?, ?, ?, ?, "
        "?, ?)",
        {I32(ditta_), I32(numreg_), I32(l.progRiga), Dbl(l.qta1Cons), Dbl(l.qta2Cons),
         Dbl(l.valoreCons), I16(l.nonPiuEv)});
    conn_.RunSqlite(
        "INSERT INTO DO77_DOCCORPOVERT (DO77_DITTA_CG18, DO77_NUMREG_CO99, DO77_PROGRIGA, "
        "DO77_ZQ_QTA_ANNULLO, DO77_ZQ_QTA_ORIG) VALUES (?, ?, ?, 0, 0)",
        {I32(ditta_), I32(numreg_), I32(l.progRiga)});
}

void HostDbBuilder::Build() {
    FlushLine();
    RecomputeProgressivesFromScratch(conn_);
}

namespace {

// Lines `from`..`to` of the current order: size-grid families of three sizes, each family
// its own line group, over twenty articles; every fourth line is partly delivered.
void AppendSizeFamilies(HostDbBuilder& b, std::int32_t from, std::int32_t to) {
    static const char* const kSizes[] = {"S", "M", "L"};
    for (std::int32_t n = from; n <= to; ++n) {
        const std::int32_t family = (n - from) / 3;
        const std::string articolo = "FAM-" + std::to_string(family % 20 + 1);
        b.Riga(n, articolo, 6 + n % 7, 12.5)
            .Opzione(std::string("COL") + kSizes[(n - from) % 3])
            .Padre(family + 2)
            .StagioneRiga(1);
        if (n % 4 == 0) b.Consegnato(2);
    }
}

}  // namespace

void CreateDemoDatabase(SqliteConnection& conn, std::int32_t righeOrdine) {
    using namespace demo;
    CreateSchema(conn);
    HostDbBuilder b(conn);
    b.Ditta(kDitta)
        .Parametri(kStatoTestaAnnullato, kStatoRigheAnnullato)
        .Entita(10, "Righe documento")
        .Entita(11, "Testate documento")
        .Flusso(kFlussoRighe, 10, "Righe ordini clienti")
        .Flusso(kFlussoTesta, 11, "Ordini clienti")
        .Stato(kStatoRigheAnnullato, 10, "Riga annullata")
        .Stato(kStatoRigheIniziale, 10, "Riga inserita")
        .Stato(101, 10, "Riga confermata")
        .Stato(kStatoTestaIniziale, 11, "Ordine inserito")
        .Stato(201, 11, "Ordine confermato")
        .Stato(kStatoTestaAnnullato, 11, "Ordine annullato")
        .Causale("CLI", "Richiesta del cliente", true)
        .Causale("FOR", "Merce non disponibile")
        .Causale("ERR", "Errore di inserimento")
        .TipoRigaOap("PRD", 2)
        .TipoRigaOap("ALT", 1)
        .Dimensione("01", 3, 2)
        .Dimensione("02", 2, 1, 2)
        .Dimensione("03", 4, 0)
        .Stagione(1, "PE26")
        .Stagione(2, "AI26");
    b.Ordine(kOrdine)
        .FlussoDoc(kFlussoTesta, kStatoTestaIniziale)
        // ordinary line with a discount
        .Riga(1, "ART-A", 10, 5)
        .Sconto1(10)
        // partly delivered, referenced by a delivery note
        .Riga(2, "ART-B", 20, 2.5)
        .Consegnato(8)
        .Riferimento(kBolla1)
        // fulfilled by value
        .Riga(3, "ART-C", 4, 50)
        .EvasioneAValore(60)
        .Riferimento(kBolla2)
        // price 0 with a lump-sum amount, fulfilled by value
        .Riga(4, "ART-D", 6, 0)
        .Importi(30, 30)
        .EvasioneAValore(10)
        // planned-order rows
        .Riga(5, "ART-E", 12, 3)
        .OrdineAp(1, "PRD", 5, 1)
        .OrdineAp(2, "PRD", 4)
        .OrdineAp(3, "ALT", 9)
        // lots
        .Riga(6, "ART-F", 10, 4)
        .Lotto(1, "L2026A", 6, 2)
        .Lotto(2, "L2026B", 4)
        // a size-grid family
        .Riga(7, "MAGLIA", 5, 20)
        .Opzione("ROSSM0000")
        .Padre(1)
        .StagioneRiga(1)
        .Riga(8, "MAGLIA", 8, 20)
        .Opzione("ROSMD0000")
        .Padre(1)
        .StagioneRiga(1)
        .Riga(9, "MAGLIA", 3, 20)
        .Opzione("ROSLG0000")
        .Padre(1)
        .StagioneRiga(1);
    AppendSizeFamilies(b, kRigheDemo + 1, righeOrdine);
    b.Ordine(kOrdineValuta)
        .Valuta("USD", 1.10)
        .Cliente("C0002")
        .FlussoDoc(kFlussoTesta, kStatoTestaIniziale)
        .Riga(1, "ART-A", 7, 11);
    b.Documento(kBolla1, "DDT").Riga(1, "ART-B", 8, 2.5).SenzaOrdine();
    b.Documento(kBolla2, "DDT").Riga(1, "ART-C", 1, 60).SenzaOrdine();
    b.Build();
    for (std::int32_t numreg : {kOrdine, kOrdineValuta}) {
        auto q = conn.QueryRows("SELECT DO30_GUID FROM DO30_DOCCORPO WHERE DO30_NUMREG_CO99 = ?",
                                {Variant::Int32(numreg)});
        for (const auto& r : q.rows)
            WriteFlowState(conn, r[0].ToString(), kStatoRigheIniziale, kFlussoRighe);
    }
}

}  // namespace zq::sim
