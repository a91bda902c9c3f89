// The four entry points of the in-process server (exported through the .def file).
#include "com/class_factory.h"
#include "com/com_types.h"
#include "com/module.h"
#include "com/registration.h"
#include "plugin/identity.h"

using namespace zq::com;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetModuleHandle(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    CLSID own;
    if (!ParseGuid(zq::plugin::kClsid, own) || !IsEqualCLSID(clsid, own))
        return CLASS_E_CLASSNOTAVAILABLE;
    return ClassFactory::Create(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    return RegisterServer();
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    return UnregisterServer();
}
