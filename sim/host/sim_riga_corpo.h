// The host's object for the current body line.
//
// The document object points it at the current line whenever the body grid moves or a
// line is appended (GUID and state of that line). The line's state is one thing in the
// simulated host: the flow-state store. objRigaCorpo reports the state of the line it
// stands for; the plug-in may point it elsewhere and set a state, and the take-over then
// makes that state the line's own (it writes the store, as the host's line-state object
// does, and the simulated host also keeps the states taken over per GUID, AcquiredState,
// for tests to read). The line-state control's state object (SimBoStati) confirms into
// the same store and, for the line objRigaCorpo stands on, into objRigaCorpo too.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "host/regdoc.h"
#include "sim/fault/fault_plan.h"
#include "sim/host/call_log.h"
#include "sim/host/host_database.h"

namespace zq::sim {

class SimRigaCorpo : public host::IRigaCorpo {
  public:
    SimRigaCorpo(CallLogPtr log, HostDatabasePtr db, std::int32_t idFlusso)
        : log_(std::move(log)), db_(std::move(db)), flusso_(idFlusso) {}

    std::string GuidRiga() const override { return Read(guid_, "objRigaCorpo.GuidRiga"); }
    void SetGuidRiga(std::string_view guid) override;
    std::int32_t StatoRiga() const override { return Read(stato_, "objRigaCorpo.StatoRiga"); }
    void SetStatoRiga(std::int32_t idStato) override;
    std::int32_t IdFlusso() const override { return Read(flusso_, "objRigaCorpo.IdFlusso"); }
    void AcquisisciStato() override;

    // The host follows the current line without logging a call.
    void Follow(std::string guid, std::int32_t stato);
    // A state confirmed for the line with that GUID (braced or not): objRigaCorpo reports
    // it when it stands on that line.
    void Confirmed(std::string_view guid, std::int32_t stato);
    std::optional<std::int32_t> AcquiredState(const std::string& guid) const;

  private:
    CallLogPtr log_;
    HostDatabasePtr db_;
    std::int32_t flusso_;
    std::string guid_;
    std::int32_t stato_ = 0;
    std::map<std::string, std::int32_t> acquired_;
};

// The same GUID, whatever its braces and letter case.
bool SameGuid(std::string_view a, std::string_view b);

}  // namespace zq::sim
