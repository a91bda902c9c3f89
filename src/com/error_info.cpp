#include "com/error_info.h"

#include <string>

namespace zq::com {

HRESULT ReportResult(const ComResult& r, REFIID iid) noexcept {
    if (r.Succeeded()) return S_OK;
    HRESULT hr = r.HResult();
    // The boundary describes an exhausted heap by the standard exception's text.
    if (r.number == 0 && r.description == std::bad_alloc().what()) hr = E_OUTOFMEMORY;
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.Put())) && create) {
        try {
            const std::wstring source = Widen(r.source);
            const std::wstring description = Widen(r.description);
            create->SetGUID(iid);
            create->SetSource(const_cast<LPOLESTR>(source.c_str()));
            create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
            ComPtr<IErrorInfo> info = create.As<IErrorInfo>(IID_IErrorInfo);
            SetErrorInfo(0, info.Get());
        } catch (...) {
            // No room for the description: the HRESULT alone still tells the caller.
        }
    }
    return hr;
}

}  // namespace zq::com
