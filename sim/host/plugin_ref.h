// The plug-in as the host holds it: one counted object seen only through its two
// interfaces, ICLSMG_REGDOCVERT and ICLSMG_REGDOCVERT2.
#pragma once

#include <functional>
#include <memory>

#include "host/interfaces.h"
#include "host/object.h"

namespace zq::sim {

struct PluginRef {
    ObjectPtr object;  // the counted reference; dropping it releases the plug-in
    host::ICLSMG_REGDOCVERT* docEvents = nullptr;
    host::ICLSMG_REGDOCVERT2* formEvents = nullptr;
    explicit operator bool() const { return object != nullptr; }
};

template <class T>
PluginRef MakePluginRef(std::shared_ptr<T> plugin) {
    host::ICLSMG_REGDOCVERT* a = plugin.get();
    host::ICLSMG_REGDOCVERT2* b = plugin.get();
    return PluginRef{ObjectPtr(std::move(plugin)), a, b};
}

using PluginFactory = std::function<PluginRef()>;

// Creates CLSRF_REGDOC_STATI, as the host does through its ProgID.
PluginRef CreateStatiPlugin();

}  // namespace zq::sim
