// Host events of the document form: control focus and keys, navigator buttons and the
// general-functions menu.

#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

// Focus, key-menu and lost-focus drivers: come with the control events.
HResult CLSRF_REGDOC_STATI::ControlEventBeforeItem(ObjectPtr&, ObjectPtr&) {
    return ComBoundary([] {});
}
HResult CLSRF_REGDOC_STATI::ControlEventGotFocus(ObjectPtr&, ObjectPtr&) {
    return ComBoundary([] {});
}
HResult CLSRF_REGDOC_STATI::ControlEventLostFocus(ObjectPtr&, ObjectPtr&) {
    return ComBoundary([] {});
}

// "annulla", "conferma", "griglia" and the "Gestione annulli" item: come with the
// navigator buttons and menus.
HResult CLSRF_REGDOC_STATI::FunzGenMenuItemClick(ObjectPtr&, std::int16_t, ObjectPtr&, Variant,
                                                 Variant&, Variant&) {
    return ComBoundary([] {});
}
HResult CLSRF_REGDOC_STATI::GridnavAfterButtonClick(ObjectPtr&, std::int16_t, std::string&) {
    return ComBoundary([] {});
}
HResult CLSRF_REGDOC_STATI::GridnavButtonClick(ObjectPtr&, std::int16_t, std::string&) {
    return ComBoundary([] {});
}
HResult CLSRF_REGDOC_STATI::InternavAfterButtonClick(ObjectPtr&, std::int16_t, std::string&) {
    return ComBoundary([] {});
}
HResult CLSRF_REGDOC_STATI::InternavButtonClick(ObjectPtr&, std::int16_t, std::string&) {
    return ComBoundary([] {});
}

}  // namespace zq::plugin
