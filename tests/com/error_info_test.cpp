// The one boundary of the binding: each kind of failure becomes its HRESULT and an error
// object the host's run time reads as Err.Number, Err.Source and Err.Description.
#include "com/error_info.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "host/error.h"
#include "zqbo_docplugin_stati.h"

namespace zq::comtest {
namespace {

struct Reported {
    HRESULT hr = S_OK;
    std::string source, description;
    bool hasObject = false;
};

template <class F>
Reported Through(F&& body) {
    SetErrorInfo(0, nullptr);
    Reported r;
    r.hr = com::Boundary(IID_ICLSMG_REGDOCVERT, std::forward<F>(body));
    com::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Put()) == S_OK && info) {
        r.hasObject = true;
        com::Bstr s, d;
        info->GetSource(s.Put());
        info->GetDescription(d.Put());
        r.source = com::Narrow(s.Get());
        r.description = com::Narrow(d.Get());
    }
    return r;
}

TEST(ErrorInfo, EachFailureKindBecomesItsHresultAndErrorObject) {
    const Reported ok = Through([] {});
    EXPECT_EQ(ok.hr, S_OK);
    EXPECT_FALSE(ok.hasObject);

    const Reported host = Through([] { Raise(3021, "rstDocCorpo", "BOF o EOF"); });
    EXPECT_EQ(host.hr, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 3021));
    EXPECT_EQ(host.source, "rstDocCorpo");
    EXPECT_EQ(host.description, "BOF o EOF");

    // A provider's error number is already an HRESULT.
    const Reported provider = Through([] { Raise(err::AdoProviderError, "SQL", "syntax"); });
    EXPECT_EQ(provider.hr, static_cast<HRESULT>(err::AdoProviderError));

    const Reported memory = Through([] { throw std::bad_alloc(); });
    EXPECT_EQ(memory.hr, E_OUTOFMEMORY);
    EXPECT_TRUE(memory.hasObject);

    const Reported other = Through([] { throw std::runtime_error("guasto"); });
    EXPECT_EQ(other.hr, E_FAIL);
    EXPECT_EQ(other.description, "guasto");

    const Reported unknown = Through([] { throw 42; });
    EXPECT_EQ(unknown.hr, E_FAIL);

    // A body that answers its own result.
    const Reported answered =
        Through([] { return ComResult::Failure(438, "Form", "Object doesn't support"); });
    EXPECT_EQ(answered.hr, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 438));
    EXPECT_EQ(answered.source, "Form");
}

}  // namespace
}  // namespace zq::comtest
