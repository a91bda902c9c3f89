// A fluent builder of host-database contents for tests and the demo, and the demo data.
//
//   HostDbBuilder(conn).Ditta(1).Parametri(209, 109)
//       .Causale("CLI", "Richiesta cliente", true)
//       .Ordine(1001).Riga(1, "ART-A", 10, 5).Sconto1(10)
//                    .Riga(2, "ART-B", 20, 2.5).Consegnato(8)
//       .Build();
//
// Each Riga writes a DO30 line with its DO31 and DO77 rows and a braced GUID; the
// modifiers after it apply to that line. Build() writes the last pending rows and posts
// the progressives of every document from scratch.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/db/sqlite_connection.h"

namespace zq::sim {

class HostDbBuilder {
  public:
    explicit HostDbBuilder(SqliteConnection& conn) : conn_(conn) {}
    ~HostDbBuilder() = default;
    HostDbBuilder(const HostDbBuilder&) = delete;
    HostDbBuilder& operator=(const HostDbBuilder&) = delete;

    // Company-wide data.
    HostDbBuilder& Ditta(std::int32_t ditta);
    HostDbBuilder& Parametri(std::optional<std::int32_t> statoTesta,
                             std::optional<std::int32_t> statoRighe);
    HostDbBuilder& Entita(std::int32_t id, const std::string& descrizione);
    HostDbBuilder& Flusso(std::int32_t id, std::int32_t entita, const std::string& descrizione);
    HostDbBuilder& Stato(std::int32_t id, std::int32_t entita, const std::string& descrizione);
    HostDbBuilder& Causale(const std::string& codice, const std::string& descrizione,
                           bool predefinita = false);
    HostDbBuilder& TipoRigaOap(const std::string& codice, std::int16_t indTipo);
    HostDbBuilder& Dimensione(const std::string& codiceVar, std::int16_t size,
                              std::int16_t indGriglia, std::int16_t indGenGridDoc = 1);
    HostDbBuilder& Stagione(std::int16_t id, const std::string& codice);

    // Documents: an order (with its DO18 and DO76 rows) or another document.
    HostDbBuilder& Ordine(std::int32_t numreg, const std::string& docum = "OC");
    HostDbBuilder& Documento(std::int32_t numreg, const std::string& docum);
    HostDbBuilder& Valuta(const std::string& valuta, double cambio);
    HostDbBuilder& Cliente(const std::string& codice);
    HostDbBuilder& FlussoDoc(std::int32_t idFlusso, std::int32_t stato);
    HostDbBuilder& OrdineNonPiuEvadibile();

    // Lines of the current document; the amount is quantity × price.
    HostDbBuilder& Riga(std::int32_t progRiga, const std::string& articolo, double qta1,
                        double prezzo1);
    HostDbBuilder& Opzione(const std::string& opzione);
    HostDbBuilder& Deposito(const std::string& deposito);
    HostDbBuilder& Qta2(double qta2);
    HostDbBuilder& Sconto1(double percent);                // net amount = amount less discount
    HostDbBuilder& Importi(double importo, double netto);  // both set explicitly
    HostDbBuilder& Consegnato(double qta1, double qta2 = 0);
    HostDbBuilder& EvasioneAValore(double valoreConsegnato);
    HostDbBuilder& NonPiuEvadibile();
    HostDbBuilder& Padre(std::int32_t progPadre);
    HostDbBuilder& StagioneRiga(std::int16_t idStagione);
    HostDbBuilder& TipoRiga(std::int16_t indTipoRiga);
    HostDbBuilder& SenzaOrdine();  // no DO31 row (documents that are not orders)
    HostDbBuilder& Lotto(std::int32_t prog, const std::string& codLotto, double qta1,
                         double qta1Cons = 0);
    HostDbBuilder& OrdineAp(std::int32_t prog, const std::string& tipo, double quant,
                            double quantCons = 0);
    HostDbBuilder& Riferimento(std::int32_t numregRif);

    // Writes what is pending and posts all progressives again.
    void Build();

    // The braced GUID the builder gives a line.
    static std::string GuidRiga(std::int32_t numreg, std::int32_t progRiga);

  private:
    struct Line {
        std::int32_t progRiga = 0;
        std::string articolo, opzione, deposito = "MAG1";
        double qta1 = 0, qta2 = 0, prezzo1 = 0, importo = 0, netto = 0, sconto1 = 0;
        bool importiExplicit = false;
        double qta1Cons = 0, qta2Cons = 0, valoreCons = 0;
        std::int16_t evasVal = 0, nonPiuEv = 0, indTipoRiga = 0;
        std::optional<std::int32_t> progPadre;
        std::optional<std::int16_t> stagione;
        bool ordine = true;
        std::int32_t nextRif = 1;
    };
    void FlushLine();
    Line& Current();

    SqliteConnection& conn_;
    std::int32_t ditta_ = 1;
    std::int32_t numreg_ = 0;
    bool isOrder_ = false;
    std::optional<Line> line_;
};

// Demo contents (company 1): the ids and numbers tests and tools refer to.
namespace demo {
inline constexpr std::int32_t kDitta = 1;
inline constexpr std::int32_t kFlussoTesta = 1000, kFlussoRighe = 1001;
inline constexpr std::int32_t kStatoTestaIniziale = 200, kStatoTestaAnnullato = 209;
inline constexpr std::int32_t kStatoRigheIniziale = 100, kStatoRigheAnnullato = 109;
inline constexpr std::int32_t kOrdine = 1001;  // lines 1..9, see CreateDemoData
inline constexpr std::int32_t kRigheDemo = 9;
inline constexpr std::int32_t kOrdineValuta = 1002;  // USD at 1.10
inline constexpr std::int32_t kBolla1 = 2001, kBolla2 = 2002;
}  // namespace demo

// Creates the schema and fills the demo data set, progressives posted. With `righeOrdine`
// above 9 the demo order goes on after its nine lines with generated size-grid families
// (three lines in a line group each, some partly delivered) up to that many lines: the
// large orders that scaling tests, benchmarks and `zqstati demo --lines` play on.
void CreateDemoDatabase(SqliteConnection& conn, std::int32_t righeOrdine = demo::kRigheDemo);

}  // namespace zq::sim
