#include "sim/host/sim_screen.h"

namespace zq::sim {

void SimScreen::SetMousePointer(std::int16_t pointer) {
    log_->Record("Screen.MousePointer", {Variant::Int16(pointer)});
    pointer_ = pointer;
    history_.push_back(pointer);
}

}  // namespace zq::sim
