// The COM object of CLSRF_REGDOC_STATI: one plug-in object seen through its default
// interface _CLSRF_REGDOC_STATI, the host's ICLSMG_REGDOCVERT and ICLSMG_REGDOCVERT2
// (all dual), IDispatch, ISupportErrorInfo and IUnknown.
//
// Each interface is a small member object whose vtable forwards to the one plug-in; they
// share one reference count. Every method converts its arguments, calls the plug-in and
// writes back the by-reference arguments the plug-in changed, inside the error boundary:
// a failure is an HRESULT with an error object, never an exception.
#pragma once

#include <atomic>
#include <memory>

#include "com/com_types.h"
#include "com/module.h"
#include "plugin/clsrf_regdoc_stati.h"
#include "zqbo_docplugin_stati.h"

namespace zq::com {

class PluginObject;

// The default interface: the property Cls_SrvLog, with a dispatch of its own (late-bound
// clients such as scripts use it).
struct DefaultInterface : public _CLSRF_REGDOC_STATI {
    PluginObject* owner = nullptr;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                                     UINT* argErr) override;
    HRESULT STDMETHODCALLTYPE get_Cls_SrvLog(IDispatch** value) override;
    HRESULT STDMETHODCALLTYPE putref_Cls_SrvLog(IDispatch* value) override;
};

class PluginObject {
  public:
    // Creates the object and answers interface `iid` of it (E_NOINTERFACE, null out).
    static HRESULT Create(REFIID iid, void** out);

    HRESULT QueryInterface(REFIID iid, void** out);
    ULONG AddRef();
    ULONG Release();

    plugin::CLSRF_REGDOC_STATI& Plugin() { return *plugin_; }

  private:
    PluginObject();
    ~PluginObject();
    struct RegDocVert;
    struct RegDocVert2;
    struct ErrorSupport;

    ModuleLock lock_;
    std::atomic<ULONG> refs_{1};
    std::shared_ptr<plugin::CLSRF_REGDOC_STATI> plugin_;
    DefaultInterface default_;
    std::unique_ptr<RegDocVert> vert_;
    std::unique_ptr<RegDocVert2> vert2_;
    std::unique_ptr<ErrorSupport> errors_;
};

// The type information of one interface of the library's type library (loaded from the
// library file once); null when it cannot be loaded.
ComPtr<ITypeInfo> TypeInfoOf(REFIID iid);

}  // namespace zq::com
