#include "com_test_support.h"

namespace zq::comtest {

std::wstring LibraryPath() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"ZQBO_DOCPLUGIN_STATI.dll";
}

int RunProgram(const std::wstring& commandLine) {
    std::wstring line = commandLine;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

int Regsvr32(bool unregister) {
    return RunProgram(std::wstring(L"regsvr32.exe /s ") + (unregister ? L"/u " : L"") + L"\"" +
                      LibraryPath() + L"\"");
}

HRESULT LibraryCanUnloadNow() {
    HMODULE m = GetModuleHandleW(L"ZQBO_DOCPLUGIN_STATI.dll");
    if (!m) return E_UNEXPECTED;
    using Fn = HRESULT(STDAPICALLTYPE*)();
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, "DllCanUnloadNow")));
    return fn ? fn() : E_UNEXPECTED;
}

com::ComPtr<FakeDispatch> FakeDispatch::Create(std::vector<std::wstring> members) {
    return com::ComPtr<FakeDispatch>::Attach(new FakeDispatch(std::move(members)));
}

HRESULT FakeDispatch::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch)) return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG FakeDispatch::Release() {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
}

HRESULT FakeDispatch::GetTypeInfoCount(UINT* n) {
    *n = 0;
    return S_OK;
}

HRESULT FakeDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** t) {
    *t = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) {
    for (std::size_t i = 0; i < members_.size(); ++i) {
        if (_wcsicmp(members_[i].c_str(), names[0]) == 0) {
            ids[0] = static_cast<DISPID>(i + 1);
            return S_OK;
        }
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT FakeDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* excep, UINT*) {
    ++calls_;
    lastFlags_ = flags;
    if (id < 1 || static_cast<std::size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    const std::wstring& name = members_[static_cast<std::size_t>(id) - 1];
    if (name == L"Fail") {
        *excep = EXCEPINFO{};
        excep->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5001);
        excep->bstrSource = SysAllocString(L"Fake");
        excep->bstrDescription = SysAllocString(L"raised by the fake");
        return DISP_E_EXCEPTION;
    }
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        VariantCopyInd(values[name].Put(), &params->rgvarg[0]);
        return S_OK;
    }
    // A call with arguments doubles each number it receives by reference.
    for (UINT i = 0; i < params->cArgs; ++i) {
        VARIANT& a = params->rgvarg[i];
        if (a.vt == (VT_BYREF | VT_VARIANT) && a.pvarVal->vt == VT_I4) a.pvarVal->lVal *= 2;
    }
    if (result) VariantCopy(result, values[name].Get());
    return S_OK;
}

}  // namespace zq::comtest
