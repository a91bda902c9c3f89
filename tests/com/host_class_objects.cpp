#include "host_class_objects.h"

#include <atomic>

#include "com/object_bridge.h"
#include "data/ado.h"
#include "grid/grid_members.h"
#include "host/create_object.h"
#include "host/regdoc.h"
#include "host/screen.h"

namespace zq::comtest {

namespace {

using com::ComPtr;

class Factory : public IClassFactory {
  public:
    explicit Factory(std::string name) : name_(std::move(name)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory))
            return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        try {
            ComPtr<IDispatch> d = com::ExposeObject(CreateObject(name_));
            return d->QueryInterface(iid, out);
        } catch (...) {
            // Nothing registered under the name in this session: the class is not there.
            return REGDB_E_CLASSNOTREG;
        }
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  private:
    virtual ~Factory() = default;
    std::string name_;
    std::atomic<ULONG> refs_{1};
};

// {7E1B3C52-0D4A-4F8E-A1C6-5B2E9D0F3A70} + n: the test host's own class ids.
CLSID TestClsid(int n) {
    CLSID c = {0x7e1b3c52, 0x0d4a, 0x4f8e, {0xa1, 0xc6, 0x5b, 0x2e, 0x9d, 0x0f, 0x3a, 0x70}};
    c.Data4[7] = static_cast<unsigned char>(0x70 + n);
    return c;
}

std::wstring KeyOf(const std::string& progId) {
    return L"Software\\Classes\\" + com::Widen(progId);
}

// The machine's class registry where allowed (Wine's class registry does not see the
// user's), the user's otherwise. Answers the hive written, or null.
HKEY RegisterProgId(const std::string& progId, const CLSID& clsid) {
    const std::wstring key = KeyOf(progId) + L"\\CLSID";
    const std::wstring value = com::Widen(com::GuidText(clsid));
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        if (RegSetKeyValueW(hive, key.c_str(), nullptr, REG_SZ, value.c_str(),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
            ERROR_SUCCESS)
            return hive;
    }
    return nullptr;
}

}  // namespace

HostClassObjects::HostClassObjects() {
    const std::string names[] = {
        std::string(ado::kProgIdCommand), std::string(ado::kProgIdRecordset),
        std::string(host::kProgIdFunzioniGlobali), "ZQUO_CAUANNULLO.CLSZQ_CAUANNULLO",
        // The session's screen, so that the pointer the plug-in sets is seen and logged.
        std::string(host::kProgIdScreen),
        // The session's size-grid and grid-posting components, under the host's own class
        // ids: the scenario's expectations read the components the session made.
        std::string(plugin::grid::kClsidGriglia), std::string(plugin::grid::kClsidRegistraGriglia)};
    int n = 0;
    for (const std::string& name : names) {
        Served s{name};
        CLSID clsid;
        const std::wstring wide = com::Widen(name);
        if (name.front() == '{') {
            // A class id needs no registry key: the class object registered below is found
            // by its id.
            if (FAILED(CLSIDFromString(wide.c_str(), &clsid))) continue;
        } else if (FAILED(CLSIDFromProgID(wide.c_str(), &clsid))) {
            clsid = TestClsid(n);
            s.hive = RegisterProgId(name, clsid);
        }
        ++n;
        ComPtr<IClassFactory> factory = ComPtr<IClassFactory>::Attach(new Factory(name));
        if (FAILED(CoRegisterClassObject(clsid, factory.Get(), CLSCTX_INPROC_SERVER,
                                         REGCLS_MULTIPLEUSE, &s.cookie)))
            s.cookie = 0;
        served_.push_back(s);
    }
}

HostClassObjects::~HostClassObjects() {
    for (const Served& s : served_) {
        if (s.cookie) CoRevokeClassObject(s.cookie);
        if (s.hive) RegDeleteTreeW(s.hive, KeyOf(s.name).c_str());
    }
}

}  // namespace zq::comtest
