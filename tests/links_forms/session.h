// One order in the SQLite host database, loaded by the simulated host and driven through
// its driver, plus access to the procedures that no host road reaches yet.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plugin/clsrf_regdoc_stati.h"
#include "sim/db/fixture.h"
#include "sim/db/schema.h"
#include "sim/host/driver.h"
#include "sim/host/sqlite_host_database.h"

namespace zq::plugin {

// The procedures of the link collection, the line look-ups and the line-state propagation
// are reached by later roads (line cancellation, header cancellation, size grid); the tests
// call them as those roads will, on the plug-in the driver created.
struct ClsrfTestAccess {
    static void AddLink(const PluginPtr& p, const std::string& detail, const std::string& master,
                        const Variant& progPadre) {
        p->AddLinkAnnullo(Variant(detail), Variant(master), progPadre);
    }
    static void RemoveLink(const PluginPtr& p, const std::string& detail) {
        p->RemoveLinkAnnullo(Variant(detail));
    }
    static VBool FindDetail(const PluginPtr& p, const std::string& master, Variant& detail) {
        return p->FindDetailGuid(Variant(master), detail);
    }
    static VBool FindMaster(const PluginPtr& p, const std::string& detail, Variant& master) {
        return p->FindMasterGuid(Variant(detail), master);
    }
    static LinkAnnulli Links(const PluginPtr& p) {
        return p->colLinkAnnulli ? *p->colLinkAnnulli : LinkAnnulli{};
    }
    static std::int32_t& ProgPadreAnnulli(const PluginPtr& p) { return p->lngProgPadreAnnulli; }

    static Variant BookmarkByGuid(const PluginPtr& p, ado::RecordsetPtr rst,
                                  const std::string& guid, VBool blocca) {
        return p->GetBookmarkByGuid(rst, guid, blocca);
    }
    static Variant ProgRigaByGuid(const PluginPtr& p, ado::RecordsetPtr rst,
                                  const std::string& guid, VBool blocca = VFalse) {
        return p->GetProgRigaByGuid(rst, guid, blocca);
    }
    static Variant CampoByProgRiga(const PluginPtr& p, ado::RecordsetPtr rst, std::int32_t prog,
                                   const std::string& campo, VBool blocca = VFalse) {
        return p->GetCampoByProgRiga(rst, prog, campo, blocca);
    }

    static void Applica(const PluginPtr& p, std::int32_t stato, std::int32_t flusso,
                        const std::string& cod, const std::string& des, VBool sovrascrivi,
                        std::int32_t progRiga) {
        p->ApplicaStatoRighe(stato, flusso, cod, des, sovrascrivi, progRiga);
    }

    static VBool& ApplicaInCorso(const PluginPtr& p) { return p->blnApplicaInCorso; }
    static VBool& CreaAnnulloInCorso(const PluginPtr& p) { return p->blnCreaAnnulloInCorso; }
    static std::string GuidRigaCorrente(const PluginPtr& p) { return p->strGuidRigaCorrente; }
    static std::int32_t ProgRigaCorrente(const PluginPtr& p) { return p->lngProgRigaCorrente; }
    static std::int32_t ProgPadreCorrente(const PluginPtr& p) { return p->lngProgPadreCorrente; }
};

}  // namespace zq::plugin

namespace zq::test {

using plugin::ClsrfTestAccess;
using sim::HostDbBuilder;

inline constexpr std::int32_t kOrdine = sim::demo::kOrdine;
inline constexpr std::int32_t kFlusso = sim::demo::kFlussoRighe;
inline constexpr std::int32_t kIniziale = sim::demo::kStatoRigheIniziale;
inline constexpr std::int32_t kAnnullata = sim::demo::kStatoRigheAnnullato;

// The braced GUID of a line as DO30_GUID holds it, and the bare form of the DO77 columns.
inline std::string Guid(std::int32_t progRiga) {
    return HostDbBuilder::GuidRiga(kOrdine, progRiga);
}
inline std::string Bare(std::int32_t progRiga) {
    const std::string g = Guid(progRiga);
    return g.substr(1, g.size() - 2);
}

struct Session {
    // The company's configuration and one order whose lines `righe` adds.
    explicit Session(const std::function<void(HostDbBuilder&)>& righe,
                     std::optional<std::int32_t> statoRighe = kAnnullata,
                     std::optional<std::int32_t> statoTesta = sim::demo::kStatoTestaAnnullato);

    // Before Load: writes a column of a line's DO77 row, or removes its DO31/DO77 rows.
    void Vert(std::int32_t progRiga, const std::string& colonna, const Variant& valore);
    void SenzaRighe(std::int32_t progRiga, const std::string& tabella, const std::string& prefisso);

    // Loads the order in a host with that grid mode and initialises the plug-in.
    void Load(std::int16_t gridMode = 0);

    plugin::PluginPtr Plugin() const;
    sim::SimForm& Body() const { return *host->body; }
    sim::SimControl& Ctl(const std::string& name) const;
    std::vector<sim::ShownMessage> Messages() const { return host->messaggi->Shown(); }
    // A field of the line's row in one of the host's sections, whatever its filter; Null
    // when the line has no row there.
    Variant HostValue(const ado::RecordsetPtr& section, const std::string& lineField,
                      std::int32_t progRiga, const std::string& field) const;

    sim::SqliteConnectionPtr conn = sim::SqliteConnection::Open(":memory:");
    std::shared_ptr<sim::SqliteHostDatabase> db;
    std::unique_ptr<sim::SimHost> host;
    std::unique_ptr<sim::HostDriver> driver;
};

}  // namespace zq::test
