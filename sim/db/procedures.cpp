// The host database's stored procedures that the plug-in calls.
#include "host/error.h"
#include "sim/db/progressives.h"
#include "sim/db/sqlite_connection.h"

namespace zq::sim {
namespace {

std::int32_t SetFlussoStato(SqliteConnection& conn, const ProcedureArgs& a) {
    const Variant& guid = a.Get("@GUID");
    if (guid.IsNull() || guid.ToString().empty())
        Raise(err::AdoProviderError, "SPCO_SETFLUSSOSTATO", "@GUID is required.");
    WriteFlowState(conn, guid.ToString(), a.Get("@CODSTATO").ToLong(),
                   a.Get("@CODFLUSSO").ToLong());
    return 0;
}

// Normal mode posts the open quantities of the listed documents. Reversal mode first
// takes out the captured working set (and the lots working set when it exists), then
// posts what is open now: the net effect is the change between capture and now.
std::int32_t ProgMagDoc(SqliteConnection& conn, const ProcedureArgs& a) {
    const std::int32_t ditta = a.Get("@DITTA").ToLong();
    const std::string elenco = a.Get("@ELENCO_NUMREG").ToString();
    const bool storna = !a.Get("@FLAG_STORNA").IsNull() && a.Get("@FLAG_STORNA").ToLong() != 0;
    if (elenco.empty()) return 0;
    bool lots = true;
    if (storna) {
        const std::string table = a.Get("@NOME_TABELLA_STORNA").ToString();
        if (!conn.TableExists(table))
            Raise(err::AdoProviderError, "SPMG_PROGMAG_DOC",
                  "Invalid object name '" + table + "'.");
        PostLineWorkingSet(conn, ditta, table, elenco, -1);
        lots = conn.TableExists("#STORNA_PROGLOTTI");
        if (lots) PostLotWorkingSet(conn, ditta, "#STORNA_PROGLOTTI", elenco, -1);
    }
    CaptureOpenLines(conn, ditta, elenco);
    PostLineWorkingSet(conn, ditta, kOpenLinesTable, "", +1);
    if (lots) {
        CaptureOpenLots(conn, ditta, elenco);
        PostLotWorkingSet(conn, ditta, kOpenLotsTable, "", +1);
    }
    return 0;
}

}  // namespace

void RegisterHostProcedures(SqliteConnection& conn) {
    conn.RegisterProcedure(
        {"SPCO_SETFLUSSOSTATO", {"@GUID", "@CODSTATO", "@CODFLUSSO"}, SetFlussoStato});
    conn.RegisterProcedure({"SPMG_PROGMAG_DOC",
                            {"@DITTA", "@ELENCO_NUMREG", "@FLAG_STORNA", "@NOME_TABELLA_STORNA"},
                            ProgMagDoc});
}

}  // namespace zq::sim
