// IDispatch over an Object: what this module hands out when an Object of its own must
// cross the boundary (the plug-in's objects to the host; the simulated host's objects to
// the plug-in in the test host).
//
// Names are given dispatch ids on first sight (case-insensitively); the call goes to the
// Object's Invoke: a property put (or put by reference) is a Set with the value last, a
// call with DISPATCH_METHOD a Method, anything else a Get. Arguments passed by reference
// (VT_BYREF) receive what the callee wrote. A HostError becomes DISP_E_EXCEPTION with
// its number, source and description in the EXCEPINFO; error 438 raised for the member
// itself becomes DISP_E_MEMBERNOTFOUND.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "com/com_types.h"
#include "host/object.h"

namespace zq::com {

class ObjectDispatch : public IDispatch {
  public:
    // `alsoAnswers`: further interface ids answered with this IDispatch (an exposed
    // recordset answers ADO's Recordset id, see object_bridge.h). `byName`: the Object
    // whose Invoke answers the calls, when it is not `target` itself (a by-name facade
    // of an early-bound object); `target` is what the object stands for when it comes
    // back into this module.
    static ComPtr<IDispatch> Create(ObjectPtr target, std::vector<IID> alsoAnswers = {},
                                    ObjectPtr byName = nullptr);
    // The live dispatch object this module made for `target`, if any: an Object keeps
    // one identity while anything holds it, as COM objects do.
    static ComPtr<IDispatch> Find(const Object* target);

    const ObjectPtr& Target() const { return target_; }
    // Whether this module made the object (the class layout is the same in every module
    // built from this source; the mark is this module's own address).
    bool MadeHere() const;
    // Identifies this module's exposed objects (object_bridge.cpp).
    static const IID kIid;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                                     UINT* argErr) override;

  private:
    ObjectDispatch(ObjectPtr target, std::vector<IID> alsoAnswers, ObjectPtr byName);
    virtual ~ObjectDispatch() = default;
    HRESULT Call(const std::string& member, WORD flags, DISPPARAMS& params, VARIANT* result,
                 EXCEPINFO* excep);

    const void* module_;
    std::atomic<ULONG> refs_{1};
    ObjectPtr target_;
    ObjectPtr byName_;
    std::vector<IID> alsoAnswers_;
    std::vector<std::string> names_;  // dispatch id n is names_[n - 1]
};

// Fills an EXCEPINFO from the exception being handled; answers the HRESULT to return.
HRESULT ExceptionToExcepInfo(EXCEPINFO* excep) noexcept;

}  // namespace zq::com
