#include "com/object_factories.h"

#include <mutex>
#include <string>

#include "com/ado_client.h"
#include "com/dispatch_client.h"
#include "com/host_client.h"
#include "com/screen_client.h"
#include "data/ado.h"
#include "grid/grid_members.h"
#include "host/create_object.h"
#include "host/regdoc.h"
#include "host/screen.h"

namespace zq::com {

namespace {

// The reasons maintenance program's ProgID, as the plug-in creates it.
constexpr std::string_view kProgIdCausali = "ZQUO_CAUANNULLO.CLSZQ_CAUANNULLO";

// A name in braces is a class id, as the host language's CreateObject takes one; any other
// name is a ProgID looked up in the class registry.
bool ClassOf(std::string_view name, CLSID& clsid) {
    const std::wstring wide = Widen(name);
    if (!name.empty() && name.front() == '{')
        return SUCCEEDED(CLSIDFromString(wide.c_str(), &clsid));
    return SUCCEEDED(CLSIDFromProgID(wide.c_str(), &clsid));
}

ComPtr<IDispatch> CreateDispatch(std::string_view progIdOrClsid) {
    CLSID clsid;
    if (!ClassOf(progIdOrClsid, clsid)) return nullptr;
    ComPtr<IDispatch> d;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(d.Put()))))
        return nullptr;
    return d;
}

template <class Adapter>
ObjectFactory FactoryOf(std::string progIdOrClsid) {
    return [progIdOrClsid]() -> ObjectPtr {
        ComPtr<IDispatch> d = CreateDispatch(progIdOrClsid);
        if (!d) return nullptr;
        return std::make_shared<Adapter>(d);
    };
}

}  // namespace

void RegisterHostObjectFactories() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterObjectFactory(ado::kProgIdCommand,
                              FactoryOf<DispCommand>(std::string(ado::kProgIdCommand)));
        RegisterObjectFactory(ado::kProgIdRecordset,
                              FactoryOf<DispRecordset>(std::string(ado::kProgIdRecordset)));
        RegisterObjectFactory(
            host::kProgIdFunzioniGlobali,
            FactoryOf<DispFunzioniGlobali>(std::string(host::kProgIdFunzioniGlobali)));
        RegisterObjectFactory(kProgIdCausali,
                              FactoryOf<DispProgramma>(std::string(kProgIdCausali)));
        RegisterObjectFactory(host::kProgIdScreen, [] { return CreateScreen(); });
        // The host's size-grid and grid-posting components, created by class id. The
        // plug-in reaches both by member name only, so the generic late-bound adapter
        // serves them.
        namespace g = plugin::grid;
        for (std::string_view clsid : {g::kClsidGriglia, g::kClsidRegistraGriglia})
            RegisterObjectFactory(clsid, FactoryOf<DispObject>(std::string(clsid)));
    });
}

}  // namespace zq::com
