// The screen of the simulated host: the mouse pointer the plug-in sets, every value noted
// in the session's log as "Screen.MousePointer".
#pragma once

#include <cstdint>
#include <vector>

#include "host/screen.h"
#include "sim/host/call_log.h"

namespace zq::sim {

class SimScreen : public host::IScreen {
  public:
    explicit SimScreen(CallLogPtr log) : log_(std::move(log)) {}
    std::int16_t MousePointer() const override { return pointer_; }
    void SetMousePointer(std::int16_t pointer) override;
    // MousePointer by name, as a late-bound caller reaches it.
    Variant Invoke(std::string_view member, CallKind kind, std::span<Variant> args) override;
    // Every value written, in order.
    const std::vector<std::int16_t>& History() const { return history_; }

  private:
    CallLogPtr log_;
    std::int16_t pointer_ = host::vbDefault;
    std::vector<std::int16_t> history_;
};

}  // namespace zq::sim
