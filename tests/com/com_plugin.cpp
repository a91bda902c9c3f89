#include "com_plugin.h"

#include "com/variant_convert.h"
#include "host/error.h"
#include "plugin/identity.h"

namespace zq::comtest {

HResult ResultOf(HRESULT hr) {
    if (SUCCEEDED(hr)) return HResult::Success();
    com::ComPtr<IErrorInfo> info;
    std::string source, description = "Automation error";
    if (GetErrorInfo(0, info.Put()) == S_OK && info) {
        com::Bstr s, d;
        if (SUCCEEDED(info->GetSource(s.Put()))) source = com::Narrow(s.Get());
        if (SUCCEEDED(info->GetDescription(d.Put()))) description = com::Narrow(d.Get());
    }
    const std::int32_t number =
        HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<std::int32_t>(hr);
    return HResult::Failure(number, source, description);
}

std::shared_ptr<ComPlugin> ComPlugin::Create() {
    CLSID clsid;
    const std::wstring progId = com::Widen(plugin::kProgId);
    if (FAILED(CLSIDFromProgID(progId.c_str(), &clsid)))
        Raise(err::CannotCreateObject, std::string(plugin::kProgId), "ProgID not registered");
    com::ComPtr<IUnknown> unknown;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                        reinterpret_cast<void**>(unknown.Put()));
    if (FAILED(hr))
        Raise(err::CannotCreateObject, std::string(plugin::kProgId),
              "CoCreateInstance failed: " + std::to_string(hr));
    auto p = std::make_shared<ComPlugin>();
    p->default_ = unknown.As<_CLSRF_REGDOC_STATI>(IID__CLSRF_REGDOC_STATI);
    p->vert_ = unknown.As<::ICLSMG_REGDOCVERT>(IID_ICLSMG_REGDOCVERT);
    p->vert2_ = unknown.As<::ICLSMG_REGDOCVERT2>(IID_ICLSMG_REGDOCVERT2);
    if (!p->default_ || !p->vert_ || !p->vert2_)
        Raise(err::CannotCreateObject, std::string(plugin::kProgId), "an interface is missing");
    return p;
}

}  // namespace zq::comtest

namespace zq::sim {

// In the test host the plug-in is the registered library: every session's driver gets
// the COM object.
PluginRef CreateStatiPlugin() {
    return MakePluginRef(comtest::ComPlugin::Create());
}

}  // namespace zq::sim
