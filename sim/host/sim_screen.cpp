#include "sim/host/sim_screen.h"

namespace zq::sim {

void SimScreen::SetMousePointer(std::int16_t pointer) {
    log_->Record("Screen.MousePointer", {Variant::Int16(pointer)});
    pointer_ = pointer;
    history_.push_back(pointer);
}

Variant SimScreen::Invoke(std::string_view member, CallKind kind, std::span<Variant> args) {
    if (!SameName(member, "MousePointer")) return Object::Invoke(member, kind, args);
    if (kind == CallKind::Set && !args.empty()) {
        SetMousePointer(args.back().ToInt());
        return Variant();
    }
    return Variant::Int16(pointer_);
}

}  // namespace zq::sim
