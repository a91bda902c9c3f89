#include "host/control_text.h"

#include "host/nvl.h"

namespace zq::host {

void ScriviTesto(const ObjectPtr& ctl, const Variant& testo) {
    SetProp(ctl, "Text", testo);
    SetProp(ctl, "IsChanged", Variant::Bool(true));
}

std::string LeggiTesto(const ObjectPtr& ctl) {
    return NvlVar(GetProp(ctl, "Text"), Variant(std::string())).ToString();
}

}  // namespace zq::host
