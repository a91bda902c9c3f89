#include "sim/host/plugin_ref.h"

#include "plugin/clsrf_regdoc_stati.h"

namespace zq::sim {

PluginRef CreateStatiPlugin() {
    return MakePluginRef(std::make_shared<plugin::CLSRF_REGDOC_STATI>());
}

}  // namespace zq::sim
