// The plug-in in the simulated host, on a SQLite host database built for the case: the
// company's flows and states and one order, plus whatever parameters and reasons the
// case writes. The statements the plug-in sends are noted on the connection.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plugin/clsrf_regdoc_stati.h"
#include "sim/db/fixture.h"
#include "sim/db/statement_log.h"
#include "sim/host/driver.h"
#include "sim/host/sqlite_host_database.h"

namespace zq::plugin {

// The run's fields that no host road shows yet, and the busy flags and components that
// only later roads set.
struct ClsrfTestAccess {
    struct States {
        std::int32_t testa, righe;
        VBool mancaTesta, mancaRighe;
        bool operator==(const States&) const = default;
    };
    static States StatesOf(const PluginPtr& p) {
        return {p->lngStatoAnnulloTesta, p->lngStatoAnnulloRighe, p->blnMancaStatoTesta,
                p->blnMancaStatoRighe};
    }
    static std::string CausaleDefault(const PluginPtr& p) { return p->strCausaleDefault; }
    static std::string DesCausaleDefault(const PluginPtr& p) { return p->strDesCausaleDefault; }
    static std::string ParamInit(const PluginPtr& p) { return p->strParamInit; }
    static ObjectPtr MenuFunzGen(const PluginPtr& p) { return p->objMenuFunzGen; }

    static VBool& GrigliaInCorso(const PluginPtr& p) { return p->blnGrigliaInCorso; }
    static VBool& ConfermaInCorso(const PluginPtr& p) { return p->blnConfermaInCorso; }
    static void SetGridComponents(const PluginPtr& p, ObjectPtr griglia, ObjectPtr registra) {
        p->objGriglia = std::move(griglia);
        p->objRegistraGriglia = std::move(registra);
    }

    // The line state change asks for the initial state of other flows with the cache the
    // body form's opening filled.
    static std::int32_t StatoIniziale(const PluginPtr& p, std::int32_t idFlusso) {
        return p->GetStatoIniziale(idFlusso);
    }
    static void SetFlussoStato(const PluginPtr& p, const std::string& guid, std::int32_t stato,
                               std::int32_t flusso) {
        p->SetFlussoStato(guid, stato, flusso);
    }
};

}  // namespace zq::plugin

namespace zq::test {

using plugin::ClsrfTestAccess;
using States = ClsrfTestAccess::States;

// A late-bound object that notes every member used on it, as "name.Member".
class RecordingObject : public Object {
  public:
    RecordingObject(std::shared_ptr<std::vector<std::string>> calls, std::string name)
        : calls_(std::move(calls)), name_(std::move(name)) {}
    Variant Invoke(std::string_view member, CallKind kind, std::span<Variant> args) override;

  private:
    std::shared_ptr<std::vector<std::string>> calls_;
    std::string name_;
};

struct PluginHost {
    // Complete parameters (209, 109) and the default reason "CLI".
    static void Configured(sim::HostDbBuilder& b);

    explicit PluginHost(const std::function<void(sim::HostDbBuilder&)>& config = Configured);

    // Loads the order in the simulated host (once); Initialize does it when not yet done.
    void Open(sim::DocumentType type = StandardType());
    // A new session on the same database: the old plug-in is released first.
    void Reopen(sim::DocumentType type = StandardType());
    bool Initialize(std::int16_t indPlugIn = 3);
    static sim::DocumentType StandardType();

    plugin::PluginPtr Plugin() const;
    host::ICLSMG_REGDOCVERT& DocEvents() const { return *driver->Plugin().docEvents; }
    host::ICLSMG_REGDOCVERT2& FormEvents() const { return *driver->Plugin().formEvents; }
    std::vector<sim::ShownMessage> Messages() const { return host->messaggi->Shown(); }

    sim::SqliteConnectionPtr conn = sim::SqliteConnection::Open(":memory:");
    std::shared_ptr<sim::StatementLog> statements = std::make_shared<sim::StatementLog>();
    std::shared_ptr<sim::SqliteHostDatabase> db;
    std::unique_ptr<sim::SimHost> host;
    std::unique_ptr<sim::HostDriver> driver;
};

// The statements Initialize sends for the company of the environment (1).
inline const std::string kParametri =
    " SELECT ZQ00_IDSTATO_ANNULLO_TESTA_CO4C,ZQ00_IDSTATO_ANNULLO_RIGHE_CO4C FROM "
    "ZQ00_PARAMETRI WHERE ZQ00_DITTA_CG18 = 1";
inline const std::string kCausaleDefault =
    " SELECT ZQ63_CODCAU_ANNULLO,ZQ63_DESCAU_ANNULLO FROM ZQ63_CAU_ANNULLO with (nolock)  WHERE "
    "ZQ63_FLG_DEFAULT = 1 ";

}  // namespace zq::test
