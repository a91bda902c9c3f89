#include "form/form_access.h"

#include "host/policy.h"

namespace zq::plugin {

Variant ModalitaGriglia(const ObjectPtr& form) {
    return GetProp(GetObject(form, "FrmDocumenti"), "Gint_ModalitaGriglia");
}

bool IsModalitaGriglia(const ObjectPtr& form, std::int16_t modalita) {
    return VarEq(ModalitaGriglia(form), Variant::Int16(modalita));
}

std::vector<ObjectPtr> ControlliForm(const ObjectPtr& form) {
    const ObjectPtr controls = GetObject(form, "Controls");
    const std::int32_t count = GetProp(controls, "Count").ToLong();
    std::vector<ObjectPtr> result;
    result.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (std::int32_t i = 0; i < count; ++i)
        result.push_back(GetProp(controls, "Item", {Variant::Int32(i)}).ToObject());
    return result;
}

ObjectPtr ControlloPerNome(const ObjectPtr& form, std::string_view name) {
    ObjectPtr ctl;
    // A form without that control answers "no such member": the answer is "none". Any
    // other failure is raised.
    ProbeMember([&] { ctl = GetObject(form, name); });
    return ctl;
}

void ImpostaEnabled(const ObjectPtr& ctl, bool enabled) {
    if (ctl) SetProp(ctl, "Enabled", Variant::Bool(enabled));
}

}  // namespace zq::plugin
