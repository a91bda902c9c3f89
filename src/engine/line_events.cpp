// Host events of line cancellation, row deletion and row update.

#include "host/policy.h"
#include "plugin/clsrf_regdoc_stati.h"

namespace zq::plugin {

// A line moved to another state: comes with line cancellation.
HResult CLSRF_REGDOC_STATI::StatiCORPOChange(Variant&, std::int32_t, std::int32_t) {
    return ComBoundary([] {});
}

// Row deletion guards: come with the deletion clean-up.
HResult CLSRF_REGDOC_STATI::BeginDeleteDocCorpo() {
    return ComBoundary([] {});
}
HResult CLSRF_REGDOC_STATI::UIBeforeDeleteDocBody(VBool&) {
    return ComBoundary([] {});
}
HResult CLSRF_REGDOC_STATI::UIAfterDeleteDocBody() {
    return ComBoundary([] {});
}

// Row update validation: comes with the update guard.
HResult CLSRF_REGDOC_STATI::UIBeforeUpdateDocBody(VBool&) {
    return ComBoundary([] {});
}

}  // namespace zq::plugin
