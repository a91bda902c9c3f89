#include "sim/host/sim_docui.h"

namespace zq::sim {

SimDocUI::SimDocUI(CallLogPtr log, bool gestLotti, std::int16_t decimaliPrezzo,
                   std::int16_t indicatoreAttesa)
    : log_(std::move(log)),
      gestLotti_(ToVBool(gestLotti)),
      decimaliPrezzo_(decimaliPrezzo),
      indicatore_(indicatoreAttesa) {}

void SimDocUI::SetIndicatoreAttesa(std::int16_t v) {
    FaultPoint point(FaultKind::Set, "clsDocUI.IndicatoreAttesa");
    indicatore_ = v;
    history_.push_back(v);
}

void SimDocUI::SetGestCorpoVert(VBool v) {
    FaultPoint point(FaultKind::Set, "clsDocUI.GestCorpoVert");
    gestCorpoVert_ = v;
    log_->Record("clsDocUI.GestCorpoVert", {Variant::Bool(IsTrue(v))});
}

void SimDocUI::SetGestCorpoOrd(VBool v) {
    FaultPoint point(FaultKind::Set, "clsDocUI.GestCorpoOrd");
    gestCorpoOrd_ = v;
    log_->Record("clsDocUI.GestCorpoOrd", {Variant::Bool(IsTrue(v))});
}

}  // namespace zq::sim
