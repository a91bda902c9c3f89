// zqstati statements: every statement text the plug-in sends, run on the demo database,
// with the SQLite text it became and its rows.
#include "tools/statements.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "host/error.h"
#include "sim/db/command.h"
#include "sim/db/fixture.h"
#include "sim/db/plugin_statements.h"
#include "sim/db/progressives.h"
#include "sim/db/sqlite_connection.h"
#include "tools/db_path.h"
#include "tools/table.h"

namespace zq::tool {

namespace {

using namespace zq::sim;

constexpr size_t kWidth = 100;
constexpr size_t kCellWidth = 40;

// Statement text with its line breaks made visible and long lines folded.
void PrintText(const std::string& label, const std::string& text) {
    std::cout << "  " << label << ":\n";
    std::string line;
    // Long lines fold after a blank where there is one, so words stay whole.
    auto flush = [&line]() {
        size_t i = 0;
        do {
            size_t n = std::min(kWidth, line.size() - i);
            if (i + n < line.size()) {
                size_t blank = line.rfind(' ', i + n - 1);
                if (blank != std::string::npos && blank > i + kWidth / 2) n = blank + 1 - i;
            }
            std::cout << "    | " << line.substr(i, n) << "\n";
            i += n;
        } while (i < line.size());
        line.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            line += "<CRLF>";
            ++i;
            flush();
        } else if (text[i] == '\r') {
            line += "<CR>";
            flush();
        } else if (text[i] == '\n') {
            line += "<LF>";
            flush();
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) flush();
}

// The rows of a recordset as an aligned table, walking it forward as the plug-in does.
void PrintRows(const ado::RecordsetPtr& rs, const std::vector<std::string>& only = {}) {
    if (!rs) {
        std::cout << "  rows: none (statement without records)\n";
        return;
    }
    std::vector<std::int32_t> cols;
    for (std::int32_t i = 0; i < rs->FieldCount(); ++i) {
        const std::string name = rs->FieldAt(i)->Name();
        if (only.empty() || std::find(only.begin(), only.end(), name) != only.end())
            cols.push_back(i);
    }
    TextTable table;
    for (auto c : cols) table.header.push_back(rs->FieldAt(c)->Name());
    if (!(rs->BOF() && rs->EOF_())) {
        for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
            std::vector<std::string> row;
            for (auto c : cols) {
                const Variant v = rs->FieldAt(c)->Value();
                row.push_back(v.Type() == VarType::Date ? v.ToString() : Cell(v, kCellWidth));
            }
            table.rows.push_back(std::move(row));
        }
    }
    std::cout << "  rows: " << table.rows.size();
    if (!only.empty())
        std::cout << " (" << cols.size() << " of " << rs->FieldCount() << " columns)";
    std::cout << "\n";
    PrintTable(std::cout, table, "    ");
}

void RunProgMagDoc(SqliteConnection& conn, const SqliteConnectionPtr& shared, std::int32_t ditta,
                   const std::string& numreg) {
    auto cmd = MakeCommand();
    cmd->SetActiveConnection(shared);
    cmd->SetCommandTimeout(0);
    cmd->SetCommandText("SPMG_PROGMAG_DOC");
    cmd->SetCommandType(ado::adCmdStoredProc);
    cmd->SetNamedParameters(true);
    cmd->AppendParameter(
        cmd->CreateParameter("@RETURN_VALUE", ado::adInteger, ado::adParamReturnValue, 0));
    cmd->AppendParameter(cmd->CreateParameter("@DITTA", ado::adNumeric, ado::adParamInput, 0));
    cmd->AppendParameter(
        cmd->CreateParameter("@ELENCO_NUMREG", ado::adVarChar, ado::adParamInput, -1));
    cmd->AppendParameter(
        cmd->CreateParameter("@FLAG_STORNA", ado::adNumeric, ado::adParamInput, 0));
    cmd->AppendParameter(
        cmd->CreateParameter("@NOME_TABELLA_STORNA", ado::adVarChar, ado::adParamInput, 20));
    cmd->ParameterByName("@DITTA")->SetValue(Variant::Int32(ditta));
    cmd->ParameterByName("@ELENCO_NUMREG")->SetValue(Variant("'" + numreg + "'"));
    cmd->ParameterByName("@FLAG_STORNA")->SetValue(Variant::Int32(1));
    cmd->ParameterByName("@NOME_TABELLA_STORNA")->SetValue(Variant("#STORNA_PROGMAG"));
    std::cout << "\n[EseguiProgMagDoc] command SPMG_PROGMAG_DOC (stored procedure, named "
                 "parameters)\n  @DITTA="
              << ditta << " @ELENCO_NUMREG='" << numreg
              << "' @FLAG_STORNA=1 @NOME_TABELLA_STORNA=#STORNA_PROGMAG\n";
    cmd->Execute(nullptr, ado::adExecuteNoRecords);
    std::cout << "  progressives equal the open quantities: "
              << (ProgressivesConsistent(conn) ? "yes" : "NO") << "\n  progressives:\n";
    PrintRows(
        shared->Execute("SELECT * FROM MG70_PROGMAG ORDER BY MG70_CODART_MG66, "
                        "MG70_OPZIONE_MG5E",
                        nullptr, stmt::kQuery));
}

const std::vector<std::string> kLineSetColumns{
    "DO30_NUMREG_CO99", "DO30_PROGRIGA", "DO30_CODART_MG66", "DO30_OPZIONE_MG5E",
    "DO30_CODDEP_MG58", "DO11_DATAREG",  "DO30_QTA1",        "DO30_QTA2",
    "DO30_IMPNETSCP",   "DO30_PREZZO1",  "FLG_SCONTIMAG",    "DO30_FLGEVASVAL"};
const std::vector<std::string> kLotSetColumns{
    "DO52_NUMREG_CO99",   "DO52_PROGRIGA", "DO52_PROG",     "DO52_CODART_MG66",
    "DO52_CODLOTTO_MG4G", "DO52_SCADENZA", "DO52_QTA1",     "DO52_QTA2",
    "DO52_IMPNETSCP",     "DO30_PREZZO1",  "FLG_SCONTIMAG", "DO30_FLGEVASVAL"};

}  // namespace

int ListStatements(const std::optional<std::string>& dbPath, bool force) {
    std::optional<zq::tool::TemporaryFolder> temporary;
    std::string path;
    SqliteConnectionPtr conn;
    try {
        if (!dbPath) {
            temporary.emplace("zqstati-statements");
            path = (temporary->Path() / "statements.db").string();
        } else {
            path = *dbPath;
            ClaimNewDatabase(path, force);
        }
        conn = SqliteConnection::Open(path);
        CreateDemoDatabase(*conn);
    } catch (const PathError& e) {
        std::cerr << "zqstati statements: " << e.what() << "\n";
        return 2;
    } catch (const HostError& e) {
        std::cerr << "zqstati statements: " << path
                  << ": the database cannot be made: " << e.Description() << "\n";
        return 2;
    }
    std::cout << "Demo database: " << path << (temporary ? " (temporary)" : "") << "\n";

    stmt::CatalogValues v;
    v.ditta = demo::kDitta;
    v.numreg = std::to_string(demo::kOrdine);
    v.guid = HostDbBuilder::GuidRiga(demo::kOrdine, 2);
    v.codCausale = "FOR";
    v.idFlusso = demo::kFlussoRighe;
    v.idStato = demo::kStatoRigheAnnullato;
    const std::vector<std::string> fulfilmentColumns{"DO30_PROGRIGA", "DO30_CODART_MG66",
                                                     "DO30_QTA1",     "DO30_PROGPADRE",
                                                     "VFW_QTA1TRASF", "VFW_INDSTATORIGA"};
    int failures = 0;
    for (const auto& s : stmt::Catalog(v)) {
        if (s.name == "EseguiProgMagDoc (drop)") {
            try {
                RunProgMagDoc(*conn, conn, v.ditta, v.numreg);
            } catch (const HostError& e) {
                ++failures;
                std::cout << "  FAILED: " << e.Description() << "\n";
            }
        }
        std::cout << "\n[" << s.name << "] options " << s.options << "\n";
        PrintText("T-SQL", s.text);
        try {
            auto rs = conn->Execute(s.text, nullptr, s.options);
            PrintText("SQLite", conn->LastSqlite());
            PrintRows(
                rs, s.name == "ApplicaStatoRighe" ? fulfilmentColumns : std::vector<std::string>{});
            if (s.name == "SetFlussoStato")
                std::cout << "  flow state of " << v.guid << " in flow " << v.idFlusso << ": "
                          << ReadFlowState(*conn, v.guid, v.idFlusso).value_or(0) << "\n";
            if (s.name.rfind("CreaTempStorno (capture", 0) == 0) {
                std::string table = s.name == "CreaTempStorno (capture lines)"
                                        ? "#STORNA_PROGMAG"
                                        : "#STORNA_PROGLOTTI";
                std::cout << "  working set " << table << ":\n";
                PrintRows(conn->Execute("SELECT * FROM " + table, nullptr, stmt::kQuery),
                          table == "#STORNA_PROGMAG" ? kLineSetColumns : kLotSetColumns);
            }
        } catch (const HostError& e) {
            ++failures;
            std::cout << "  FAILED: " << e.Description() << "\n";
        }
    }
    std::cout << "\n"
              << (failures ? std::to_string(failures) + " statement(s) failed"
                           : std::string("Every statement ran."))
              << "\n";
    conn.reset();
    return failures ? 1 : 0;
}

}  // namespace zq::tool
