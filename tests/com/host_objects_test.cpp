// The test host itself: what the plug-in creates by ProgID is served by the simulated
// host's factories while a session is open, through the system's class registry.
#include <gtest/gtest.h>

#include "com/com_types.h"
#include "com/dispatch_client.h"
#include "tools/session.h"

namespace zq::comtest {
namespace {

TEST(TestHost, ServesTheObjectsThePluginCreatesByProgId) {
    tool::Session s{tool::SessionSetup{}};
    for (const wchar_t* progId : {L"ADODB.Command", L"ADODB.Recordset",
                                  L"HostFunzioni.FunzioniGlobali", L"HostRuntime.Screen"}) {
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << com::Narrow(progId, wcslen(progId));
        com::ComPtr<IDispatch> d;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(d.Put())),
                  S_OK)
            << com::Narrow(progId, wcslen(progId));
    }
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(L"HostFunzioni.FunzioniGlobali", &clsid), S_OK);
    com::ComPtr<IDispatch> f;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(f.Put())),
              S_OK);
    Variant args[1] = {Variant::Int32(1001)};
    EXPECT_EQ(com::CallByName(f.Get(), "ValoreTesto", CallKind::Method, args).ToString(), "1001");
}

}  // namespace
}  // namespace zq::comtest
