// The registered library as COM sees it: registration, the class factory, the object's
// interfaces, its reference counting and the library's unloading.
#include <gtest/gtest.h>

#include "com/com_types.h"
#include "com_test_support.h"
#include "plugin/identity.h"
#include "zqbo_docplugin_stati.h"

namespace zq::comtest {
namespace {

using com::ComPtr;

CLSID Clsid() {
    CLSID c;
    EXPECT_EQ(CLSIDFromProgID(L"ZQBO_DOCPLUGIN_STATI.CLSRF_REGDOC_STATI", &c), S_OK);
    return c;
}

std::wstring ClassesValue(const std::wstring& key, const wchar_t* name = nullptr) {
    wchar_t buf[512] = {};
    DWORD size = sizeof buf - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return buf;
}

ComPtr<IUnknown> NewObject() {
    ComPtr<IUnknown> u;
    EXPECT_EQ(CoCreateInstance(Clsid(), nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(u.Put())),
              S_OK);
    return u;
}

TEST(Registration, ClassProgIdThreadingAndTypeLibraryAreRegistered) {
    const std::wstring clsid = L"CLSID\\{2D96EBE0-693A-4CF7-917E-F71CCD4533D3}";
    EXPECT_EQ(com::GuidText(Clsid()), "{2D96EBE0-693A-4CF7-917E-F71CCD4533D3}");
    EXPECT_EQ(_wcsicmp(ClassesValue(clsid + L"\\InprocServer32").c_str(), LibraryPath().c_str()),
              0);
    EXPECT_EQ(ClassesValue(clsid + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(ClassesValue(clsid + L"\\ProgID"), L"ZQBO_DOCPLUGIN_STATI.CLSRF_REGDOC_STATI");
    EXPECT_EQ(ClassesValue(L"Interface\\{244C8C75-145E-4298-A9FA-007A1B6A0A2F}\\TypeLib"),
              L"{A9D53667-2560-48C3-B4DA-9F44410A59EC}");

    // The registered type library: version 1.0, locale 0x409, the record type DO77.
    GUID libid;
    ASSERT_TRUE(com::ParseGuid(plugin::kTypeLibId, libid));
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(LoadRegTypeLib(libid, 1, 0, 0x409, lib.Put()), S_OK);
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    EXPECT_EQ(attr->lcid, 0x409u);
    lib->ReleaseTLibAttr(attr);
    GUID record;
    ASSERT_TRUE(com::ParseGuid(plugin::kRecordIdDO77, record));
    ComPtr<ITypeInfo> do77;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(record, do77.Put()), S_OK);
    TYPEATTR* ta = nullptr;
    ASSERT_EQ(do77->GetTypeAttr(&ta), S_OK);
    EXPECT_EQ(ta->typekind, TKIND_RECORD);
    EXPECT_EQ(ta->cVars, 4);
    do77->ReleaseTypeAttr(ta);
}

TEST(Registration, UnregisteringRemovesTheKeysAndRegisteringBringsThemBack) {
    ASSERT_EQ(Regsvr32(true), 0);
    CLSID c;
    EXPECT_NE(CLSIDFromProgID(L"ZQBO_DOCPLUGIN_STATI.CLSRF_REGDOC_STATI", &c), S_OK);
    EXPECT_EQ(ClassesValue(L"TypeLib\\{A9D53667-2560-48C3-B4DA-9F44410A59EC}\\1.0"), L"<missing>");
    // The host's interfaces pointed at this library: they go with it.
    EXPECT_EQ(ClassesValue(L"Interface\\{59F98338-1F04-41A8-B1B9-6ED90EBA8991}"), L"<missing>");
    ASSERT_EQ(Regsvr32(false), 0);
    EXPECT_EQ(CLSIDFromProgID(L"ZQBO_DOCPLUGIN_STATI.CLSRF_REGDOC_STATI", &c), S_OK);
}

TEST(ClassFactory, RefusesAggregationUnknownInterfacesAndNullPointers) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(Clsid(), CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(factory.Put())),
              S_OK);
    auto outer = FakeDispatch::Create({});
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(outer.Get(), IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPersist, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(outer->Refs(), 1u);

    // The library's own entry point refuses any other class.
    HMODULE m = GetModuleHandleW(L"ZQBO_DOCPLUGIN_STATI.dll");
    ASSERT_NE(m, nullptr);
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(m, "DllGetClassObject")));
    ASSERT_NE(get, nullptr);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(get(IID_IPersist, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
}

TEST(PluginObject, AnswersItsInterfacesWithOneIdentity) {
    ComPtr<IUnknown> u = NewObject();
    ASSERT_TRUE(u);
    const IID answered[] = {IID__CLSRF_REGDOC_STATI, IID_ICLSMG_REGDOCVERT, IID_ICLSMG_REGDOCVERT2,
                            IID_IDispatch, IID_ISupportErrorInfo};
    for (const IID& iid : answered) {
        ComPtr<IUnknown> i;
        ASSERT_EQ(u->QueryInterface(iid, reinterpret_cast<void**>(i.Put())), S_OK)
            << com::GuidText(iid);
        ComPtr<IUnknown> back;
        ASSERT_EQ(i->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(back.Put())), S_OK);
        EXPECT_EQ(back.Get(), u.Get());
    }
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(u->QueryInterface(IID_IPersist, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    ComPtr<ISupportErrorInfo> errors = u.As<ISupportErrorInfo>(IID_ISupportErrorInfo);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_ICLSMG_REGDOCVERT2), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IPersist), S_FALSE);
}

TEST(PluginObject, TheLibraryUnloadsOnlyWhenNothingHoldsIt) {
    {
        ComPtr<IUnknown> u = NewObject();
        EXPECT_EQ(LibraryCanUnloadNow(), S_FALSE);
        // Reference counting: AddRef and Release answer the count around the held one.
        EXPECT_EQ(u->AddRef(), 2u);
        EXPECT_EQ(u->Release(), 1u);
    }
    EXPECT_EQ(LibraryCanUnloadNow(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(Clsid(), CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(factory.Put())),
              S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Reset();
    EXPECT_EQ(LibraryCanUnloadNow(), S_FALSE);
    ASSERT_EQ(CoGetClassObject(Clsid(), CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(factory.Put())),
              S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.Reset();
    EXPECT_EQ(LibraryCanUnloadNow(), S_OK);
}

TEST(PluginObject, ClsSrvLogKeepsTheAssignedObjectWithoutCallingIt) {
    auto log = FakeDispatch::Create({L"Scrivi"});
    {
        ComPtr<IUnknown> u = NewObject();
        auto def = u.As<_CLSRF_REGDOC_STATI>(IID__CLSRF_REGDOC_STATI);
        ASSERT_EQ(def->putref_Cls_SrvLog(log.Get()), S_OK);
        EXPECT_EQ(log->Refs(), 2u);
        IDispatch* got = nullptr;
        ASSERT_EQ(def->get_Cls_SrvLog(&got), S_OK);
        EXPECT_EQ(got, static_cast<IDispatch*>(log.Get()));
        got->Release();

        // Late-bound, as a script does: by name, the object passed by reference.
        auto disp = u.As<IDispatch>(IID_IDispatch);
        LPOLESTR name = const_cast<LPOLESTR>(L"cls_srvlog");
        DISPID id = 0;
        ASSERT_EQ(disp->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
        IDispatch* byRef = nullptr;
        VARIANT arg;
        VariantInit(&arg);
        arg.vt = VT_BYREF | VT_DISPATCH;
        arg.ppdispVal = &byRef;
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS params = {&arg, &put, 1, 1};
        ASSERT_EQ(disp->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUTREF, &params, nullptr, nullptr,
                               nullptr),
                  S_OK);
        EXPECT_EQ(log->Refs(), 1u);  // Nothing assigned: the old one released
    }
    EXPECT_EQ(log->Refs(), 1u);
    EXPECT_EQ(log->Calls(), 0);
}

TEST(PluginObject, HostInterfacesAnswerLateBoundCallsThroughTheTypeLibrary) {
    ComPtr<IUnknown> u = NewObject();
    auto vert = u.As<ICLSMG_REGDOCVERT>(IID_ICLSMG_REGDOCVERT);
    ASSERT_TRUE(vert);
    LPOLESTR name = const_cast<LPOLESTR>(L"IndPlugInStd");
    DISPID id = 0;
    ASSERT_EQ(vert->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    short index = 99;
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BYREF | VT_I2;
    arg.piVal = &index;
    DISPPARAMS params = {&arg, nullptr, 1, 0};
    ASSERT_EQ(vert->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(index, 0);  // before Initialize the index is 0
    name = const_cast<LPOLESTR>(L"NoSuchMethod");
    EXPECT_EQ(vert->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), DISP_E_UNKNOWNNAME);
}

}  // namespace
}  // namespace zq::comtest
