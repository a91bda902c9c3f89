// The host program that maintains the cancellation reasons, created by its ProgID as the
// plug-in does. Registered for the life of the object; a session without it plays a host
// where the reasons program is not installed (creation fails with error 429).
#pragma once

#include <memory>
#include <vector>

#include "host/create_object.h"
#include "sim/host/sim_programma.h"

namespace zq::sim {

inline constexpr std::string_view kProgIdCausaliAnnullo = "ZQUO_CAUANNULLO.CLSZQ_CAUANNULLO";

class ReasonsProgram {
  public:
    explicit ReasonsProgram(const std::shared_ptr<SimAmbiente>& ambiente);
    // Every program object created so far, in order.
    const std::vector<std::shared_ptr<SimProgramma>>& Created() const { return *created_; }

  private:
    std::shared_ptr<std::vector<std::shared_ptr<SimProgramma>>> created_;
    ScopedObjectFactory factory_;
};

}  // namespace zq::sim
