// The host's object for the current body line.
//
// The document object points it at the current line whenever the body grid moves or a
// line is appended (GUID and state of that line). The plug-in may point it elsewhere and
// set a state; the take-over then copies that state into the line it stands for: the
// simulated host keeps those states per GUID (AcquiredState) for tests to read.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "host/regdoc.h"
#include "sim/fault/fault_plan.h"
#include "sim/host/call_log.h"

namespace zq::sim {

class SimRigaCorpo : public host::IRigaCorpo {
  public:
    SimRigaCorpo(CallLogPtr log, std::int32_t idFlusso) : log_(std::move(log)), flusso_(idFlusso) {}

    std::string GuidRiga() const override { return Read(guid_, "objRigaCorpo.GuidRiga"); }
    void SetGuidRiga(std::string_view guid) override;
    std::int32_t StatoRiga() const override { return Read(stato_, "objRigaCorpo.StatoRiga"); }
    void SetStatoRiga(std::int32_t idStato) override;
    std::int32_t IdFlusso() const override { return Read(flusso_, "objRigaCorpo.IdFlusso"); }
    void AcquisisciStato() override;

    // The host follows the current line without logging a call.
    void Follow(std::string guid, std::int32_t stato);
    std::optional<std::int32_t> AcquiredState(const std::string& guid) const;

  private:
    CallLogPtr log_;
    std::int32_t flusso_;
    std::string guid_;
    std::int32_t stato_ = 0;
    std::map<std::string, std::int32_t> acquired_;
};

}  // namespace zq::sim
