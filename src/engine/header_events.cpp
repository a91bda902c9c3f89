// Host events of the order header's cancellation.

#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

// Refusing to save a cancelled order without a reason: comes with header cancellation.
HResult CLSRF_REGDOC_STATI::ControllaDati(VBool&) {
    return ComBoundary([] {});
}

// The header moved to another state: comes with header cancellation.
HResult CLSRF_REGDOC_STATI::StatiTESTATAChange(Variant&, std::int32_t, std::int32_t) {
    return ComBoundary([] {});
}

}  // namespace zq::plugin
