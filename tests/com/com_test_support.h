// What the COM tests share: the library's path and entry points, running a program and
// reading its exit code, and a counting fake IDispatch.
#pragma once

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "com/com_types.h"

namespace zq::comtest {

// The library next to the test program.
std::wstring LibraryPath();
// Runs a command line; its exit code, or -1 when it could not start.
int RunProgram(const std::wstring& commandLine);
int Regsvr32(bool unregister);

// The registered library's exported DllCanUnloadNow (the library must be loaded).
HRESULT LibraryCanUnloadNow();

// A hand-written IDispatch with named members that counts its references and calls.
// A member answers with its stored value; "Fail" raises an exception with number 5001
// and source "Fake"; any other unknown name is refused by GetIDsOfNames.
class FakeDispatch : public IDispatch {
  public:
    static com::ComPtr<FakeDispatch> Create(std::vector<std::wstring> members);
    ULONG Refs() const { return refs_; }
    int Calls() const { return calls_; }
    WORD LastFlags() const { return lastFlags_; }
    std::map<std::wstring, com::UniqueVariant> values;  // what each member holds

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** t) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT*) override;

  private:
    explicit FakeDispatch(std::vector<std::wstring> members) : members_(std::move(members)) {}
    virtual ~FakeDispatch() = default;
    std::vector<std::wstring> members_;
    std::atomic<ULONG> refs_{1};
    int calls_ = 0;
    WORD lastFlags_ = 0;
};

}  // namespace zq::comtest
