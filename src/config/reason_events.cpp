// Host events of the cancellation reasons' look-up and decode.

#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

// Decode of a typed reason code: comes with the reason look-up.
HResult CLSRF_REGDOC_STATI::ControlEventStartDecode(ObjectPtr&, ObjectPtr&, VBool&, Variant&,
                                                    Variant&, Variant&) {
    return ComBoundary([] {});
}

// Look-up definition of the reason fields: comes with the reason look-up.
HResult CLSRF_REGDOC_STATI::ControlEventStartLookup(ObjectPtr&, ObjectPtr&, VBool&, std::string&,
                                                    Variant&, std::string&, std::string&) {
    return ComBoundary([] {});
}

}  // namespace zq::plugin
