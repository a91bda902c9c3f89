#include "com/plugin_object.h"

#include <mutex>
#include <new>

#include "com/object_dispatch.h"
#include "com/plugin_vtables.h"

namespace zq::com {

ComPtr<ITypeInfo> TypeInfoOf(REFIID iid) {
    // The type library is the library's own resource, loaded once for the process.
    static std::once_flag once;
    static ITypeLib* library = nullptr;
    std::call_once(once, [] {
        const std::wstring path = ModulePath();
        if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library))) library = nullptr;
    });
    ComPtr<ITypeInfo> info;
    if (library) library->GetTypeInfoOfGuid(iid, info.Put());
    return info;
}

// ---- the object ----

PluginObject::PluginObject()
    : plugin_(std::make_shared<plugin::CLSRF_REGDOC_STATI>()),
      vert_(std::make_unique<RegDocVert>()),
      vert2_(std::make_unique<RegDocVert2>()),
      errors_(std::make_unique<ErrorSupport>()) {
    default_.owner = this;
    vert_->owner = this;
    vert2_->owner = this;
    errors_->owner = this;
}

// The plug-in goes first: its destruction releases the host objects it still holds.
PluginObject::~PluginObject() = default;

HRESULT PluginObject::Create(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    PluginObject* object = nullptr;
    try {
        object = new PluginObject();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();  // the creation reference: the object lives on the one answered
    return hr;
}

HRESULT PluginObject::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, IID__CLSRF_REGDOC_STATI))
        *out = static_cast<_CLSRF_REGDOC_STATI*>(&default_);
    else if (IsEqualIID(iid, IID_ICLSMG_REGDOCVERT))
        *out = static_cast<ICLSMG_REGDOCVERT*>(vert_.get());
    else if (IsEqualIID(iid, IID_ICLSMG_REGDOCVERT2))
        *out = static_cast<ICLSMG_REGDOCVERT2*>(vert2_.get());
    else if (IsEqualIID(iid, IID_ISupportErrorInfo))
        *out = static_cast<ISupportErrorInfo*>(errors_.get());
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG PluginObject::AddRef() {
    return ++refs_;
}

ULONG PluginObject::Release() {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
}

// ---- the default interface ----

HRESULT DefaultInterface::QueryInterface(REFIID iid, void** out) {
    return owner->QueryInterface(iid, out);
}
ULONG DefaultInterface::AddRef() {
    return owner->AddRef();
}
ULONG DefaultInterface::Release() {
    return owner->Release();
}

HRESULT DefaultInterface::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT DefaultInterface::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    return plugin_vtables::TypeInfoFor(IID__CLSRF_REGDOC_STATI, index, info);
}

// A dispatch of its own rather than the type library's: late-bound clients pass the
// logging object in every by-reference form, and this one accepts them all.
HRESULT DefaultInterface::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        if (i == 0 && names[0] && _wcsicmp(names[0], L"Cls_SrvLog") == 0)
            ids[0] = plugin_vtables::kDispIdClsSrvLog;
        else
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT DefaultInterface::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* excep, UINT* argErr) {
    if (id != plugin_vtables::kDispIdClsSrvLog) return DISP_E_MEMBERNOTFOUND;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
        VARIANT value;
        VariantInit(&value);
        // The value may come by reference (a script's variable) or as an object.
        if (FAILED(VariantCopyInd(&value, &params->rgvarg[0]))) return DISP_E_TYPEMISMATCH;
        HRESULT hr = S_OK;
        if (value.vt == VT_DISPATCH)
            hr = putref_Cls_SrvLog(value.pdispVal);
        else if (value.vt == VT_UNKNOWN || value.vt == VT_EMPTY || value.vt == VT_NULL) {
            ComPtr<IDispatch> d;
            if (value.vt == VT_UNKNOWN && value.punkVal &&
                FAILED(value.punkVal->QueryInterface(IID_IDispatch,
                                                     reinterpret_cast<void**>(d.Put()))))
                hr = DISP_E_TYPEMISMATCH;
            else
                hr = putref_Cls_SrvLog(d.Get());
        } else {
            if (argErr) *argErr = 0;
            hr = DISP_E_TYPEMISMATCH;
        }
        VariantClear(&value);
        return hr;
    }
    if (params && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    IDispatch* d = nullptr;
    const HRESULT hr = get_Cls_SrvLog(&d);
    if (FAILED(hr)) {
        if (excep) *excep = EXCEPINFO{};
        return hr;
    }
    if (result) {
        VariantInit(result);
        result->vt = VT_DISPATCH;
        result->pdispVal = d;
    } else if (d) {
        d->Release();
    }
    return S_OK;
}

HRESULT DefaultInterface::get_Cls_SrvLog(IDispatch** value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    return Boundary(IID__CLSRF_REGDOC_STATI,
                    [&] { *value = ExposeObject(owner->Plugin().Cls_SrvLog()).Detach(); });
}

HRESULT DefaultInterface::putref_Cls_SrvLog(IDispatch* value) {
    return Boundary(IID__CLSRF_REGDOC_STATI,
                    [&] { owner->Plugin().SetCls_SrvLog(WrapDispatch(value)); });
}

}  // namespace zq::com
