// Warehouse progressive reversal: the capture of what is still open on the order before a
// change that cancels, and the host's progressive procedure run in reversal mode on it.
//
// The working sets are temporary tables of the host's connection, so the procedure finds
// them by name and no line data travels to the client.

#include <cstdint>
#include <optional>
#include <string>

#include "data/query.h"
#include "data/sql_text.h"
#include "host/create_object.h"
#include "host/host_access.h"
#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"
#include "reversal/storno_statements.h"

namespace zq::plugin {

using host::Ref;

namespace {

constexpr std::string_view kProcProgMag = "SPMG_PROGMAG_DOC";
constexpr std::string_view kTabellaStorno = "#STORNA_PROGMAG";

}  // namespace

// The first failing statement ends the capture quietly: the working sets built so far
// stay, and the reversal then works with whatever exists. A capture without lots drops the
// lots working set an earlier capture may have left: the progressive procedure takes out
// whatever lots working set it finds, and one captured before an earlier change would take
// those lot quantities out a second time.
void CLSRF_REGDOC_STATI::CreaTempStorno(const std::string& elenco, VBool gestLotti, VBool terzoFlag,
                                        const std::string& tabMag, const std::string& tabLotti,
                                        const std::string& tabTerza) {
    (void)terzoFlag;  // always False: the projects working set is never built
    (void)tabTerza;
    blnStornoPronto = VFalse;
    EndQuietly([&] {
        // A list the caller already quoted is used as it is.
        const std::string lista =
            elenco.find('\'') == std::string::npos ? "'" + elenco + "'" : elenco;
        const std::string decimali = std::to_string(RegDoc().DecimaliPrezzo());
        const std::string ditta = SqlBare(Ref(objDitta, "CodiceDitta").CodiceDitta());

        ExecNoRecords(Cnn(), SqlDropTempTable(tabMag));
        ExecNoRecords(Cnn(), reversal::CatturaRigheStorno(tabMag, ditta, lista, decimali));
        blnStornoPronto = VTrue;
        ExecNoRecords(Cnn(), reversal::IndiceStornaProgMag(tabMag));

        ExecNoRecords(Cnn(), SqlDropTempTable(tabLotti));
        if (IsTrue(gestLotti)) {
            ExecNoRecords(Cnn(), reversal::CatturaLottiStorno(tabLotti, ditta, lista, decimali));
            ExecNoRecords(Cnn(), reversal::IndiceStornaProgLotti(tabLotti));
        }
    });
}

// Takes the captured working set out of the progressives and posts what is open now.
// Only the company code is read outside the trap; every later step that fails is skipped,
// and both working sets are dropped in any case, so that no later reversal finds them.
// Without the working set of its own capture the procedure is not run at all: it would take
// out quantities captured before some earlier change.
void CLSRF_REGDOC_STATI::EseguiProgMagDoc() {
    const Variant ditta = Ref(objDitta, "CodiceDitta").CodiceDitta();
    const bool catturato = IsTrue(blnStornoPronto);
    blnStornoPronto = VFalse;
    ScopeExit scarta([&] {
        IgnoreErrors([&] {
            ExecNoRecords(Cnn(),
                          "IF NOT object_id(N'tempdb..#STORNA_PROGMAG') IS NULL DROP TABLE "
                          "#STORNA_PROGMAG");
        });
        IgnoreErrors([&] {
            ExecNoRecords(Cnn(),
                          "IF NOT object_id(N'tempdb..#STORNA_PROGLOTTI') IS NULL DROP TABLE "
                          "#STORNA_PROGLOTTI");
        });
    });
    if (!catturato) return;

    ado::CommandPtr cmd;
    IgnoreErrors([&] { cmd = As<ado::Command>(CreateObject(ado::kProgIdCommand)); });
    const auto comando = [&]() -> ado::Command& { return Ref(cmd, "Command"); };

    IgnoreErrors([&] { comando().SetActiveConnection(cnnDB); });
    IgnoreErrors([&] { comando().SetCommandText(kProcProgMag); });
    IgnoreErrors([&] { comando().SetCommandTimeout(0); });
    IgnoreErrors([&] { comando().SetCommandType(ado::adCmdStoredProc); });
    IgnoreErrors([&] { comando().SetNamedParameters(true); });

    // Created and appended one by one, in the order the procedure declares them.
    const auto aggiungi = [&](std::string_view nome, std::int32_t tipo, std::int32_t direzione,
                              std::int32_t dimensione, std::optional<std::uint8_t> precisione) {
        ado::ParameterPtr p;
        IgnoreErrors([&] { p = comando().CreateParameter(nome, tipo, direzione, dimensione); });
        if (precisione) {
            IgnoreErrors([&] { Ref(p, "Precision").SetPrecision(*precisione); });
            IgnoreErrors([&] { Ref(p, "NumericScale").SetNumericScale(0); });
        }
        IgnoreErrors([&] { comando().AppendParameter(p); });
    };
    aggiungi("@RETURN_VALUE", ado::adInteger, ado::adParamReturnValue, 0, 10);
    aggiungi("@DITTA", ado::adNumeric, ado::adParamInput, 0, 5);
    aggiungi("@ELENCO_NUMREG", ado::adVarChar, ado::adParamInput, -1, std::nullopt);
    aggiungi("@FLAG_STORNA", ado::adNumeric, ado::adParamInput, 0, 1);
    aggiungi("@NOME_TABELLA_STORNA", ado::adVarChar, ado::adParamInput, 20, std::nullopt);

    const auto assegna = [&](std::string_view nome, const Variant& valore) {
        IgnoreErrors([&] { Ref(comando().ParameterByName(nome), nome).SetValue(valore); });
    };
    assegna("@DITTA", ditta);
    IgnoreErrors([&] {
        const Variant numreg =
            Ref(RegDoc().rstDocTestata(), "rstDocTestata").Get("DO11_NUMREG_CO99");
        assegna("@ELENCO_NUMREG", "'" + host::objFunzioniGlobali().ValoreTesto(numreg) + "'");
    });
    assegna("@FLAG_STORNA", Variant::Int16(1));
    assegna("@NOME_TABELLA_STORNA", Variant(kTabellaStorno));

    IgnoreErrors([&] {
        comando().Execute(nullptr, ado::adExecuteNoRecords);
        RegistraProgressivi();
    });
}

void CLSRF_REGDOC_STATI::ConcludiStorno() {
    if (IsTrue(blnStornoPronto)) {
        IgnoreErrors([&] { AggiornaBatchCorpo(); });
        IgnoreErrors([&] { EseguiProgMagDoc(); });
    }
    IgnoreErrors([&] { SalvaDocumento(); });
}

}  // namespace zq::plugin
