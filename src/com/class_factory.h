// The class factory of CLSRF_REGDOC_STATI, handed out by DllGetClassObject. It holds a
// module lock while it lives; LockServer(TRUE) holds one more until LockServer(FALSE).
#pragma once

#include <atomic>

#include "com/com_types.h"
#include "com/module.h"

namespace zq::com {

class ClassFactory : public IClassFactory {
  public:
    static HRESULT Create(REFIID iid, void** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // Aggregation is refused (CLASS_E_NOAGGREGATION).
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

  private:
    ClassFactory() = default;
    virtual ~ClassFactory() = default;
    ModuleLock lock_;
    std::atomic<ULONG> refs_{1};
};

}  // namespace zq::com
