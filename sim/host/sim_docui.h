// The document's user-interface options as the simulated host keeps them.
#pragma once

#include <cstdint>
#include <vector>

#include "host/regdoc.h"
#include "sim/fault/fault_plan.h"
#include "sim/host/call_log.h"

namespace zq::sim {

class SimDocUI : public host::IDocUI {
  public:
    SimDocUI(CallLogPtr log, bool gestLotti, std::int16_t decimaliPrezzo,
             std::int16_t indicatoreAttesa);

    std::int16_t IndicatoreAttesa() const override {
        return Read(indicatore_, "clsDocUI.IndicatoreAttesa");
    }
    void SetIndicatoreAttesa(std::int16_t v) override;
    void SetGestCorpoVert(VBool v) override;
    void SetGestCorpoOrd(VBool v) override;
    VBool GestLotti() const override { return Read(gestLotti_, "clsDocUI.GestLotti"); }
    std::int16_t DecimaliPrezzo() const override {
        return Read(decimaliPrezzo_, "clsDocUI.DecimaliPrezzo");
    }

    // For tests: what the plug-in left, and every value it wrote to the indicator.
    VBool GestCorpoVert() const { return gestCorpoVert_; }
    VBool GestCorpoOrd() const { return gestCorpoOrd_; }
    const std::vector<std::int16_t>& IndicatoreHistory() const { return history_; }
    void SetGestLotti(bool on) { gestLotti_ = ToVBool(on); }

  private:
    CallLogPtr log_;
    VBool gestLotti_;
    std::int16_t decimaliPrezzo_;
    std::int16_t indicatore_;
    VBool gestCorpoVert_ = VFalse;
    VBool gestCorpoOrd_ = VFalse;
    std::vector<std::int16_t> history_;
};

}  // namespace zq::sim
