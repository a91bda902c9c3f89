#include "com/object_factories.h"

#include <mutex>
#include <string>

#include "com/ado_client.h"
#include "com/host_client.h"
#include "com/screen_client.h"
#include "data/ado.h"
#include "host/create_object.h"
#include "host/regdoc.h"
#include "host/screen.h"

namespace zq::com {

namespace {

// The reasons maintenance program's ProgID, as the plug-in creates it.
constexpr std::string_view kProgIdCausali = "ZQUO_CAUANNULLO.CLSZQ_CAUANNULLO";

ComPtr<IDispatch> CreateDispatch(std::string_view progId) {
    CLSID clsid;
    const std::wstring name = Widen(progId);
    if (FAILED(CLSIDFromProgID(name.c_str(), &clsid))) return nullptr;
    ComPtr<IDispatch> d;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(d.Put()))))
        return nullptr;
    return d;
}

template <class Adapter>
ObjectFactory FactoryOf(std::string progId) {
    return [progId]() -> ObjectPtr {
        ComPtr<IDispatch> d = CreateDispatch(progId);
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
    });
}

}  // namespace zq::com
