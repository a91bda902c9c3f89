// The statement texts the plug-in sends to the host database, built exactly as it
// concatenates them (fragments, blanks, carriage returns and line feeds included).
//
// The database substitute is judged by these texts: tests run every one of them, the
// progressive procedure reuses the two capture statements to compute open quantities,
// and `zqstati demo` prints them with their SQLite form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zq::sim::stmt {

std::string Parametri(std::string_view ditta);
std::string CausaleDefault();
std::string StatoIniziale(std::int32_t idFlusso);
std::string SetFlussoStato(std::string_view guid, std::int32_t codStato, std::int32_t codFlusso);
std::string LookupCausali();
std::string DescCausale(std::string_view codice);
std::string Evasioni(std::string_view ditta, std::string_view numreg);
std::string DropTemp(std::string_view table);
std::string CatturaRighe(std::string_view tabella, std::string_view ditta, std::string_view elenco,
                         std::int32_t decimali);
std::string IndiceProgMag(std::string_view table);
std::string CatturaLotti(std::string_view tabella, std::string_view ditta, std::string_view elenco,
                         std::int32_t decimali);
std::string IndiceProgLotti(std::string_view table);
std::string DropStornaProgMag();
std::string DocumentiRiferiti(std::string_view ditta, std::string_view numreg);
std::string DimeConf(std::int32_t ditta);
std::string Stagione(std::string_view idStagione, std::string_view ditta);

// ADO options the plug-in passes with each statement.
inline constexpr std::int32_t kQuery = 1;
inline constexpr std::int32_t kNoRecords = 129;
inline constexpr std::int32_t kUnspecified = -1;

struct CatalogEntry {
    std::string name;  // the plug-in procedure that sends it
    std::string text;
    std::int32_t options;
};

// Every statement, in the order a reversal and a session send them, with values of the
// given document; the capture statements come before the index and drop statements that
// need their tables.
struct CatalogValues {
    std::int32_t ditta = 1;
    std::string numreg;      // registration number text
    std::string guid;        // a line GUID, braced
    std::string codCausale;  // a reason code as typed
    std::int32_t idFlusso = 0;
    std::int32_t idStato = 0;
    std::int32_t decimali = 2;
    std::int32_t idStagione = 1;
};
std::vector<CatalogEntry> Catalog(const CatalogValues& v);

}  // namespace zq::sim::stmt
